#include "store/column_value.h"

#include "test_printers.h"

#include <gtest/gtest.h>

namespace {

qint64 units(const std::optional<QVariant> &value)
{
    return value ? value->toLongLong() : -1;
}

TEST(ColumnValue, MoneyTextInEveryWorksheetFormIsStoredExactly)
{
    struct Case
    {
        const char *text;
        qint64 units;
    } cases[] = {
        {"1250", 12500000},   {"1250.5", 12505000},   {"$1250.00", 12500000},  {"$.00", 0},
        {"-$12.50", -125000}, {"1,250.50", 12505000}, {"$1,250.00", 12500000}, {"0.0001", 1},
        {"(12.50)", -125000},
    };
    for (const Case &c : cases)
        EXPECT_EQ(units(ColumnValue::money(QString::fromLatin1(c.text))), c.units) << c.text;
}

TEST(ColumnValue, EmptyTextIsNullAndNonNumbersDoNotConvert)
{
    const std::optional<QVariant> empty = ColumnValue::money(QString());
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->isNull());
    EXPECT_TRUE(ColumnValue::text(QString()).isNull());
    EXPECT_TRUE(ColumnValue::date(QDate()).isNull());
    for (const char *bad : {"abc", "12a", "$", ".", "1.2.3", " "})
        EXPECT_FALSE(ColumnValue::money(QString::fromLatin1(bad)).has_value()) << bad;
}

TEST(ColumnValue, MoneyComesBackAsItsPlainNumber)
{
    struct Case
    {
        qint64 units;
        const char *text;
    } cases[] = {{12500000, "1250"}, {12505000, "1250.5"}, {6252500, "625.25"}, {-125000, "-12.5"},
                 {0, "0"},           {5000, "0.5"}};
    for (const Case &c : cases)
        EXPECT_EQ(ColumnValue::moneyTextFrom(QVariant(c.units)), QString::fromLatin1(c.text));
    EXPECT_EQ(ColumnValue::moneyTextFrom(QVariant()), QString());
    EXPECT_FALSE(ColumnValue::moneyFrom(QVariant()).has_value());
}

TEST(ColumnValue, DatesAreIsoTextAndTwoDigitYearsFallInAHundredYearWindow)
{
    EXPECT_EQ(ColumnValue::date(QDate(2005, 3, 7)).toString(), QStringLiteral("2005-03-07"));
    EXPECT_EQ(ColumnValue::dateFrom(QVariant(QStringLiteral("2005-03-07"))), QDate(2005, 3, 7));
    EXPECT_FALSE(ColumnValue::dateFrom(QVariant()).isValid());
    struct Case
    {
        const char *text;
        const char *iso; // nullptr: does not convert
    } cases[] = {
        {"12/06/26", "2026-12-06"}, {"03/07/05", "2005-03-07"},   {"01/01/29", "2029-01-01"},
        {"01/01/30", "1930-01-01"}, {"03/07/2005", "2005-03-07"}, {"2005-03-07", "2005-03-07"},
        {"13/01/05", nullptr},      {"02/30/05", nullptr},        {"yesterday", nullptr},
    };
    for (const Case &c : cases) {
        const std::optional<QVariant> value = ColumnValue::dateText(QString::fromLatin1(c.text));
        if (c.iso)
            EXPECT_EQ(value.value_or(QVariant()).toString(), QString::fromLatin1(c.iso)) << c.text;
        else
            EXPECT_FALSE(value.has_value()) << c.text;
    }
}

TEST(ColumnValue, DatesAndMomentsAreWrittenWithEveryDigit)
{
    struct Case
    {
        QDate date;
        const char *iso;
    } cases[] = {
        {QDate(2005, 3, 7), "2005-03-07"},  {QDate(1999, 12, 31), "1999-12-31"},
        {QDate(2029, 1, 1), "2029-01-01"},  {QDate(999, 10, 9), "0999-10-09"},
        {QDate(1, 1, 1), "0001-01-01"},     {QDate(9999, 12, 31), "9999-12-31"},
        {QDate(2024, 2, 29), "2024-02-29"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ColumnValue::isoDate(c.date), QString::fromLatin1(c.iso)) << c.iso;
        EXPECT_EQ(ColumnValue::date(c.date).toString(), QString::fromLatin1(c.iso)) << c.iso;
    }
    EXPECT_TRUE(ColumnValue::date(QDate()).isNull());

    EXPECT_EQ(ColumnValue::stamp(QDateTime(QDate(2026, 12, 8), QTime(9, 5, 7))),
              QStringLiteral("2026-12-08 09:05:07"));
    EXPECT_EQ(ColumnValue::stamp(QDateTime(QDate(2005, 1, 31), QTime(23, 59, 59, 999))),
              QStringLiteral("2005-01-31 23:59:59"));
    EXPECT_EQ(ColumnValue::stamp(QDateTime(QDate(2030, 7, 4), QTime(0, 0))),
              QStringLiteral("2030-07-04 00:00:00"));
}

TEST(ColumnValue, StoredValuesReadAsTheirTextOfEveryKind)
{
    EXPECT_EQ(ColumnValue::storedText(QStringLiteral("Zoë Ávila")), QStringLiteral("Zoë Ávila"));
    EXPECT_EQ(ColumnValue::storedText(qint64(-9223372036854775807LL - 1)),
              QStringLiteral("-9223372036854775808"));
    EXPECT_EQ(ColumnValue::storedText(quint64(18446744073709551615ULL)),
              QStringLiteral("18446744073709551615"));
    EXPECT_EQ(ColumnValue::storedText(0), QStringLiteral("0"));
    EXPECT_EQ(ColumnValue::storedText(QDate(2026, 12, 5)), QStringLiteral("2026-12-05"));
    EXPECT_EQ(ColumnValue::storedText(QDate()), QString());
    // Kinds no column holds go the library's way.
    EXPECT_EQ(ColumnValue::storedText(1.5), QStringLiteral("1.5"));
    EXPECT_EQ(ColumnValue::storedText(true), QStringLiteral("true"));

    QString line = QStringLiteral("rowid ");
    ColumnValue::appendStoredText(line, qint64(40417));
    ColumnValue::appendStoredText(line, QStringLiteral(" on "));
    ColumnValue::appendStoredText(line, QDate(1999, 1, 2));
    EXPECT_EQ(line, QStringLiteral("rowid 40417 on 1999-01-02"));
}

TEST(ColumnValue, YearIsTheNumberAtTheStartOfItsText)
{
    struct Case
    {
        const char *text;
        qint64 year;
    } cases[] = {{"2004", 2004}, {"2004 ", 2004}, {"1999x", 1999},
                 {"", 0},        {"abc", 0},      {" 2003", 2003}};
    for (const Case &c : cases)
        EXPECT_EQ(ColumnValue::year(QString::fromLatin1(c.text)).toLongLong(), c.year) << c.text;
    EXPECT_EQ(ColumnValue::yearTextFrom(QVariant(qint64(2004))), QStringLiteral("2004"));
}

} // namespace
