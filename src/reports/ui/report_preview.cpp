#include "reports/ui/report_preview.h"

#include "common/ui/bring_up.h"
#include "reports/report_painter.h"

#include <QPrintPreviewWidget>
#include <QPrinter>

ReportPreview::ReportPreview(QWidget *parent) : QPrintPreviewDialog(parent)
{
    setWindowModality(Qt::NonModal);
    m_view = findChild<QPrintPreviewWidget *>();
    connect(this, &QPrintPreviewDialog::paintRequested, this, &ReportPreview::paintDocument);
}

ReportPreview *ReportPreview::reused(QPointer<ReportPreview> &slot, QWidget *owner,
                                     const QString &objectName, const QSize &size)
{
    if (!slot) {
        slot = new ReportPreview(owner);
        slot->setObjectName(objectName);
        slot->resize(size);
    }
    return slot;
}

void ReportPreview::showDocument(const ReportDocument &document, const QString &title)
{
    m_document = document;
    setWindowTitle(title);
    printer()->setPageLayout(document.pageLayout());
    printer()->setDocName(title);
    if (m_view)
        m_view->updatePreview();
    bringUp(*this);
}

int ReportPreview::pageCount() const
{
    return m_view ? m_view->pageCount() : 0;
}

void ReportPreview::paintDocument(QPrinter *target)
{
    ReportPainter::paint(m_document, *target);
}
