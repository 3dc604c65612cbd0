#pragma once

#include "common/money.h"
#include "store/payroll_codes.h"

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

class DealDatabase;

// What the commission sheets printed in a period pay, as payroll books it:
// one row per salesperson per kind of pay (commission, bonus, chargeback,
// draw recovery) that is not zero.
//
// A sheet's amounts add up to what it pays. Its commission is its deal
// lines; its bonus the bonus typed on it and the volume bonus; its
// chargebacks the chargebacks it deducted and the negative net of earlier
// sheets it took (that net is chargebacks in excess of what those sheets
// earned); its draw recovery what it recovered of draws. A sheet whose
// recorded net pay is negative pays nothing: the excess is carried to a
// later sheet, so it is added back to the chargebacks here and taken again
// on the sheet that deducts it. A salesperson's rows therefore add up to
// the sum of the sheets' net pay (the foot of a sheet without one), each
// negative net pay counted as nothing.
namespace PayrollExport {

// Sheets printed from `from` to `to`, both days whole.
struct Period
{
    QDate from;
    QDate to;
};

// A valid sheet's figures as recorded.
struct SheetPay
{
    qint64 sheetId = 0;
    Money total = {};       // its lines: deals and volume bonus less chargebacks
    Money bonus = {};       // the bonus typed on it
    Money volumeBonus = {}; // of its lines
    Money chargebacks = {}; // of its lines, as positive amounts
    Money recovered = {};   // of draws
    Money carriedIn = {};   // of earlier sheets' negative net
    std::optional<Money> netPay = {}; // recorded on sheets that deducted anything
};

struct Row
{
    QString salesPerson;
    QString payrollId;
    EarningsKind kind = EarningsKind::Commission;
    QString code;
    Money amount;
    QList<qint64> sheets; // the sheets the amount comes from
};

// The rows of one salesperson's sheets, in the order of the kinds. Nothing,
// with the reason, when a sheet's figures do not add up to its net pay.
std::optional<QList<Row>> rowsOf(const PayrollCodes &codes, const QList<SheetPay> &sheets,
                                 QString *error);

// The rows of every valid sheet printed in the period, salespeople in name
// order. Nothing, with the reason, when the sheets cannot be read, a sheet
// does not add up, or a salesperson of the period has no payroll ID (the
// message names every one).
std::optional<QList<Row>> read(DealDatabase &database, const Period &period, QString *error);

} // namespace PayrollExport
