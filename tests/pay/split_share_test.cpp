#include "pay/rate_text.h"
#include "pay/split_share.h"

#include "test_printers.h"

#include <gtest/gtest.h>

namespace {

Money cents(qint64 c)
{
    return Money::fromCents(c);
}

struct ShareCase
{
    qint64 amountCents;
    int share;
    qint64 firstCents;
    qint64 secondCents;
};

// Each row in whole cents, the first taking the odd cent, the two adding up
// to the deal's figure exactly, negative figures alike.
TEST(SplitShare, DividesInWholeCentsAddingUpExactly)
{
    const ShareCase cases[] = {
        {117000, 60, 70200, 46800},  // 60/40 of $1,170.00
        {10001, 33, 3300, 6701},     // 33/67 of $100.01
        {62501, 50, 31251, 31250},   // the odd cent of an even split
        {125050, 50, 62525, 62525},  // $1,250.50 halves as it always did
        {-20001, 50, -10001, -10000},
        {1, 99, 1, 0},
        {3, 1, 0, 3},
    };
    for (const ShareCase &c : cases) {
        const auto [first, second] = SplitShare::divide(cents(c.amountCents), c.share);
        EXPECT_EQ(first, cents(c.firstCents)) << c.amountCents << " at " << c.share;
        EXPECT_EQ(second, cents(c.secondCents)) << c.amountCents << " at " << c.share;
        EXPECT_EQ(first + second, cents(c.amountCents));
    }
}

TEST(SplitShare, UnitCountsFollowTheShareAndBack)
{
    EXPECT_EQ(SplitShare::unitCounts(60), std::make_pair(Money::fromUnits(6000), Money::fromUnits(4000)));
    EXPECT_EQ(SplitShare::unitCounts(50), std::make_pair(Money::fromUnits(5000), Money::fromUnits(5000)));
    EXPECT_EQ(SplitShare::ofUnitCount(Money::fromUnits(6000)), 60);
    EXPECT_EQ(SplitShare::ofUnitCount(Money::fromUnits(3300)), 33);
    // A whole unit, or a count that is no whole percent, is no share.
    EXPECT_EQ(SplitShare::ofUnitCount(Money::dollars(1)), 50);
    EXPECT_EQ(SplitShare::ofUnitCount(Money::fromUnits(3333)), 50);
}

TEST(SplitShare, TakesOnlyAWholePercentFromOneTo99)
{
    EXPECT_EQ(SplitShare::parse(QString()), 50);
    EXPECT_EQ(SplitShare::parse(QStringLiteral(" 60 ")), 60);
    EXPECT_EQ(SplitShare::parse(QStringLiteral("1")), 1);
    EXPECT_EQ(SplitShare::parse(QStringLiteral("99")), 99);
    for (const char *refused : {"0", "100", "-5", "+5", "5.5", "60%", "abc", "6 0"})
        EXPECT_EQ(SplitShare::parse(QString::fromLatin1(refused)), std::nullopt) << refused;
    // Digits of another script are not taken as a share either.
    EXPECT_EQ(SplitShare::parse(QStringLiteral("\u0666\u0660")), std::nullopt);
    EXPECT_EQ(SplitShare::refusedMessage(QStringLiteral("60%")),
              QStringLiteral("The share \"60%\" is not a whole percent from 1 to 99."));
}

TEST(RateText, PercentAndFlatForms)
{
    EXPECT_EQ(RateText::ofPercent(Money::dollars(30)), QStringLiteral("30%"));
    EXPECT_EQ(RateText::ofPercent(Money::fromUnits(271250)), QStringLiteral("27.125%"));
    EXPECT_EQ(RateText::ofFlat(Money::dollars(250)), QStringLiteral("$250.00 flat"));
    EXPECT_EQ(RateText::flatAmount(QStringLiteral("$250.00 flat")), Money::dollars(250));
    EXPECT_EQ(RateText::flatAmount(QStringLiteral(" 1,250 FLAT ")), Money::dollars(1250));
    EXPECT_EQ(RateText::flatAmount(QStringLiteral("30%")), std::nullopt);
    EXPECT_EQ(RateText::flatAmount(QStringLiteral("flat")), std::nullopt);
    EXPECT_EQ(RateText::flatAmount(QStringLiteral("abc flat")), std::nullopt);
}

} // namespace
