#include "store/sales_ledger.h"

#include "common/money_format.h"
#include "store/audit_trail.h"
#include "store/column_value.h"
#include "store/deal_database.h"
#include "store/sql_transaction.h"
#include "store/store_engine.h"
#include "store/store_schema.h"
#include "store/store_sql.h"

#include <QDateTime>
#include <QSqlQuery>

#include <algorithm>
#include <functional>

namespace {

const QString kChargeback = QStringLiteral("Chargeback");
const QString kDraw = QStringLiteral("Draw");
const QString kRecovered = QStringLiteral("Draw recovered");
const QString kWrittenOff = QStringLiteral("Draw written off");

// The columns a chargeback is read with, in Chargeback's order.
const QString kChargebackColumns = QStringLiteral(
    "\"EntryId\", \"SalesPerson\", \"EntryDate\", \"SummaryRow\", \"DealId\", "
    "\"PaidOnSheet\", \"SheetId\", \"StockNumber\", \"Customer\", \"TCU\", \"Gross\", "
    "\"Commission\", \"Spiff\", \"Warranty\", \"Amount\"");

// A sheet that counts: recorded and not voided.
const QString kValidSheet = QStringLiteral(
    "EXISTS (SELECT 1 FROM \"Sheets\" s WHERE s.\"SheetId\" = %1 AND s.\"VoidedAt\" IS NULL)");

QString now()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QVariant nullInteger()
{
    return QVariant(QMetaType(QMetaType::LongLong));
}

QVariant optionalKey(const std::optional<qint64> &key)
{
    return key ? QVariant(*key) : nullInteger();
}

std::optional<qint64> keyFrom(const QVariant &value)
{
    return value.isNull() ? std::nullopt : std::optional(value.toLongLong());
}

Money moneyOf(const QVariant &value)
{
    return ColumnValue::moneyFrom(value).value_or(Money());
}

bool notOpen(const DealDatabase &database, QString *error)
{
    if (database.usable())
        return false;
    if (error)
        *error = QStringLiteral("The deal database is not open.");
    return true;
}

bool run(QSqlQuery &query, const QString &statement, const QVariantList &values, QString *error)
{
    return StoreSql::prepare(query, statement, error) && StoreSql::exec(query, values, error);
}

// A new row of `table`; its key.
std::optional<qint64> insertRow(QSqlDatabase db, const QString &table, const QStringList &columns,
                                const QString &key, const QVariantList &values, QString *error)
{
    QSqlQuery insert(db);
    if (!StoreSql::prepare(insert, StoreSql::insertReturning(table, columns, key), error))
        return std::nullopt;
    return StoreSql::insertedKey(insert, values, error);
}

// Runs `body` as one write transaction of its own, committed when it
// succeeds (run again after a conflict with another desk).
bool writing(DealDatabase &database, QString *error, const std::function<bool()> &body)
{
    return database.transact(
        [&] {
            SqlTransaction transaction(database.connection());
            return transaction.begin(error) && body() && transaction.commit(error);
        },
        error);
}

Chargeback chargebackAt(const QSqlQuery &query)
{
    Chargeback line;
    int at = 0;
    line.id = query.value(at++).toLongLong();
    line.salesPerson = query.value(at++).toString();
    line.on = ColumnValue::dateFrom(query.value(at++));
    line.summaryRow = query.value(at++).toLongLong();
    line.deal = query.value(at++).toLongLong();
    line.paidOnSheet = keyFrom(query.value(at++));
    line.sheetId = keyFrom(query.value(at++));
    line.stockNumber = query.value(at++).toString();
    line.customer = query.value(at++).toString();
    line.unitClass = query.value(at++).toString();
    line.gross = moneyOf(query.value(at++));
    line.commission = moneyOf(query.value(at++));
    line.spiff = moneyOf(query.value(at++));
    line.warranty = moneyOf(query.value(at++));
    line.amount = moneyOf(query.value(at++));
    return line;
}

AuditTrail::Entry ledgerEntry(const QString &action, qint64 entryId, const QString &salesPerson)
{
    AuditTrail::Entry entry;
    entry.action = action;
    entry.tableName = QStringLiteral("Ledger");
    entry.rowKey = entryId;
    entry.salesPerson = salesPerson;
    return entry;
}

// The statement's rows of summary columns: rowid, the 13 columns, DealId.
SummaryRow summaryRowAt(const QSqlQuery &query, int from)
{
    static const QStringList columns =
        StoreSchema::columns(QString::fromLatin1(StoreSchema::kSalesSummary));
    SummaryRow row;
    row.rowId = query.value(from).toLongLong();
    for (int i = 0; i < int(columns.size()); ++i)
        row.values << query.value(from + 1 + i);
    row.dealId = query.value(from + 1 + int(columns.size()));
    return row;
}

QString summaryColumns(const QString &alias)
{
    QStringList named;
    for (const QString &column :
         StoreSchema::columns(QString::fromLatin1(StoreSchema::kSalesSummary)))
        named << alias + u'.' + StoreSql::quoted(column);
    return QStringLiteral("%1.rowid, %2, %1.\"DealId\"").arg(alias, named.join(QStringLiteral(", ")));
}

std::optional<QList<Chargeback>> chargebacksWhere(QSqlDatabase db, const QString &where,
                                                  const QVariantList &values, QString *error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!run(query,
             QStringLiteral("SELECT %1 FROM \"Ledger\" WHERE \"Kind\" = ? AND %2 ORDER BY "
                            "\"EntryId\"")
                 .arg(kChargebackColumns, where),
             QVariantList{kChargeback} + values, error))
        return std::nullopt;
    QList<Chargeback> lines;
    while (query.next())
        lines << chargebackAt(query);
    return lines;
}

} // namespace

