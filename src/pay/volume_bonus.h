#pragma once

#include "common/money.h"
#include "pay/pay_plan.h"

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

// The month's volume: a salesperson's units in a calendar month, the tier
// they reach, and what the tiers owe on top of what each row was worked out
// at. Pure arithmetic on values; the store gives it the month's rows.
namespace VolumeBonus {

// One SalesSummary row of the month, as it was worked out.
struct MonthRow
{
    QDate date;
    qint64 order = 0;     // the order the rows were saved in (rowid)
    QString unitClass;    // NC, NT, UC, UT
    Money unitCount;      // 1, or a split deal's share (0.5)
    Money payableGross;   // the row's own
    Money commission;     // what the row was worked out at
    bool unwound = false; // its deal was unwound whole in the month
    // A row of an earlier month whose deal was unwound whole in this one:
    // its units come off this month's count.
    bool soldEarlier = false;
};

struct Result
{
    Money units;           // counted toward the tiers, unwound deals taken out
    int tier = -1;         // the tier the month reached (index), -1 for none
    Money owed;            // what the tiers pay on top, in all
};

// Whether a row of `unitClass` counts toward the tiers of `classes`.
bool counts(TierClasses classes, const QString &unitClass);

// The month's units: the counted rows' unit counts, less those of deals
// unwound in the month (whenever they were sold).
Money unitsOf(const QList<MonthRow> &rows, TierClasses classes);

// The tier `units` reach in `plan` (index into plan.tiers), -1 for none.
int tierAt(const PayPlanVersion &plan, Money units);

// What the month owes on top: for each counted row not unwound, the tier
// that applies to it (the month's tier when retroactive; the tier its own
// place in the month reaches, in date then saving order, when marginal),
// and then either the row's payable gross at the tier's percent, rounded
// once to the cent, never below the tier's mini nor above the plan's cap,
// less what the row was worked out at, when that is more (a row is never
// paid less); or the row's units at the tier's bonus a unit.
Result owed(const PayPlanVersion &plan, const QList<MonthRow> &rows);

// "Volume bonus March 2026: 20 units, 33%" ("$25.00 a unit" for a flat tier).
QString lineText(const QDate &month, const PayPlanVersion &plan, const Result &result);

// "9.5 units this month — 2.5 to 28%"; without a next tier "21 units this
// month — 33%"; empty for a plan without tiers.
QString progressText(const PayPlanVersion &plan, Money units);

} // namespace VolumeBonus
