#include "worksheet/commission_calculation.h"

#include "test_printers.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// The worked deal: cost 20000, new pack 300, reductions 1000 and 500,
// additions 300, no allowance, sold at 23000, 30%, warranty sold with a
// default of 30, spiff 50, mini deal 100.
CommissionInput workedDeal()
{
    CommissionInput input;
    input.cost = QStringLiteral("20000");
    input.pack = QStringLiteral("$300.00");
    input.sellingPrice = QStringLiteral("23000");
    input.reductions = {QStringLiteral("1000"), QStringLiteral("500"), {}, {}, {}};
    input.additions = {QStringLiteral("300"), {}, {}, {}, {}};
    input.commissionRate = QStringLiteral("30%");
    input.warrantySold = true;
    input.spiff = QStringLiteral("50");
    input.defaultWarranty = QStringLiteral("30");
    input.defaultMini = QStringLiteral("100");
    return input;
}

// Payable gross, commission, warranty, total and spiff as shown.
std::string shown(const CommissionResult &r)
{
    return QStringList{r.payableGross, r.commission, r.warranty, r.totalCommission, r.spiff}
        .join(u' ')
        .toStdString();
}

using I = CommissionInput;

TEST(CommissionCalculation, WorkedDeal)
{
    const CommissionResult r = calculateCommission(workedDeal());
    EXPECT_EQ(shown(r), "$3900.00 $1170.00 $30.00 $1250.00 $50.00");
    EXPECT_EQ(r.totalReductions, Money::dollars(1500));
    EXPECT_EQ(r.totalAdditions, Money::dollars(300));
    EXPECT_EQ(r.totalCost, Money::dollars(19100));
    EXPECT_EQ(r.commissionAmount, Money::dollars(1170));
}

struct Variation
{
    const char *name;
    std::function<void(CommissionInput &)> change;
    const char *shown;
};

void PrintTo(const Variation &v, std::ostream *out)
{
    *out << v.name << " -> " << v.shown;
}

class CommissionVariations : public ::testing::TestWithParam<Variation>
{
};

