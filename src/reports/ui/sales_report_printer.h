#pragma once

#include "reports/report_document.h"
#include "reports/ui/report_preview.h"

#include <QDate>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class SalesLogReport;
class SalespersonSummaryReport;
class ReportRows;
class QWidget;

// Prints the sales log (SalesLogReport) and the salesperson summary
// (SalespersonSummaryReport): each report is made on first use and kept, laid out anew
// from the rows it is given and shown in a preview window of its own, which
// later requests reuse. The show step can be replaced, so the reports can be
// laid out without any window.
class SalesReportPrinter : public QObject
{
    Q_OBJECT

public:
    // `report` is "ActiveReport1" or "ActiveReport2".
    using ShowStep = std::function<void(const QString &report, const ReportDocument &)>;

    // The preview windows open over `window`, which owns them.
    explicit SalesReportPrinter(QWidget *window, QObject *parent = nullptr);
    ~SalesReportPrinter() override;

    void showSalesLog(const ReportRows &rows, const QString &vehicleTitle, const QDate &start,
                      const QDate &end);
    void showSummary(const ReportRows &rows, const QString &salesPerson, const QDate &start,
                     const QDate &end);

    // Replaces the preview windows; an empty step restores them.
    void setShowStep(ShowStep show) { m_show = std::move(show); }

    // The reports once they have been shown; nullptr before.
    SalesLogReport *salesLog() const { return m_salesLog.get(); }
    SalespersonSummaryReport *summary() const { return m_summary.get(); }
    // The pages of the last report shown.
    const ReportDocument &lastDocument() const { return m_last; }
    // A report's preview window once it has been opened; nullptr before.
    ReportPreview *preview(const QString &report) const;

private:
    void show(const QString &report, const QString &title, QPointer<ReportPreview> &preview);

    QWidget *m_window;
    std::unique_ptr<SalesLogReport> m_salesLog;
    std::unique_ptr<SalespersonSummaryReport> m_summary;
    QPointer<ReportPreview> m_salesLogPreview; // owned by m_window
    QPointer<ReportPreview> m_summaryPreview;  // owned by m_window
    ShowStep m_show;
    ReportDocument m_last;
};
