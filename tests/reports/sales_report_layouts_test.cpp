#include "common/money.h"
#include "report_test_support.h"
#include "reports/sales_log_report.h"
#include "reports/salesperson_summary_report.h"
#include "reports/report_rows.h"
#include "reports/sales_report_query.h"
#include "sales_reports_fixture.h"

#include <gtest/gtest.h>

#include <vector>

using ReportRead::placementsOf;
using ReportRead::textOf;

namespace {

ReportRow amountRow(const char *column, const char *amount)
{
    return {{QString::fromLatin1(column),
             QVariant::fromValue(*MoneyText::parse(QString::fromLatin1(amount)))}};
}

TEST(SalesLogReport, GrossPerUnitIsRoundedToWholeDollarsHalfAwayFromZero)
{
    struct Case
    {
        std::vector<const char *> grosses;
        const char *perUnit;
    };
    const Case cases[] = {
        {{"1000", "2000", "4000"}, "$2333."},
        {{"2000", "2938.80"}, "$2469."},
        {{"1000", "2001"}, "$1501."},
        {{"1000", "-4001"}, "-$1501."},
    };
    for (const Case &c : cases) {
        ReportRows rows;
        for (const char *gross : c.grosses)
            rows.append(amountRow("Gross", gross));
        SalesLogReport report;
        EXPECT_EQ(textOf(report.run(rows), QStringLiteral("Label5")),
                  QString::fromLatin1(c.perUnit))
            << c.perUnit;
    }
}

// Totals beyond the range of an amount print as a mark, never as a number
// that started again from zero; the per-unit figure then prints nothing.
TEST(SalesReports, ATotalBeyondTheRangePrintsTheOverflowMark)
{
    ReportRows log;
    for (const char *gross : {"500000000000000", "500000000000000", "-3.5"})
        log.append(amountRow("Gross", gross));
    SalesLogReport salesLog;
    const ReportDocument logDocument = salesLog.run(log);
    EXPECT_EQ(textOf(logDocument, QStringLiteral("Field1")), QStringLiteral("** OVERFLOW **"));
    EXPECT_EQ(textOf(logDocument, QStringLiteral("Field2")), QStringLiteral("3"));
    EXPECT_TRUE(textOf(logDocument, QStringLiteral("Label5")).value_or(QString()).isEmpty());

    ReportRows summary;
    for (const char *gross : {"-922337203685477", "-922337203685477", "1"})
        summary.append(amountRow("Payable_Gross", gross));
    SalespersonSummaryReport summaryReport;
    const ReportDocument summaryDocument = summaryReport.run(summary);
    EXPECT_EQ(textOf(summaryDocument, QStringLiteral("Field12")), QStringLiteral("** OVERFLOW **"));
    // The average of amounts always fits, and is worked out right.
    EXPECT_EQ(textOf(summaryDocument, QStringLiteral("Field13")),
              QStringLiteral("-$614,891,469,123,651"));

    // Just inside the range the total prints in full.
    ReportRows edge;
    for (const char *gross : {"922337203685477", "0.5807"})
        edge.append(amountRow("Gross", gross));
    EXPECT_EQ(textOf(salesLog.run(edge), QStringLiteral("Field1")),
              QStringLiteral("$922,337,203,685,477.58"));
}

TEST(SalespersonSummaryReport, EveryPageRepeatsTitleNameAndPeriod)
{
    ReportRows rows;
    for (int i = 0; i < 80; ++i)
        rows.append(amountRow("UnitCount", i % 2 ? "0.5" : "1"));
    SalespersonSummaryReport report;
    report.setSalesPerson(QStringLiteral("John Smith"));
    report.setPeriod(QDate(2007, 11, 5), QDate(2007, 12, 5));
    const ReportDocument document = report.run(rows);

    ASSERT_GT(document.pageCount(), 1);
    for (const char *control : {"Label1", "Field1", "Field2", "Field3"}) {
        const QList<PlacedText> placed = placementsOf(document, QString::fromLatin1(control));
        ASSERT_EQ(placed.size(), document.pageCount()) << control;
        for (int page = 0; page < placed.size(); ++page) {
            EXPECT_EQ(placed.at(page).page, page + 1) << control;
            EXPECT_EQ(placed.at(page).text, placed.first().text) << control;
        }
    }
    const QList<PlacedText> units = placementsOf(document, QStringLiteral("Field11"));
    ASSERT_EQ(units.size(), 1);
    EXPECT_EQ(units.first().text, QStringLiteral("60"));
    EXPECT_EQ(units.first().page, document.pageCount());
}

using SalesReportQueryTest = SalesReportsTest;

// Quotes and would-be SQL in a name or code are matched as plain text.
TEST_F(SalesReportQueryTest, NamesAndCodesAreValuesNotSql)
{
    save({QDate(2007, 11, 6), "NC", "1000", "Sam \"Ace\" Lee", "A1"});
    save({QDate(2007, 11, 6), "NC", "1000", "John Smith", "A2"});
    const QDate day(2007, 11, 6);
    const std::pair<SalesReportQuery, int> cases[] = {
        {SalesReportQuery::salesSummary(QStringLiteral("Sam \"Ace\" Lee"), day, day), 1},
        {SalesReportQuery::salesSummary(QStringLiteral("x\" OR \"1\"=\"1"), day, day), 0},
        {SalesReportQuery::salesSummary(QStringLiteral("x' OR '1'='1"), day, day), 0},
        {SalesReportQuery::salesLog(QStringLiteral("NC\" OR \"1\"=\"1"), day, day), 0},
    };
    for (const auto &[query, count] : cases) {
        QString error;
        const std::optional<ReportRows> rows = query.fetch(*m_database, &error);
        ASSERT_TRUE(rows) << error.toStdString();
        EXPECT_EQ(rows->size(), count) << query.values.value(0).toString().toStdString();
    }
}

} // namespace
