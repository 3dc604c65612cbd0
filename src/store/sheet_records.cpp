#include "sheet_records.h"

#include "audit_trail.h"
#include "common/money_format.h"
#include "deal_locks.h"
#include "sql_transaction.h"
#include "store_schema.h"
#include "store_sql.h"

#include <QDateTime>
#include <QSqlQuery>

namespace {

const QStringList kSheetColumns = {
    QStringLiteral("SheetId"),          QStringLiteral("SalesPerson"), QStringLiteral("WeekEnding"),
    QStringLiteral("BonusDescription"), QStringLiteral("Bonus"),       QStringLiteral("Total"),
    QStringLiteral("PrintedAt"),        QStringLiteral("VoidedAt"),    QStringLiteral("Lines"),
};

QString now()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// Text for a NOT NULL column: an empty text is stored as '' rather than NULL.
QVariant textValue(const QString &text)
{
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

QVariant moneyValue(const std::optional<Money> &amount)
{
    return amount ? QVariant(amount->units()) : QVariant();
}

std::optional<Money> moneyOf(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    return Money::fromUnits(value.toLongLong());
}

QString amountText(const std::optional<Money> &amount)
{
    return amount ? MoneyFormat::plain(*amount) : QString();
}

bool run(QSqlDatabase db, const QString &statement, const QVariantList &values, QString *error)
{
    QSqlQuery query(db);
    return StoreSql::prepare(query, statement, error) && StoreSql::exec(query, values, error);
}

QString headingText(const RecordedSheet &sheet)
{
    return QStringLiteral("WeekEnding: %1\nBonusDescription: %2\nBonus: %3\nTotal: %4")
        .arg(sheet.heading.weekEnding, sheet.heading.bonusDescription,
             amountText(sheet.heading.bonus), amountText(sheet.total));
}

} // namespace

SheetRecords::SheetRecords(QSqlDatabase db) : m_db(std::move(db))
{
}

std::optional<qint64> SheetRecords::record(const SheetHeading &heading, QString *error)
{
    QSqlQuery query(m_db);
    if (!StoreSql::prepare(
            query,
            StoreSql::insertReturning(QStringLiteral("Sheets"), kSheetColumns.mid(1, 6),
                                      kSheetColumns.first()),
            error))
        return std::nullopt;
    return StoreSql::insertedKey(
            query,
            {textValue(heading.salesPerson), textValue(heading.weekEnding),
             heading.bonusDescription.isEmpty() ? QVariant() : QVariant(heading.bonusDescription),
             moneyValue(heading.bonus), QVariant(), now()},
            error);
}

bool SheetRecords::attachRows(qint64 sheetId, const QList<qint64> &rowIds, QString *error)
{
    QSqlQuery attach(m_db);
    if (!StoreSql::prepare(attach,
                           QStringLiteral("UPDATE \"SalesSummary\" SET \"SheetId\" = ? "
                                          "WHERE rowid = ?"),
                           error))
        return false;
    for (const qint64 rowId : rowIds) {
        if (!StoreSql::exec(attach, {sheetId, rowId}, error))
            return false;
    }
    return true;
}

bool SheetRecords::complete(qint64 sheetId, const QByteArray &lines, std::optional<Money> total,
                            QString *error)
{
    const std::optional<QString> rows = snapshot(sheetId, error);
    if (!rows ||
        !run(m_db,
             QStringLiteral("UPDATE \"Sheets\" SET \"Lines\" = ?, \"Total\" = ?, \"Snapshot\" = ? "
                            "WHERE \"SheetId\" = ?"),
             {textValue(QString::fromUtf8(lines)), moneyValue(total), textValue(*rows), sheetId},
             error))
        return false;
    const std::optional<RecordedSheet> sheet = find(sheetId, error);
    if (!sheet)
        return false;
    AuditTrail::Entry entry;
    entry.action = QStringLiteral("Sheet paid");
    entry.tableName = QStringLiteral("Sheets");
    entry.rowKey = sheetId;
    entry.sheetId = sheetId;
    entry.salesPerson = sheet->heading.salesPerson;
    entry.after = headingText(*sheet);
    return AuditTrail::write(m_db, entry, error) &&
           auditRows(sheetId, QStringLiteral("Paid on sheet"), QStringLiteral("Paid: No"),
                     QStringLiteral("Paid: Yes\nSheetId: %1").arg(sheetId), error);
}

bool SheetRecords::auditRows(qint64 sheetId, const QString &action, const QString &before,
                             const QString &after, QString *error)
{
    QSqlQuery rows(m_db);
    rows.setForwardOnly(true);
    if (!StoreSql::prepare(rows,
                           QStringLiteral("SELECT rowid, \"DealId\", \"Stock_Number\", "
                                          "\"Sales_Person\" FROM \"SalesSummary\" "
                                          "WHERE \"SheetId\" = ? ORDER BY rowid"),
                           error) ||
        !StoreSql::exec(rows, {sheetId}, error))
        return false;
    QList<AuditTrail::Entry> entries;
    while (rows.next()) {
        AuditTrail::Entry entry;
        entry.action = action;
        entry.tableName = QString::fromLatin1(StoreSchema::kSalesSummary);
        entry.rowKey = rows.value(0);
        entry.dealId = rows.value(1);
        entry.sheetId = sheetId;
        entry.stockNumber = rows.value(2).toString();
        entry.salesPerson = rows.value(3).toString();
        entry.before = before;
        entry.after = after;
        entries << entry;
    }
    rows.finish();
    for (const AuditTrail::Entry &entry : entries) {
        if (!AuditTrail::write(m_db, entry, error))
            return false;
    }
    return true;
}

std::optional<QString> SheetRecords::snapshot(qint64 sheetId, QString *error) const
{
    const QStringList columns =
        StoreSchema::columns(QString::fromLatin1(StoreSchema::kSalesSummary));
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!StoreSql::prepare(query,
                           QStringLiteral("SELECT rowid, %1, \"DealId\" FROM \"SalesSummary\" "
                                          "WHERE \"SheetId\" = ? ORDER BY rowid")
                               .arg(StoreSql::columnList(columns)),
                           error) ||
        !StoreSql::exec(query, {sheetId}, error))
        return std::nullopt;
    QStringList rows;
    while (query.next()) {
        QStringList values;
        for (int i = 0; i < int(columns.size()) + 2; ++i) {
            const QVariant value = query.value(i);
            values << (value.isNull() ? QStringLiteral("#NULL#") : value.toString());
        }
        rows << values.join(u'\x1f');
    }
    return rows.join(u'\n');
}

