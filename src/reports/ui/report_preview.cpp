#include "reports/ui/report_preview.h"

#include "reports/report_painter.h"

#include <QPrintPreviewWidget>
#include <QPrinter>

ReportPreview::ReportPreview(QWidget *parent) : QPrintPreviewDialog(parent)
{
    setWindowModality(Qt::NonModal);
    m_view = findChild<QPrintPreviewWidget *>();
    connect(this, &QPrintPreviewDialog::paintRequested, this, &ReportPreview::paintDocument);
}

void ReportPreview::showDocument(const ReportDocument &document, const QString &title)
{
    m_document = document;
    setWindowTitle(title);
    printer()->setPageLayout(document.pageLayout());
    printer()->setDocName(title);
    if (m_view)
        m_view->updatePreview();
    show();
    raise();
    activateWindow();
}

int ReportPreview::pageCount() const
{
    return m_view ? m_view->pageCount() : 0;
}

void ReportPreview::paintDocument(QPrinter *target)
{
    ReportPainter::paint(m_document, *target);
}
