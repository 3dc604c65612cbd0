#include "reports/ui/sales_report_printer.h"

#include "reports/sales_log_report.h"
#include "reports/salesperson_summary_report.h"
#include "reports/report_rows.h"

#include <QWidget>

namespace {

const QString kSalesLog = QStringLiteral("ActiveReport1");
const QString kSummary = QStringLiteral("ActiveReport2");

} // namespace

SalesReportPrinter::SalesReportPrinter(QWidget *window, QObject *parent)
    : QObject(parent), m_window(window)
{
}

SalesReportPrinter::~SalesReportPrinter() = default;

void SalesReportPrinter::showSalesLog(const ReportRows &rows, const QString &vehicleTitle,
                                      const QDate &start, const QDate &end)
{
    if (!m_salesLog)
        m_salesLog = std::make_unique<SalesLogReport>();
    m_salesLog->setVehicleTitle(vehicleTitle);
    m_salesLog->setRange(start, end);
    m_last = m_salesLog->run(rows);
    show(kSalesLog, QStringLiteral("Sales Log"), m_salesLogPreview);
}

void SalesReportPrinter::showSummary(const ReportRows &rows, const QString &salesPerson,
                                     const QDate &start, const QDate &end)
{
    if (!m_summary)
        m_summary = std::make_unique<SalespersonSummaryReport>();
    m_summary->setSalesPerson(salesPerson);
    m_summary->setPeriod(start, end);
    m_last = m_summary->run(rows);
    show(kSummary, QStringLiteral("Salesperson Summary Report"), m_summaryPreview);
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
                              QPointer<ReportPreview> &preview)
{
    if (m_show) {
        m_show(report, m_last);
        return;
    }
    ReportPreview::reused(preview, m_window, report, QSize(820, 900))
        ->showDocument(m_last, title);
}
