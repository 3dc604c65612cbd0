#include "reports/ui/sales_report_printer.h"

#include "reports/kept_row_source.h"
#include "reports/sales_log_report.h"
#include "reports/salesperson_statement_report.h"
#include "reports/salesperson_summary_report.h"
#include "reports/report_csv.h"
#include "reports/report_rows.h"

#include <QWidget>

namespace {

const QString kSalesLog = QStringLiteral("ActiveReport1");
const QString kSummary = QStringLiteral("ActiveReport2");
const QString kStatement = QStringLiteral("rptStatement");

} // namespace

namespace {

QStringList fieldsOf(const QList<CsvColumn> &columns)
{
    QStringList fields;
    for (const CsvColumn &column : columns)
        fields << column.dataField;
    return fields;
}

} // namespace

ReportCsvExport SalesReportPrinter::csvExport(const QString &name, const QList<CsvColumn> &columns,
                                              const ReportRows &rows) const
{
    return {name,
            [columns, rows](const QString &path, QString *error) {
                return ReportCsv::save(path, columns, rows, error);
            },
            m_prompts};
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
    showSalesLog(reader, vehicleTitle, start, end);
}

void SalesReportPrinter::showSummary(const ReportRows &rows, const QString &salesPerson,
                                     const QDate &start, const QDate &end)
{
    ReportRows::Reader reader(rows);
    showSummary(reader, salesPerson, start, end);
}

void SalesReportPrinter::showSalesLog(ReportRowSource &rows, const QString &vehicleTitle,
                                      const QDate &start, const QDate &end)
{
    if (!m_salesLog)
        m_salesLog = std::make_unique<SalesLogReport>();
    m_salesLog->setVehicleTitle(vehicleTitle);
    m_salesLog->setRange(start, end);
    const QList<CsvColumn> columns = SalesLogReport::csvColumns();
    KeptRowSource read(rows, fieldsOf(columns));
    m_last = m_salesLog->run(read);
    show(kSalesLog, QStringLiteral("Sales Log"), m_salesLogPreview,
         csvExport(QStringLiteral("Sales Log.csv"), columns, read.kept()));
}

void SalesReportPrinter::showSummary(ReportRowSource &rows, const QString &salesPerson,
                                     const QDate &start, const QDate &end)
{
    if (!m_summary)
        m_summary = std::make_unique<SalespersonSummaryReport>();
    m_summary->setSalesPerson(salesPerson);
    m_summary->setPeriod(start, end);
    const QList<CsvColumn> columns = SalespersonSummaryReport::csvColumns();
    KeptRowSource read(rows, fieldsOf(columns));
    m_last = m_summary->run(read);
    show(kSummary, QStringLiteral("Salesperson Summary Report"), m_summaryPreview,
         csvExport(QStringLiteral("Salesperson Summary.csv"), columns, read.kept()));
}

void SalesReportPrinter::showStatement(const ReportRows &rows, const QString &salesPerson,
                                       const StatementPeriod &period)
{
    if (!m_statement)
        m_statement = std::make_unique<SalespersonStatementReport>();
    m_statement->setHeading(salesPerson, period);
    m_last = m_statement->run(rows);
    show(kStatement, QStringLiteral("Salesperson Statement"), m_statementPreview,
         csvExport(QStringLiteral("Salesperson Statement.csv"),
                   SalespersonStatementReport::csvColumns(), rows));
}

ReportPreview *SalesReportPrinter::preview(const QString &report) const
{
    if (report == kSalesLog)
        return m_salesLogPreview;
    if (report == kSummary)
        return m_summaryPreview;
    if (report == kStatement)
        return m_statementPreview;
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
