#include "reports/salesperson_statement_layout.h"

#include "reports/layout_controls.h"

#include <QPageSize>

using namespace LayoutControls;

namespace {

// A column of the statement: its head, its data field, where it lies and
// how it prints.
struct Column
{
    const char *head;
    const char *dataField;
    qreal left;
    qreal width;
    const char *format;
    Qt::Alignment alignment;
};

constexpr Qt::Alignment kLeft = Qt::AlignLeft;
constexpr Qt::Alignment kRight = Qt::AlignRight;
constexpr Qt::Alignment kCentre = Qt::AlignHCenter;

const Column kColumns[] = {
    {"Date", "Date", 0, 0.7, "mm/dd/yy", kLeft},
    {"Stock #", "Reference", 0.7, 0.8, "", kLeft},
    {"Customer / Line", "Description", 1.5, 1.8, "", kLeft},
    {"Class", "Class", 3.3, 0.4, "", kCentre},
    {"Units", "Units", 3.7, 0.45, "", kRight},
    {"Gross", "Gross", 4.15, 0.85, "$#,##0.00", kRight},
    {"Commission", "Commission", 5.0, 0.85, "$#,##0.00", kRight},
    {"Spiff", "Spiff", 5.85, 0.7, "$#,##0.00", kRight},
    {"Warranty", "Warranty", 6.55, 0.7, "$#,##0.00", kRight},
    {"Total", "Total", 7.25, 0.85, "$#,##0.00", kRight},
    {"Status", "Status", 8.2, 1.1, "", kLeft},
    {"In Net", "InNet", 9.3, 0.7, "$#,##0.00", kRight},
};

QByteArray controlName(const char *prefix, const char *dataField)
{
    return QByteArray(prefix) + dataField;
}

void addPageHeader(ReportLayout &layout)
{
    ReportSection &header = layout.addSection(
        ReportSection(ReportSection::Kind::PageHeader, QStringLiteral("PageHeader"), 0.875));
    const ReportStyle bold{.fontSize = 11, .bold = true};
    header.add(label("lblTitle", 0, 3, 4, "Salesperson Statement",
                     {.fontSize = 14.5, .bold = true, .alignment = Qt::AlignHCenter}, 0.25));
    header.add(label("lblFor", 0.3125, 0, 0.5, "For:", bold));
    header.add(field("fldSalesPerson", 0.3125, 0.5, 3, "", "", bold));
    header.add(label("lblPeriod", 0.3125, 6, 0.75, "Period:", bold));
    header.add(field("fldPeriod", 0.3125, 6.75, 3.25, "", "", bold));
    for (const Column &column : kColumns) {
        const QByteArray name = controlName("lbl", column.dataField);
        header.add(label(name.constData(), 0.5625, column.left, column.width, column.head,
                         {.bold = true, .alignment = column.alignment}));
    }
    header.add(line("Line1", 0, 10, 0.8125));
}

void addPartHeader(ReportLayout &layout)
{
    ReportSection &part = layout.addSection(
        ReportSection(ReportSection::Kind::GroupHeader, QStringLiteral("ghPart"), 0.3125)
            .withGroupField(QStringLiteral("Part")));
    part.add(field("fldPart", 0.0625, 0, 5, "Part", "", {.fontSize = 11, .bold = true}));
}

void addDetail(ReportLayout &layout)
{
    ReportSection &detail = layout.addSection(
        ReportSection(ReportSection::Kind::Detail, QStringLiteral("Detail"), kRowHeight));
    for (const Column &column : kColumns) {
        const QByteArray name = controlName("txt", column.dataField);
        detail.add(field(name.constData(), 0, column.left, column.width, column.dataField,
                         column.format, {.fontSize = 9, .alignment = column.alignment}));
    }
}

} // namespace

ReportLayout salespersonStatementLayout()
{
    ReportLayout layout(QStringLiteral("rptStatement"),
                        QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape,
                                    QMarginsF(0.5, 0.75, 0.5, 0.75), QPageLayout::Inch));
    addPageHeader(layout);
    addPartHeader(layout);
    addDetail(layout);
    layout.addSection(
        ReportSection(ReportSection::Kind::PageFooter, QStringLiteral("PageFooter"), 0));
    return layout;
}