SalesLedger::SalesLedger(DealDatabase &database) : m_database(database)
{
}

QString SalesLedger::heldOrUnwoundStatement()
{
    return QStringLiteral("SELECT r.rowid FROM \"SalesSummary\" r WHERE r.\"SheetId\" = ? AND "
                          "(EXISTS (SELECT 1 FROM \"Holds\" h WHERE h.\"SummaryRow\" = r.rowid) "
                          "OR EXISTS (SELECT 1 FROM \"Unwinds\" u WHERE u.\"DealId\" = "
                          "r.\"DealId\" AND u.\"Whole\" = 1))");
}

QString SalesLedger::carriedStatement()
{
    return QStringLiteral("SELECT \"SalesPerson\", \"NetPay\", \"CarriedIn\" FROM \"Sheets\" WHERE "
                          "\"NetPay\" IS NOT NULL AND \"VoidedAt\" IS NULL AND (\"NetPay\" < 0 OR "
                          "\"CarriedIn\" > 0)");
}

QString SalesLedger::openDrawsStatement()
{
    // What the sheets took of a draw counts while their sheet is not voided.
    return QStringLiteral("SELECT d.\"EntryId\", d.\"EntryDate\", d.\"Amount\", d.\"Recoverable\", "
                          "(SELECT COALESCE(SUM(t.\"Amount\"), 0) FROM \"Ledger\" t WHERE "
                          "t.\"DrawId\" = d.\"EntryId\" AND %1) FROM \"Ledger\" d WHERE "
                          "d.\"Kind\" = 'Draw' AND d.\"SalesPerson\" = ? ORDER BY "
                          "d.\"EntryDate\", d.\"EntryId\"")
        .arg(kValidSheet.arg(QStringLiteral("t.\"SheetId\"")));
}

