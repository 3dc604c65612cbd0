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

ReportDocument SalespersonSummaryReport::run(ReportRowSource &rows)
{
    return ReportRenderer(m_layout).run(rows);
}

QList<CsvColumn> SalespersonSummaryReport::csvColumns()
{
    using Kind = CsvColumn::Kind;
    return {
        {QStringLiteral("Date"), QStringLiteral("Date"), Kind::Date},
        {QStringLiteral("Stock #"), QStringLiteral("Stock_Number"), Kind::Text},
        {QStringLiteral("Unit"), QStringLiteral("Unit"), Kind::Text},
        {QStringLiteral("Customer"), QStringLiteral("Customer_Name"), Kind::Text},
        {QStringLiteral("Payable Gross"), QStringLiteral("Payable_Gross"), Kind::Amount},
        {QStringLiteral("Commission"), QStringLiteral("Commission"), Kind::Amount},
        {QStringLiteral("Unit Cnt"), QStringLiteral("UnitCount"), Kind::Number},
    };
}

void SalespersonSummaryReport::PageHeader_BeforePrint(ReportSection &header)
{
    header.control(QStringLiteral("Field1"))->setText(m_salesPerson);
    header.control(QStringLiteral("Field2"))->setText(periodText(m_start));
    header.control(QStringLiteral("Field3"))->setText(periodText(m_end));
}
