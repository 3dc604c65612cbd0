#include "sheet_records.h"

#include "audit_trail.h"
#include "column_value.h"
#include "common/money_format.h"
#include "deal_locks.h"
#include "pg_statement.h"
#include "sales_ledger.h"
#include "sql_transaction.h"
#include "statement_rows.h"
#include "store_engine.h"
#include "store_schema.h"
#include "store_sql.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSysInfo>
#include <QSqlQuery>

#include <algorithm>

namespace {

const QStringList kSheetColumns = {
    QStringLiteral("SheetId"),          QStringLiteral("SalesPerson"), QStringLiteral("WeekEnding"),
    QStringLiteral("BonusDescription"), QStringLiteral("Bonus"),       QStringLiteral("Total"),
    QStringLiteral("PrintedAt"),        QStringLiteral("VoidedAt"),    QStringLiteral("Lines"),
    QStringLiteral("Recovered"),        QStringLiteral("CarriedIn"),   QStringLiteral("NetPay"),
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
    // A sheet's lines and snapshot are long texts: on a server they go as
    // parameters rather than inside the statement's text.
    if (StoreEngine::engineOf(db) == StoreEngine::Engine::PostgreSQL)
        return PgStatement(db).run(statement, values, error);
    QSqlQuery query(db);
    return StoreSql::prepare(query, statement, error) && StoreSql::exec(query, values, error);
}

const QStringList &summaryColumns()
{
    static const QStringList columns =
        StoreSchema::columns(QString::fromLatin1(StoreSchema::kSalesSummary));
    return columns;
}

// The sheet's rows as the sheet recorded them, to tell at a void whether any
// changed since: each row's rowid, columns and deal, one row a line, in the
// order of the rowids.
QString snapshotOf(const QList<SummaryRow> &rows)
{
    QString text;
    const auto add = [&text](const QVariant &value) {
        if (value.isNull())
            text += QLatin1StringView("#NULL#");
        else
            ColumnValue::appendStoredText(text, value);
    };
    for (const SummaryRow &row : rows) {
        if (!text.isEmpty())
            text += u'\n';
        text += QString::number(row.rowId);
        for (const QVariant &value : row.values) {
            text += u'\x1f';
            add(value);
        }
        text += u'\x1f';
        add(row.dealId);
    }
    return text;
}

// The audit entries of a change to the sheet's rows.
QList<AuditTrail::Entry> rowEntries(qint64 sheetId, const QList<SummaryRow> &rows,
                                    const QString &action, const QString &before,
                                    const QString &after)
{
    QList<AuditTrail::Entry> entries;
    entries.reserve(rows.size());
    for (const SummaryRow &row : rows) {
        AuditTrail::Entry entry;
        entry.action = action;
        entry.tableName = QString::fromLatin1(StoreSchema::kSalesSummary);
        entry.rowKey = row.rowId;
        entry.dealId = row.dealId;
        entry.sheetId = sheetId;
        entry.stockNumber = row.value(QStringLiteral("Stock_Number")).toString();
        entry.salesPerson = row.value(QStringLiteral("Sales_Person")).toString();
        entry.before = before;
        entry.after = after;
        entries << entry;
    }
    return entries;
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
    StatementRows query(m_db);
    if (!query.run(StoreSql::insertReturning(QStringLiteral("Sheets"),
                                             kSheetColumns.mid(1, 6) +
                                                 QStringList{QStringLiteral("DeskName"),
                                                             QStringLiteral("DeskFolder")},
                                             kSheetColumns.first()),
                   {textValue(heading.salesPerson), textValue(heading.weekEnding),
                    heading.bonusDescription.isEmpty() ? QVariant()
                                                       : QVariant(heading.bonusDescription),
                    moneyValue(heading.bonus), QVariant(), now(),
                    // A sheet of no named desk counts for every desk, as the
                    // older ones do.
                    heading.desk.computer.isEmpty() ? QVariant() : QVariant(heading.desk.computer),
                    heading.desk.computer.isEmpty() ? QVariant() : QVariant(heading.desk.folder)},
                   error))
        return std::nullopt;
    if (!query.next()) {
        if (error)
            *error = QStringLiteral("the database gave the new row no key");
        return std::nullopt;
    }
    return query.value(0).toLongLong();
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
    const std::optional<RecordedSheet> sheet = find(sheetId, error);
    std::optional<QList<SummaryRow>> rows;
    if (sheet)
        rows = rowsOn(sheetId, error);
    return rows && complete(sheetId, sheet->heading, *rows, lines, total, error);
}

bool SheetRecords::complete(qint64 sheetId, const SheetHeading &heading, QList<SummaryRow> rows,
                            const QByteArray &lines, std::optional<Money> total, QString *error)
{
    std::sort(rows.begin(), rows.end(),
              [](const SummaryRow &a, const SummaryRow &b) { return a.rowId < b.rowId; });
    if (!run(m_db,
             QStringLiteral("UPDATE \"Sheets\" SET \"Lines\" = ?, \"Total\" = ?, \"Snapshot\" = ? "
                            "WHERE \"SheetId\" = ?"),
             {textValue(QString::fromUtf8(lines)), moneyValue(total), textValue(snapshotOf(rows)),
              sheetId},
             error))
        return false;
    RecordedSheet sheet;
    sheet.heading = heading;
    sheet.total = total;
    AuditTrail::Entry entry;
    entry.action = QStringLiteral("Sheet paid");
    entry.tableName = QStringLiteral("Sheets");
    entry.rowKey = sheetId;
    entry.sheetId = sheetId;
    entry.salesPerson = heading.salesPerson;
    entry.after = headingText(sheet);
    QList<AuditTrail::Entry> entries{entry};
    entries << rowEntries(sheetId, rows, QStringLiteral("Paid on sheet"), QStringLiteral("Paid: No"),
                          QStringLiteral("Paid: Yes\nSheetId: %1").arg(sheetId));
    return AuditTrail::writeAll(m_db, entries, error);
}

bool SheetRecords::auditRows(qint64 sheetId, const QString &action, const QString &before,
                             const QString &after, QString *error)
{
    const std::optional<QList<SummaryRow>> rows = rowsOn(sheetId, error);
    return rows &&
           AuditTrail::writeAll(m_db, rowEntries(sheetId, *rows, action, before, after), error);
}

std::optional<QList<SummaryRow>> SheetRecords::rowsOn(qint64 sheetId, QString *error) const
{
    const QStringList &columns = summaryColumns();
    StatementRows query(m_db);
    if (!query.run(QStringLiteral("SELECT rowid, %1, \"DealId\" FROM \"SalesSummary\" "
                                  "WHERE \"SheetId\" = ? ORDER BY rowid")
                       .arg(StoreSql::columnList(columns)),
                   {sheetId}, error))
        return std::nullopt;
    QList<SummaryRow> rows;
    while (query.next()) {
        SummaryRow row;
        row.rowId = query.value(0).toLongLong();
        for (int i = 1; i <= int(columns.size()); ++i)
            row.values << query.value(i);
        row.dealId = query.value(int(columns.size()) + 1);
        rows << row;
    }
    if (!query.failure().isEmpty()) {
        if (error)
            *error = query.failure();
        return std::nullopt;
    }
    return rows;
}

std::optional<QString> SheetRecords::snapshot(qint64 sheetId, QString *error) const
{
    const std::optional<QList<SummaryRow>> rows = rowsOn(sheetId, error);
    if (!rows)
        return std::nullopt;
    return snapshotOf(*rows);
}

std::optional<QList<RecordedSheet>>
SheetRecords::select(const QString &where, const QVariantList &values, QString *error) const
{
    StatementRows query(m_db);
    if (!query.run(QStringLiteral("SELECT %1 FROM \"Sheets\" %2")
                       .arg(StoreSql::columnList(kSheetColumns), where),
                   values, error))
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
        sheet.recovered = moneyOf(query.value(9));
        sheet.carriedIn = moneyOf(query.value(10));
        sheet.netPay = moneyOf(query.value(11));
        sheets << sheet;
    }
    // A row the database failed to give is not the end of the sheets.
    if (!query.failure().isEmpty()) {
        if (error)
            *error = query.failure();
        return std::nullopt;
    }
    return sheets;
}

