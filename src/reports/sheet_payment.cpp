#include "reports/sheet_payment.h"

#include "common/durable_file.h"
#include "common/money_format.h"
#include "reports/commission_data_file.h"
#include "reports/sheet_data_file.h"
#include "reports/sheet_volume.h"
#include "store/column_value.h"
#include "store/commission_payments.h"
#include "store/deal_database.h"
#include "store/deal_locks.h"
#include "store/sales_ledger.h"
#include "store/sql_transaction.h"

namespace SheetPayment {

namespace {

const QStringList kMoneyFields = {
    QStringLiteral("Payable_Gross"), QStringLiteral("Commission"),      QStringLiteral("Spiff"),
    QStringLiteral("Warranty"),      QStringLiteral("TotalCommission"),
};

// A stored amount as the sheet pays and prints it: rounded to the cent, so
// that the printed lines add up to the printed total. (A split of an odd cent
// stored before splits were kept in whole cents holds half a cent.)
std::optional<Money> paidAmount(const QVariant &stored)
{
    const std::optional<Money> amount = ColumnValue::moneyFrom(stored);
    return amount ? std::optional(amount->roundedToCent()) : std::nullopt;
}

// The row's line of the hand-off file: text as text, amounts as Money
// rounded to the cent, missing values null.
QVariantList dataLine(const SummaryRow &row)
{
    QVariantList line;
    for (const QString &field : CommissionDataFile::fieldNames()) {
        const QVariant stored = row.value(field);
        if (stored.isNull())
            line << QVariant();
        else if (kMoneyFields.contains(field))
            line << QVariant::fromValue(paidAmount(stored).value_or(Money()));
        else
            line << stored.toString();
    }
    return line;
}

// A chargeback's line of the hand-off file: the deal's customer, stock number
// and class, and what is taken back, negative.
QVariantList chargebackLine(const Chargeback &line)
{
    const auto negative = [](Money amount) { return QVariant::fromValue(-amount); };
    return {line.customer,          line.stockNumber,         line.unitClass,
            negative(line.gross),   negative(line.commission), negative(line.spiff),
            negative(line.warranty), negative(line.amount)};
}

// A volume bonus line of the hand-off file: what it says in the customer's
// place, and its amount as the commission.
QVariantList volumeLine(const SheetVolume::Line &line)
{
    const QVariant amount = QVariant::fromValue(line.amount);
    return {line.text, QString(),  QString(), QVariant::fromValue(Money()),
            amount,    QVariant::fromValue(Money()), QVariant::fromValue(Money()), amount};
}

// Marks the rows paid on a new sheet, inside the caller's transaction.
bool recordSheet(DealDatabase &database, const Sheet &sheet, const QString &dataFilePath,
                 const Hooks &hooks, Outcome &outcome)
{
    const auto reach = [&hooks](Step step) {
        if (hooks.reached)
            hooks.reached(step);
    };
    // The rows first, within a short wait: a sheet does not queue behind
    // another desk's.
    if (!DealLocks::forPaying(database.connection(), sheet.rowIds, &outcome.error))
        return false;
    SheetRecords sheets(database.connection());
    SheetHeading heading = sheet.heading();
    heading.desk = SheetDesk::of(dataFilePath);
    const std::optional<qint64> sheetId = sheets.record(heading, &outcome.error);
    if (!sheetId)
        return false;
    reach(Step::SheetRecorded);
    // The rows are put on the sheet by the statement that marks them paid.
    const std::optional<PaidMarking> marking = CommissionPayments(database).markPaid(
        sheet.rowIds, sheet.salesPerson, *sheetId, &outcome.error);
    if (!marking)
        return false;
    if (!marking->complete()) {
        // Paying the rest would pay a sheet the user did not see; the
        // markings made so far go with the transaction.
        outcome.paidElsewhere = marking->paidElsewhere;
        outcome.error = QStringLiteral("Deals on the sheet were paid or removed at another desk.");
        return false;
    }
    SalesLedger ledger(database);
    const std::optional<QList<qint64>> stale = ledger.heldOrUnwound(*sheetId, &outcome.error);
    if (!stale)
        return false;
    if (!stale->isEmpty()) {
        outcome.paidElsewhere = *stale;
        outcome.error = QStringLiteral("Deals on the sheet were held or unwound at another desk.");
        return false;
    }
    const std::optional<QList<Chargeback>> chargebacks = ledger.takeChargebacks(
        sheet.chargebackIds, sheet.salesPerson, *sheetId, outcome.chargebacksElsewhere,
        &outcome.error);
    if (!chargebacks)
        return false;
    if (!outcome.chargebacksElsewhere.isEmpty()) {
        outcome.error = QStringLiteral("Chargebacks on the sheet were deducted on another sheet "
                                       "meanwhile.");
        return false;
    }
    QList<QVariantList> lines;
    std::optional<Money> tally = Money();
    for (const SummaryRow &row : marking->paid) {
        lines << dataLine(row);
        const Money total =
            paidAmount(row.value(QStringLiteral("TotalCommission"))).value_or(Money());
        tally = tally ? tally->checkedAdd(total) : std::nullopt;
    }
    if (sheet.volume) {
        const std::optional<QList<SheetVolume::Line>> volume = SheetVolume::settle(
            database, *sheetId, sheet.salesPerson, sheet.on, sheet.includeMonth, &outcome.error);
        if (!volume)
            return false;
        for (const SheetVolume::Line &line : *volume) {
            lines << volumeLine(line);
            outcome.volumeLines << line.text;
            tally = tally ? tally->checkedAdd(line.amount) : std::nullopt;
        }
    }
    for (const Chargeback &line : *chargebacks) {
        lines << chargebackLine(line);
        tally = tally ? tally->checkedSubtract(line.amount) : std::nullopt;
    }
    // The sheet prints the tally and the tally plus the bonus; neither may
    // leave the range. The sheet and its markings are dropped with the
    // transaction.
    if (!tally || !tally->checkedAdd(sheet.bonus.value_or(Money()))) {
        outcome.error = QStringLiteral("The total commission of the listed deals is too large "
                                       "to print.");
        return false;
    }
    reach(Step::RowsMarked);
    // What the sheet deducts of draws and earlier sheets' negative net, as
    // the salesperson's balances stand inside the sheet's transaction.
    const std::optional<SheetStatement::Settlement> settlement = ledger.settle(
        sheet.salesPerson, *tally + sheet.bonus.value_or(Money()), sheet.on, &outcome.error);
    if (!settlement)
        return false;
    const bool statement = !chargebacks->isEmpty() || settlement->touchesBalances();
    // A sheet of a volume bonus alone is a sheet of deal lines as ever.
    if (statement &&
        (!ledger.recordSettlement(*sheetId, sheet.salesPerson, sheet.on, *settlement,
                                  &outcome.error) ||
         !sheets.recordNet(*sheetId, heading.salesPerson, settlement->recoveredTotal,
                           settlement->carriedIn, settlement->net, &outcome.error)))
        return false;
    outcome.netPay = settlement->net;
    reach(Step::LedgerSettled);
    // With no line listed the sheet has no total.
    const std::optional<Money> total = lines.isEmpty()
                                           ? std::nullopt
                                           : std::optional(*tally);
    if (!sheets.complete(*sheetId, sheet.heading(), marking->paid,
                         CommissionDataFile::encode(lines), total, &outcome.error))
        return false;
    reach(Step::SheetCompleted);
    outcome.sheetId = *sheetId;
    outcome.tally = *tally;
    return true;
}

} // namespace

SheetHeading Sheet::heading() const
{
    return {.salesPerson = salesPerson,
            .weekEnding = weekEnding,
            .bonusDescription = bonusDescription,
            .bonus = bonus};
}

Outcome pay(DealDatabase &database, const QString &dataFilePath, const Sheet &sheet,
            const Hooks &hooks)
{
    Outcome outcome;
    if (!database.usable()) {
        outcome.error = QStringLiteral("The deal database is not open.");
        return outcome;
    }
    const bool committed = database.transact(
        [&] {
            outcome = Outcome();
            SqlTransaction transaction(database.connection());
            if (!transaction.begin(&outcome.error))
                return false;
            if (hooks.reached)
                hooks.reached(Step::Begun);
            return recordSheet(database, sheet, dataFilePath, hooks, outcome) &&
                   transaction.commit(&outcome.error);
        }, // rolled back on leaving unless committed
        &outcome.error);
    if (!committed && database.lastFault() == StoreSql::Fault::LockWait) {
        // Rows another desk holds for longer than a sheet waits are being
        // paid there: refused like rows paid there already.
        QString ignored;
        outcome.paidElsewhere = DealLocks::heldElsewhere(database.connection(), sheet.rowIds,
                                                         &ignored);
        if (outcome.paidElsewhere.isEmpty())
            outcome.paidElsewhere = sheet.rowIds;
        outcome.error = QStringLiteral("Deals on the sheet are being paid or changed at "
                                       "another desk.");
    }
    if (!committed) {
        // The store's own words after a conflict or a lost connection are
        // told as a sentence of their own.
        const StoreSql::Fault fault = database.lastFault();
        if ((fault == StoreSql::Fault::Conflict || fault == StoreSql::Fault::Connection) &&
            !outcome.error.isEmpty())
            outcome.error[0] = outcome.error[0].toUpper();
        outcome.sheetId = 0;
        outcome.tally = Money();
        // A file left behind by an earlier sheet's failure is put right; a
        // sheet refused because another desk paid its deals leaves the file
        // alone, as it leaves everything else.
        QString ignored;
        if (outcome.paidElsewhere.isEmpty())
            SheetDataFile::restore(database, dataFilePath, &ignored);
        return outcome;
    }
    outcome.paid = true;
    outcome.error.clear(); // a commit whose lost answer was looked up
    if (hooks.reached)
        hooks.reached(Step::Committed);

    // The file is written from the record, not from what was meant to be
    // recorded.
    QString why;
    const std::optional<RecordedSheet> recorded =
        SheetRecords(database.connection()).find(outcome.sheetId, &why);
    outcome.fileWritten = recorded && DurableFile::replace(dataFilePath, recorded->lines, &why);
    if (!outcome.fileWritten)
        outcome.error = SheetDataFile::notWrittenMessage(why);
    return outcome;
}

QString paidElsewhereMessage(const QList<SummaryRow> &deals)
{
    QStringList named;
    for (const SummaryRow &deal : deals) {
        const QDate date = ColumnValue::dateFrom(deal.value(QStringLiteral("Date")));
        named << QStringLiteral("Stock # %1, %2, %3")
                     .arg(deal.value(QStringLiteral("Stock_Number")).toString(),
                          DateFormat::picture(date, QStringLiteral("mm/dd/yyyy")),
                          deal.value(QStringLiteral("Customer_Name")).toString());
    }
    return QStringLiteral("These deals were paid or removed at another desk since the list was "
                          "shown:\n\n%1\n\nNothing has been marked paid and no sheet was "
                          "printed. The list now shows the deals still unpaid; print the sheet "
                          "again from it.")
        .arg(named.join(u'\n'));
}

} // namespace SheetPayment
