#include "reports/sheet_payment.h"

#include "common/durable_file.h"
#include "reports/commission_data_file.h"
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

QString fileError(const DurableFile &file)
{
    return QStringLiteral("\"%1\" could not be written: %2")
        .arg(QString::fromLatin1(CommissionDataFile::kFileName), file.errorString());
}

} // namespace

Outcome pay(DealDatabase &database, const QString &dataFilePath, const Sheet &sheet)
{
    Outcome outcome;
    SqlTransaction transaction(database.connection());
    if (!transaction.begin(&outcome.error))
        return outcome;
    CommissionPayments payments(database);
    const std::optional<QList<SummaryRow>> paid = payments.markPaid(sheet.rowIds, sheet.salesPerson, &outcome.error);
    if (!paid)
        return outcome;

    QList<QVariantList> lines;
    QList<qint64> paidIds;
    std::optional<Money> tally = Money();
    for (const SummaryRow &row : *paid) {
        lines << dataLine(row);
        paidIds << row.rowId;
        const Money total =
            ColumnValue::moneyFrom(row.value(QStringLiteral("TotalCommission"))).value_or(Money());
        tally = tally ? tally->checkedAdd(total) : std::nullopt;
    }
    // The sheet prints the tally and the tally plus the bonus; neither may
    // leave the range. The markings are dropped with the transaction.
    if (!tally || !tally->checkedAdd(sheet.bonus)) {
        outcome.error = QStringLiteral("The total commission of the listed deals is too large "
                                       "to print.");
        return outcome;
    }

    // The file is written beside its place and put there only once the
    // markings are committed.
    DurableFile file(dataFilePath);
    if (!file.write(CommissionDataFile::encode(lines))) {
        outcome.error = fileError(file);
        return outcome;
    }
    if (!transaction.commit(&outcome.error)) {
        file.discard();
        return outcome;
    }
    if (!file.commit()) {
        outcome.error = fileError(file);
        QString undoError;
        if (!payments.markUnpaid(paidIds, &undoError)) {
            outcome.markingsLeft = true;
            outcome.error +=
                QStringLiteral("\nThe deals could not be set back to unpaid: ") + undoError;
        }
        return outcome;
    }
    outcome.paid = true;
    outcome.tally = *tally;
    return outcome;
}

} // namespace SheetPayment
