#include "reports/commission_sheet_layout.h"

#include "reports/layout_controls.h"

#include <QPageSize>

using LayoutControls::field;
using LayoutControls::label;
using LayoutControls::line;

namespace {

const ReportStyle kLeft{};
const ReportStyle kCentre{.alignment = Qt::AlignHCenter};
const ReportStyle kRight{.alignment = Qt::AlignRight};

void addAll(ReportSection &section, std::initializer_list<ReportControl> controls)
{
    for (const ReportControl &control : controls)
        section.add(control);
}

ReportSection &addSection(ReportLayout &layout, ReportSection::Kind kind, const char *name,
                          qreal height)
{
    return layout.addSection(ReportSection(kind, QString::fromLatin1(name), height));
}

void addReportHeader(ReportLayout &layout)
{
    static const ReportStyle title{
        .fontSize = 16, .bold = true, .alignment = Qt::AlignHCenter, .color = Qt::blue};
    addAll(addSection(layout, ReportSection::Kind::ReportHeader, "ReportHeader", 0.5),
           {
               label("Label1", 0.0625, 3.0625, 3.375, "Commission Sheet", title, 0.25),
               label("Label2", 0.25, 0.4375, 0.9375, "Sales Person:", kLeft),
               label("Label3", 0.25, 1.375, 1.25, "Label3", kCentre),
               label("Label12", 0.25, 6.8125, 1.375, "Week/Month Ending:", kLeft),
               field("Field2", 0.25, 8.1875, 1, "", "mm/dd/yyyy", kCentre),
               line("Line1", 1.3125, 2.6875, 0.4375),
               line("Line2", 8.125, 9.1875, 0.4375),
           });
}

void addPageHeader(ReportLayout &layout)
{
    addAll(addSection(layout, ReportSection::Kind::PageHeader, "PageHeader", 0.3125),
           {
               label("Label4", 0.0625, 0.125, 1.125, "Customer", kLeft),
               label("Label5", 0.0625, 2.125, 0.9375, "Stock Number", kCentre),
               label("Label11", 0.0625, 3.1875, 0.75, "Car/Truck", kLeft),
               label("Label6", 0.0625, 4.125, 0.9375, "Gross", kLeft),
               label("Label7", 0.0625, 5.125, 1, "Commission", kLeft),
               label("Label8", 0.0625, 6.1875, 0.75, "Spiff", kLeft),
               label("Label9", 0.0625, 6.9375, 0.9375, "Warranty", kLeft),
               label("Label10", 0.0625, 8.0625, 1.1875, "Commission", kLeft),
               line("Line3", 0.0625, 9.375, 0.25),
           });
}

void addDetail(ReportLayout &layout)
{
    addAll(
        addSection(layout, ReportSection::Kind::Detail, "Detail", LayoutControls::kRowHeight),
        {
            field("txtCustomer_Name", 0, 0.125, 1.9375, "Customer_Name", "", kLeft),
            field("txtStock_Number", 0, 2.125, 0.9375, "Stock_Number", "", kLeft),
            field("txtTCU", 0, 3.3125, 0.4375, "TCU", "", kCentre),
            field("txtPayable_Gross", 0, 4.125, 0.9375, "Payable_Gross", "#,##0.00", kLeft),
            field("txtCommission", 0, 5.125, 1, "Commission", "$#,##0.00", kLeft),
            field("txtSpiff", 0, 6.1875, 0.75, "Spiff", "$#,##0.00", kLeft),
            field("txtWarranty", 0, 6.9375, 0.9375, "Warranty", "$#,##0.00", kLeft),
            field("txtTotalCommission", 0, 8.0625, 1.1875, "TotalCommission", "$#,##0.00", kLeft),
        });
}

void addPageFooter(ReportLayout &layout)
{
    addAll(addSection(layout, ReportSection::Kind::PageFooter, "PageFooter", 0.25),
           {field("Field1", 0, 0.125, 1, "", "").hidden()});
}

// The footer's three amounts are filled from code as it is about to print.
void addReportFooter(ReportLayout &layout)
{
    addAll(addSection(layout, ReportSection::Kind::ReportFooter, "ReportFooter", 0.875),
           {
               label("Label13", 0.125, 6.375, 1.6875, "Commission: ", kRight),
               field("Field3", 0.125, 8.0625, 1.1875, "", "", kLeft),
               label("Label14", 0.375, 5.6875, 2.375, "Label14", kRight),
               field("Field4", 0.375, 8.0625, 1.1875, "", "", kLeft),
               label("Label15", 0.625, 6.375, 1.6875, "Total Commission: ", kRight),
               field("Field5", 0.625, 8.0625, 1.1875, "", "", kLeft),
               line("Line4", 8.0625, 9.25, 0.3125),
               line("Line5", 8.0625, 9.25, 0.5625),
               line("Line6", 8.0625, 9.25, 0.8125),
               line("Line7", 0.0625, 9.375, 0.0625),
           });
    // A sheet that deducted a draw or an earlier sheet's negative net pays a
    // net of its own, below its total; the lines are shown only then.
    ReportSection &footer = *layout.section(QStringLiteral("ReportFooter"));
    for (ReportControl control :
         {label("Label16", 0.875, 5.6875, 2.375, "Draw Recovered: ", kRight),
          field("Field6", 0.875, 8.0625, 1.1875, "", "", kLeft),
          label("Label17", 1.125, 5.6875, 2.375, "From Earlier Sheets: ", kRight),
          field("Field7", 1.125, 8.0625, 1.1875, "", "", kLeft),
          label("Label18", 1.375, 5.6875, 2.375, "Net Pay: ", kRight),
          field("Field8", 1.375, 8.0625, 1.1875, "", "", kLeft),
          line("Line8", 8.0625, 9.25, 1.3125), line("Line9", 8.0625, 9.25, 1.5625)})
        footer.add(control).setVisible(false);
}

} // namespace

ReportLayout commissionSheetLayout()
{
    ReportLayout layout(QStringLiteral("ActiveReport3"),
                        QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape,
                                    QMarginsF(0.5, 0.75, 0.5, 0.75), QPageLayout::Inch));
    addReportHeader(layout);
    addPageHeader(layout);
    addDetail(layout);
    addPageFooter(layout);
    addReportFooter(layout);
    return layout;
}
