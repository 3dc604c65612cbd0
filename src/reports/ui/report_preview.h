#pragma once

#include "reports/report_document.h"

#include <QPointer>
#include <QPrintPreviewDialog>

class QPrintPreviewWidget;
class QPrinter;

// The preview window of a report: its pages as they will print, with the
// usual zoom and page controls and a print button that asks for the printer.
// Modeless: the program goes on while it is open, and showing another
// document replaces the pages in the same window.
class ReportPreview : public QPrintPreviewDialog
{
    Q_OBJECT

public:
    explicit ReportPreview(QWidget *parent = nullptr);

    // The preview kept in `slot`, made over `owner` on first use with the
    // object name and size given; later calls reuse it.
    static ReportPreview *reused(QPointer<ReportPreview> &slot, QWidget *owner,
                                 const QString &objectName, const QSize &size);

    // Shows `document`, titled `title`, and brings the window to the front.
    void showDocument(const ReportDocument &document, const QString &title);

    const ReportDocument &document() const { return m_document; }
    // The pages the preview holds.
    int pageCount() const;

private:
    void paintDocument(QPrinter *printer);

    ReportDocument m_document;
    QPrintPreviewWidget *m_view = nullptr;
};
