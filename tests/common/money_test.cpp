#include "common/exact_amount.h"
#include "common/money.h"
#include "common/money_format.h"

#include "test_printers.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

Money units(qint64 u) { return Money::fromUnits(u); }

struct ParseCase
{
    const char *text;
    std::optional<qint64> units; // std::nullopt: not a number
};

void PrintTo(const ParseCase &c, std::ostream *out)
{
    *out << '"' << c.text << "\" -> ";
    if (c.units)
        *out << *c.units << " ten-thousandths";
    else
        *out << "not a number";
}

class MoneyParse : public ::testing::TestWithParam<ParseCase>
{};

TEST_P(MoneyParse, ReadsTextAsAmount)
{
    const ParseCase &c = GetParam();
    const auto value = MoneyText::parse(QString::fromUtf8(c.text));
    ASSERT_EQ(value.has_value(), c.units.has_value()) << c.text;
    if (c.units) {
        EXPECT_EQ(value->units(), *c.units) << c.text;
    }
    EXPECT_EQ(MoneyText::isNumber(QString::fromUtf8(c.text)), c.units.has_value()) << c.text;
    EXPECT_EQ(MoneyText::readAmount(QString::fromUtf8(c.text)).units(), c.units.value_or(0))
        << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Forms, MoneyParse,
    ::testing::Values(
        // plain numbers and the program's own display forms
        ParseCase{"1250", 12500000}, ParseCase{"1250.50", 12505000},
        ParseCase{"1,250.50", 12505000}, ParseCase{"$1,250.50", 12505000},
        ParseCase{"$1250.00", 12500000}, ParseCase{"$.00", 0}, ParseCase{"-$12.50", -125000},
        ParseCase{"$-12.50", -125000}, ParseCase{"-12.5", -125000}, ParseCase{"+7", 70000},
        ParseCase{"$2469.", 24690000}, ParseCase{"$.", 0}, ParseCase{"-$5.", -50000}, ParseCase{".5", 5000}, ParseCase{"  42  ", 420000},
        ParseCase{"(12.50)", -125000}, ParseCase{"($1,250.00)", -12500000},
        ParseCase{"1,234,567.89", 12345678900}, ParseCase{"0", 0}, ParseCase{"007", 70000},
        // more than four decimals round half away from zero, once, from the
        // value as typed however many decimals it has
        ParseCase{"0.00005", 1}, ParseCase{"-0.00005", -1}, ParseCase{"0.00004", 0},
        ParseCase{"0.00004999999999999999999999", 0},
        ParseCase{"0.00005000000000000000000001", 1},
        // the ends of the range
        ParseCase{"-922337203685477.5808", std::numeric_limits<qint64>::min()},
        ParseCase{"922337203685477.5807", std::numeric_limits<qint64>::max()},
        ParseCase{"922337203685477.5808", std::nullopt},
        ParseCase{"-922337203685477.58085", std::nullopt},
        // not numbers
        ParseCase{"", std::nullopt}, ParseCase{"12a", std::nullopt},
        ParseCase{"-", std::nullopt}, ParseCase{"$", std::nullopt}, ParseCase{".", std::nullopt},
        ParseCase{"1.2.3", std::nullopt}, ParseCase{"1,25", std::nullopt},
        ParseCase{",125", std::nullopt}, ParseCase{"1,,250", std::nullopt},
        ParseCase{"1250,", std::nullopt}, ParseCase{"1234,567", std::nullopt},
        ParseCase{"1,2345", std::nullopt}, ParseCase{"12,34,567", std::nullopt},
        ParseCase{"1,234,56", std::nullopt}, ParseCase{"1,234,5678", std::nullopt},
        ParseCase{"--5", std::nullopt},
        ParseCase{"-$-5", std::nullopt}, ParseCase{"(-5)", std::nullopt},
        ParseCase{"5-", std::nullopt}, ParseCase{"$$5", std::nullopt},
        ParseCase{"1 250", std::nullopt}, ParseCase{"abc%", std::nullopt},
        ParseCase{"1e5", std::nullopt}, ParseCase{"١٢", std::nullopt}));

