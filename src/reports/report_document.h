#pragma once

#include "reports/report_style.h"

#include <QLineF>
#include <QList>
#include <QPageLayout>
#include <QRectF>
#include <QString>

// One thing placed on a page: a text in its box, or a line. Positions are in
// inches from the top-left corner of the page's printable area (inside the
// margins).
struct PlacedItem
{
    enum class Kind { Text, Line };

    Kind kind = Kind::Text;
    QString control; // the layout control's name
    QRectF box;
    QLineF line;
    QString text;
    ReportStyle style;
    // The size the text prints at: the style's, or smaller to fit its box.
    qreal fontSize = 0;
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
    // Adds to the last page.
    void place(PlacedItem item) { m_pages.last().append(std::move(item)); }

    // Every placed text of every page, page by page in placing order.
    QList<PlacedText> placedTexts() const;

private:
    QPageLayout m_page;
    QList<QList<PlacedItem>> m_pages;
};
