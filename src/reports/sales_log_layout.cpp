#include "reports/sales_log_layout.h"

#include "reports/layout_controls.h"

using namespace LayoutControls;

namespace {

const QColor kBlue = QColor(Qt::blue);

void addReportHeader(ReportLayout &layout)
{
    ReportSection &header = layout.addSection(
        ReportSection(ReportSection::Kind::ReportHeader, QStringLiteral("ReportHeader"), 0.75));
    header.add(label("lblReportTitle", 0.125, 2.1875, 3.25, "SalesLog",
                     {.fontSize = 28, .alignment = Qt::AlignHCenter, .color = kBlue}, 0.4375));
    header.add(label("Label7", 0.3125, 0.5625, 1.3125, "For Dates",
                     {.alignment = Qt::AlignHCenter, .color = kBlue}));
    header.add(field("Field3", 0.5, 0.25, 0.875, "", "mm/dd/yyyy",
                     {.alignment = Qt::AlignRight, .color = kBlue}));
    header.add(field("Field4", 0.5, 1.125, 0.25, "", "", {.color = kBlue}))
        .setText(QStringLiteral(" to "));
    header.add(field("Field5", 0.5, 1.375, 0.6875, "", "", {.color = kBlue}));
    header.add(
        label("Label6", 0.5, 3.5625, 0.5, "for",
              {.fontSize = 12, .bold = true, .alignment = Qt::AlignHCenter, .color = kBlue}));
}

void addGroupHeader(ReportLayout &layout)
{
    ReportSection &header = layout.addSection(
        ReportSection(ReportSection::Kind::GroupHeader, QStringLiteral("ghTCU"), 0.625)
            .withGroupField(QStringLiteral("TCU"))
            .repeatedOnEachPage());
    header.add(label(
        "Label1", 0, 2.1875, 3.25, "Vehicle type",
        {.fontSize = 14.5, .bold = true, .alignment = Qt::AlignHCenter, .color = kBlue}, 0.25));
    const ReportStyle bold{.bold = true};
    header.add(label("lblSalesLog_Date", 0.375, 0, 0.625, "Date",
                     {.bold = true, .alignment = Qt::AlignHCenter}));
    header.add(label("lblSalesLog_StockNumber", 0.375, 0.8125, 0.625, "Stock #", bold));
    header.add(label("lblSalesLog_Unit", 0.375, 1.5, 0.75, "Unit", bold));
    header.add(label("lblSalesLog_CustomerName", 0.375, 2.625, 1.1875, "Customer Name", bold));
    header.add(label("lblSalesLog_SalesPerson", 0.375, 4.125, 1.125, "Sales Person", bold));
    header.add(label("lblSalesLog_Type", 0.375, 6.3125, 0.4375, "Type", bold));
    header.add(label("lblSalesLog_Gross", 0.375, 6.75, 0.625, "Gross", bold));
    header.add(line("Line4", 0.0625, 7.375, 0.25));
}

void addDetail(ReportLayout &layout)
{
    constexpr qreal kHeight = 0.25;
    ReportSection &detail = layout.addSection(
        ReportSection(ReportSection::Kind::Detail, QStringLiteral("Detail"), kHeight));
    const ReportStyle small{.fontSize = 9};
    detail.add(field("txtSalesLog_Date", 0, 0.125, 0.625, "Date", "mm/dd/yy", small, kHeight));
    detail.add(
        field("txtSalesLog_StockNumber", 0, 0.8125, 0.625, "StockNumber", "", small, kHeight));
    // The unit ends where the customer begins; a longer one is set smaller
    // or shortened (the CSV export keeps it whole).
    detail.add(field("txtSalesLog_Unit", 0, 1.5, 1.125, "Unit", "", small, kHeight));
    detail.add(
        field("txtSalesLog_CustomerName", 0, 2.625, 1.4375, "CustomerName", "", small, kHeight));
    detail.add(
        field("txtSalesLog_SalesPerson", 0, 4.125, 2.0625, "SalesPerson", "", small, kHeight));
    detail.add(field("txtSalesLog_Type", 0, 6.3125, 0.4375, "Type", "",
                     {.fontSize = 9, .alignment = Qt::AlignHCenter}, kHeight));
    detail.add(field("txtSalesLog_Gross", 0, 6.75, 0.75, "Gross", "$#,##0.00", small, kHeight));
}

void addGroupFooter(ReportLayout &layout)
{
    ReportSection &footer = layout.addSection(
        ReportSection(ReportSection::Kind::GroupFooter, QStringLiteral("gfTCU"), 0.9375));
    const ReportStyle boldSmall{.fontSize = 9, .bold = true};
    const ReportStyle boldRight{.bold = true, .alignment = Qt::AlignRight};
    footer.add(line("Line3", 0.0625, 7.375, 0.0625));
    footer.add(label("Label2", 0.25, 5.5, 0.875,
                     "Ttl Units:", {.fontSize = 9, .bold = true, .alignment = Qt::AlignRight}));
    // Every deal of the group is a unit, whether or not it has a stock number;
    // the line of a deal unwound whole counts it back out, that of a part
    // unwound counts nothing.
    footer.add(field("Field2", 0.25, 6.4375, 0.8125, "", "", boldSmall))
        .withSummary({ReportSummary::Function::Count, ReportSummary::Scope::Group,
                      QStringLiteral("UnitsCounted")});
    footer.add(label("Label3", 0.4375, 5.5, 0.875, "Ttl Gross:", boldRight));
    // Wide enough for totals of a hundred million dollars and more.
    footer.add(field("Field1", 0.4375, 6.4375, 1.0625, "Gross", "$#,##0.00", boldSmall))
        .withSummary({ReportSummary::Function::Sum, ReportSummary::Scope::Group});
    footer.add(field("Field6", 0.6875, 4.625, 0.75, "", "$#,##0.00", {.bold = true})).hidden();
    footer.add(label("Label4", 0.6875, 5.375, 1, "Gross/Unit:", boldRight));
    footer.add(label("Label5", 0.6875, 6.4375, 0.875, "Label5", {.bold = true}));
}

// Prints only when no deal matched: the vehicle type, where the group
// header would have named it, and a line saying so.
void addReportFooter(ReportLayout &layout)
{
    ReportSection &footer = layout.addSection(
        ReportSection(ReportSection::Kind::ReportFooter, QStringLiteral("ReportFooter"), 0.75));
    footer.add(label(
        "lblNoDealsTitle", 0, 2.1875, 3.25, "Vehicle type",
        {.fontSize = 14.5, .bold = true, .alignment = Qt::AlignHCenter, .color = kBlue}, 0.25));
    footer.add(label("lblNoDeals", 0.375, 0.125, 7.25, "No deal matched the dates chosen.",
                     {.alignment = Qt::AlignHCenter}));
}

} // namespace

ReportLayout salesLogLayout()
{
    ReportLayout layout(QStringLiteral("ActiveReport1"), letterWithWidth(7.5));
    addReportHeader(layout);
    addGroupHeader(layout);
    addDetail(layout);
    addGroupFooter(layout);
    addReportFooter(layout);
    return layout;
}
