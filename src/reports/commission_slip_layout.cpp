#include "reports/commission_slip_layout.h"

namespace {

constexpr qreal kRowHeight = 0.1875;

const ReportStyle kPlain{};
const ReportStyle kBold{.bold = true};
const ReportStyle kBoldCentre{.bold = true, .alignment = Qt::AlignHCenter};
const ReportStyle kRight{.alignment = Qt::AlignRight};

QRectF at(qreal top, qreal left, qreal width, qreal height = kRowHeight)
{
    return QRectF(left, top, width, height);
}

struct LabelRow
{
    const char *name;
    qreal top;
    qreal left;
    qreal width;
    const char *caption;
    const ReportStyle &style;
};

struct FieldRow
{
    const char *name;
    qreal top;
    qreal left;
    qreal width;
    const char *outputFormat; // "" for none
    const ReportStyle &style;
};

struct LineRow
{
    const char *name;
    qreal from;
    qreal to;
    qreal top;
};

// Top to bottom as the slip reads; Label31 and Label28 are split controls.
void addLabels(ReportSection &detail)
{
    static const ReportStyle splitDeal{.alignment = Qt::AlignHCenter, .greyBackground = true};
    const LabelRow labels[] = {
        {"Label2", 0.125, 0.75, 1.1875, "SALES PERSON:", kPlain},
        {"Label31", 0.125, 3.875, 0.1875, "&", kBold},
        {"Label3", 0.5, 0.75, 1.625, "TOTAL SELLING PRICE:", kPlain},
        {"Label6", 0.5, 4.8125, 0.75, "STOCK #", kPlain},
        {"Label4", 0.875, 0.75, 1.625, "INVOICE/MEMO/ACV:", kPlain},
        {"Label33", 0.875, 4.0625, 0.9375, "CUSTOMER:", kRight},
        {"Label5", 1.25, 1.4375, 0.9375, "SALE TYPE:", kPlain},
        {"Label7", 1.75, 0.75, 1.75, "REDUCTIONS TO COST:", kPlain},
        {"Label8", 2, 0.75, 0.4375, "ITEM:", kPlain},
        {"Label9", 2.25, 0.75, 0.4375, "ITEM:", kPlain},
        {"Label10", 2.5, 0.75, 0.4375, "ITEM:", kPlain},
        {"Label11", 2.75, 0.75, 0.4375, "ITEM:", kPlain},
        {"Label12", 3, 0.75, 0.4375, "ITEM:", kPlain},
        {"Label13", 3.5, 0.75, 1.75, "ADDITIONS TO COST:", kPlain},
        {"Label14", 3.75, 0.75, 0.4375, "ITEM:", kPlain},
        {"Label15", 4, 0.75, 0.4375, "ITEM:", kPlain},
        {"Label16", 4.25, 0.75, 0.4375, "ITEM:", kPlain},
        {"Label17", 4.5, 0.75, 0.4375, "ITEM:", kPlain},
        {"Label18", 4.75, 0.75, 0.4375, "ITEM:", kPlain},
        {"Label19", 5.25, 1.25, 1.125, "APRAISAL:", kRight},
        {"Label32", 5.25, 4.0625, 0.75, "T/I Stock#:", kPlain},
        {"Label20", 5.625, 0.6875, 2, "OVER/UNDER ALLOWANCE:", kRight},
        {"Label21", 6, 1.625, 1.0625, "PACK:", kRight},
        {"Label22", 6.5625, 0.9375, 1.75, "PAYABLE GROSS:", kRight},
        {"Label23", 6.9375, 0.9375, 1.75, "COMMISSION RATE:", kRight},
        {"Label24", 7.375, 0.8125, 1, "COMMISSION", kPlain},
        {"Label25", 7.375, 3, 0.875, "WARRANTY:", kPlain},
        {"Label26", 7.375, 5, 0.5, "SPIFF:", kPlain},
        {"Label28", 7.75, 0, 1.4375, "SPLIT DEAL ", splitDeal},
        {"Label27", 7.75, 1.5, 1.5625, "TOTAL COMMISSION:", kPlain},
        {"Label29", 8.3125, 1.75, 1.5, "APPROVED BY:", kPlain},
    };
    for (const LabelRow &row : labels)
        detail.add(ReportControl::label(QString::fromLatin1(row.name),
                                        at(row.top, row.left, row.width),
                                        QString::fromLatin1(row.caption), row.style));
}

// Field35 and Field36 are split controls.
void addFields(ReportSection &detail)
{
    static const ReportStyle splitAmount{.bold = true, .greyBackground = true};
    const FieldRow fields[] = {
        {"Field1", 0.125, 2.1875, 1.8125, "", kBoldCentre},
        {"Field35", 0.125, 4.0625, 1.75, "", kBold},
        {"Field2", 0.5, 2.5625, 1.4375, "$#,##0.00", kBoldCentre},
        {"Field5", 0.5, 5.5625, 0.9375, "", kBoldCentre},
        {"Field3", 0.875, 2.5625, 1.4375, "$#,##0.00", kBoldCentre},
        {"Field38", 0.875, 5, 1.5, "", kBoldCentre},
        {"Field4", 1.25, 2.5625, 0.4375, "", kBoldCentre},
        {"Field11", 2, 1.25, 1.1875, "", kBoldCentre},
        {"Field6", 2, 2.625, 1.375, "$#,##0.00", kBoldCentre},
        {"Field12", 2.25, 1.25, 1.1875, "", kBoldCentre},
        {"Field7", 2.25, 2.625, 1.375, "$#,##0.00", kBoldCentre},
        {"Field13", 2.5, 1.25, 1.1875, "", kBoldCentre},
        {"Field8", 2.5, 2.625, 1.375, "$#,##0.00", kBoldCentre},
        {"Field14", 2.75, 1.25, 1.1875, "", kBoldCentre},
        {"Field9", 2.75, 2.625, 1.375, "$#,##0.00", kBoldCentre},
        {"Field15", 3, 1.25, 1.1875, "", kBoldCentre},
        {"Field10", 3, 2.625, 1.375, "$#,##0.00", kBoldCentre},
        {"Field21", 3.75, 1.25, 1.1875, "", kBoldCentre},
        {"Field16", 3.75, 2.6875, 1.375, "$#,##0.00", kBoldCentre},
        {"Field22", 4, 1.25, 1.1875, "", kBoldCentre},
        {"Field17", 4, 2.6875, 1.375, "$#,##0.00", kBoldCentre},
        {"Field23", 4.25, 1.25, 1.1875, "", kBoldCentre},
        {"Field18", 4.25, 2.6875, 1.375, "#,##0.00", kBoldCentre},
        {"Field24", 4.5, 1.25, 1.1875, "", kBoldCentre},
        {"Field19", 4.5, 2.6875, 1.375, "#,##0.00", kBoldCentre},
        {"Field25", 4.75, 1.25, 1.1875, "", kBoldCentre},
        {"Field20", 4.75, 2.6875, 1.375, "$#,##0.00", kBoldCentre},
        {"Field26", 5.25, 2.8125, 1, "$#,##0.00", kBoldCentre},
        {"Field37", 5.25, 4.8125, 1.1875, "", kPlain},
        {"Field27", 5.625, 2.8125, 1, "#,##0.00", kBoldCentre},
        {"Field28", 6, 2.8125, 1, "$#,##0.00", kBoldCentre},
        {"Field29", 6.5625, 2.8125, 1, "$#,##0.00", kBoldCentre},
        {"Field30", 6.9375, 2.8125, 0.4375, "0%", kBoldCentre},
        {"Field31", 7.375, 1.875, 0.9375, "$#,##0.00", kBoldCentre},
        {"Field32", 7.375, 4, 0.75, "$#,##0", kBoldCentre},
        {"Field33", 7.375, 5.5625, 0.625, "$#,##0.00", kBoldCentre},
        {"Field34", 7.75, 3, 1.25, "$#,##0.00", kBoldCentre},
        {"Field36", 7.75, 4.3125, 1.375, "$#,##0.00", splitAmount},
    };
    for (const FieldRow &row : fields)
        detail
            .add(ReportControl::field(QString::fromLatin1(row.name),
                                      at(row.top, row.left, row.width), row.style))
            .withFormat(QString::fromLatin1(row.outputFormat));
}

// The underlines, Line35 and Line37 being split controls.
void addLines(ReportSection &detail)
{
    const LineRow lines[] = {
        {"Line1", 2.125, 4.0625, 0.3125},   {"Line2", 2.5625, 4.0625, 0.6875},
        {"Line3", 2.5625, 4.0625, 1.0625},  {"Line4", 2.5625, 3, 1.4375},
        {"Line5", 5.5625, 6.5, 0.6875},     {"Line6", 1.25, 2.4375, 2.1875},
        {"Line7", 1.25, 2.4375, 2.4375},    {"Line8", 1.25, 2.4375, 2.6875},
        {"Line9", 1.25, 2.4375, 2.9375},    {"Line10", 1.25, 2.4375, 3.1875},
        {"Line11", 2.625, 4.0625, 2.1875},  {"Line12", 2.625, 4.0625, 2.4375},
        {"Line13", 2.625, 4.0625, 2.6875},  {"Line14", 2.625, 4.0625, 2.9375},
        {"Line15", 2.625, 4.0625, 3.1875},  {"Line16", 2.6875, 4.125, 3.9375},
        {"Line17", 2.6875, 4.125, 4.1875},  {"Line18", 2.6875, 4.125, 4.4375},
        {"Line19", 2.6875, 4.125, 4.6875},  {"Line20", 2.6875, 4.125, 4.9375},
        {"Line21", 1.25, 2.4375, 3.9375},   {"Line22", 1.25, 2.4375, 4.1875},
        {"Line23", 1.25, 2.4375, 4.4375},   {"Line24", 1.25, 2.4375, 4.6875},
        {"Line25", 1.25, 2.4375, 4.9375},   {"Line26", 2.8125, 3.875, 5.4375},
        {"Line27", 2.8125, 3.875, 5.8125},  {"Line28", 2.8125, 3.875, 6.1875},
        {"Line29", 2.8125, 3.875, 6.75},    {"Line30", 2.8125, 3.3125, 7.125},
        {"Line31", 1.875, 2.875, 7.5625},   {"Line32", 4, 4.8125, 7.5625},
        {"Line33", 5.5625, 6.25, 7.5625},   {"Line34", 3, 4.25, 7.9375},
        {"Line35", 4.0625, 5.8125, 0.3125}, {"Line36", 3.3125, 5.25, 8.5},
        {"Line37", 4.25, 5.625, 7.9375},    {"Line38", 4.8125, 5.9375, 5.4375},
        {"Line39", 4.9375, 6.5, 1.0625},
    };
    for (const LineRow &row : lines)
        detail.add(ReportControl::line(QString::fromLatin1(row.name),
                                       QLineF(row.from, row.top, row.to, row.top)));
}

} // namespace

ReportLayout commissionSlipLayout()
{
    ReportLayout layout(QStringLiteral("ActiveReport4"));

    ReportSection &header = layout.addSection(
        ReportSection(ReportSection::Kind::ReportHeader, QStringLiteral("ReportHeader"), 0.3125));
    header.add(ReportControl::label(
        QStringLiteral("Label30"), at(0, 1.9792, 2.5625, 0.25), QStringLiteral("COMMISSION SHEET"),
        ReportStyle{.fontSize = 14, .alignment = Qt::AlignHCenter, .greyBackground = true}));

    ReportSection &detail = layout.addSection(
        ReportSection(ReportSection::Kind::Detail, QStringLiteral("Detail"), 8.5625));
    addLabels(detail);
    addFields(detail);
    addLines(detail);
    for (const char *split : kSlipSplitControls)
        detail.control(QString::fromLatin1(split))->setVisible(false);

    layout.addSection(
        ReportSection(ReportSection::Kind::ReportFooter, QStringLiteral("ReportFooter"), 0));
    return layout;
}