std::optional<QList<RecordedSheet>>
SheetRecords::select(const QString &where, const QVariantList &values, QString *error) const
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!StoreSql::prepare(query,
                           QStringLiteral("SELECT %1 FROM \"Sheets\" %2")
                               .arg(StoreSql::columnList(kSheetColumns), where),
                           error) ||
        !StoreSql::exec(query, values, error))
        return std::nullopt;
    QList<RecordedSheet> sheets;
    while (query.next()) {
        RecordedSheet sheet;
        sheet.id = query.value(0).toLongLong();
        sheet.heading.salesPerson = query.value(1).toString();
        sheet.heading.weekEnding = query.value(2).toString();
        sheet.heading.bonusDescription = query.value(3).toString();
        sheet.heading.bonus = moneyOf(query.value(4));
        sheet.total = moneyOf(query.value(5));
        sheet.printedAt = query.value(6).toString();
        sheet.voidedAt = query.value(7).toString();
        sheet.lines = query.value(8).toString().toUtf8();
        sheets << sheet;
    }
    return sheets;
}

std::optional<RecordedSheet> SheetRecords::find(qint64 sheetId, QString *error) const
{
    const auto sheets = select(QStringLiteral("WHERE \"SheetId\" = ?"), {sheetId}, error);
    if (!sheets)
        return std::nullopt;
    if (sheets->isEmpty()) {
        if (error)
            *error = QStringLiteral("The commission sheet is no longer recorded.");
        return std::nullopt;
    }
    return sheets->first();
}

std::optional<QList<RecordedSheet>> SheetRecords::ofSalesPerson(const QString &salesPerson,
                                                                QString *error) const
{
    return select(QStringLiteral("WHERE \"SalesPerson\" = ? ORDER BY \"SheetId\" DESC"),
                  {salesPerson}, error);
}

std::optional<QList<RecordedSheet>> SheetRecords::latestValid(QString *error) const
{
    return select(QStringLiteral("WHERE \"VoidedAt\" IS NULL ORDER BY \"SheetId\" DESC LIMIT 1"),
                  {}, error);
}

SheetRecords::VoidOutcome SheetRecords::voidSheet(qint64 sheetId, QString *error)
{
    SqlTransaction transaction(m_db);
    // Locked before it is read: of two desks voiding it at once, the second
    // reads it voided.
    if (!transaction.begin(error) || !DealLocks::forVoiding(m_db, sheetId, error))
        return VoidOutcome::Failed;
    const auto found = select(QStringLiteral("WHERE \"SheetId\" = ?"), {sheetId}, error);
    if (!found)
        return VoidOutcome::Failed;
    if (found->isEmpty())
        return VoidOutcome::Missing;
    const RecordedSheet &sheet = found->first();
    if (sheet.isVoided())
        return VoidOutcome::AlreadyVoided;
    QSqlQuery stored(m_db);
    if (!StoreSql::prepare(
            stored, QStringLiteral("SELECT \"Snapshot\" FROM \"Sheets\" WHERE \"SheetId\" = ?"),
            error) ||
        !StoreSql::exec(stored, {sheetId}, error) || !stored.next())
        return VoidOutcome::Failed;
    const QString recorded = stored.value(0).toString();
    stored.finish();
    const std::optional<QString> current = snapshot(sheetId, error);
    if (!current)
        return VoidOutcome::Failed;
    if (*current != recorded)
        return VoidOutcome::RowsChanged;

    AuditTrail::Entry entry;
    entry.action = QStringLiteral("Sheet voided");
    entry.tableName = QStringLiteral("Sheets");
    entry.rowKey = sheetId;
    entry.sheetId = sheetId;
    entry.salesPerson = sheet.heading.salesPerson;
    entry.before = headingText(sheet);
    const QString at = now();
    entry.after = QStringLiteral("VoidedAt: ") + at;
    if (!auditRows(sheetId, QStringLiteral("Unpaid by void"),
                   QStringLiteral("Paid: Yes\nSheetId: %1").arg(sheetId),
                   QStringLiteral("Paid: No"), error) ||
        !run(m_db,
             QStringLiteral("UPDATE \"SalesSummary\" SET \"Paid\" = 0, \"SheetId\" = NULL "
                            "WHERE \"SheetId\" = ?"),
             {sheetId}, error) ||
        !run(m_db, QStringLiteral("UPDATE \"Sheets\" SET \"VoidedAt\" = ? WHERE \"SheetId\" = ?"),
             {at, sheetId}, error) ||
        !AuditTrail::write(m_db, entry, error) || !transaction.commit(error))
        return VoidOutcome::Failed;
    return VoidOutcome::Voided;
}
