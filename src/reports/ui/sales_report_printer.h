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
class SalespersonStatementReport;
class SalespersonSummaryReport;
struct StatementPeriod;
struct CsvColumn;
class Prompts;
class ReportRows;
class ReportRowSource;
class QWidget;

// Prints the sales log (SalesLogReport), the salesperson summary
// (SalespersonSummaryReport) and the salesperson's statement
// (SalespersonStatementReport): each report is made on first use and kept, laid out anew
// from the rows it is given and shown in a preview window of its own, which
// later requests reuse. The show step can be replaced, so the reports can be
// laid out without any window.
class SalesReportPrinter : public QObject
{
    Q_OBJECT

public:
    // `report` is "ActiveReport1", "ActiveReport2" or "rptStatement".
    using ShowStep = std::function<void(const QString &report, const ReportDocument &)>;

    // The preview windows open over `window`, which owns them.
    explicit SalesReportPrinter(QWidget *window, QObject *parent = nullptr);
    ~SalesReportPrinter() override;

    // Lays the report out reading `rows` one at a time. "Save as CSV…"
    // writes the rows as they were read for the pages shown.
    void showSalesLog(ReportRowSource &rows, const QString &vehicleTitle, const QDate &start,
                      const QDate &end);
    void showSummary(ReportRowSource &rows, const QString &salesPerson, const QDate &start,
                     const QDate &end);
    // The same from rows held in memory.
    void showSalesLog(const ReportRows &rows, const QString &vehicleTitle, const QDate &start,
                      const QDate &end);
    void showSummary(const ReportRows &rows, const QString &salesPerson, const QDate &start,
                     const QDate &end);
    // The statement's lines (SalespersonStatement::rows); "Save as CSV…"
    // writes the same lines.
    void showStatement(const ReportRows &rows, const QString &salesPerson,
                       const StatementPeriod &period);

    // Where the previews ask for the file of "Save as CSV…" and tell when it
    // could not be written; without it the command is not offered.
    void setPrompts(Prompts *prompts) { m_prompts = prompts; }

    // Replaces the preview windows; an empty step restores them.
    void setShowStep(ShowStep show) { m_show = std::move(show); }

    // The reports once they have been shown; nullptr before.
    SalesLogReport *salesLog() const { return m_salesLog.get(); }
    SalespersonSummaryReport *summary() const { return m_summary.get(); }
    SalespersonStatementReport *statement() const { return m_statement.get(); }
    // The pages of the last report shown.
    const ReportDocument &lastDocument() const { return m_last; }
    // A report's preview window once it has been opened; nullptr before.
    ReportPreview *preview(const QString &report) const;

private:
    ReportCsvExport csvExport(const QString &name, const QList<CsvColumn> &columns,
                              const ReportRows &rows) const;
    void show(const QString &report, const QString &title, QPointer<ReportPreview> &preview,
              ReportCsvExport csv);

    QWidget *m_window;
    std::unique_ptr<SalesLogReport> m_salesLog;
    std::unique_ptr<SalespersonSummaryReport> m_summary;
    std::unique_ptr<SalespersonStatementReport> m_statement;
    QPointer<ReportPreview> m_salesLogPreview; // owned by m_window
    QPointer<ReportPreview> m_summaryPreview;  // owned by m_window
    QPointer<ReportPreview> m_statementPreview; // owned by m_window
    ShowStep m_show;
    Prompts *m_prompts = nullptr;
    ReportDocument m_last;
};
