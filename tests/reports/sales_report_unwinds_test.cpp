// Deals taken back on the sales log and the salesperson summary, on either
// engine: the deal stays in its own period as printed then, and the unwind
// is a line of its own in the period it happened.
#include "reports/report_csv.h"
#include "reports/sales_log_report.h"
#include "reports/sales_report_query.h"
#include "reports/salesperson_summary_report.h"
#include "report_test_support.h"
#include "store/deal_unwinds.h"
#include "store_test_support.h"

#include <QBuffer>

namespace {

using ReportRead::textOf;
using Part = UnwindRequest::Part;

class SalesReportUnwinds : public EngineStoreTest
{
protected:
    ReportRows logRows(const QDate &first, const QDate &last)
    {
        return fetched(SalesReportQuery::salesLog(QStringLiteral("NT"), first, last));
    }
    ReportRows summaryRows(const QString &name, const QDate &first, const QDate &last)
    {
        return fetched(SalesReportQuery::salesSummary(name, first, last));
    }

    // The lines as the report's spreadsheet file holds them, headings left out.
    static QList<QStringList> csv(const QList<CsvColumn> &columns, const ReportRows &rows)
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        ReportRows::Reader reader(rows);
        ReportCsv::write(buffer, columns, reader);
        QList<QStringList> lines = ReportRead::csvRows(buffer.data()).value_or(QList<QStringList>());
        if (!lines.isEmpty())
            lines.removeFirst();
        return lines;
    }
    QList<QStringList> logCsv(const QDate &first, const QDate &last)
    {
        return csv(SalesLogReport::csvColumns(), logRows(first, last));
    }
    QList<QStringList> summaryCsv(const QString &name, const QDate &first, const QDate &last)
    {
        return csv(SalespersonSummaryReport::csvColumns(), summaryRows(name, first, last));
    }

    void unwind(DealId deal, const QDate &on, Part part, Money amount = {})
    {
        const DealUnwinds::Outcome outcome = DealUnwinds(*m_database).unwind(
            {deal, on, QStringLiteral("Returned vehicle"), part, amount});
        ASSERT_TRUE(outcome.done) << outcome.error.toStdString();
    }

private:
    ReportRows fetched(const SalesReportQuery &query)
    {
        QString error;
        const std::optional<ReportRows> rows = query.fetch(*m_database, &error);
        EXPECT_TRUE(rows) << error.toStdString();
        return rows.value_or(ReportRows());
    }
};

INSTANTIATE_ON_BOTH_ENGINES(SalesReportUnwinds);

const QDate kMarch1(2005, 3, 1);
const QDate kMarch31(2005, 3, 31);
const QDate kApril1(2005, 4, 1);
const QDate kApril30(2005, 4, 30);

TEST_P(SalesReportUnwinds, AWholeUnwindIsALineOfItsOwnAndThePastReprintsUnchanged)
{
    const DealId returned = saved(dealFor(QStringLiteral("4471"), QStringLiteral("José Peña")));
    Deal kept = dealFor(QStringLiteral("A-77"), QStringLiteral("Ann Lee"));
    kept.date = QDate(2005, 3, 9);
    saved(kept);
    const QList<QStringList> marchLog = logCsv(kMarch1, kMarch31);
    const QList<QStringList> marchSummary = summaryCsv(QStringLiteral("John Smith"), kMarch1,
                                                       kMarch31);
    ASSERT_EQ(marchLog.size(), 2);

    unwind(returned, QDate(2005, 4, 2), Part::Whole);

    EXPECT_EQ(logCsv(kMarch1, kMarch31), marchLog);
    EXPECT_EQ(summaryCsv(QStringLiteral("John Smith"), kMarch1, kMarch31), marchSummary);
    EXPECT_EQ(logCsv(kApril1, kApril30),
              (QList<QStringList>{{"2005-04-02", "4471", "2004 EXPLORER SPT", "UNWOUND: JOSÉ PEÑA",
                                   "JOHN SMITH", "0", "-4200.00"}}));
    EXPECT_EQ(summaryCsv(QStringLiteral("john smith"), kApril1, kApril30),
              (QList<QStringList>{{"2005-04-02", "4471", "2004 EXPLORER SPT", "UNWOUND: JOSÉ PEÑA",
                                   "-3900.00", "-1170.00", "-1"}}));

    // Over both months the deal is sold and taken back: one unit is left.
    SalesLogReport log;
    const ReportDocument both = log.run(logRows(kMarch1, kApril30));
    EXPECT_EQ(textOf(both, QStringLiteral("Field2")), QStringLiteral("1"));
    EXPECT_EQ(textOf(both, QStringLiteral("Field1")), QStringLiteral("$4,200.00"));
    EXPECT_EQ(textOf(both, QStringLiteral("Label5")), QStringLiteral("$4200."));
    SalespersonSummaryReport summary;
    const ReportDocument summed =
        summary.run(summaryRows(QStringLiteral("John Smith"), kMarch1, kApril30));
    EXPECT_EQ(textOf(summed, QStringLiteral("Field11")), QStringLiteral("1"));
    EXPECT_EQ(textOf(summed, QStringLiteral("Field12")), QStringLiteral("$3,900"));

    // April alone counts the unit back out, and has no gross per unit.
    const ReportDocument april = log.run(logRows(kApril1, kApril30));
    EXPECT_EQ(textOf(april, QStringLiteral("Field2")), QStringLiteral("-1"));
    EXPECT_EQ(textOf(april, QStringLiteral("Field1")), QStringLiteral("-$4,200.00"));
    EXPECT_EQ(textOf(april, QStringLiteral("Label5")), QString());
    EXPECT_EQ(textOf(april, QStringLiteral("txtSalesLog_Date")), QStringLiteral("04/02/05"));
}

