#include "common/money_format.h"

#include "test_printers.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

Money amount(const char *text)
{
    return MoneyText::parse(QString::fromLatin1(text)).value();
}

struct FormatCase
{
    const char *value;
    const char *picture;
    const char *expected;
};

void PrintTo(const FormatCase &c, std::ostream *out)
{
    *out << c.value << " as \"" << c.picture << "\" -> \"" << c.expected << '"';
}

class MoneyPictures : public ::testing::TestWithParam<FormatCase>
{};

TEST_P(MoneyPictures, WritesTheProgramsForms)
{
    const FormatCase &c = GetParam();
    EXPECT_EQ(MoneyFormat::picture(amount(c.value), QString::fromLatin1(c.picture)).toStdString(),
              c.expected)
        << c.value << " as " << c.picture;
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, MoneyPictures,
    ::testing::Values(
        FormatCase{"0", "$###.00", "$.00"}, FormatCase{"1234.5", "$####.00", "$1234.50"},
        FormatCase{"-12.5", "$###.00", "-$12.50"}, FormatCase{"0.005", "$###.00", "$.01"},
        FormatCase{"-0.004", "$###.00", "$.00"}, FormatCase{"0.999", "$###.00", "$1.00"},
        FormatCase{"12345678.125", "$####.00", "$12345678.13"},
        FormatCase{"2469.4", "$###.", "$2469."}, FormatCase{"2469.5", "$###.", "$2470."},
        FormatCase{"0", "$###.", "$."},
        FormatCase{"1250", "Currency", "$1,250.00"}, FormatCase{"0", "currency", "$0.00"},
        FormatCase{"-1234567.891", "Currency", "-$1,234,567.89"},
        FormatCase{"1250", "$#,##0.00", "$1,250.00"}, FormatCase{"0", "$#,##0.00", "$0.00"},
        FormatCase{"999.995", "#,##0.00", "1,000.00"}, FormatCase{"-5", "#,##0.00", "-5.00"},
        FormatCase{"1249.5", "$#,##0", "$1,250"}, FormatCase{"100", "$#,##0", "$100"},
        FormatCase{"0.3", "0%", "30%"}, FormatCase{"0.125", "0%", "13%"},
        FormatCase{"1250", "plain", "1250"}, FormatCase{"1250.5", "plain", "1250.5"},
        FormatCase{"437.5", "plain", "437.5"}, FormatCase{"0.0001", "plain", "0.0001"},
        FormatCase{"-12.50", "plain", "-12.5"}, FormatCase{"0", "plain", "0"}));

// The largest and smallest amounts keep their sign and digits in every form.
TEST(MoneyPictures, EveryFormIsRightAtTheEndsOfTheRange)
{
    const Money largest = Money::fromUnits(std::numeric_limits<qint64>::max());
    const Money smallest = Money::fromUnits(std::numeric_limits<qint64>::min());
    const Money nearSmallest = Money::fromUnits(std::numeric_limits<qint64>::min() + 1);
    struct Case
    {
        Money value;
        const char *picture;
        const char *expected;
    };
    const Case cases[] = {
        {largest, "$###.00", "$922337203685477.58"},
        {largest, "$###.", "$922337203685478."},
        {largest, "Currency", "$922,337,203,685,477.58"},
        {largest, "$#,##0.00", "$922,337,203,685,477.58"},
        {largest, "#,##0.00", "922,337,203,685,477.58"},
        {largest, "$#,##0", "$922,337,203,685,478"},
        {largest, "0%", "92233720368547758%"},
        {largest, "plain", "922337203685477.5807"},
        {smallest, "$###.00", "-$922337203685477.58"},
        {smallest, "$###.", "-$922337203685478."},
        {smallest, "#,##0.00", "-922,337,203,685,477.58"},
        {smallest, "$#,##0", "-$922,337,203,685,478"},
        {smallest, "0%", "-92233720368547758%"},
        {smallest, "plain", "-922337203685477.5808"},
        {nearSmallest, "$#,##0.00", "-$922,337,203,685,477.58"},
        {Money::fromUnits(-49), "0%", "0%"},
        {Money::fromUnits(-50), "0%", "-1%"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(MoneyFormat::picture(c.value, QString::fromLatin1(c.picture)).toStdString(),
                  c.expected)
            << c.value.units() << " as " << c.picture;
}

TEST(DatePictures, WriteTheProgramsDateForms)
{
    const QDate date(2005, 3, 7);
    EXPECT_EQ(DateFormat::picture(date, QStringLiteral("MM/DD/YY")), QStringLiteral("03/07/05"));
    EXPECT_EQ(DateFormat::picture(date, QStringLiteral("mm/dd/yy")), QStringLiteral("03/07/05"));
    EXPECT_EQ(DateFormat::picture(date, QStringLiteral("mm/dd/yyyy")),
              QStringLiteral("03/07/2005"));
    EXPECT_EQ(DateFormat::picture(date, QStringLiteral("m/d/yy")), QStringLiteral("3/7/05"));
    EXPECT_EQ(DateFormat::picture(date, QStringLiteral("YYYY")), QStringLiteral("2005"));
    EXPECT_EQ(DateFormat::picture(QDate(2026, 12, 31), QStringLiteral("m/d/yy")),
              QStringLiteral("12/31/26"));
}

} // namespace
