#include "reports/report_painter.h"

#include "reports/report_document.h"

#include <QFont>
#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>

#include <algorithm>

namespace ReportPainter {

namespace {

const QColor kGrey(210, 210, 210);
// Space kept between a text and the sides of its box, in inches, so that a
// right-aligned caption does not touch the field beside it.
constexpr qreal kInnerMargin = 0.03;
// The smallest a text is set to make it fit, as a share of its size.
constexpr qreal kSmallest = 0.7;

// Inches to device units.
struct Scale
{
    qreal x;
    qreal y;

    QRectF operator()(const QRectF &inches) const
    {
        return {inches.x() * x, inches.y() * y, inches.width() * x, inches.height() * y};
    }
    QLineF operator()(const QLineF &inches) const
    {
        return {inches.x1() * x, inches.y1() * y, inches.x2() * x, inches.y2() * y};
    }
};

QFont fontOf(const ReportStyle &style)
{
    // Faces of the same widths stand in where the named one is missing.
    QFont font;
    font.setFamilies({style.fontFamily, QStringLiteral("Liberation Sans"),
                      QStringLiteral("Nimbus Sans"), QStringLiteral("Helvetica")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(style.fontSize);
    font.setBold(style.bold);
    return font;
}

void paintText(const PlacedItem &item, QPainter &painter, const Scale &scale)
{
    const QRectF box = scale(item.box);
    if (item.style.greyBackground)
        painter.fillRect(box, kGrey);
    if (item.text.isEmpty())
        return;
    const qreal inset = kInnerMargin * scale.x;
    const QRectF textBox = box.adjusted(inset, 0, -inset, 0);
    // A text wider than its box is set smaller rather than cut, down to a
    // limit; beyond that it is cut at the box's edge.
    QFont font = fontOf(item.style);
    painter.setFont(font);
    const qreal width = painter.fontMetrics().horizontalAdvance(item.text);
    if (width > textBox.width()) {
        font.setPointSizeF(item.style.fontSize * std::max(kSmallest, textBox.width() / width));
        painter.setFont(font);
    }
    painter.setPen(item.style.color);
    const Qt::Alignment horizontal = item.style.alignment & Qt::AlignHorizontal_Mask;
    painter.save();
    painter.setClipRect(box);
    painter.drawText(textBox, int(horizontal | Qt::AlignVCenter | Qt::TextSingleLine), item.text);
    painter.restore();
}

} // namespace

void paintPage(const ReportDocument &document, int index, QPainter &painter,
               const QPagedPaintDevice &device)
{
    const Scale scale{qreal(device.logicalDpiX()), qreal(device.logicalDpiY())};
    const QPen linePen(Qt::black, device.logicalDpiY() / 72.0); // one point
    for (const PlacedItem &item : document.page(index)) {
        if (item.kind == PlacedItem::Kind::Line) {
            painter.setPen(linePen);
            painter.drawLine(scale(item.line));
        } else {
            paintText(item, painter, scale);
        }
    }
}

bool paint(const ReportDocument &document, QPagedPaintDevice &device)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    for (int index = 0; index < document.pageCount(); ++index) {
        if (index > 0)
            device.newPage();
        paintPage(document, index, painter, device);
    }
    return painter.end();
}

} // namespace ReportPainter