bool SalesLedger::hold(qint64 rowId, const QString &reason, QString *error)
{
    if (notOpen(m_database, error))
        return false;
    if (reason.trimmed().isEmpty()) {
        if (error)
            *error = QStringLiteral("Give the reason the deal is held.");
        return false;
    }
    return writing(m_database, error, [&] {
            QSqlQuery row(m_database.connection());
            // The row is locked as it is read: a sheet paying it at another
            // desk either comes first, and the row is paid, or waits.
            if (!run(row,
                     QStringLiteral("SELECT \"Paid\", \"Sales_Person\", \"Stock_Number\", "
                                    "\"DealId\" FROM \"SalesSummary\" WHERE rowid = ?%1")
                         .arg(StoreEngine::lockRows(m_database.engine())),
                     {rowId}, error))
                return false;
            if (!row.next() || row.value(0).toInt() != 0) {
                if (error)
                    *error = QStringLiteral("The deal was paid or removed at another desk; it "
                                            "is not held.");
                return false;
            }
            const QString salesPerson = row.value(1).toString();
            AuditTrail::Entry entry;
            entry.action = QStringLiteral("Deal held");
            entry.tableName = QStringLiteral("Holds");
            entry.dealId = row.value(3);
            entry.stockNumber = row.value(2).toString();
            entry.salesPerson = salesPerson;
            entry.after = QStringLiteral("SummaryRow: %1\nReason: %2").arg(rowId).arg(reason);
            QSqlQuery held(m_database.connection());
            if (!run(held, QStringLiteral("SELECT 1 FROM \"Holds\" WHERE \"SummaryRow\" = ?"),
                     {rowId}, error))
                return false;
            if (held.next()) {
                if (error)
                    *error = QStringLiteral("The deal is held already.");
                return false;
            }
            const std::optional<qint64> id = insertRow(
                m_database.connection(), QStringLiteral("Holds"),
                {QStringLiteral("SummaryRow"), QStringLiteral("SalesPerson"), QStringLiteral("Reason"),
                 QStringLiteral("HeldAt")},
                QStringLiteral("HoldId"), {rowId, salesPerson, reason, now()}, error);
            if (!id)
                return false;
            entry.rowKey = *id;
            return AuditTrail::write(m_database.connection(), entry, error);
        });
}

bool SalesLedger::release(qint64 rowId, QString *error)
{
    if (notOpen(m_database, error))
        return false;
    return writing(m_database, error, [&] {
            QSqlQuery held(m_database.connection());
            if (!run(held,
                     QStringLiteral("DELETE FROM \"Holds\" WHERE \"SummaryRow\" = ? RETURNING "
                                    "\"HoldId\", \"SalesPerson\", \"Reason\""),
                     {rowId}, error))
                return false;
            if (!held.next()) {
                if (error)
                    *error = QStringLiteral("The deal was released at another desk already.");
                return false;
            }
            AuditTrail::Entry entry;
            entry.action = QStringLiteral("Deal released");
            entry.tableName = QStringLiteral("Holds");
            entry.rowKey = held.value(0);
            entry.salesPerson = held.value(1).toString();
            entry.before = QStringLiteral("SummaryRow: %1\nReason: %2")
                               .arg(rowId)
                               .arg(held.value(2).toString());
            held.finish();
            QSqlQuery row(m_database.connection());
            if (!run(row,
                     QStringLiteral("SELECT \"Stock_Number\", \"DealId\" FROM \"SalesSummary\" "
                                    "WHERE rowid = ?"),
                     {rowId}, error))
                return false;
            if (row.next()) {
                entry.stockNumber = row.value(0).toString();
                entry.dealId = row.value(1);
            }
            return AuditTrail::write(m_database.connection(), entry, error);
        });
}

std::optional<QList<HeldRow>> SalesLedger::held(const QString &salesPerson, QString *error) const
{
    if (notOpen(m_database, error))
        return std::nullopt;
    QList<HeldRow> rows;
    const bool read = m_database.reading(
        [&] {
            rows.clear();
            QSqlQuery query(m_database.connection());
            if (!run(query,
                     QStringLiteral("SELECT h.\"Reason\", h.\"HeldAt\", %1 FROM \"Holds\" h "
                                    "JOIN \"SalesSummary\" r ON r.rowid = h.\"SummaryRow\" "
                                    "WHERE h.\"SalesPerson\" = ? AND r.\"Paid\" = 0 AND NOT "
                                    "EXISTS (SELECT 1 FROM \"Unwinds\" u WHERE u.\"DealId\" = "
                                    "r.\"DealId\" AND u.\"Whole\" = 1) ORDER BY h.\"HoldId\"")
                         .arg(summaryColumns(QStringLiteral("r"))),
                     {salesPerson.toUpper()}, error))
                return false;
            while (query.next())
                rows << HeldRow{summaryRowAt(query, 2), query.value(0).toString(),
                                query.value(1).toString()};
            return true;
        },
        error);
    return read ? std::optional(rows) : std::nullopt;
}

