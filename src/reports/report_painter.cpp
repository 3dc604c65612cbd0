#include "reports/report_painter.h"

#include "reports/report_document.h"
#include "reports/report_text_fit.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>


namespace ReportPainter {

namespace {

const QColor kGrey(210, 210, 210);

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

// The painter's font and pen, set again only when a text needs others: most
// texts of a long report share a handful of fonts and one colour.
class PaintState
{
public:
    void usePen(QPainter &painter, const QPen &pen)
    {
        painter.setPen(pen);
        m_color = pen.color();
        m_textPen = false;
    }
    void useColor(QPainter &painter, const QColor &color)
    {
        if (m_textPen && color == m_color)
            return;
        painter.setPen(color);
        m_color = color;
        m_textPen = true;
    }
    void use(QPainter &painter, const ReportStyle &style, qreal size)
    {
        if (m_set && size == m_size && style.bold == m_bold && style.fontFamily == m_family)
            return;
        painter.setFont(reportFont(style, size));
        m_set = true;
        m_size = size;
        m_bold = style.bold;
        m_family = style.fontFamily;
    }

private:
    bool m_set = false;
    bool m_textPen = false;
    QColor m_color;
    qreal m_size = 0;
    bool m_bold = false;
    QString m_family;
};

void paintText(const PlacedItem &item, const ReportStyle &style, QPainter &painter,
               const Scale &scale, PaintState &state)
{
    const QRectF box = scale(item.box);
    if (style.greyBackground)
        painter.fillRect(box, kGrey);
    if (item.text.isEmpty())
        return;
    const qreal inset = ReportTextFit::kInnerMargin * scale.x;
    const QRectF textBox = box.adjusted(inset, 0, -inset, 0);
    // The text was fitted to its box when it was placed.
    state.use(painter, style, item.fontSize > 0 ? item.fontSize : style.fontSize);
    state.useColor(painter, style.color);
    const Qt::Alignment horizontal = style.alignment & Qt::AlignHorizontal_Mask;
    const int lines = style.wordWrap ? Qt::TextWordWrap : Qt::TextSingleLine;
    painter.drawText(textBox, int(horizontal | Qt::AlignVCenter | lines), item.text);
}

} // namespace

void paintPage(const ReportDocument &document, int index, QPainter &painter, qreal dpiX,
               qreal dpiY)
{
    const Scale scale{dpiX, dpiY};
    const QPen linePen(Qt::black, dpiY / 72.0); // one point
    PaintState state;
    for (const PlacedItem &item : document.page(index)) {
        if (item.kind == PlacedItem::Kind::Line) {
            state.usePen(painter, linePen);
            painter.drawLine(scale(item.line()));
        } else {
            paintText(item, document.style(item), painter, scale, state);
        }
    }
}

void paintPage(const ReportDocument &document, int index, QPainter &painter,
               const QPagedPaintDevice &device)
{
    paintPage(document, index, painter, device.logicalDpiX(), device.logicalDpiY());
}

bool paint(const ReportDocument &document, QPagedPaintDevice &device, const Progress &progress)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    for (int index = 0; index < document.pageCount(); ++index) {
        if (index > 0)
            device.newPage();
        paintPage(document, index, painter, device);
        if (progress && !progress(index + 1, document.pageCount())) {
            painter.end();
            return false;
        }
    }
    return painter.end();
}

} // namespace ReportPainter