bool SheetRecords::recordNet(qint64 sheetId, const QString &salesPerson, Money recovered,
                             Money carriedIn, Money netPay, QString *error)
{
    AuditTrail::Entry entry;
    entry.action = QStringLiteral("Sheet net pay");
    entry.tableName = QStringLiteral("Sheets");
    entry.rowKey = sheetId;
    entry.sheetId = sheetId;
    entry.salesPerson = salesPerson;
    entry.after = QStringLiteral("Recovered: %1\nCarriedIn: %2\nNetPay: %3")
                      .arg(MoneyFormat::plain(recovered), MoneyFormat::plain(carriedIn),
                           MoneyFormat::plain(netPay));
    return run(m_db,
               QStringLiteral("UPDATE \"Sheets\" SET \"Recovered\" = ?, \"CarriedIn\" = ?, "
                              "\"NetPay\" = ? WHERE \"SheetId\" = ?"),
               {moneyValue(recovered), moneyValue(carriedIn), moneyValue(netPay), sheetId},
               error) &&
           AuditTrail::write(m_db, entry, error);
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
    RecordedSheet sheet = sheets->first();
    // Only a sheet with a net of its own can have deducted chargebacks.
    if (sheet.netPay) {
        QSqlQuery charged(m_db);
        charged.setForwardOnly(true);
        if (!StoreSql::prepare(charged,
                               QStringLiteral("SELECT \"PaidOnSheet\" FROM \"Ledger\" WHERE "
                                              "\"Kind\" = 'Chargeback' AND \"SheetId\" = ? "
                                              "ORDER BY \"EntryId\""),
                               error) ||
            !StoreSql::exec(charged, {sheetId}, error))
            return std::nullopt;
        while (charged.next())
            sheet.chargebacksPaidOn << (charged.value(0).isNull()
                                            ? std::nullopt
                                            : std::optional(charged.value(0).toLongLong()));
    }
    return sheet;
}

