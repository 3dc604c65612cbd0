#include "pay/volume_bonus.h"

#include "test_printers.h"

#include <gtest/gtest.h>

namespace {

using VolumeBonus::MonthRow;

Money amount(const char *text)
{
    return *MoneyText::parse(QString::fromLatin1(text));
}

// 25% of the gross with a $150.00 mini, and tiers of 28% from the 12th unit
// and 33% from the 20th.
PayPlanVersion tieredPlan()
{
    PayPlanVersion plan;
    plan.salesPerson = QStringLiteral("ZOË ÅLUND");
    plan.tiers = {{.unitsFrom = Money::dollars(12), .percent = Money::dollars(28)},
                  {.unitsFrom = Money::dollars(20), .percent = Money::dollars(33)}};
    return plan;
}

// A March of 20 rows: 17 whole deals (one at the mini), a split deal's two
// halves, and a deal unwound in the month; 18 units.
QList<MonthRow> march()
{
    static const char *const grosses[] = {"1137.33", "1274.66", "1411.99", "1549.32", "400.00",
                                          "1823.98", "1961.31", "2098.64", "2235.97", "2373.30",
                                          "2510.63", "2647.96", "2785.29", "2922.62", "3059.95",
                                          "3197.28", "3334.61"};
    static const char *const paid[] = {"284.33", "318.67", "353.00", "387.33", "150.00",
                                       "456.00", "490.33", "524.66", "558.99", "593.33",
                                       "627.66", "661.99", "696.32", "730.66", "764.99",
                                       "799.32", "833.65"};
    QList<MonthRow> rows;
    for (int i = 0; i < 17; ++i)
        rows << MonthRow{.date = QDate(2026, 3, i + 1),
                         .order = 100 + i,
                         .unitClass = (i + 1) % 3 ? QStringLiteral("NC") : QStringLiteral("UT"),
                         .unitCount = Money::dollars(1),
                         .payableGross = amount(grosses[i]),
                         .commission = amount(paid[i])};
    for (const char *half : {"617.29", "617.28"})
        rows << MonthRow{.date = QDate(2026, 3, 18),
                         .order = 200 + int(rows.size()),
                         .unitClass = QStringLiteral("NT"),
                         .unitCount = amount("0.5"),
                         .payableGross = amount(half),
                         .commission = amount("154.32")};
    rows << MonthRow{.date = QDate(2026, 3, 19),
                     .order = 300,
                     .unitClass = QStringLiteral("UC"),
                     .unitCount = Money::dollars(1),
                     .payableGross = amount("2400.00"),
                     .commission = amount("600.00"),
                     .unwound = true};
    return rows;
}

TEST(VolumeBonus, TheMonthReachedPaysItsTierOnEveryRowOrFromTheLineOn)
{
    PayPlanVersion plan = tieredPlan();
    const VolumeBonus::Result retro = VolumeBonus::owed(plan, march());
    EXPECT_EQ(retro.units, Money::dollars(18));
    EXPECT_EQ(retro.tier, 0);
    // Σ (gross × 28%, rounded, less what was paid) over the rows paid less;
    // the row at the mini stays there.
    EXPECT_EQ(retro.owed, amount("1126.76"));
    EXPECT_EQ(VolumeBonus::lineText(QDate(2026, 3, 1), plan, retro),
              QStringLiteral("Volume bonus March 2026: 18 units, 28%"));

    plan.tierMode = TierMode::Marginal;
    EXPECT_EQ(VolumeBonus::owed(plan, march()).owed, amount("575.47"));

    // A February deal unwound in March takes its unit off March.
    QList<MonthRow> rows = march();
    rows << MonthRow{.date = QDate(2026, 2, 27), .order = 50, .unitClass = QStringLiteral("NC"),
                     .unitCount = Money::dollars(1), .payableGross = amount("5000"),
                     .commission = amount("1250"), .unwound = true, .soldEarlier = true};
    EXPECT_EQ(VolumeBonus::unitsOf(rows, TierClasses::All), Money::dollars(17));
    plan.tierMode = TierMode::Retroactive;
    EXPECT_EQ(VolumeBonus::owed(plan, rows).owed, amount("1126.76")); // the unwound row earns nothing
}

TEST(VolumeBonus, ATierMiniRaisesTheRowsBelowItAndTheCapHoldsThem)
{
    PayPlanVersion plan = tieredPlan();
    plan.tiers[0].mini = Money::dollars(200);
    EXPECT_EQ(VolumeBonus::owed(plan, march()).owed, amount("1231.08"));
    plan.tiers[0].mini.reset();
    plan.cap = Money::dollars(160);
    // Only rows paid below $160.00: the split halves (172.84 held at 160).
    EXPECT_EQ(VolumeBonus::owed(plan, march()).owed, amount("11.36"));
}

TEST(VolumeBonus, OnlyTheCountedClassesCountAndArePaid)
{
    PayPlanVersion plan = tieredPlan();
    plan.tierClasses = TierClasses::NewOnly;
    const VolumeBonus::Result counted = VolumeBonus::owed(plan, march());
    EXPECT_EQ(counted.units, Money::dollars(13));
    EXPECT_EQ(counted.owed, amount("791.37"));
    plan.tierClasses = TierClasses::UsedOnly;
    EXPECT_EQ(VolumeBonus::owed(plan, march()).units, Money::dollars(5));
    EXPECT_EQ(VolumeBonus::owed(plan, march()).tier, -1);
    EXPECT_EQ(VolumeBonus::owed(plan, march()).owed, Money());
}

TEST(VolumeBonus, AFlatTierPaysItsBonusOnEachUnitAndProgressNamesTheNextTier)
{
    PayPlanVersion plan;
    plan.tiers = {{.unitsFrom = amount("10"), .perUnit = Money::dollars(25)},
                  {.unitsFrom = amount("15.5"), .perUnit = Money::dollars(40)}};
    const VolumeBonus::Result flat = VolumeBonus::owed(plan, march());
    EXPECT_EQ(flat.tier, 1);
    EXPECT_EQ(flat.owed, Money::dollars(18 * 40));
    EXPECT_EQ(VolumeBonus::lineText(QDate(2026, 3, 1), plan, flat),
              QStringLiteral("Volume bonus March 2026: 18 units, $40.00 a unit"));
    EXPECT_EQ(VolumeBonus::progressText(tieredPlan(), amount("9.5")),
              QStringLiteral("9.5 units this month \u2014 2.5 to 28%"));
    EXPECT_EQ(VolumeBonus::progressText(tieredPlan(), amount("21")),
              QStringLiteral("21 units this month \u2014 33%"));
    EXPECT_EQ(VolumeBonus::progressText(PayPlanVersion(), amount("21")), QString());
    EXPECT_EQ(VolumeBonus::owed(PayPlanVersion(), march()).owed, Money());
}

} // namespace