std::optional<qint64> SalesLedger::recordDraw(const QString &salesPerson, const QDate &paidOn,
                                              Money amount, bool recoverable, QString *error)
{
    if (notOpen(m_database, error))
        return std::nullopt;
    if (!paidOn.isValid() || amount.isNegative() || amount.isZero()) {
        if (error)
            *error = QStringLiteral("A draw needs a date and an amount above $0.00.");
        return std::nullopt;
    }
    std::optional<qint64> id;
    const bool done = writing(m_database, error, [&] {
        id = insertRow(m_database.connection(), QStringLiteral("Ledger"),
                       {QStringLiteral("Kind"), QStringLiteral("SalesPerson"),
                        QStringLiteral("EntryDate"), QStringLiteral("Amount"),
                        QStringLiteral("Recoverable")},
                       QStringLiteral("EntryId"),
                       {kDraw, salesPerson.toUpper(), ColumnValue::date(paidOn),
                        ColumnValue::money(amount), ColumnValue::yesNo(recoverable)},
                       error);
        if (!id)
            return false;
        AuditTrail::Entry entry =
            ledgerEntry(QStringLiteral("Draw recorded"), *id, salesPerson.toUpper());
        entry.after = QStringLiteral("PaidOn: %1\nAmount: %2\nRecoverable: %3")
                          .arg(ColumnValue::isoDate(paidOn), MoneyFormat::plain(amount),
                               recoverable ? QStringLiteral("Yes") : QStringLiteral("No"));
        return AuditTrail::write(m_database.connection(), entry, error);
    });
    return done ? id : std::nullopt;
}

std::optional<QList<Draw>> SalesLedger::openDraws(const QString &salesPerson,
                                                  QString *error) const
{
    if (notOpen(m_database, error))
        return std::nullopt;
    QSqlQuery query(m_database.connection());
    query.setForwardOnly(true);
    if (!run(query, openDrawsStatement(), {salesPerson.toUpper()}, error))
        return std::nullopt;
    QList<Draw> draws;
    while (query.next()) {
        Draw draw;
        draw.id = query.value(0).toLongLong();
        draw.salesPerson = salesPerson.toUpper();
        draw.paidOn = ColumnValue::dateFrom(query.value(1));
        draw.amount = moneyOf(query.value(2));
        draw.recoverable = ColumnValue::yesNoFrom(query.value(3));
        draw.open = draw.amount - Money::fromUnits(query.value(4).toLongLong());
        if (!draw.open.isZero())
            draws << draw;
    }
    return draws;
}

std::optional<QList<Chargeback>> SalesLedger::chargebacks(const QString &where,
                                                          const QVariantList &values,
                                                          QString *error) const
{
    if (notOpen(m_database, error))
        return std::nullopt;
    return chargebacksWhere(m_database.connection(), where, values, error);
}

std::optional<QList<Chargeback>> SalesLedger::openChargebacks(const QString &salesPerson,
                                                              QString *error) const
{
    return chargebacks(QStringLiteral("\"SalesPerson\" = ? AND \"SheetId\" IS NULL"),
                       {salesPerson.toUpper()}, error);
}

std::optional<QList<Chargeback>> SalesLedger::chargebacksOn(const QList<qint64> &rowIds,
                                                            QString *error) const
{
    QList<Chargeback> all;
    for (const qint64 rowId : rowIds) {
        const auto lines = chargebacks(QStringLiteral("\"SummaryRow\" = ?"), {rowId}, error);
        if (!lines)
            return std::nullopt;
        all << *lines;
    }
    return all;
}

std::optional<Money> SalesLedger::carried(const QString &salesPerson, QString *error) const
{
    if (notOpen(m_database, error))
        return std::nullopt;
    // Names are compared in capitals here, as the sheets' names may be
    // written in any case and the column's own folding knows only A to Z.
    QSqlQuery query(m_database.connection());
    query.setForwardOnly(true);
    if (!run(query, carriedStatement(), {}, error))
        return std::nullopt;
    const QString sought = salesPerson.toUpper();
    Money balance;
    while (query.next()) {
        if (query.value(0).toString().toUpper() != sought)
            continue;
        const Money net = moneyOf(query.value(1));
        if (net.isNegative())
            balance -= net;
        balance -= moneyOf(query.value(2));
    }
    return balance;
}