TEST(MoneyParseLimits, AmountsBeyondTheRangeAreNotNumbers)
{
    // The largest whole number of dollars that fits is 922337203685477.
    EXPECT_TRUE(MoneyText::isNumber(QStringLiteral("922337203685477")));
    EXPECT_FALSE(MoneyText::isNumber(QStringLiteral("922337203685478")));
    EXPECT_FALSE(MoneyText::isNumber(QStringLiteral("99999999999999999999999999")));
    EXPECT_FALSE(MoneyText::isNumber(QStringLiteral("-99999999999999999999999999")));
    EXPECT_FALSE(MoneyText::isNumber(QString(10000, u'9')));
    EXPECT_EQ(MoneyText::readAmount(QString(10000, u'9')), Money());
    // Leading zeros do not count against the range.
    EXPECT_EQ(MoneyText::parse(QString(40, u'0') + u'5'), Money::dollars(5));
}

TEST(MoneyPercent, ReadsTheNumberInFrontOfThePercentSign)
{
    EXPECT_EQ(MoneyText::readPercent(QStringLiteral("30%")), Money::dollars(30));
    EXPECT_EQ(MoneyText::readPercent(QStringLiteral("30")), Money::dollars(30));
    EXPECT_EQ(MoneyText::readPercent(QStringLiteral("27.5 %")), units(275000));
    EXPECT_EQ(MoneyText::readPercent(QStringLiteral("abc%")), Money());
    EXPECT_EQ(MoneyText::readPercent(QString()), Money());
}

TEST(MoneyRounding, HalfCentsRoundAwayFromZero)
{
    EXPECT_EQ(units(12350).roundedToCent(), units(12400)); // 1.235 -> 1.24
    EXPECT_EQ(units(12349).roundedToCent(), units(12300)); // 1.2349 -> 1.23
    EXPECT_EQ(units(-12350).roundedToCent(), units(-12400));
    EXPECT_EQ(units(-12349).roundedToCent(), units(-12300));
    EXPECT_EQ(units(50).roundedToCent(), units(100));
    EXPECT_EQ(units(-50).roundedToCent(), units(-100));
    EXPECT_EQ(units(49).roundedToCent(), units(0));
    EXPECT_EQ(units(5000).roundedToDollar(), Money::dollars(1));
    EXPECT_EQ(units(-5000).roundedToDollar(), Money::dollars(-1));
}

TEST(MoneyArithmetic, ProductsAndQuotientsAreExact)
{
    // 3900 x 30 / 100 = 1170
    EXPECT_EQ(Money::dollars(3900).multipliedBy(Money::dollars(30)).dividedBy(100),
              Money::dollars(1170));
    // 1250.5 / 2 = 625.25; 0.01 / 2 keeps its half cent
    EXPECT_EQ(units(12505000).dividedBy(2), units(6252500));
    EXPECT_EQ(Money::fromCents(1).dividedBy(2), units(50));
    // 0.0001 x 0.5 rounds half away from zero to 0.0001
    EXPECT_EQ(units(1).multipliedBy(units(5000)), units(1));
    EXPECT_EQ(units(-1).multipliedBy(units(5000)), units(-1));
    EXPECT_EQ(units(10).dividedBy(-4), units(-3));
}

TEST(MoneyArithmetic, CheckedOperationsReportOverflow)
{
    const Money max = units(std::numeric_limits<qint64>::max());
    const Money min = units(std::numeric_limits<qint64>::min());
    EXPECT_FALSE(max.checkedAdd(units(1)));
    EXPECT_FALSE(min.checkedSubtract(units(1)));
    EXPECT_TRUE(max.checkedSubtract(units(1)));
    // A product that overflows 64 bits in its intermediate step but fits after
    // scaling is still exact.
    EXPECT_EQ(Money::dollars(900000000).checkedMultiply(Money::dollars(1000)),
              Money::dollars(900000000000));
    EXPECT_FALSE(max.checkedMultiply(Money::dollars(2)));
    EXPECT_FALSE(Money::dollars(5).checkedDivide(0));
    // A percentage rounds once: 0.0001 x 50 / 100 is 0.00005, rounded up to 0.0001.
    EXPECT_EQ(units(1).checkedMultiplyDivide(Money::dollars(50), 100), units(1));
    EXPECT_EQ(Money::dollars(3900).checkedMultiplyDivide(Money::dollars(30), 100), Money::dollars(1170));
    EXPECT_FALSE(max.checkedMultiplyDivide(Money::dollars(200), 100));
    EXPECT_FALSE(min.checkedDivide(-1));
}