std::optional<QList<RecordedSheet>> SheetRecords::ofSalesPerson(const QString &salesPerson,
                                                                QString *error) const
{
    // Names are matched as the commission sheet lists a salesperson's rows,
    // in capitals: the column's own case folding knows only A to Z, so it
    // would not find "José Peña" as "JOSÉ PEÑA".
    QSqlQuery names(m_db);
    names.setForwardOnly(true);
    if (!StoreSql::prepare(names, QStringLiteral("SELECT \"SheetId\", \"SalesPerson\" FROM \"Sheets\""),
                           error) ||
        !StoreSql::exec(names, {}, error))
        return std::nullopt;
    const QString sought = salesPerson.toUpper();
    QVariantList ids;
    QStringList marks;
    while (names.next()) {
        if (names.value(1).toString().toUpper() == sought) {
            ids << names.value(0);
            marks << QStringLiteral("?");
        }
    }
    if (ids.isEmpty())
        return QList<RecordedSheet>();
    return select(QStringLiteral("WHERE \"SheetId\" IN (%1) ORDER BY \"SheetId\" DESC")
                      .arg(marks.join(u',')),
                  ids, error);
}

namespace {

// The sheets of a desk, and those recorded before sheets named their desk.
const QString kAtDesk = QStringLiteral(
    "((\"DeskName\" = ? AND \"DeskFolder\" = ?) OR \"DeskName\" IS NULL)");

} // namespace

SheetDesk SheetDesk::of(const QString &dataFilePath)
{
    return {QSysInfo::machineHostName(), QFileInfo(dataFilePath).absolutePath()};
}

std::optional<QList<RecordedSheet>> SheetRecords::latestValid(const SheetDesk &desk,
                                                              QString *error) const
{
    return select(QStringLiteral("WHERE \"VoidedAt\" IS NULL AND %1 ORDER BY \"SheetId\" DESC "
                                 "LIMIT 1")
                      .arg(kAtDesk),
                  {textValue(desk.computer), textValue(desk.folder)}, error);
}

std::optional<QList<RecordedSheet>> SheetRecords::printedBetween(const QDate &first,
                                                                const QDate &last,
                                                                QString *error) const
{
    // Printed at is local time, "YYYY-MM-DD HH:MM:SS": the day after the
    // last is the first moment not wanted.
    return select(QStringLiteral("WHERE \"PrintedAt\" >= ? AND \"PrintedAt\" < ? "
                                 "ORDER BY \"SheetId\""),
                  {ColumnValue::isoDate(first), ColumnValue::isoDate(last.addDays(1))}, error);
}

std::optional<bool> SheetRecords::anyRecorded(const SheetDesk &desk, QString *error) const
{
    const auto newest =
        select(QStringLiteral("WHERE %1 ORDER BY \"SheetId\" DESC LIMIT 1").arg(kAtDesk),
               {textValue(desk.computer), textValue(desk.folder)}, error);
    return newest ? std::optional(!newest->isEmpty()) : std::nullopt;
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
    const std::optional<QString> refusal = SalesLedger::voidRefusal(m_db, sheetId, error);
    if (!refusal)
        return VoidOutcome::Failed;
    if (!refusal->isEmpty()) {
        if (error)
            *error = *refusal;
        return VoidOutcome::Refused;
    }

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
        !SalesLedger::reopenChargebacks(m_db, sheetId, error) ||
        !run(m_db, QStringLiteral("UPDATE \"Sheets\" SET \"VoidedAt\" = ? WHERE \"SheetId\" = ?"),
             {at, sheetId}, error) ||
        !AuditTrail::write(m_db, entry, error) || !transaction.commit(error))
        return VoidOutcome::Failed;
    return VoidOutcome::Voided;
}
