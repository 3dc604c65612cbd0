#include "audit_trail.h"

#include "store_engine.h"

#include "column_value.h"
#include "pg_statement.h"
#include "sqlite_statement.h"
#include "store_sql.h"

#include <QDateTime>
#include <QHash>
#include <QMutex>
#include <QSqlQuery>

namespace AuditTrail {

namespace {

const QStringList kYesNoColumns = {
    QStringLiteral("OA"),    QStringLiteral("UA"),   QStringLiteral("ChkWarranty"),
    QStringLiteral("Split"), QStringLiteral("Paid"), QStringLiteral("DrawRecoverable"),
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
    QStringLiteral("UserName"),
};

QMutex usersLock;
QHash<QString, QString> &usersByConnection()
{
    static QHash<QString, QString> users;
    return users;
}

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

void setUser(const QSqlDatabase &db, const QString &userName)
{
    const QMutexLocker locker(&usersLock);
    if (userName.isEmpty())
        usersByConnection().remove(db.connectionName());
    else
        usersByConnection().insert(db.connectionName(), userName);
}

QString userOf(const QSqlDatabase &db)
{
    const QMutexLocker locker(&usersLock);
    return usersByConnection().value(db.connectionName());
}

QStringList rowColumns()
{
    return QStringList{QStringLiteral("At")} + kEntryColumns;
}

QString insertStatement()
{
    return StoreSql::insertStatement(QStringLiteral("Audit"), rowColumns());
}

namespace {

// The values of an entry's row, in the order of insertStatement().
void appendValues(QVariantList &values, const QString &at, const Entry &entry)
{
    values << at << entry.action << entry.tableName << entry.rowKey << entry.dealId
           << entry.sheetId << textOrNull(entry.stockNumber) << textOrNull(entry.salesPerson)
           << textOrNull(entry.before) << textOrNull(entry.after) << textOrNull(entry.userName);
}

QString now()
{
    return ColumnValue::stamp(QDateTime::currentDateTime());
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

bool writeAll(QSqlDatabase db, const QList<Entry> &unnamed, QString *error)
{
    const QString at = now();
    // Every entry names the user signed in on the connection, unless it names one.
    QList<Entry> entries = unnamed;
    const QString user = userOf(db);
    for (Entry &entry : entries) {
        if (entry.userName.isEmpty())
            entry.userName = user;
    }
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
    // A server takes them all as the data of one COPY on the connection's
    // own handle, in its text format.
    QString rows;
    rows.reserve(entries.size() * 160);
    QVariantList values;
    for (const Entry &entry : entries) {
        values.clear();
        appendValues(values, at, entry);
        for (qsizetype i = 0; i < values.size(); ++i) {
            if (i > 0)
                rows += u'\t';
            PgStatement::appendCopyField(rows, values.at(i));
        }
        rows += u'\n';
    }
    return PgStatement(db).copyIn(QStringLiteral("Audit"), rowColumns(), rows, error);
}

bool write(QSqlDatabase db, const Entry &entry, QString *error)
{
    Entry named = entry;
    if (named.userName.isEmpty())
        named.userName = userOf(db);
    QSqlQuery query(db);
    return StoreSql::prepare(query, insertStatement(), error) && write(query, named, error);
}

namespace {

// The user names in the trail that are `userName` in any letter case.
std::optional<QStringList> namesLike(QSqlDatabase db, const QString &userName, QString *error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!StoreSql::prepare(query,
                           QStringLiteral("SELECT DISTINCT \"UserName\" FROM \"Audit\" "
                                          "WHERE \"UserName\" IS NOT NULL"),
                           error) ||
        !StoreSql::exec(query, {}, error))
        return std::nullopt;
    QStringList names;
    while (query.next()) {
        const QString name = query.value(0).toString();
        if (name.compare(userName, Qt::CaseInsensitive) == 0)
            names << name;
    }
    return names;
}

} // namespace

const QStringList &actions()
{
    static const QStringList all = [] {
        QStringList list = {
            // The deals, as the worksheet and the table windows change them.
            QStringLiteral("Deal saved"), QStringLiteral("Deal replaced"),
            QStringLiteral("Deal deleted"), QStringLiteral("Row added"),
            QStringLiteral("Row changed"), QStringLiteral("Row deleted"),
            // Taken back, held back.
            QStringLiteral("Deal unwound"), QStringLiteral("Deal held"),
            QStringLiteral("Deal released"),
            // The sheets and what they settle.
            QStringLiteral("Sheet paid"), QStringLiteral("Paid on sheet"),
            QStringLiteral("Sheet net pay"), QStringLiteral("Sheet voided"),
            QStringLiteral("Unpaid by void"), QStringLiteral("Chargeback"),
            QStringLiteral("Chargeback reopened"), QStringLiteral("Draw recorded"),
            QStringLiteral("Draw recovered"), QStringLiteral("Draw written off"),
            QStringLiteral("Volume bonus"),
            // The pay plans.
            QStringLiteral("Pay plan version added"), QStringLiteral("Pay plan version changed"),
            QStringLiteral("Pay plan version deleted"),
            // What payroll knows a salesperson by.
            QStringLiteral("Payroll codes changed")};
        list.sort();
        return list;
    }();
    return all;
}

std::optional<QList<Record>> read(QSqlDatabase db, const Filter &filter, QString *error)
{
    QStringList conditions;
    QVariantList values;
    if (!filter.action.isEmpty()) {
        conditions << QStringLiteral("\"Action\" = ?");
        values << filter.action;
    }
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
    if (!filter.userName.trimmed().isEmpty()) {
        // Told apart without regard to letter case also outside ASCII, which
        // a file's NOCASE does not do: the few names are compared here.
        const std::optional<QStringList> names =
            namesLike(db, filter.userName.trimmed(), error);
        if (!names)
            return std::nullopt;
        if (names->isEmpty())
            return QList<Record>();
        QStringList marks;
        for (const QString &name : *names) {
            marks << QStringLiteral("?");
            values << name;
        }
        conditions << QStringLiteral("\"UserName\" IN (%1)").arg(marks.join(u','));
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
        e.userName = query.value(11).toString();
        records << record;
    }
    return records;
}

} // namespace AuditTrail
