#include "audit_trail.h"

#include "store_engine.h"

#include "column_value.h"
#include "store_sql.h"

#include <QDateTime>
#include <QSqlQuery>

namespace AuditTrail {

namespace {

const QStringList kYesNoColumns = {
    QStringLiteral("OA"),    QStringLiteral("UA"),   QStringLiteral("ChkWarranty"),
    QStringLiteral("Split"), QStringLiteral("Paid"),
};
// Whole numbers that are not amounts.
const QStringList kNumberColumns = {
    QStringLiteral("Year"),
    QStringLiteral("DealId"),
    QStringLiteral("SheetId"),
};

const QStringList kEntryColumns = {
    QStringLiteral("Action"),      QStringLiteral("TableName"), QStringLiteral("RowKey"),
    QStringLiteral("DealId"),      QStringLiteral("SheetId"),   QStringLiteral("StockNumber"),
    QStringLiteral("SalesPerson"), QStringLiteral("Before"),    QStringLiteral("After"),
};

QVariant textOrNull(const QString &text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

} // namespace

QString valueText(const QString &column, const QVariant &value)
{
    if (value.isNull())
        return QString();
    if (kYesNoColumns.contains(column))
        return ColumnValue::yesNoFrom(value) ? QStringLiteral("Yes") : QStringLiteral("No");
    // A server gives a positive BIGINT as an unsigned number.
    const bool integral =
        value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::ULongLong;
    if (!kNumberColumns.contains(column) && integral)
        return ColumnValue::moneyTextFrom(value);
    return value.toString();
}

QString describe(const QStringList &columns, const QVariantList &values, bool withEmpty)
{
    QStringList lines;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const QString text = valueText(columns.at(i), values.value(i));
        if (withEmpty || !text.isEmpty())
            lines << columns.at(i) + QStringLiteral(": ") + text;
    }
    return lines.join(u'\n');
}

void describeChanges(const QStringList &columns, const QVariantList &before,
                     const QVariantList &after, QString *beforeText, QString *afterText)
{
    QStringList was;
    QStringList is;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const QString old = valueText(columns.at(i), before.value(i));
        const QString now = valueText(columns.at(i), after.value(i));
        if (old == now)
            continue;
        was << columns.at(i) + QStringLiteral(": ") + old;
        is << columns.at(i) + QStringLiteral(": ") + now;
    }
    *beforeText = was.join(u'\n');
    *afterText = is.join(u'\n');
}

QString insertStatement()
{
    return StoreSql::insertStatement(QStringLiteral("Audit"),
                                     QStringList{QStringLiteral("At")} + kEntryColumns);
}

bool write(QSqlQuery &insert, const Entry &entry, QString *error)
{
    const QString at = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return StoreSql::exec(insert,
                          {at, entry.action, entry.tableName, entry.rowKey, entry.dealId,
                           entry.sheetId, textOrNull(entry.stockNumber),
                           textOrNull(entry.salesPerson), textOrNull(entry.before),
                           textOrNull(entry.after)},
                          error);
}

bool write(QSqlDatabase db, const Entry &entry, QString *error)
{
    QSqlQuery query(db);
    return StoreSql::prepare(query, insertStatement(), error) && write(query, entry, error);
}

std::optional<QList<Record>> read(QSqlDatabase db, const Filter &filter, QString *error)
{
    QStringList conditions;
    QVariantList values;
    if (!filter.stockNumber.trimmed().isEmpty()) {
        conditions << QStringLiteral("\"StockNumber\" = ?");
        values << filter.stockNumber.trimmed();
    }
    if (!filter.salesPerson.trimmed().isEmpty()) {
        // A split deal names both salespeople; either finds it.
        conditions << StoreEngine::upperContains(StoreEngine::engineOf(db),
                                                 QStringLiteral("\"SalesPerson\""));
        values << filter.salesPerson.trimmed().toUpper();
    }
    if (filter.from.isValid()) {
        conditions << QStringLiteral("\"At\" >= ?");
        values << filter.from.toString(Qt::ISODate);
    }
    if (filter.to.isValid()) {
        conditions << QStringLiteral("\"At\" < ?");
        values << filter.to.addDays(1).toString(Qt::ISODate);
    }
    const QString where = conditions.isEmpty()
                              ? QString()
                              : QStringLiteral("WHERE ") + conditions.join(QStringLiteral(" AND "));
    QSqlQuery query(db);
    query.setForwardOnly(true);
    values << filter.limit;
    if (!StoreSql::prepare(query,
                           QStringLiteral("SELECT \"AuditId\", \"At\", %1 FROM \"Audit\" %2 "
                                          "ORDER BY \"AuditId\" DESC LIMIT ?")
                               .arg(StoreSql::columnList(kEntryColumns), where),
                           error) ||
        !StoreSql::exec(query, values, error))
        return std::nullopt;
    QList<Record> records;
    while (query.next()) {
        Record record;
        record.id = query.value(0).toLongLong();
        record.at = query.value(1).toString();
        Entry &e = record.entry;
        e.action = query.value(2).toString();
        e.tableName = query.value(3).toString();
        e.rowKey = query.value(4);
        e.dealId = query.value(5);
        e.sheetId = query.value(6);
        e.stockNumber = query.value(7).toString();
        e.salesPerson = query.value(8).toString();
        e.before = query.value(9).toString();
        e.after = query.value(10).toString();
        records << record;
    }
    return records;
}

} // namespace AuditTrail
