#pragma once

#include "common/money.h"
#include "pay/pay_plan.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class DealDatabase;

// A pay plan tried on past deals, paying nothing: for each salesperson
// chosen, what the deals of the months chosen paid (as worked out, and the
// volume bonus the sheets paid for the months) beside what the plan tried
// would have paid for them (each deal worked out again by it, and its volume
// tiers on the month so worked out).
//
// A deal is worked out again when its first salesperson is one of those
// chosen (the first salesperson's plan works a split deal out); a pack or a
// rate typed over a plan's for the deal is kept, as is its spiff; the
// rest comes from the plan tried. Deals unwound whole are left out of both
// sides: their chargebacks took back what they paid.
namespace PlanTrial {

struct Question
{
    PayPlanVersion plan;     // its salesperson and date are not used
    QStringList salesPeople; // as the roster keeps them
    QDate firstMonth;        // any day of the first month
    QDate lastMonth;         // any day of the last month
};

struct Line
{
    QString salesPerson; // in capitals, as the deals keep it
    int deals = 0;       // rows of the salesperson in the months
    Money units;
    Money dealsPaid;
    Money volumePaid;
    Money dealsTried;
    Money volumeTried;

    // Adds another line's counts and amounts (a total, or another stretch
    // of the same salesperson's rows).
    Line &operator+=(const Line &other);

    Money paid() const { return dealsPaid + volumePaid; }
    Money tried() const { return dealsTried + volumeTried; }
    Money difference() const { return tried() - paid(); }
};

// Told how many of the rows have been worked out; false stops the trial.
using Progress = std::function<bool(qint64 done, qint64 total)>;

enum class Outcome { Done, Cancelled, Failed };

struct Result
{
    Outcome outcome = Outcome::Failed;
    QList<Line> lines; // in the order the salespeople were given
    QString error;
};

// Reads only; nothing is written, not even to the audit trail.
Result run(DealDatabase &database, const Question &question, const Progress &progress);

// The statement the deals' rows are read with, for `names` salespeople (a
// few are bound first, in capitals; for more, every salesperson's rows are
// read), then the first day of the first month and of the month after the
// last: for the benchmark's floor to read the same.
QString rowsStatement(qsizetype names);
// The trial's other statements, for the floor as well: the rows' count for
// the progress bar (bound as the rows' statement); the rows of earlier
// months whose deals were unwound whole in the months (the first days of the
// first month and of the month after the last, the first month's again,
// then the names); and what valid sheets paid as the months' volume bonus
// (the two days, then the names).
QString countStatement(qsizetype names);
QString earlierStatement(qsizetype names);
QString volumePaidStatement(qsizetype names);

} // namespace PlanTrial
