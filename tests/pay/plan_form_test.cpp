#include "pay/pay_plan.h"
#include "pay/plan_form.h"

#include "test_printers.h"

#include <gtest/gtest.h>

namespace {

// A plan of John Smith's from March 15: 25% on new units with a $150 mini and
// a $300 pack, a flat $250.00 a used car, a $2,500.00 cap, $30.00 warranty.
PlanForm johnsForm()
{
    PlanForm form;
    form.effectiveFrom = QStringLiteral("03/15/2026");
    form.classes[0] = {false, QStringLiteral("25"), QStringLiteral("150"), QStringLiteral("300")};
    form.classes[1] = {false, QStringLiteral("27.5%"), QStringLiteral("150"), QStringLiteral("$300.00")};
    form.classes[2] = {true, QStringLiteral("250"), QStringLiteral("100"), QStringLiteral("500")};
    form.classes[3] = {false, QStringLiteral("30"), QStringLiteral(""), QStringLiteral("500")};
    form.cap = QStringLiteral("2,500");
    form.warrantySpiff = QStringLiteral("30");
    return form;
}

PayPlanVersion versionFrom(int month, int day)
{
    PayPlanVersion version;
    version.id = month * 100 + day;
    version.salesPerson = QStringLiteral("John Smith");
    version.effectiveFrom = QDate(2026, month, day);
    return version;
}

TEST(PlanForm, ReadsEveryFigureOfTheForm)
{
    QString problem;
    const auto version = johnsForm().read(QStringLiteral("John Smith"), {}, &problem);
    ASSERT_TRUE(version) << problem.toStdString();
    EXPECT_EQ(version->effectiveFrom, QDate(2026, 3, 15));
    EXPECT_EQ(version->termsFor(QStringLiteral("NC")),
              (PlanTerms{PlanTerms::Kind::Percent, Money::dollars(25), Money(), Money::dollars(150),
                         Money::dollars(300)}));
    EXPECT_EQ(version->termsFor(QStringLiteral("NT")).percent, Money::fromUnits(275000));
    EXPECT_EQ(version->termsFor(QStringLiteral("UC")),
              (PlanTerms{PlanTerms::Kind::Flat, Money(), Money::dollars(250), Money::dollars(100),
                         Money::dollars(500)}));
    EXPECT_EQ(version->termsFor(QStringLiteral("UT")).mini, Money());
    EXPECT_EQ(version->cap, Money::dollars(2500));
    EXPECT_EQ(version->warrantySpiff, Money::dollars(30));
    // Shown again, the form reads back to the same version.
    EXPECT_EQ(PlanForm::of(*version).read(QStringLiteral("John Smith"), {}, nullptr), version);
}

// The draw is a month's amount, recoverable or not; empty or nothing is no
// draw, and then the recoverable box means nothing.
TEST(PlanForm, ReadsTheDrawAndWhetherItIsRecoverable)
{
    struct Case
    {
        const char *draw;
        bool recoverable;
        std::optional<Money> perMonth;
        bool readRecoverable;
    };
    const Case cases[] = {
        {"$1,500.00", false, Money::dollars(1500), false},
        {"2000", true, Money::dollars(2000), true},
        {"", false, std::nullopt, true},
        {"0.00", false, std::nullopt, true},
    };
    for (const Case &c : cases) {
        PlanForm form = johnsForm();
        form.draw = QString::fromLatin1(c.draw);
        form.drawRecoverable = c.recoverable;
        QString problem;
        const auto version = form.read(QStringLiteral("Zoë Núñez"), {}, &problem);
        ASSERT_TRUE(version) << c.draw << ": " << problem.toStdString();
        EXPECT_EQ(version->drawPerMonth, c.perMonth) << c.draw;
        EXPECT_EQ(version->drawRecoverable, c.readRecoverable) << c.draw;
        EXPECT_EQ(PlanForm::of(*version).read(QStringLiteral("Zoë Núñez"), {}, nullptr), version)
            << c.draw;
    }
}

// Tiers are read in the order typed, blank rows skipped: the units whole or
// half, a percent (with or without "%") or a bonus a unit, a mini only where
// one is given; shown again, they read the same.
TEST(PlanForm, ReadsTheVolumeTiers)
{
    PlanForm form = johnsForm();
    form.tiers = {{"12", "28%", "", ""},
                  {"  ", "", " ", ""},
                  {"20", "33.125", "", "$250.00"},
                  {"25.50", "", "$75", ""}};
    form.tierMode = TierMode::Marginal;
    form.tierClasses = TierClasses::UsedOnly;
    QString problem;
    const auto version = form.read(QStringLiteral("Zoë Núñez"), {}, &problem);
    ASSERT_TRUE(version) << problem.toStdString();
    const QList<VolumeTier> expected{
        {Money::dollars(12), Money::dollars(28), std::nullopt, std::nullopt},
        {Money::dollars(20), Money::fromUnits(331250), std::nullopt, Money::dollars(250)},
        {Money::fromUnits(255000), std::nullopt, Money::dollars(75), std::nullopt}};
    EXPECT_EQ(version->tiers, expected);
    EXPECT_EQ(version->tierMode, TierMode::Marginal);
    EXPECT_EQ(version->tierClasses, TierClasses::UsedOnly);

    EXPECT_EQ(PlanForm::of(*version).read(QStringLiteral("Zoë Núñez"), {}, nullptr), version);
}

// Without a tier, how tiers would pay and count means nothing: the version
// keeps what a new plan has.
TEST(PlanForm, BlankTiersGiveAPlanWithoutTiers)
{
    PlanForm form = johnsForm();
    form.tiers = {{"", "", "", ""}, {" ", " ", "", ""}};
    form.tierMode = TierMode::Marginal;
    form.tierClasses = TierClasses::NewOnly;
    const auto version = form.read(QStringLiteral("John Smith"), {}, nullptr);
    ASSERT_TRUE(version);
    EXPECT_TRUE(version->tiers.isEmpty());
    EXPECT_EQ(version->tierMode, TierMode::Retroactive);
    EXPECT_EQ(version->tierClasses, TierClasses::All);
}

// The unit class picks its terms as the worksheet picks the pack: exactly,
// everything but the four codes counting as a new car.
TEST(PlanForm, AnUnknownUnitClassTakesTheNewCarTerms)
{
    const auto version = johnsForm().read(QStringLiteral("John Smith"), {}, nullptr);
    ASSERT_TRUE(version);
    for (const char *code : {"", "ut", "XX"})
        EXPECT_EQ(version->termsFor(QString::fromLatin1(code)).percent, Money::dollars(25)) << code;
}

struct Refusal
{
    const char *name;
    std::function<void(PlanForm &)> change;
    const char *message;
};

void PrintTo(const Refusal &r, std::ostream *out)
{
    *out << r.name;
}

class PlanFormRefusals : public ::testing::TestWithParam<Refusal>
{
};

// Each bad figure is named; none gives a version.
TEST_P(PlanFormRefusals, NamesTheFigure)
{
    PlanForm form = johnsForm();
    GetParam().change(form);
    const QList<PayPlanVersion> others{versionFrom(1, 2), versionFrom(3, 1)};
    QString problem;
    EXPECT_EQ(form.read(QStringLiteral("John Smith"), others, &problem), std::nullopt);
    EXPECT_EQ(problem, QString::fromUtf8(GetParam().message));
}

INSTANTIATE_TEST_SUITE_P(
    Figures, PlanFormRefusals,
    ::testing::Values(
        Refusal{"PercentAbove100", [](PlanForm &f) { f.classes[0].commission = "100.01"; },
                "The New Car commission must be a percent from 0 to 100."},
        Refusal{"NegativePercent", [](PlanForm &f) { f.classes[1].commission = "-1"; },
                "The New Truck commission must be a percent from 0 to 100."},
        Refusal{"FiveDecimals", [](PlanForm &f) { f.classes[3].commission = "27.12345"; },
                "The Used Truck commission \"27.12345\" is not a percent: type a number from 0 to "
                "100 with at most four decimals."},
        Refusal{"PercentNotANumber", [](PlanForm &f) { f.classes[0].commission = "abc"; },
                "The New Car commission \"abc\" is not a percent: type a number from 0 to 100 with "
                "at most four decimals."},
        Refusal{"NegativeFlat", [](PlanForm &f) { f.classes[2].commission = "-250"; },
                "The Used Car flat commission must not be negative."},
        Refusal{"NegativeMini", [](PlanForm &f) { f.classes[2].mini = "-$5.00"; },
                "The Used Car mini deal must not be negative."},
        Refusal{"PackNotANumber", [](PlanForm &f) { f.classes[1].pack = "3OO"; },
                "The New Truck pack \"3OO\" is not an amount."},
        Refusal{"CapBelowAMini", [](PlanForm &f) { f.cap = "140"; },
                "The cap $140.00 is below the New Car mini deal $150.00: a deal's commission "
                "could not be both."},
        Refusal{"CapNotANumber", [](PlanForm &f) { f.cap = "none"; },
                "The cap \"none\" is not an amount."},
        Refusal{"WarrantyNegative", [](PlanForm &f) { f.warrantySpiff = "-30"; },
                "The warranty spiff must not be negative."},
        Refusal{"DrawNegative", [](PlanForm &f) { f.draw = "-1,500.00"; },
                "The draw per month must not be negative."},
        Refusal{"DrawNotANumber", [](PlanForm &f) { f.draw = "1500 a month"; },
                "The draw per month \"1500 a month\" is not an amount."},
        Refusal{"DateNotADate", [](PlanForm &f) { f.effectiveFrom = "02/30/2026"; },
                "The effective date \"02/30/2026\" is not a date: type it as MM/DD/YYYY."},
        Refusal{"DateEmpty", [](PlanForm &f) { f.effectiveFrom = ""; },
                "The effective date \"\" is not a date: type it as MM/DD/YYYY."},
        Refusal{"TwoVersionsOnOneDate", [](PlanForm &f) { f.effectiveFrom = "3/1/2026"; },
                "John Smith already has a version from 03/01/2026: choose another date, or "
                "change that version."},
        // The bad tier comes last, after good ones.
        Refusal{"TierUnitsNotANumber",
                [](PlanForm &f) { f.tiers = {{"12", "28", "", ""}, {"twenty", "33", "", ""}}; },
                "Tier 2 starts from \"twenty\": that is not a number of units."},
        Refusal{"TierUnitsWithADollarSign",
                [](PlanForm &f) { f.tiers = {{"$12", "28", "", ""}}; },
                "Tier 1 starts from \"$12\": that is not a number of units."},
        Refusal{"TierUnitsZero",
                [](PlanForm &f) { f.tiers = {{"", "", "", ""}, {"0", "28", "", ""}}; },
                "Tier 2 must start from 1 to 999 units."},
        Refusal{"TierUnitsAQuarter",
                [](PlanForm &f) { f.tiers = {{"12", "28", "", ""}, {"12.25", "33", "", ""}}; },
                "Tier 2 starts from \"12.25\" units: count whole or half units."},
        Refusal{"TierUnitsJustPastAHalf",
                [](PlanForm &f) { f.tiers = {{"12.500001", "28", "", ""}}; },
                "Tier 1 starts from \"12.500001\" units: count whole or half units."},
        Refusal{"TiersOutOfOrder",
                [](PlanForm &f) {
                    f.tiers = {{"12", "28", "", ""}, {"", "", "", ""}, {"20", "33", "", ""},
                               {"15", "30", "", ""}};
                },
                "Tier 4 starts from 15 units, not above tier 3 (20 units): list the tiers from "
                "the fewest units up, each from a count of its own."},
        Refusal{"TwoTiersAtOneCount",
                [](PlanForm &f) { f.tiers = {{"12.5", "28", "", ""}, {"12.50", "", "40", ""}}; },
                "Tier 2 starts from 12.5 units, not above tier 1 (12.5 units): list the tiers "
                "from the fewest units up, each from a count of its own."},
        Refusal{"TierWithBothPercentAndBonus",
                [](PlanForm &f) { f.tiers = {{"12", "28", "", ""}, {"20", "33", "50", ""}}; },
                "Tier 2 has both a commission percent and a bonus a unit: give one of them."},
        Refusal{"TierWithNeitherPercentNorBonus",
                [](PlanForm &f) { f.tiers = {{"12", "28", "", ""}, {"20", "", "", "300"}}; },
                "Tier 2 has neither a commission percent nor a bonus a unit: give one of them."},
        Refusal{"TierPercentAbove100",
                [](PlanForm &f) { f.tiers = {{"12", "28", "", ""}, {"20", "100.5%", "", ""}}; },
                "The tier 2 commission must be a percent from 0 to 100."},
        Refusal{"TierBonusNegative",
                [](PlanForm &f) { f.tiers = {{"12", "28", "", ""}, {"20", "", "-$50.00", ""}}; },
                "The tier 2 bonus a unit must not be negative."},
        Refusal{"TierMiniNegative",
                [](PlanForm &f) { f.tiers = {{"12", "28", "", ""}, {"20", "33", "", "-250"}}; },
                "The tier 2 mini deal must not be negative."}),
    [](const ::testing::TestParamInfo<Refusal> &refusal) { return std::string(refusal.param.name); });

// The version in force is the latest on or before the deal's date.
TEST(PayPlan, TheVersionInForceIsTheLatestOnOrBeforeTheDate)
{
    const QList<PayPlanVersion> versions{versionFrom(3, 15), versionFrom(1, 2), versionFrom(3, 1)};
    EXPECT_EQ(PayPlan::inForce(versions, QDate(2026, 3, 14))->id, 301);
    EXPECT_EQ(PayPlan::inForce(versions, QDate(2026, 3, 15))->id, 315);
    EXPECT_EQ(PayPlan::inForce(versions, QDate(2027, 1, 1))->id, 315);
    EXPECT_EQ(PayPlan::inForce(versions, QDate(2026, 1, 1)), std::nullopt);
    EXPECT_EQ(PayPlan::inForce({}, QDate(2026, 3, 15)), std::nullopt);
    const QList<PayPlanVersion> newest = PayPlan::newestFirst(versions);
    EXPECT_EQ(newest.at(0).id, 315);
    EXPECT_EQ(newest.at(2).id, 102);
}

} // namespace
