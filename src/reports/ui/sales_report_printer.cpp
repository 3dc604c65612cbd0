#include "reports/ui/sales_report_printer.h"

#include "reports/sales_log_report.h"
#include "reports/salesperson_summary_report.h"
#include "reports/report_csv.h"
#include "reports/report_rows.h"

#include <QWidget>

namespace {

const QString kSalesLog = QStringLiteral("ActiveReport1");
const QString kSummary = QStringLiteral("ActiveReport2");

} // namespace

ReportCsvExport SalesReportPrinter::csvExport(const QString &name, const QList<CsvColumn> &columns,
                                              RowsAgain again) const
{
    return {name,
            [columns, again](const QString &path, QString *error) {
                const std::unique_ptr<ReportRowSource> rows = again(error);
                return rows && ReportCsv::save(path, columns, *rows, error);
            },
            m_prompts};
}

SalesReportPrinter::RowsAgain SalesReportPrinter::heldRows(const ReportRows &rows)
{
    // The rows are shared with the caller's, not copied.
    return [rows](QString *) { return std::make_unique<ReportRows::Reader>(rows); };
}

SalesReportPrinter::SalesReportPrinter(QWidget *window, QObject *parent)
    : QObject(parent), m_window(window)
{
}

SalesReportPrinter::~SalesReportPrinter() = default;

void SalesReportPrinter::showSalesLog(const ReportRows &rows, const QString &vehicleTitle,
                                      const QDate &start, const QDate &end)
{
    ReportRows::Reader reader(rows);
    showSalesLog(reader, heldRows(rows), vehicleTitle, start, end);
}

void SalesReportPrinter::showSummary(const ReportRows &rows, const QString &salesPerson,
                                     const QDate &start, const QDate &end)
{
    ReportRows::Reader reader(rows);
    showSummary(reader, heldRows(rows), salesPerson, start, end);
}

void SalesReportPrinter::showSalesLog(ReportRowSource &rows, RowsAgain again,
                                      const QString &vehicleTitle, const QDate &start,
                                      const QDate &end)
{
    if (!m_salesLog)
        m_salesLog = std::make_unique<SalesLogReport>();
    m_salesLog->setVehicleTitle(vehicleTitle);
    m_salesLog->setRange(start, end);
    m_last = m_salesLog->run(rows);
    show(kSalesLog, QStringLiteral("Sales Log"), m_salesLogPreview,
         csvExport(QStringLiteral("Sales Log.csv"), SalesLogReport::csvColumns(), std::move(again)));
}

void SalesReportPrinter::showSummary(ReportRowSource &rows, RowsAgain again,
                                     const QString &salesPerson, const QDate &start,
                                     const QDate &end)
{
    if (!m_summary)
        m_summary = std::make_unique<SalespersonSummaryReport>();
    m_summary->setSalesPerson(salesPerson);
    m_summary->setPeriod(start, end);
    m_last = m_summary->run(rows);
    show(kSummary, QStringLiteral("Salesperson Summary Report"), m_summaryPreview,
         csvExport(QStringLiteral("Salesperson Summary.csv"),
                   SalespersonSummaryReport::csvColumns(), std::move(again)));
}

ReportPreview *SalesReportPrinter::preview(const QString &report) const
{
    if (report == kSalesLog)
        return m_salesLogPreview;
    if (report == kSummary)
        return m_summaryPreview;
    return nullptr;
}

void SalesReportPrinter::show(const QString &report, const QString &title,
                              QPointer<ReportPreview> &preview, ReportCsvExport csv)
{
    if (m_show) {
        m_show(report, m_last);
        return;
    }
    ReportPreview::reused(preview, m_window, report, QSize(820, 900))
        ->showDocument(m_last, title, std::move(csv));
}
