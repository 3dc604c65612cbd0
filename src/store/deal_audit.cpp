#include "deal_audit.h"

#include "audit_trail.h"
#include "deal_database.h"
#include "recall_columns.h"
#include "sqlite_statement.h"
#include "store_sql.h"

#include <QSqlQuery>

namespace DealAudit {

namespace {

const QStringList &columns()
{
    static const QStringList names = RecallColumns::names();
    return names;
}

const AuditTrail::Description &description()
{
    static const AuditTrail::Description recallDeal(columns());
    return recallDeal;
}

qsizetype indexOf(const char *column)
{
    return columns().indexOf(QString::fromLatin1(column));
}

// The deal's salesperson, and its split partner after " / ".
QString salesPeopleOf(const QVariantList &values)
{
    static const qsizetype salesPerson = indexOf("SalesPerson");
    static const qsizetype partner = indexOf("Salesman2");
    const QString first = values.value(salesPerson).toString();
    const QString second = values.value(partner).toString();
    return second.isEmpty() ? first : first + QStringLiteral(" / ") + second;
}

AuditTrail::Entry entryFor(const QString &action, DealId id, const QVariantList &values)
{
    AuditTrail::Entry entry;
    entry.action = action;
    entry.tableName = QStringLiteral("RecallDeal");
    entry.rowKey = id;
    entry.dealId = id;
    static const qsizetype stockNumber = indexOf("StockNo");
    entry.stockNumber = values.value(stockNumber).toString();
    entry.salesPerson = salesPeopleOf(values);
    return entry;
}

bool write(DealDatabase &database, const AuditTrail::Entry &entry, QString *error)
{
    static const QString statement = AuditTrail::insertStatement();
    AuditTrail::Entry named = entry;
    named.userName = AuditTrail::userOf(database.connection());
    if (database.engine() == StoreEngine::Engine::SQLite) {
        SqliteStatement *insert = database.sqlitePrepared(statement, error);
        return insert && AuditTrail::write(*insert, named, error);
    }
    QSqlQuery *insert = database.prepared(statement, error);
    return insert && AuditTrail::write(*insert, named, error);
}

} // namespace

std::optional<QVariantList> recallValues(DealDatabase &database, DealId id, QString *error)
{
    static const QString statement =
        QStringLiteral("SELECT %1 FROM \"RecallDeal\" WHERE \"DealId\" = ?")
            .arg(StoreSql::columnList(columns()));
    CachedQuery query(database, statement, error);
    if (!query || !StoreSql::exec(*query, {id}, error))
        return std::nullopt;
    QVariantList values;
    if (query->next()) {
        for (qsizetype i = 0; i < columns().size(); ++i)
            values << query->value(int(i));
    }
    return values;
}

bool saved(DealDatabase &database, DealId id, const QVariantList &before,
           const QVariantList &after, QString *error)
{
    AuditTrail::Entry entry =
        entryFor(before.isEmpty() ? QStringLiteral("Deal saved") : QStringLiteral("Deal replaced"),
                 id, after);
    if (before.isEmpty()) {
        entry.after = description().of(after);
    } else {
        description().ofChanges(before, after, &entry.before, &entry.after);
        const QString earlier = salesPeopleOf(before);
        if (earlier != entry.salesPerson)
            entry.salesPerson = earlier + QStringLiteral(" / ") + entry.salesPerson;
    }
    return write(database, entry, error);
}

bool deleted(DealDatabase &database, DealId id, const QVariantList &before, QString *error)
{
    AuditTrail::Entry entry = entryFor(QStringLiteral("Deal deleted"), id, before);
    entry.before = description().of(before);
    return write(database, entry, error);
}

} // namespace DealAudit
