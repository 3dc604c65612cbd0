#pragma once

#include "reports/report_document.h"

#include <QAbstractScrollArea>

// The pages of a laid-out report one under the other, as they print, at a
// chosen zoom. Only the pages in view are painted, each time they come into
// view, straight from the document: a report of thousands of pages costs no
// more to look at than one of a single page.
class ReportPageView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit ReportPageView(QWidget *parent = nullptr);

    void setDocument(const ReportDocument &document);
    const ReportDocument &document() const { return m_document; }

    qreal zoom() const { return m_zoom; }
    void setZoom(qreal zoom);
    // The zoom at which a whole page's width fills the view.
    void fitWidth();

    // The page at the top of the view, from 0.
    int currentPage() const;
    void showPage(int index);

    // How many pages have been painted since the document was set.
    int paintedPages() const { return m_painted; }

signals:
    void currentPageChanged(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // A page's size on screen, in pixels.
    QSizeF pageSize() const;
    qreal pageStep() const; // a page and the gap below it
    void updateScrollBars();

    ReportDocument m_document;
    qreal m_zoom = 1;
    int m_painted = 0;
};
