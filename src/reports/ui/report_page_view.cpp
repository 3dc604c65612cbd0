#include "reports/ui/report_page_view.h"

#include "reports/report_painter.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kGap = 12; // pixels around and between the pages
const QColor kDesk(128, 128, 128);

} // namespace

ReportPageView::ReportPageView(QWidget *parent) : QAbstractScrollArea(parent)
{
    viewport()->setAutoFillBackground(false);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { emit currentPageChanged(currentPage()); });
}

void ReportPageView::setDocument(const ReportDocument &document)
{
    m_document = document;
    m_painted = 0;
    updateScrollBars();
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

void ReportPageView::setZoom(qreal zoom)
{
    const int page = currentPage();
    m_zoom = std::clamp<qreal>(zoom, 0.1, 8);
    updateScrollBars();
    showPage(page);
    viewport()->update();
}

void ReportPageView::fitWidth()
{
    const qreal inches = m_document.pageLayout().fullRect(QPageLayout::Inch).width();
    if (inches > 0)
        setZoom((viewport()->width() - 2 * kGap) / (inches * logicalDpiX()));
}

QSizeF ReportPageView::pageSize() const
{
    const QRectF inches = m_document.pageLayout().fullRect(QPageLayout::Inch);
    return {inches.width() * logicalDpiX() * m_zoom, inches.height() * logicalDpiY() * m_zoom};
}

qreal ReportPageView::pageStep() const
{
    return pageSize().height() + kGap;
}

int ReportPageView::currentPage() const
{
    if (m_document.pageCount() == 0)
        return 0;
    // A pixel of rounding in the scroll position is not the page above.
    const int page = int((verticalScrollBar()->value() + 1) / pageStep());
    return std::clamp(page, 0, m_document.pageCount() - 1);
}

void ReportPageView::showPage(int index)
{
    verticalScrollBar()->setValue(int(std::ceil(index * pageStep())));
}

void ReportPageView::updateScrollBars()
{
    const QSizeF page = pageSize();
    const qreal height = m_document.pageCount() * pageStep() + kGap;
    const int width = int(std::ceil(page.width())) + 2 * kGap;
    verticalScrollBar()->setRange(0, std::max(0, int(height) - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(std::max(1, int(page.height() / 20)));
    horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
}

void ReportPageView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void ReportPageView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    painter.fillRect(event->rect(), kDesk);
    if (m_document.pageCount() == 0)
        return;
    const QSizeF page = pageSize();
    const qreal top = verticalScrollBar()->value();
    const qreal left = std::max<qreal>(kGap, (viewport()->width() - page.width()) / 2) -
                       horizontalScrollBar()->value();
    const int first = std::max(0, int((top + event->rect().top()) / pageStep()));
    const int last = std::min(m_document.pageCount() - 1,
                              int((top + event->rect().bottom()) / pageStep()));
    const QRectF inset = m_document.pageLayout().paintRect(QPageLayout::Inch);
    // Texts are sized for the screen's resolution; the zoom scales the
    // painter, so that they grow and shrink with their boxes.
    const qreal dpiX = logicalDpiX();
    const qreal dpiY = logicalDpiY();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (int index = first; index <= last; ++index) {
        const QRectF sheet(left, kGap + index * pageStep() - top, page.width(), page.height());
        painter.fillRect(sheet, Qt::white);
        painter.save();
        painter.translate(sheet.left() + inset.left() * dpiX * m_zoom,
                          sheet.top() + inset.top() * dpiY * m_zoom);
        painter.scale(m_zoom, m_zoom);
        ReportPainter::paintPage(m_document, index, painter, dpiX, dpiY);
        painter.restore();
        ++m_painted;
    }
}
