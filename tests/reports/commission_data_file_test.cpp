#include "report_test_support.h"
#include "reports/commission_data_file.h"
#include "reports/sheet_entry.h"

#include "common/money.h"

#include <gtest/gtest.h>

namespace {

QVariant amount(const char *text)
{
    return QVariant::fromValue(MoneyText::parse(QString::fromLatin1(text)).value());
}

QVariantList deal(const QVariant &customer, const QVariant &total)
{
    return {customer,
            QStringLiteral("A1234"),
            QStringLiteral("NT"),
            amount("1500"),
            amount("437.50"),
            amount("0"),
            QVariant(),
            total};
}

TEST(CommissionDataFile, WritesQuotedTextPlainAmountsNullAndCrLf)
{
    const QByteArray bytes = CommissionDataFile::encode({
        deal(QStringLiteral("BOB BROWN"), amount("350")),
        deal(QVariant(), amount("-12.5")),
        deal(QStringLiteral("AL \"RED\" JONES, JR"), QVariant()),
        deal(QString(), amount("1234.5678")),
    });
    EXPECT_EQ(bytes, QByteArray("\"BOB BROWN\",\"A1234\",\"NT\",1500,437.5,0,#NULL#,350\r\n"
                                "#NULL#,\"A1234\",\"NT\",1500,437.5,0,#NULL#,-12.5\r\n"
                                "\"AL \"\"RED\"\" JONES, JR\",\"A1234\",\"NT\",1500,437.5,0,"
                                "#NULL#,#NULL#\r\n"
                                "\"\",\"A1234\",\"NT\",1500,437.5,0,#NULL#,1234.5678\r\n"));
    EXPECT_EQ(CommissionDataFile::encode({}), QByteArray());
}

TEST(CommissionDataFile, ReadsBackWhatItWritesAsText)
{
    const QByteArray bytes = CommissionDataFile::encode({
        deal(QStringLiteral("AL \"RED\" JONES, JR"), amount("350")),
        deal(QVariant(), amount("437.5")),
    });
    const QList<ReportRow> rows = CommissionDataFile::decode(bytes);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows.at(0).value(QStringLiteral("Customer_Name")).toString(),
              QStringLiteral("AL \"RED\" JONES, JR"));
    EXPECT_EQ(rows.at(0).value(QStringLiteral("Stock_Number")).toString(), QStringLiteral("A1234"));
    EXPECT_EQ(rows.at(0).value(QStringLiteral("Payable_Gross")).toString(), QStringLiteral("1500"));
    EXPECT_EQ(rows.at(0).value(QStringLiteral("TotalCommission")).typeId(), QMetaType::QString);
    EXPECT_TRUE(rows.at(0).value(QStringLiteral("Warranty")).isNull());
    EXPECT_TRUE(rows.at(1).value(QStringLiteral("Customer_Name")).isNull());
    EXPECT_EQ(rows.at(1).value(QStringLiteral("TotalCommission")).toString(),
              QStringLiteral("437.5"));

    // Bare line feeds end lines too; a line cut short is filled with nulls.
    const QList<ReportRow> lineFeeds =
        CommissionDataFile::decode("\"A\",\"S1\",\"NC\",1,2,3,4,5\n\"B\"\n\n");
    ASSERT_EQ(lineFeeds.size(), 2);
    EXPECT_EQ(lineFeeds.at(0).value(QStringLiteral("TotalCommission")).toString(),
              QStringLiteral("5"));
    EXPECT_TRUE(lineFeeds.at(1).value(QStringLiteral("Stock_Number")).isNull());
}

TEST(CommissionDataFile, ReadsRowsForTheSheetColumnByColumn)
{
    const ReportRows rows = CommissionDataFile::decodeRows(
        "\"AL \"\"RED\"\" JONES, JR\",\"0042\",\"UT\",1500,437.5,#NULL#,0,437.5\r\n"
        "\"JOSÉ MÜLLER\",\"S9\"\r\n"
        "\"UNCLOSED, \"\"QUOTE");
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows.at(0).value(QStringLiteral("Customer_Name")).toString(),
              QStringLiteral("AL \"RED\" JONES, JR"));
    EXPECT_EQ(rows.at(0).value(QStringLiteral("Stock_Number")).toString(), QStringLiteral("0042"));
    EXPECT_EQ(rows.at(0).value(QStringLiteral("TCU")).toString(), QStringLiteral("UT"));
    EXPECT_EQ(rows.at(0).value(QStringLiteral("Commission")).toString(), QStringLiteral("437.5"));
    EXPECT_TRUE(rows.at(0).value(QStringLiteral("Spiff")).isNull());
    EXPECT_EQ(rows.at(0).value(QStringLiteral("TotalCommission")).toString(),
              QStringLiteral("437.5"));
    EXPECT_EQ(rows.at(1).value(QStringLiteral("Customer_Name")).toString(),
              QStringLiteral("JOSÉ MÜLLER"));
    EXPECT_TRUE(rows.at(1).value(QStringLiteral("TCU")).isNull());
    EXPECT_TRUE(rows.at(1).value(QStringLiteral("TotalCommission")).isNull());
    // A quote left open runs to the end of the file.
    EXPECT_EQ(rows.at(2).value(QStringLiteral("Customer_Name")).toString(),
              QStringLiteral("UNCLOSED, \"QUOTE"));
    EXPECT_TRUE(rows.at(2).value(QStringLiteral("Stock_Number")).isNull());
}

TEST(SheetEntry, AmountCountsTheProgramsFormsThenALeadingNumber)
{
    const std::pair<const char *, const char *> cases[] = {
        {"100", "100"},       {"$100", "100"}, {"1,000.50", "1000.5"}, {"100 cash", "100"},
        {" 12.5abc", "12.5"}, {"-50", "-50"},  {"abc", "0"},           {"", "0"},
        {"0", "0"},           {"$", "0"},      {".5", "0.5"},
    };
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(SheetEntry::amountOf(QString::fromLatin1(text)),
                  MoneyText::parse(QString::fromLatin1(expected)).value())
            << text;
}

TEST(SheetEntry, DatesAreRealCalendarDays)
{
    for (const char *valid : {"03/07/2025", "3/7/25", "12/31/1999", "2025-03-07", " 3/7/2025 "})
        EXPECT_TRUE(SheetEntry::isDate(QString::fromLatin1(valid))) << valid;
    for (const char *invalid : {"MM/DD/YYYY", "", "13/01/2025", "02/30/2025", "3/7", "tomorrow"})
        EXPECT_FALSE(SheetEntry::isDate(QString::fromLatin1(invalid))) << invalid;
}

} // namespace
