#pragma once

#include "reports/report_document.h"

#include <QDialog>
#include <QPointer>

#include <functional>
#include <memory>

class Prompts;
class QAction;
class QLabel;
class QPrinter;
class QToolBar;
class ReportPageView;

// What a preview offers under "Save as CSV…": the name it suggests and the
// step that writes the report's lines to the chosen path (false, with the
// reason, when it could not).
struct ReportCsvExport
{
    QString suggestedName;
    std::function<bool(const QString &path, QString *error)> write;
    Prompts *prompts = nullptr;
};

// The preview window of a report: its pages as they will print, with zoom
// and page controls, a print button that asks for the printer and, for the
// reports that list deals, "Save as CSV…". Only the pages in view are
// painted, from the laid-out document. Modeless: the program goes on while
// it is open, and showing another document replaces the pages in the same
// window.
class ReportPreview : public QDialog
{
    Q_OBJECT

public:
    explicit ReportPreview(QWidget *parent = nullptr);
    ~ReportPreview() override;

    // The preview kept in `slot`, made over `owner` on first use with the
    // object name and size given; later calls reuse it.
    static ReportPreview *reused(QPointer<ReportPreview> &slot, QWidget *owner,
                                 const QString &objectName, const QSize &size);

    // Shows `document`, titled `title`, and brings the window to the front.
    // "Save as CSV…" is offered when `csv` can write.
    void showDocument(const ReportDocument &document, const QString &title,
                      ReportCsvExport csv = {});

    const ReportDocument &document() const;
    // The pages the preview holds.
    int pageCount() const;
    ReportPageView *pageView() const { return m_view; }
    QPrinter *printer();
    // Prints the pages on `target` as the print dialog set it up, showing
    // the pages done with Cancel. A PDF file is written all or nothing (a
    // cancelled one is not written); a print job cancelled is aborted.
    // False when cancelled or failed.
    bool printTo(QPrinter &target);

private:
    void buildToolBar();
    void print();
    void saveCsv();
    void showPageNumber(int index);

    ReportPageView *m_view = nullptr;
    QToolBar *m_toolBar = nullptr;
    QAction *m_actSaveCsv = nullptr;
    QLabel *m_pageNumber = nullptr;
    std::unique_ptr<QPrinter> m_printer;
    ReportCsvExport m_csv;
    QString m_title;
};
