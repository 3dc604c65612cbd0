#include "reports/salesperson_summary_layout.h"

#include "reports/layout_controls.h"

using namespace LayoutControls;

namespace {

void addPageHeader(ReportLayout &layout)
{
    ReportSection &header = layout.addSection(
        ReportSection(ReportSection::Kind::PageHeader, QStringLiteral("PageHeader"), 1.0625));
    const ReportStyle period{.fontSize = 11, .bold = true};
    header.add(label("Label1", 0, 1.6562, 3.1875, "Salesperson Summary Report",
                     {.fontSize = 14.5, .bold = true, .alignment = Qt::AlignHCenter}, 0.25));
    header.add(label("Label2", 0.4375, 0.125, 0.375, "For:", {.fontSize = 11.5, .bold = true}));
    header.add(field("Field1", 0.4375, 0.5, 1.5625, "", ""));
    header.add(label("Label10", 0.4375, 4.125, 0.5625, "Period:", period));
    header.add(field("Field2", 0.4375, 4.6875, 0.6875, "", "", period));
    header.add(label("Label11", 0.4375, 5.375, 0.25, "to",
                     {.fontSize = 11, .bold = true, .alignment = Qt::AlignHCenter}));
    header.add(field("Field3", 0.4375, 5.625, 0.75, "", "m/d/yy", period));
    // A heading on two lines, above the amounts it heads.
    header.add(label("Label7", 0.6875, 4.4375, 0.75, "Payable Gross", {.wordWrap = true}, 0.3125));
    header.add(label("Label3", 0.8125, 0, 0.5, "Date"));
    header.add(label("Label4", 0.8125, 0.625, 0.6875, "Stock #"));
    header.add(label("Label5", 0.8125, 1.5, 0.875, "Unit"));
    header.add(label("Label6", 0.8125, 2.75, 1.25, "Customer"));
    header.add(label("Label8", 0.8125, 5.1875, 0.75, "Commision", {.alignment = Qt::AlignHCenter}));
    header.add(label("Label9", 0.8125, 6.0625, 0.6875, "Unit Cnt"));
}

void addDetail(ReportLayout &layout)
{
    ReportSection &detail = layout.addSection(
        ReportSection(ReportSection::Kind::Detail, QStringLiteral("Detail"), kRowHeight));
    const ReportStyle centre{.alignment = Qt::AlignHCenter};
    detail.add(field("Field4", 0, 0, 0.625, "Date", "mm/dd/yy", centre));
    detail.add(field("Field5", 0, 0.625, 0.875, "Stock_Number", ""));
    detail.add(field("Field6", 0, 1.5, 1.25, "Unit", ""));
    detail.add(field("Field7", 0, 2.75, 1.625, "Customer_Name", ""));
    detail.add(field("Field8", 0, 4.4375, 0.75, "Payable_Gross", "$#,##0.00"));
    detail.add(field("Field9", 0, 5.1875, 0.8125, "Commission", "$#,##0.00", centre));
    detail.add(field("Field10", 0, 6.0625, 0.4375, "UnitCount", "", centre));
}

void addGroupFooter(ReportLayout &layout)
{
    ReportSection &footer = layout.addSection(
        ReportSection(ReportSection::Kind::GroupFooter, QStringLiteral("GroupFooter1"), 0.75));
    const ReportStyle caption{.fontSize = 11, .bold = true, .alignment = Qt::AlignRight};
    const ReportStyle total{.fontSize = 11, .bold = true};
    const auto overReport = [](ReportSummary::Function function) {
        return ReportSummary{function, ReportSummary::Scope::Report};
    };
    footer.add(line("Line3", 0, 6.6875, 0.0625));
    footer.add(label("Label12", 0.125, 3.4375, 1.3125, "Total Sold Units:", caption));
    // A split deal counts as the half unit stored on each salesperson's row.
    // The totals are wide enough for a hundred million dollars and more.
    footer.add(field("Field11", 0.125, 4.875, 1.25, "UnitCount", "", total))
        .withSummary(overReport(ReportSummary::Function::Sum));
    footer.add(label("Label13", 0.3125, 3.75, 1, "Total Gross:", caption));
    footer.add(field("Field12", 0.3125, 4.8125, 1.3125, "Payable_Gross", "$#,##0", total))
        .withSummary(overReport(ReportSummary::Function::Sum));
    footer.add(label("Label14", 0.5, 3, 1.75, "Average Gross / Unit:", caption));
    // The average per deal row, not the total gross over the units sold.
    footer.add(field("Field13", 0.5, 4.8125, 1.3125, "Payable_Gross", "$#,##0", total))
        .withSummary(overReport(ReportSummary::Function::Average));
}

} // namespace

ReportLayout salespersonSummaryLayout()
{
    ReportLayout layout(QStringLiteral("ActiveReport2"), letterWithWidth(6.75));
    addPageHeader(layout);
    layout.addSection(
        ReportSection(ReportSection::Kind::GroupHeader, QStringLiteral("GroupHeader1"), 0));
    addDetail(layout);
    addGroupFooter(layout);
    layout.addSection(
        ReportSection(ReportSection::Kind::PageFooter, QStringLiteral("PageFooter"), 0));
    return layout;
}