TEST(MoneyFormatRoundTrip, EveryDisplayFormReadsBackAtItsValue)
{
    const qint64 samples[] = {0, 1, 50, 100, 12500000, 12345000, -125000, -1, 99999999,
                              9223372036854770000LL, -9223372036854770000LL};
    for (qint64 u : samples) {
        const Money value = units(u);
        const Money cents = value.roundedToCent();
        EXPECT_EQ(MoneyText::parse(MoneyFormat::dollars(value)), cents) << u;
        EXPECT_EQ(MoneyText::parse(MoneyFormat::currency(value)), cents) << u;
        EXPECT_EQ(MoneyText::parse(MoneyFormat::dollarsGrouped(value)), cents) << u;
        EXPECT_EQ(MoneyText::parse(MoneyFormat::grouped(value)), cents) << u;
        EXPECT_EQ(MoneyText::parse(MoneyFormat::plain(value)), value) << u;
        EXPECT_EQ(MoneyText::parse(MoneyFormat::wholeDollarsWithPoint(value)),
                  value.roundedToDollar())
            << u;
    }
}

TEST(ExactAmount, TellsNumbersTooLargeFromTextThatIsNoNumber)
{
    using Kind = ExactReading::Kind;
    const std::pair<const char *, Kind> cases[] = {
        {"99999999999999999999", Kind::TooLarge},
        {"-1,000,000,000,000,000", Kind::TooLarge},
        {"1000000000000000000000000000000", Kind::TooLarge},
        {"922337203685477.58075", Kind::TooLarge},
        {"-922337203685477.5808", Kind::Amount},
        {"0.000000000000000000001", Kind::Amount},
        {"12a", Kind::NotANumber},
        {"", Kind::NotANumber},
        {"1234,567", Kind::NotANumber},
    };
    for (const auto &[text, kind] : cases)
        EXPECT_EQ(MoneyText::readExact(QString::fromLatin1(text)).kind, kind) << text;
}

TEST(ExactAmount, SumsAreRoundedOnceAtTheEnd)
{
    std::optional<ExactAmount> sum = ExactAmount();
    for (int i = 0; i < 5; ++i)
        sum = sum->plus(MoneyText::readExact(QStringLiteral("0.00003")).value);
    EXPECT_EQ(sum->toMoney(), units(2));      // 0.00015
    EXPECT_EQ(sum->toCent(), Money());        // 0.00015 -> $.00
    EXPECT_EQ(MoneyText::readExact(QStringLiteral("-0.005")).value.toCent(), Money::fromCents(-1));
    EXPECT_EQ(MoneyText::readExact(QStringLiteral("0.00495")).value.toCent(), Money());
}

TEST(ExactAmount, APercentIsRoundedOnceToTheCent)
{
    const auto rate = [](const char *text) { return MoneyText::readExact(QString::fromLatin1(text)).value; };
    // 464.49 x 25.5% = 118.44495
    EXPECT_EQ(percentToCent(units(4644900), rate("25.5")), Money::fromCents(11844));
    EXPECT_EQ(percentToCent(units(-4644900), rate("25.5")), Money::fromCents(-11844));
    // Half a cent exactly goes away from zero; a hair below it does not.
    EXPECT_EQ(percentToCent(Money::fromCents(1), rate("50")), Money::fromCents(1));
    EXPECT_EQ(percentToCent(Money::fromCents(-1), rate("50")), Money::fromCents(-1));
    EXPECT_EQ(percentToCent(Money::fromCents(1), rate("49.999999999999999999")), Money());
    EXPECT_EQ(percentToCent(Money::fromCents(-1), rate("-49.999999999999999999")), Money());
    EXPECT_EQ(percentToCent(units(std::numeric_limits<qint64>::max()), rate("100")),
              Money::fromCents(92233720368547758));
    EXPECT_FALSE(percentToCent(units(std::numeric_limits<qint64>::max()), rate("100.01")));
    EXPECT_FALSE(percentToCent(Money::dollars(200), rate("922337203685477")));
}

} // namespace