// A split deal paid, then charged back an amount and its warranty spiff, then
// taken back whole: each salesperson's summary shows what was charged back
// of their row when it was, and the whole unwind the rest, so that over all
// months the deal comes to nothing.
TEST_P(SalesReportUnwinds, PartsChargedBackAreLinesWithoutAUnitAndTheWholeTakesTheRest)
{
    Deal split = splitExampleDeal();
    split.stockNumber = QStringLiteral("88120");
    split.customer = QStringLiteral("Renée Côté");
    const DealId deal = saved(split);
    execute(*m_database, QStringLiteral("UPDATE \"SalesSummary\" SET \"Paid\" = 1"));
    unwind(deal, QDate(2005, 4, 5), Part::Amount, Money::dollars(200));
    unwind(deal, QDate(2005, 4, 6), Part::WarrantySpiff);
    unwind(deal, QDate(2005, 5, 2), Part::Whole);

    const QList<QStringList> april = {
        {"2005-04-05", "88120", "2004 EXPLORER SPT", "UNWOUND AMOUNT: RENÉE CÔTÉ", "", "-100.00", ""},
        {"2005-04-06", "88120", "2004 EXPLORER SPT", "UNWOUND WARRANTY SPIFF: RENÉE CÔTÉ", "", "", ""}};
    EXPECT_EQ(summaryCsv(QStringLiteral("John Smith"), kApril1, kApril30), april);
    EXPECT_EQ(summaryCsv(QStringLiteral("Mary Jones"), kApril1, kApril30), april);
    const QList<QStringList> may = {{"2005-05-02", "88120", "2004 EXPLORER SPT",
                                     "UNWOUND: RENÉE CÔTÉ", "-1950.00", "-485.00", "-0.5"}};
    EXPECT_EQ(summaryCsv(QStringLiteral("Mary Jones"), QDate(2005, 5, 1), QDate(2005, 5, 31)),
              may);

    SalespersonSummaryReport summary;
    const ReportDocument allMonths =
        summary.run(summaryRows(QStringLiteral("Mary Jones"), kMarch1, QDate(2005, 5, 31)));
    EXPECT_EQ(textOf(allMonths, QStringLiteral("Field11")), QStringLiteral("0"));
    EXPECT_EQ(textOf(allMonths, QStringLiteral("Field12")), QStringLiteral("$0"));
    EXPECT_EQ(ReportRead::placementsOf(allMonths, QStringLiteral("Field9")).size(), 4);

    // The log shows the parts without gross or unit.
    EXPECT_EQ(logCsv(kApril1, kApril30),
              (QList<QStringList>{{"2005-04-05", "88120", "2004 EXPLORER SPT",
                                   "UNWOUND AMOUNT: RENÉE CÔTÉ", "JOHN SMITH / MARY JONES", "0", ""},
                                  {"2005-04-06", "88120", "2004 EXPLORER SPT",
                                   "UNWOUND WARRANTY SPIFF: RENÉE CÔTÉ", "JOHN SMITH / MARY JONES", "0", ""}}));
    SalesLogReport log;
    const ReportDocument aprilLog = log.run(logRows(kApril1, kApril30));
    EXPECT_EQ(textOf(aprilLog, QStringLiteral("Field2")), QStringLiteral("0"));
    EXPECT_EQ(textOf(aprilLog, QStringLiteral("Label5")), QString());
    EXPECT_EQ(ReportRead::printingFaults(aprilLog), QStringList());
    for (const PlacedText &customer :
         ReportRead::placementsOf(aprilLog, QStringLiteral("txtSalesLog_CustomerName")))
        EXPECT_TRUE(customer.text.startsWith(QStringLiteral("UNWOUND "))) << customer.text.toStdString();
    const ReportDocument allLog = log.run(logRows(kMarch1, QDate(2005, 5, 31)));
    EXPECT_EQ(textOf(allLog, QStringLiteral("Field2")), QStringLiteral("0"));
    EXPECT_EQ(textOf(allLog, QStringLiteral("Field1")), QStringLiteral("$0.00"));
}

// Unwinds of other classes, other salespeople and other days stay off.
TEST_P(SalesReportUnwinds, OnlyTheUnwindsOfTheClassSalespersonAndDaysChosenAreListed)
{
    Deal car = dealFor(QStringLiteral("5120"), QStringLiteral("Zoë Quinn"));
    car.unitClass = QStringLiteral("NC");
    const DealId newCar = saved(car);
    Deal other = dealFor(QStringLiteral("5121"), QStringLiteral("Åsa Berg"));
    other.salesPerson = QStringLiteral("Mary Jones");
    const DealId marys = saved(other);
    const DealId late = saved(dealFor(QStringLiteral("5122"), QStringLiteral("Bo Li")));
    unwind(newCar, QDate(2005, 4, 2), Part::Whole);
    unwind(marys, QDate(2005, 4, 3), Part::Whole);
    unwind(late, QDate(2005, 5, 1), Part::Whole);

    const QList<QStringList> log = logCsv(kApril1, kApril30);
    ASSERT_EQ(log.size(), 1);
    EXPECT_EQ(log.first().at(3), QStringLiteral("UNWOUND: ÅSA BERG"));
    EXPECT_EQ(summaryCsv(QStringLiteral("John Smith"), kApril1, kApril30).size(), 1);
    EXPECT_EQ(summaryCsv(QStringLiteral("John Smith"), kApril1, kApril30).first().at(1),
              QStringLiteral("5120"));
    // The last day of the period counts whole.
    EXPECT_EQ(summaryCsv(QStringLiteral("John Smith"), kApril1, QDate(2005, 5, 1)).size(), 2);
}

} // namespace
