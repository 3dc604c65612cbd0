#include "reports/salesperson_summary_report.h"

#include "reports/report_renderer.h"
#include "reports/salesperson_summary_layout.h"

namespace {

// A chosen date in the short form of the dealership's settings (12/5/2007).
// The pickers' time of day is not part of the period: the report covers
// whole days.
QString periodText(const QDate &date)
{
    return date.isValid() ? date.toString(QStringLiteral("M/d/yyyy")) : QString();
}

} // namespace

SalespersonSummaryReport::SalespersonSummaryReport() : m_layout(salespersonSummaryLayout())
{
    m_layout.section(QStringLiteral("PageHeader"))->setBeforePrint([this](ReportSection &header) {
        PageHeader_BeforePrint(header);
    });
}

void SalespersonSummaryReport::setSalesPerson(const QString &name)
{
    m_salesPerson = name;
}

void SalespersonSummaryReport::setPeriod(const QDate &start, const QDate &end)
{
    m_start = start;
    m_end = end;
}

ReportDocument SalespersonSummaryReport::run(const ReportRows &rows)
{
    return ReportRenderer(m_layout).run(rows);
}

void SalespersonSummaryReport::PageHeader_BeforePrint(ReportSection &header)
{
    header.control(QStringLiteral("Field1"))->setText(m_salesPerson);
    header.control(QStringLiteral("Field2"))->setText(periodText(m_start));
    header.control(QStringLiteral("Field3"))->setText(periodText(m_end));
}