std::optional<SheetStatement::Settlement> SalesLedger::settle(const QString &salesPerson,
                                                             Money earned, const QDate &on,
                                                             QString *error) const
{
    const std::optional<Money> balance = carried(salesPerson, error);
    const std::optional<QList<Draw>> draws =
        balance ? openDraws(salesPerson, error) : std::nullopt;
    if (!draws)
        return std::nullopt;
    SheetStatement::Input input{.earned = earned, .carried = *balance, .draws = {}, .on = on};
    for (const Draw &draw : *draws)
        input.draws << SheetStatement::OpenDraw{draw.id, draw.paidOn, draw.open, draw.recoverable};
    return SheetStatement::settle(input);
}

std::optional<QList<Chargeback>> SalesLedger::takeChargebacks(const QList<qint64> &ids,
                                                              const QString &salesPerson,
                                                              qint64 sheetId,
                                                              QList<qint64> &missing,
                                                              QString *error)
{
    QList<Chargeback> taken;
    if (ids.isEmpty())
        return taken;
    QSqlQuery take(m_database.connection());
    if (!StoreSql::prepare(take,
                           QStringLiteral("UPDATE \"Ledger\" SET \"SheetId\" = ? WHERE "
                                          "\"EntryId\" = ? AND \"Kind\" = ? AND "
                                          "\"SalesPerson\" = ? AND \"SheetId\" IS NULL "
                                          "RETURNING %1")
                               .arg(kChargebackColumns),
                           error))
        return std::nullopt;
    // In the order they were made, as a sheet lists them and reads them back.
    QList<qint64> ordered = ids;
    std::sort(ordered.begin(), ordered.end());
    for (const qint64 id : ordered) {
        if (!StoreSql::exec(take, {sheetId, id, kChargeback, salesPerson.toUpper()}, error))
            return std::nullopt;
        if (take.next())
            taken << chargebackAt(take);
        else
            missing << id;
        take.finish();
    }
    return taken;
}

bool SalesLedger::recordSettlement(qint64 sheetId, const QString &salesPerson, const QDate &on,
                                   const SheetStatement::Settlement &settlement, QString *error)
{
    QSqlQuery insert(m_database.connection());
    if (!StoreSql::prepare(insert,
                           StoreSql::insertReturning(
                               QStringLiteral("Ledger"),
                               {QStringLiteral("Kind"), QStringLiteral("SalesPerson"),
                                QStringLiteral("EntryDate"), QStringLiteral("Amount"),
                                QStringLiteral("DrawId"), QStringLiteral("SheetId")},
                               QStringLiteral("EntryId")),
                           error))
        return false;
    QList<AuditTrail::Entry> entries;
    const auto add = [&](const QString &kind, const QList<SheetStatement::DrawLine> &lines) {
        for (const SheetStatement::DrawLine &line : lines) {
            const std::optional<qint64> id = StoreSql::insertedKey(
                insert,
                {kind, salesPerson.toUpper(), ColumnValue::date(on),
                 ColumnValue::money(line.amount), line.drawId, sheetId},
                error);
            if (!id)
                return false;
            AuditTrail::Entry entry = ledgerEntry(kind, *id, salesPerson.toUpper());
            entry.sheetId = sheetId;
            entry.after = QStringLiteral("DrawId: %1\nAmount: %2")
                              .arg(line.drawId)
                              .arg(MoneyFormat::plain(line.amount));
            entries << entry;
        }
        return true;
    };
    return add(kRecovered, settlement.recovered) && add(kWrittenOff, settlement.writtenOff) &&
           AuditTrail::writeAll(m_database.connection(), entries, error);
}

std::optional<QList<qint64>> SalesLedger::heldOrUnwound(qint64 sheetId, QString *error) const
{
    QSqlQuery query(m_database.connection());
    query.setForwardOnly(true);
    if (!run(query, heldOrUnwoundStatement(), {sheetId}, error))
        return std::nullopt;
    QList<qint64> rows;
    while (query.next())
        rows << query.value(0).toLongLong();
    return rows;
}

