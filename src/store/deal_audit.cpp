#include "deal_audit.h"

#include "audit_trail.h"
#include "recall_columns.h"
#include "store_sql.h"

#include <QSqlQuery>

namespace DealAudit {

namespace {

const QStringList &columns()
{
    static const QStringList names = RecallColumns::names();
    return names;
}

QString valueOf(const QVariantList &values, const char *column)
{
    return values.value(columns().indexOf(QString::fromLatin1(column))).toString();
}

// The deal's salesperson, and its split partner after " / ".
QString salesPeopleOf(const QVariantList &values)
{
    const QString first = valueOf(values, "SalesPerson");
    const QString second = valueOf(values, "Salesman2");
    return second.isEmpty() ? first : first + QStringLiteral(" / ") + second;
}

AuditTrail::Entry entryFor(const QString &action, DealId id, const QVariantList &values)
{
    AuditTrail::Entry entry;
    entry.action = action;
    entry.tableName = QStringLiteral("RecallDeal");
    entry.rowKey = id;
    entry.dealId = id;
    entry.stockNumber = valueOf(values, "StockNo");
    entry.salesPerson = salesPeopleOf(values);
    return entry;
}

} // namespace

std::optional<QVariantList> recallValues(QSqlDatabase db, DealId id, QString *error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!StoreSql::prepare(query,
                           QStringLiteral("SELECT %1 FROM \"RecallDeal\" WHERE \"DealId\" = ?")
                               .arg(StoreSql::columnList(columns())),
                           error) ||
        !StoreSql::exec(query, {id}, error))
        return std::nullopt;
    QVariantList values;
    if (query.next()) {
        for (qsizetype i = 0; i < columns().size(); ++i)
            values << query.value(int(i));
    }
    return values;
}

bool saved(QSqlDatabase db, DealId id, const QVariantList &before, QString *error)
{
    const std::optional<QVariantList> after = recallValues(db, id, error);
    if (!after)
        return false;
    AuditTrail::Entry entry =
        entryFor(before.isEmpty() ? QStringLiteral("Deal saved") : QStringLiteral("Deal replaced"),
                 id, *after);
    if (before.isEmpty()) {
        entry.after = AuditTrail::describe(columns(), *after);
    } else {
        AuditTrail::describeChanges(columns(), before, *after, &entry.before, &entry.after);
        const QString earlier = salesPeopleOf(before);
        if (earlier != entry.salesPerson)
            entry.salesPerson = earlier + QStringLiteral(" / ") + entry.salesPerson;
    }
    return AuditTrail::write(db, entry, error);
}

bool deleted(QSqlDatabase db, DealId id, const QVariantList &before, QString *error)
{
    AuditTrail::Entry entry = entryFor(QStringLiteral("Deal deleted"), id, before);
    entry.before = AuditTrail::describe(columns(), before);
    return AuditTrail::write(db, entry, error);
}

} // namespace DealAudit
