#pragma once

#include "reports/report_style.h"

#include <QLineF>
#include <QList>
#include <QPageLayout>
#include <QRectF>
#include <QString>

// One thing placed on a page: a text in its box, or a line. Positions are in
// inches from the top-left corner of the page's printable area (inside the
// margins). Kept small, for a long report places hundreds of thousands: the
// style is the document's (ReportDocument::style), and a line's two ends are
// the corners of its box.
struct PlacedItem
{
    enum class Kind : quint8 { Text, Line };

    Kind kind = Kind::Text;
    quint16 styleIndex = 0;
    // The size the text prints at: its style's, or smaller to fit its box.
    float fontSize = 0;
    QString control; // the layout control's name
    QRectF box;
    QString text;

    QLineF line() const { return {box.topLeft(), box.bottomRight()}; }
    void setLine(const QLineF &line) { box = QRectF(line.p1(), line.p2()); }
};

// A placed text as tests read it: page number (from 1), position in inches,
// the text and the control it came from.
struct PlacedText
{
    int page = 0;
    qreal x = 0;
    qreal y = 0;
    QString text;
    QString control;
};

// The pages of a report laid out, ready to be painted or read: what the
// renderer produces and every output draws from.
class ReportDocument
{
public:
    ReportDocument() = default;
    explicit ReportDocument(const QPageLayout &page) : m_page(page) {}

    const QPageLayout &pageLayout() const { return m_page; }
    int pageCount() const { return int(m_pages.size()); }
    const QList<PlacedItem> &page(int index) const { return m_pages.at(index); }

    void startPage() { m_pages.append(QList<PlacedItem>()); }
    // Adds to the last page, in `style` (ignored for a line).
    void place(PlacedItem item, const ReportStyle &style = {});
    // The style a text was placed in.
    const ReportStyle &style(const PlacedItem &item) const { return m_styles.at(item.styleIndex); }

    // Every placed text of every page, page by page in placing order.
    QList<PlacedText> placedTexts() const;

private:
    QPageLayout m_page;
    QList<QList<PlacedItem>> m_pages;
    QList<ReportStyle> m_styles{ReportStyle()}; // each distinct style once
    int m_lastStyle = 0;
};