TEST_P(CommissionVariations, ShowsTheExpectedFigures)
{
    CommissionInput input = workedDeal();
    GetParam().change(input);
    EXPECT_EQ(shown(calculateCommission(input)), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Deals, CommissionVariations,
    ::testing::Values(Variation{"SmallGrossRaisedToMini", [](I &i) { i.sellingPrice = "19150"; },
                                "$50.00 $100.00 $30.00 $180.00 $50.00"},
                      Variation{"NegativeGrossRaisedToMini", [](I &i) { i.sellingPrice = "18900"; },
                                "-$200.00 $100.00 $30.00 $180.00 $50.00"},
                      // 333.30 x 30% = 99.99, one cent below the mini deal: replaced.
                      Variation{"OneCentBelowMini", [](I &i) { i.sellingPrice = "19433.30"; },
                                "$333.30 $100.00 $30.00 $180.00 $50.00"},
                      // 99.999 shows as $100.00 and is compared as shown: a mini one cent
                      // above replaces it, an equal mini leaves it.
                      Variation{"MiniOneCentAbove",
                                [](I &i) {
                                    i.sellingPrice = "19433.33";
                                    i.defaultMini = "100.01";
                                },
                                "$333.33 $100.01 $30.00 $180.01 $50.00"},
                      Variation{"MiniZeroKeepsASmallCommission",
                                [](I &i) {
                                    i.sellingPrice = "19150";
                                    i.defaultMini = "0";
                                },
                                "$50.00 $15.00 $30.00 $95.00 $50.00"},
                      Variation{"AllowanceWithNoOptionCountsAsOver",
                                [](I &i) { i.allowance = "400"; },
                                "$3500.00 $1050.00 $30.00 $1130.00 $50.00"},
                      Variation{"UnderAllowanceLowersTheCost",
                                [](I &i) {
                                    i.allowance = "400";
                                    i.underAllow = true;
                                },
                                "$4300.00 $1290.00 $30.00 $1370.00 $50.00"},
                      Variation{"UncheckedWarrantyShowsZero", [](I &i) { i.warrantySold = false; },
                                "$3900.00 $1170.00 $.00 $1220.00 $50.00"},
                      Variation{"RateWithoutANumberCountsAsZero",
                                [](I &i) {
                                    i.commissionRate = "abc%";
                                    i.defaultMini = "0";
                                },
                                "$3900.00 $.00 $30.00 $80.00 $50.00"},
                      // Calculating again reads the rewritten fields back at their value.
                      Variation{"DisplayFormsReadAtTheirValue",
                                [](I &i) {
                                    i.cost = "$20,000.00";
                                    i.spiff = "$50.00";
                                    i.additions[4] = "$.00";
                                },
                                "$3900.00 $1170.00 $30.00 $1250.00 $50.00"},
                      Variation{"TextInOtherFieldsCountsAsZero",
                                [](I &i) {
                                    i.additions[0] = "abc";
                                    i.spiff = "lots";
                                },
                                "$4200.00 $1260.00 $30.00 $1290.00 $.00"},
                      Variation{"EmptyWorksheetGivesTheMiniDeal",
                                [](I &i) {
                                    i = I();
                                    i.defaultMini = "100";
                                },
                                "$.00 $100.00 $.00 $100.00 $.00"},
                      // Half a cent rounds away from zero when shown.
                      Variation{"HalfCentRoundsAwayFromZero",
                                [](I &i) {
                                    i = I();
                                    i.sellingPrice = "0.05";
                                    i.commissionRate = "50";
                                },
                                "$.05 $.03 $.00 $.03 $.00"}),
    [](const ::testing::TestParamInfo<Variation> &param) { return param.param.name; });

TEST(CommissionCalculation, ReductionsThatAreNotAmountsAreRefusedAndCountAsZero)
{
    CommissionInput input = workedDeal();
    input.reductions = {"1000", "12a", {}, "-", "$500.00"};
    const CommissionResult r = calculateCommission(input);
    const std::array<bool, Deal::kRows> refused = {false, true, false, true, false};
    EXPECT_EQ(r.refusedReductions, refused);
    EXPECT_EQ(r.payableGross, QStringLiteral("$3900.00"));
}

TEST(CommissionCalculation, FiguresBeyondTheRangeAreReportedNotWrapped)
{
    const QString huge = QStringLiteral("900000000000000");
    CommissionInput input = workedDeal();
    input.additions = {huge, huge, {}, {}, {}};
    EXPECT_TRUE(calculateCommission(input).outOfRange);

    input = workedDeal();
    input.sellingPrice = huge;
    input.cost = u'-' + huge;
    EXPECT_TRUE(calculateCommission(input).outOfRange);

    input = workedDeal();
    input.sellingPrice = huge;
    input.commissionRate = QStringLiteral("500%");
    EXPECT_TRUE(calculateCommission(input).outOfRange);
    EXPECT_TRUE(totalCommission(huge, huge, {}).outOfRange);
}

// Each figure is its value rounded once, to the cent it is shown in; amounts
// typed with more than four decimals are added before anything is rounded.
TEST(CommissionCalculation, FiguresAreRoundedOnceFromTheirValueAsTyped)
{
    I input;
    input.sellingPrice = QStringLiteral("464.49");
    input.commissionRate = QStringLiteral("25.5%"); // 118.44495
    input.defaultMini = QStringLiteral("0");
    CommissionResult r = calculateCommission(input);
    EXPECT_EQ(shown(r), "$464.49 $118.44 $.00 $118.44 $.00");
    EXPECT_EQ(r.commissionAmount, Money::fromCents(11844));

    input.spiff = QStringLiteral("0.00495");
    EXPECT_EQ(shown(calculateCommission(input)), "$464.49 $118.44 $.00 $118.44 $.00");

    input = I();
    input.sellingPrice = QStringLiteral("100.0049");
    input.reductions = {"0.00003", "0.00003", "0.00003", "0.00003", "0.00003"};
    r = calculateCommission(input);
    EXPECT_EQ(r.payableGross, QStringLiteral("$100.01"));
    EXPECT_EQ(r.totalReductions, Money::fromUnits(2)); // 0.00015 kept as 0.0002

    input = I();
    input.defaultMini = QStringLiteral("100.00496");
    EXPECT_EQ(shown(calculateCommission(input)), "$.00 $100.00 $.00 $100.00 $.00");

    input = I();
    input.warrantySold = true;
    input.defaultWarranty = QStringLiteral("0.00496");
    EXPECT_EQ(shown(calculateCommission(input)), "$.00 $.00 $.00 $.00 $.00");
}

TEST(CommissionCalculation, ASingleAmountBeyondTheRangeIsReportedNotCountedAsZero)
{
    const std::function<void(I &)> changes[] = {
        [](I &i) { i.allowance = "1000000000000000"; },
        [](I &i) { i.cost = "-922337203685477.5809"; },
        [](I &i) { i.reductions[3] = "99999999999999999999999"; },
        [](I &i) { i.spiff = "1,000,000,000,000,000"; },
        [](I &i) { i.defaultMini = "922337203685477.58075"; },
        [](I &i) { i.commissionRate = "1000000000000000%"; },
    };
    for (const auto &change : changes) {
        CommissionInput input = workedDeal();
        change(input);
        const CommissionResult r = calculateCommission(input);
        EXPECT_TRUE(r.outOfRange) << shown(r);
        EXPECT_EQ(r.refusedReductions, (std::array<bool, Deal::kRows>{}));
    }
    // The very ends of the range are amounts.
    CommissionInput input;
    input.cost = QStringLiteral("-922337203685477.5808");
    input.sellingPrice = QStringLiteral("-922337203685477.5808");
    EXPECT_EQ(shown(calculateCommission(input)), "$.00 $.00 $.00 $.00 $.00");
}

TEST(CommissionCalculation, PercentIsRoundedOnceToFourPlaces)
{
    // 10.0005 x 33.3333% = 3.3335166...; -0.0149 x 0.1% rounds to 0.
    EXPECT_EQ(percentOf(Money::fromUnits(100005), Money::fromUnits(333333)),
              Money::fromUnits(33335));
    EXPECT_EQ(percentOf(Money::fromUnits(-149), Money::fromUnits(1000)), Money());
}

// A salesperson's pay plan: a flat amount a deal in the rate field, the
// plan's mini deal, and a cap applied after the mini.
INSTANTIATE_TEST_SUITE_P(
    PayPlans, CommissionVariations,
    ::testing::Values(Variation{"FlatAmountADeal", [](I &i) { i.commissionRate = "$250.00 flat"; },
                                "$3900.00 $250.00 $30.00 $330.00 $50.00"},
                      Variation{"FlatAmountTypedInCapitals",
                                [](I &i) { i.commissionRate = "175 FLAT"; },
                                "$3900.00 $175.00 $30.00 $255.00 $50.00"},
                      Variation{"FlatAmountBelowTheMiniIsRaised",
                                [](I &i) { i.commissionRate = "$60.00 flat"; },
                                "$3900.00 $100.00 $30.00 $180.00 $50.00"},
                      // 10000 x 30% = 3000, clipped to the cap.
                      Variation{"CapClipsTheCommission",
                                [](I &i) {
                                    i.sellingPrice = "29100";
                                    i.cap = Money::dollars(2500);
                                },
                                "$10000.00 $2500.00 $30.00 $2580.00 $50.00"},
                      Variation{"CapAboveTheCommissionLeavesIt",
                                [](I &i) { i.cap = Money::dollars(2500); },
                                "$3900.00 $1170.00 $30.00 $1250.00 $50.00"},
                      // 300 x 30% = 90, raised to the plan's mini of 150.
                      Variation{"PlanMiniRaisesASmallCommission",
                                [](I &i) {
                                    i.sellingPrice = "19400";
                                    i.defaultMini = "150";
                                    i.cap = Money::dollars(2500);
                                },
                                "$300.00 $150.00 $30.00 $230.00 $50.00"}));

} // namespace
