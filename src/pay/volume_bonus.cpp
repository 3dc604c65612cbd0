#include "pay/volume_bonus.h"

#include "common/exact_amount.h"
#include "common/money_format.h"

#include <QLocale>

#include <algorithm>

namespace VolumeBonus {

namespace {

QString unitsText(Money units)
{
    return MoneyFormat::plain(units);
}

QString tierText(const VolumeTier &tier)
{
    if (tier.percent)
        return MoneyFormat::plain(*tier.percent) + u'%';
    return QStringLiteral("%1 a unit").arg(MoneyFormat::dollarsGrouped(tier.perUnit.value_or(Money())));
}

// What one row is owed at `tier` on top of what it was worked out at.
Money rowOwed(const PayPlanVersion &plan, const VolumeTier &tier, const MonthRow &row)
{
    if (!tier.percent)
        return Money::fromUnits(row.unitCount.units() * tier.perUnit.value_or(Money()).units() /
                                Money::dollars(1).units())
            .roundedToCent();
    Money pay = percentToCent(row.payableGross, ExactAmount::fromMoney(*tier.percent))
                    .value_or(Money());
    if (tier.mini)
        pay = std::max(pay, *tier.mini);
    if (plan.cap)
        pay = std::min(pay, *plan.cap);
    const Money more = pay - row.commission;
    return more.isNegative() ? Money() : more;
}

} // namespace

bool counts(TierClasses classes, const QString &unitClass)
{
    switch (classes) {
    case TierClasses::All:
        return true;
    case TierClasses::NewOnly:
        return unitClass.startsWith(u'N');
    case TierClasses::UsedOnly:
        return unitClass.startsWith(u'U');
    }
    return true;
}

Money unitsOf(const QList<MonthRow> &rows, TierClasses classes)
{
    Money units;
    for (const MonthRow &row : rows) {
        if (!counts(classes, row.unitClass))
            continue;
        if (row.soldEarlier)
            units -= row.unitCount;
        else if (!row.unwound)
            units += row.unitCount;
    }
    return units;
}

int tierAt(const PayPlanVersion &plan, Money units)
{
    int reached = -1;
    for (int i = 0; i < int(plan.tiers.size()); ++i) {
        if (plan.tiers.at(i).unitsFrom <= units)
            reached = i;
    }
    return reached;
}

Result owed(const PayPlanVersion &plan, const QList<MonthRow> &rows)
{
    Result result;
    result.units = unitsOf(rows, plan.tierClasses);
    result.tier = tierAt(plan, result.units);
    if (result.tier < 0)
        return result;
    QList<MonthRow> ordered = rows;
    std::sort(ordered.begin(), ordered.end(), [](const MonthRow &a, const MonthRow &b) {
        return a.date != b.date ? a.date < b.date : a.order < b.order;
    });
    Money place; // the units up to and including the row, in the month's order
    for (const MonthRow &row : ordered) {
        if (row.unwound || row.soldEarlier || !counts(plan.tierClasses, row.unitClass))
            continue;
        place += row.unitCount;
        const int tier = plan.tierMode == TierMode::Retroactive ? result.tier
                                                                : tierAt(plan, place);
        if (tier >= 0)
            result.owed += rowOwed(plan, plan.tiers.at(tier), row);
    }
    return result;
}

QString lineText(const QDate &month, const PayPlanVersion &plan, const Result &result)
{
    const QString name = QLocale(QLocale::English).monthName(month.month());
    return QStringLiteral("Volume bonus %1 %2: %3 units, %4")
        .arg(name)
        .arg(month.year())
        .arg(unitsText(result.units),
             result.tier < 0 ? QStringLiteral("no tier") : tierText(plan.tiers.at(result.tier)));
}

QString progressText(const PayPlanVersion &plan, Money units)
{
    if (plan.tiers.isEmpty())
        return {};
    const int reached = tierAt(plan, units);
    const QString counted = QStringLiteral("%1 units this month").arg(unitsText(units));
    if (reached + 1 < int(plan.tiers.size())) {
        const VolumeTier &next = plan.tiers.at(reached + 1);
        return QStringLiteral("%1 \u2014 %2 to %3")
            .arg(counted, unitsText(next.unitsFrom - units), tierText(next));
    }
    return QStringLiteral("%1 \u2014 %2").arg(counted, tierText(plan.tiers.at(reached)));
}

} // namespace VolumeBonus
