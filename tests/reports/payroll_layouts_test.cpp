// Each payroll layout's file, byte for byte: the heading, the columns in
// the service's order, dates in its form, amounts with two decimals and a
// minus, a name with a comma, a quote or an accent.
#include "reports/payroll_layouts.h"

#include <gtest/gtest.h>

namespace {

using PayrollExport::Row;

const QList<Row> kRows = {
    {QStringLiteral("Núñez, José"), QStringLiteral("00417"), EarningsKind::Commission,
     QStringLiteral("COMM"), *MoneyText::parse(QStringLiteral("1234.5")), {12, 15}},
    {QStringLiteral("Núñez, José"), QStringLiteral("00417"), EarningsKind::Chargeback,
     QStringLiteral("CHGBK"), Money::dollars(-250), {15}},
    {QStringLiteral("Ann \"Red\" Lee"), QStringLiteral("A-9"), EarningsKind::Bonus,
     QStringLiteral("BONUS"), Money::dollars(75), {16}},
};
const PayrollExport::Period kMarch = {QDate(2026, 3, 1), QDate(2026, 3, 31)};

QByteArray fileOf(const QString &layoutName)
{
    for (const PayrollLayouts::Layout &layout : PayrollLayouts::all()) {
        if (layout.name == layoutName)
            return PayrollLayouts::text(layout, kRows, kMarch, QStringLiteral("K7Q"));
    }
    ADD_FAILURE() << "no layout " << layoutName.toStdString();
    return {};
}

TEST(PayrollLayouts, TheWindowOffersThePlainLayoutFirstThenTheServices)
{
    QStringList names;
    for (const PayrollLayouts::Layout &layout : PayrollLayouts::all())
        names << layout.name;
    EXPECT_EQ(names, (QStringList{"Plain", "Paychex Flex (SPI)", "ADP Workforce Now (paydata)"}));
}

TEST(PayrollLayouts, ThePlainLayoutNamesThePeriodAndTheSheets)
{
    EXPECT_EQ(fileOf(QStringLiteral("Plain")),
              QByteArray("Payroll ID,Name,Earnings Code,Amount,Period Start,Period End,Sheets\r\n"
                         "00417,\"N\xC3\xBA\xC3\xB1" "ez, Jos\xC3\xA9\",COMM,1234.50,2026-03-01,"
                         "2026-03-31,12 15\r\n"
                         "00417,\"N\xC3\xBA\xC3\xB1" "ez, Jos\xC3\xA9\",CHGBK,-250.00,2026-03-01,"
                         "2026-03-31,15\r\n"
                         "A-9,\"Ann \"\"Red\"\" Lee\",BONUS,75.00,2026-03-01,2026-03-31,16\r\n"));
}

TEST(PayrollLayouts, ThePaychexLayoutLeavesHoursAndRatesEmpty)
{
    EXPECT_EQ(fileOf(QStringLiteral("Paychex Flex (SPI)")),
              QByteArray("Client ID,Worker ID,Org,Job Number,Pay Component,Rate,Rate Number,"
                         "Hours,Units,Line Date,Amount,Check Seq Number\r\n"
                         "K7Q,00417,,,COMM,,,,,03/31/2026,1234.50,\r\n"
                         "K7Q,00417,,,CHGBK,,,,,03/31/2026,-250.00,\r\n"
                         "K7Q,A-9,,,BONUS,,,,,03/31/2026,75.00,\r\n"));
}

TEST(PayrollLayouts, TheAdpLayoutNamesItsBatchByThePeriodsEnd)
{
    EXPECT_EQ(fileOf(QStringLiteral("ADP Workforce Now (paydata)")),
              QByteArray("Co Code,Batch ID,File #,Reg Hours,O/T Hours,Earnings 3 Code,"
                         "Earnings 3 Amount\r\n"
                         "K7Q,033126,00417,,,COMM,1234.50\r\n"
                         "K7Q,033126,00417,,,CHGBK,-250.00\r\n"
                         "K7Q,033126,A-9,,,BONUS,75.00\r\n"));
}

} // namespace
