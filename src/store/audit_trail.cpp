#include "audit_trail.h"

#include "store_engine.h"

#include "column_value.h"
#include "sqlite_statement.h"
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

Description::Description(const QStringList &columns)
{
    m_columns.reserve(columns.size());
    for (const QString &name : columns) {
        const Kind kind = kYesNoColumns.contains(name)    ? Kind::YesNo
                          : kNumberColumns.contains(name) ? Kind::Number
                                                          : Kind::Other;
        m_columns.append(Column{name + QStringLiteral(": "), kind});
    }
}

QString Description::valueText(Kind kind, const QVariant &value)
{
    if (value.isNull())
        return QString();
    if (kind == Kind::YesNo)
        return ColumnValue::yesNoFrom(value) ? QStringLiteral("Yes") : QStringLiteral("No");
    // A server gives a positive BIGINT as an unsigned number.
    const bool integral =
        value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::ULongLong;
    if (kind == Kind::Other && integral)
        return ColumnValue::moneyTextFrom(value);
    return value.toString();
}

QString Description::of(const QVariantList &values, bool withEmpty) const
{
    QString text;
    text.reserve(m_columns.size() * 24);
    for (qsizetype i = 0; i < m_columns.size(); ++i) {
        const Column &column = m_columns.at(i);
        const bool given = i < values.size() && !values.at(i).isNull();
        if (!given && !withEmpty)
            continue;
        const QString value = given ? valueText(column.kind, values.at(i)) : QString();
        if (!withEmpty && value.isEmpty())
            continue;
        if (!text.isEmpty())
            text += u'\n';
        text += column.label;
        text += value;
    }
    return text;
}

void Description::ofChanges(const QVariantList &before, const QVariantList &after,
                            QString *beforeText, QString *afterText) const
{
    beforeText->clear();
    afterText->clear();
    for (qsizetype i = 0; i < m_columns.size(); ++i) {
        const Column &column = m_columns.at(i);
        const QString old = valueText(column.kind, before.value(i));
        const QString now = valueText(column.kind, after.value(i));
        if (old == now)
            continue;
        if (!beforeText->isEmpty()) {
            *beforeText += u'\n';
            *afterText += u'\n';
        }
        *beforeText += column.label + old;
        *afterText += column.label + now;
    }
}

QString describe(const QStringList &columns, const QVariantList &values, bool withEmpty)
{
    return Description(columns).of(values, withEmpty);
}

void describeChanges(const QStringList &columns, const QVariantList &before,
                     const QVariantList &after, QString *beforeText, QString *afterText)
{
    Description(columns).ofChanges(before, after, beforeText, afterText);
}

QString insertStatement()
{
    return StoreSql::insertStatement(QStringLiteral("Audit"),
                                     QStringList{QStringLiteral("At")} + kEntryColumns);
}

namespace {

// The values of an entry's row, in the order of insertStatement().
void appendValues(QVariantList &values, const QString &at, const Entry &entry)
{
    values << at << entry.action << entry.tableName << entry.rowKey << entry.dealId
           << entry.sheetId << textOrNull(entry.stockNumber) << textOrNull(entry.salesPerson)
           << textOrNull(entry.before) << textOrNull(entry.after);
}

QString now()
{
    return ColumnValue::stamp(QDateTime::currentDateTime());
}

// Entries a server takes in one statement (ten values each, well below its
// limit of values to a statement).
constexpr qsizetype kRowsPerStatement = 2000;

// INSERT INTO "Audit" (...) VALUES (?, ...), (?, ...), ... for `rows` rows.
QString insertRows(qsizetype rows)
{
    const QString one = QStringLiteral(", (") +
                        QStringLiteral("?, ").repeated(kEntryColumns.size()) +
                        QStringLiteral("?)");
    return insertStatement() + one.repeated(rows - 1);
}

} // namespace

bool write(QSqlQuery &insert, const Entry &entry, QString *error)
{
    QVariantList values;
    values.reserve(kEntryColumns.size() + 1);
    appendValues(values, now(), entry);
    return StoreSql::exec(insert, values, error);
}

bool write(SqliteStatement &insert, const Entry &entry, QString *error)
{
    QVariantList values;
    values.reserve(kEntryColumns.size() + 1);
    appendValues(values, now(), entry);
    return insert.exec(values, nullptr, error);
}

bool writeAll(QSqlDatabase db, const QList<Entry> &entries, QString *error)
{
    const QString at = now();
    if (StoreEngine::engineOf(db) == StoreEngine::Engine::SQLite) {
        // One statement for them all, bound on the connection's own handle.
        SqliteStatement insert;
        if (!insert.prepare(SqliteStatement::handleOf(db), insertStatement(), error))
            return false;
        QVariantList values;
        for (const Entry &entry : entries) {
            values.clear();
            appendValues(values, at, entry);
            if (!insert.exec(values, nullptr, error))
                return false;
        }
        return true;
    }
    // Each statement is a trip to the server; the rows go many at a time.
    for (qsizetype first = 0; first < entries.size(); first += kRowsPerStatement) {
        const qsizetype rows = qMin(kRowsPerStatement, entries.size() - first);
        QVariantList values;
        values.reserve(rows * (kEntryColumns.size() + 1));
        for (qsizetype i = first; i < first + rows; ++i)
            appendValues(values, at, entries.at(i));
        QSqlQuery insert(db);
        if (!StoreSql::prepare(insert, insertRows(rows), error) ||
            !StoreSql::exec(insert, values, error))
            return false;
    }
    return true;
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
