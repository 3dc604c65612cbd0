// The sales log and the salesperson summary as they read on paper: nothing
// cut or printed over its neighbour, headings on every page, whole amounts.
#include "common/money.h"
#include "report_test_support.h"
#include "reports/report_rows.h"
#include "reports/sales_log_report.h"
#include "reports/salesperson_summary_report.h"

#include <gtest/gtest.h>

#include <algorithm>

using ReportRead::placementsOf;
using ReportRead::printingFaults;
using ReportRead::textOf;

namespace {

const QString kLongUnit = QStringLiteral("2025 EXPLORER SPT");
const QString kLongCustomer = QStringLiteral("ÉLODIE BEAUCHAMP-LÉVÊQ"); // 22 characters

QVariant money(const char *amount)
{
    return QVariant::fromValue(*MoneyText::parse(QString::fromLatin1(amount)));
}

ReportRow logRow(const QString &unit, const QString &customer, const char *gross,
                 const char *stock = "4471")
{
    return {{QStringLiteral("Date"), QStringLiteral("2025-03-07")},
            {QStringLiteral("StockNumber"), QString::fromLatin1(stock)},
            {QStringLiteral("Unit"), unit},
            {QStringLiteral("CustomerName"), customer},
            {QStringLiteral("SalesPerson"), QStringLiteral("MARGARET O'SULLIVAN-WHITE")},
            {QStringLiteral("Type"), QStringLiteral("L")},
            {QStringLiteral("TCU"), QStringLiteral("NC")},
            {QStringLiteral("Gross"), money(gross)}};
}

ReportRow summaryRow(const QString &unit, const QString &customer, const char *gross,
                     const char *units = "1")
{
    return {{QStringLiteral("Date"), QStringLiteral("2025-03-07")},
            {QStringLiteral("Stock_Number"), QStringLiteral("U88213")},
            {QStringLiteral("Unit"), unit},
            {QStringLiteral("Customer_Name"), customer},
            {QStringLiteral("Payable_Gross"), money(gross)},
            {QStringLiteral("Commission"), money(gross)},
            {QStringLiteral("UnitCount"), money(units)}};
}

ReportDocument salesLog(const ReportRows &rows)
{
    SalesLogReport report;
    report.setVehicleTitle(QStringLiteral("New Cars"));
    report.setRange(QDate(2025, 1, 1), QDate(2025, 12, 31));
    return report.run(rows);
}

ReportDocument summary(const ReportRows &rows)
{
    SalespersonSummaryReport report;
    report.setSalesPerson(QStringLiteral("Zoë Castañeda"));
    report.setPeriod(QDate(2025, 1, 1), QDate(2025, 12, 31));
    return report.run(rows);
}

TEST(PrintedSalesLog, LongUnitAndCustomerPrintSideBySideWhole)
{
    ReportRows rows;
    rows.append(logRow(kLongUnit, kLongCustomer, "2450.75", "93318"));
    const ReportDocument document = salesLog(rows);

    EXPECT_EQ(printingFaults(document), QStringList());
    EXPECT_EQ(textOf(document, QStringLiteral("txtSalesLog_Unit")), kLongUnit);
    EXPECT_EQ(textOf(document, QStringLiteral("txtSalesLog_CustomerName")), kLongCustomer);
}

TEST(PrintedSalesLog, UnitTooLongForItsColumnIsVisiblyShortened)
{
    const QString unit = QStringLiteral("2025 F-350 SUPER DUTY KING RANCH CREW CAB DUALLY");
    ReportRows rows;
    rows.append(logRow(unit, kLongCustomer, "2450.75"));
    const ReportDocument document = salesLog(rows);

    EXPECT_EQ(printingFaults(document), QStringList());
    const QString printed = *textOf(document, QStringLiteral("txtSalesLog_Unit"));
    EXPECT_TRUE(printed.endsWith(QChar(0x2026))) << printed.toStdString();
    EXPECT_TRUE(unit.startsWith(printed.chopped(1))) << printed.toStdString();
    EXPECT_GE(printed.size(), 10);
}

TEST(PrintedSalesLog, EveryPageCarriesTheColumnHeadings)
{
    ReportRows rows;
    for (int i = 0; i < 90; ++i)
        rows.append(logRow(kLongUnit, kLongCustomer, "1000", "7"));
    const ReportDocument document = salesLog(rows);

    ASSERT_EQ(document.pageCount(), 3);
    for (const char *heading : {"Label1", "lblSalesLog_Date", "lblSalesLog_StockNumber",
                                "lblSalesLog_Unit", "lblSalesLog_CustomerName",
                                "lblSalesLog_SalesPerson", "lblSalesLog_Type",
                                "lblSalesLog_Gross"}) {
        const QList<PlacedText> placed = placementsOf(document, QString::fromLatin1(heading));
        ASSERT_EQ(placed.size(), 3) << heading;
        for (int page = 0; page < 3; ++page)
            EXPECT_EQ(placed.at(page).page, page + 1) << heading;
    }
    // Each page's headings stand above its first deal line.
    const QList<PlacedText> dates = placementsOf(document, QStringLiteral("txtSalesLog_Date"));
    const QList<PlacedText> headings = placementsOf(document, QStringLiteral("lblSalesLog_Date"));
    for (int page = 1; page <= 3; ++page) {
        const auto first = std::find_if(dates.begin(), dates.end(),
                                        [page](const PlacedText &t) { return t.page == page; });
        ASSERT_NE(first, dates.end()) << page;
        EXPECT_LT(headings.at(page - 1).y, first->y) << page;
    }
    EXPECT_EQ(dates.size(), 90);
    EXPECT_EQ(placementsOf(document, QStringLiteral("Field2")).last().text, QStringLiteral("90"));
    EXPECT_EQ(printingFaults(document), QStringList());
}

TEST(PrintedSalesLog, EmptyLogNamesTheVehicleTypeAndSaysNothingMatched)
{
    const ReportDocument empty = salesLog(ReportRows());
    ASSERT_EQ(empty.pageCount(), 1);
    EXPECT_EQ(textOf(empty, QStringLiteral("lblNoDealsTitle")), QStringLiteral("New Cars"));
    EXPECT_EQ(textOf(empty, QStringLiteral("lblNoDeals")),
              QStringLiteral("No deal matched the dates chosen."));
    EXPECT_EQ(textOf(empty, QStringLiteral("txtSalesLog_Date")), std::nullopt);

    ReportRows one;
    one.append(logRow(kLongUnit, kLongCustomer, "1000"));
    const ReportDocument listed = salesLog(one);
    EXPECT_EQ(textOf(listed, QStringLiteral("lblNoDeals")), std::nullopt);
    EXPECT_EQ(textOf(listed, QStringLiteral("lblNoDealsTitle")), std::nullopt);
    EXPECT_EQ(textOf(listed, QStringLiteral("Label1")), QStringLiteral("New Cars"));
}

TEST(PrintedSalesLog, LargestAmountsAndTotalsPrintWhole)
{
    ReportRows rows;
    rows.append(logRow(kLongUnit, kLongCustomer, "99999999.99"));
    rows.append(logRow(kLongUnit, kLongCustomer, "0.01"));
    const ReportDocument document = salesLog(rows);

    EXPECT_EQ(printingFaults(document), QStringList());
    EXPECT_EQ(textOf(document, QStringLiteral("txtSalesLog_Gross")),
              QStringLiteral("$99,999,999.99"));
    EXPECT_EQ(textOf(document, QStringLiteral("Field1")), QStringLiteral("$100,000,000.00"));
    EXPECT_EQ(textOf(document, QStringLiteral("Label5")), QStringLiteral("$50000000."));
}

TEST(PrintedSummary, TwoLineHeadingAndLongUnitPrintWhole)
{
    ReportRows rows;
    rows.append(summaryRow(kLongUnit, kLongCustomer, "99999999.99"));
    rows.append(summaryRow(kLongUnit, kLongCustomer, "99999999.99", "0.5"));
    const ReportDocument document = summary(rows);

    EXPECT_EQ(printingFaults(document), QStringList());
    EXPECT_EQ(textOf(document, QStringLiteral("Label7")), QStringLiteral("Payable Gross"));
    EXPECT_EQ(textOf(document, QStringLiteral("Field6")), kLongUnit);
    EXPECT_EQ(textOf(document, QStringLiteral("Field7")), kLongCustomer);
    EXPECT_EQ(textOf(document, QStringLiteral("Field8")), QStringLiteral("$99,999,999.99"));
    EXPECT_EQ(textOf(document, QStringLiteral("Field11")), QStringLiteral("1.5"));
    EXPECT_EQ(textOf(document, QStringLiteral("Field12")), QStringLiteral("$200,000,000"));
    EXPECT_EQ(textOf(document, QStringLiteral("Field13")), QStringLiteral("$100,000,000"));
}

TEST(PrintedSummary, NinetyDealsReadFromAnyPage)
{
    ReportRows rows;
    for (int i = 0; i < 90; ++i)
        rows.append(summaryRow(kLongUnit, kLongCustomer, "1500.50"));
    const ReportDocument document = summary(rows);

    ASSERT_GE(document.pageCount(), 2);
    for (const char *heading : {"Label3", "Label4", "Label5", "Label6", "Label7", "Label8",
                                "Label9"}) {
        EXPECT_EQ(placementsOf(document, QString::fromLatin1(heading)).size(),
                  document.pageCount())
            << heading;
    }
    EXPECT_EQ(printingFaults(document), QStringList());
}

} // namespace