std::optional<QString> SalesLedger::voidRefusal(QSqlDatabase db, qint64 sheetId, QString *error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!run(query,
             QStringLiteral("SELECT \"StockNumber\" FROM \"Ledger\" WHERE \"PaidOnSheet\" = ? "
                            "AND \"Kind\" = ? ORDER BY \"EntryId\""),
             {sheetId, kChargeback}, error))
        return std::nullopt;
    if (query.next())
        return QStringLiteral("Stock # %1, paid on this sheet, was unwound and charged back "
                              "since. The sheet cannot be voided; the chargeback stands.")
            .arg(query.value(0).toString());
    query.finish();
    if (!run(query,
             QStringLiteral("SELECT l.\"SheetId\", l.\"SalesPerson\", l.\"NetPay\" FROM "
                            "\"Sheets\" l WHERE l.\"SheetId\" = ?"),
             {sheetId}, error) ||
        !query.next())
        return QString();
    const Money net = moneyOf(query.value(2));
    const QString salesPerson = query.value(1).toString().toUpper();
    query.finish();
    if (!net.isNegative())
        return QString();
    if (!run(query,
             QStringLiteral("SELECT \"SheetId\", \"SalesPerson\" FROM \"Sheets\" WHERE "
                            "\"SheetId\" > ? AND \"VoidedAt\" IS NULL AND \"CarriedIn\" > 0 "
                            "ORDER BY \"SheetId\""),
             {sheetId}, error))
        return std::nullopt;
    while (query.next()) {
        if (query.value(1).toString().toUpper() == salesPerson)
            return QStringLiteral("This sheet's negative net pay was deducted on sheet %1. Void "
                                  "sheet %1 first.")
                .arg(query.value(0).toLongLong());
    }
    return QString();
}

bool SalesLedger::reopenChargebacks(QSqlDatabase db, qint64 sheetId, QString *error)
{
    const auto lines = chargebacksWhere(db, QStringLiteral("\"SheetId\" = ?"), {sheetId}, error);
    if (!lines)
        return false;
    QList<AuditTrail::Entry> entries;
    for (const Chargeback &line : *lines) {
        AuditTrail::Entry entry = ledgerEntry(QStringLiteral("Chargeback reopened"), line.id,
                                              line.salesPerson);
        entry.dealId = line.deal;
        entry.sheetId = sheetId;
        entry.stockNumber = line.stockNumber;
        entry.before = QStringLiteral("SheetId: %1").arg(sheetId);
        entry.after = QStringLiteral("SheetId: ");
        entries << entry;
    }
    QSqlQuery reopen(db);
    return run(reopen,
               QStringLiteral("UPDATE \"Ledger\" SET \"SheetId\" = NULL WHERE \"SheetId\" = ? AND "
                              "\"Kind\" = ?"),
               {sheetId, kChargeback}, error) &&
           AuditTrail::writeAll(db, entries, error);
}

std::optional<qint64> SalesLedger::recordChargeback(const Chargeback &line, qint64 unwindId,
                                                    QString *error)
{
    const std::optional<qint64> id = insertRow(
        m_database.connection(), QStringLiteral("Ledger"),
        {QStringLiteral("Kind"), QStringLiteral("SalesPerson"), QStringLiteral("EntryDate"),
         QStringLiteral("Amount"), QStringLiteral("UnwindId"), QStringLiteral("SummaryRow"),
         QStringLiteral("DealId"), QStringLiteral("PaidOnSheet"), QStringLiteral("StockNumber"),
         QStringLiteral("Customer"), QStringLiteral("TCU"), QStringLiteral("Gross"),
         QStringLiteral("Commission"), QStringLiteral("Spiff"), QStringLiteral("Warranty")},
        QStringLiteral("EntryId"),
        {kChargeback, line.salesPerson.toUpper(), ColumnValue::date(line.on),
         ColumnValue::money(line.amount), unwindId, line.summaryRow, line.deal,
         optionalKey(line.paidOnSheet), line.stockNumber, line.customer, line.unitClass,
         ColumnValue::money(line.gross), ColumnValue::money(line.commission),
         ColumnValue::money(line.spiff), ColumnValue::money(line.warranty)},
        error);
    if (!id)
        return std::nullopt;
    AuditTrail::Entry entry = ledgerEntry(kChargeback, *id, line.salesPerson.toUpper());
    entry.dealId = line.deal;
    entry.sheetId = optionalKey(line.paidOnSheet);
    entry.stockNumber = line.stockNumber;
    entry.after = QStringLiteral("Amount: -%1\nPaidOnSheet: %2")
                      .arg(MoneyFormat::plain(line.amount),
                           line.paidOnSheet ? QString::number(*line.paidOnSheet) : QString());
    return AuditTrail::write(m_database.connection(), entry, error) ? id : std::nullopt;
}
