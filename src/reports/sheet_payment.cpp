#include "reports/sheet_payment.h"

#include "reports/commission_data_file.h"
#include "reports/sheet_data_file.h"
#include "store/column_value.h"
#include "store/commission_payments.h"
#include "store/deal_database.h"
#include "store/sql_transaction.h"

namespace SheetPayment {

namespace {

const QStringList kMoneyFields = {
    QStringLiteral("Payable_Gross"), QStringLiteral("Commission"),      QStringLiteral("Spiff"),
    QStringLiteral("Warranty"),      QStringLiteral("TotalCommission"),
};

// The row's line of the hand-off file: text as text, amounts as Money,
// missing values null.
QVariantList dataLine(const SummaryRow &row)
{
    QVariantList line;
    for (const QString &field : CommissionDataFile::fieldNames()) {
        const QVariant stored = row.value(field);
        if (stored.isNull())
            line << QVariant();
        else if (kMoneyFields.contains(field))
            line << QVariant::fromValue(ColumnValue::moneyFrom(stored).value_or(Money()));
        else
            line << stored.toString();
    }
    return line;
}

// Marks the rows paid on a new sheet, inside the caller's transaction.
bool recordSheet(DealDatabase &database, const QList<qint64> &rowIds, const SheetHeading &heading,
                 const Hooks &hooks, Outcome &outcome)
{
    const auto reach = [&hooks](Step step) {
        if (hooks.reached)
            hooks.reached(step);
    };
    SheetRecords sheets(database.connection());
    const std::optional<qint64> sheetId = sheets.record(heading, &outcome.error);
    if (!sheetId)
        return false;
    reach(Step::SheetRecorded);
    const std::optional<QList<SummaryRow>> paid =
        CommissionPayments(database).markPaid(rowIds, &outcome.error);
    if (!paid)
        return false;
    QList<QVariantList> lines;
    QList<qint64> paidIds;
    Money tally;
    for (const SummaryRow &row : *paid) {
        lines << dataLine(row);
        paidIds << row.rowId;
        tally +=
            ColumnValue::moneyFrom(row.value(QStringLiteral("TotalCommission"))).value_or(Money());
    }
    if (!sheets.attachRows(*sheetId, paidIds, &outcome.error))
        return false;
    reach(Step::RowsMarked);
    // With no deal listed the sheet has no total.
    const std::optional<Money> total = rowIds.isEmpty() ? std::nullopt : std::optional(tally);
    if (!sheets.complete(*sheetId, CommissionDataFile::encode(lines), total, &outcome.error))
        return false;
    reach(Step::SheetCompleted);
    outcome.sheetId = *sheetId;
    outcome.tally = tally;
    return true;
}

} // namespace

Outcome pay(DealDatabase &database, const QString &dataFilePath, const QList<qint64> &rowIds,
            const SheetHeading &heading, const Hooks &hooks)
{
    Outcome outcome;
    if (!database.isOpen()) {
        outcome.error = QStringLiteral("The deal database is not open.");
        return outcome;
    }
    SyncedFile::Hooks fileHooks = hooks.file;
    fileHooks.reached = [&hooks](SyncedFile::Stage stage) {
        if (hooks.reached)
            hooks.reached(Step(int(Step::FileWritten) + int(stage)));
    };
    // A file left behind by an earlier sheet's failure is put right first;
    // should it fail again, the new sheet's own file replaces it anyway.
    QString ignored;
    SheetDataFile::restore(database, dataFilePath, &ignored, hooks.file);

    {
        SqlTransaction transaction(database.connection());
        if (!transaction.begin(&outcome.error))
            return outcome;
        if (hooks.reached)
            hooks.reached(Step::Begun);
        if (!recordSheet(database, rowIds, heading, hooks, outcome) ||
            !transaction.commit(&outcome.error)) {
            outcome.sheetId = 0;
            outcome.tally = Money();
            return outcome;
        }
    }
    outcome.paid = true;
    if (hooks.reached)
        hooks.reached(Step::Committed);

    // The file is written from the record, not from what was meant to be
    // recorded.
    QString why;
    const std::optional<RecordedSheet> sheet =
        SheetRecords(database.connection()).find(outcome.sheetId, &why);
    outcome.fileWritten = sheet && SyncedFile::replace(dataFilePath, sheet->lines, &why, fileHooks);
    if (!outcome.fileWritten)
        outcome.error = SheetDataFile::notWrittenMessage(why);
    return outcome;
}

} // namespace SheetPayment
