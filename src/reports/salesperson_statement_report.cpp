#include "reports/salesperson_statement_report.h"

#include "reports/report_renderer.h"
#include "reports/salesperson_statement_layout.h"

SalespersonStatementReport::SalespersonStatementReport()
    : m_layout(salespersonStatementLayout())
{
    m_layout.section(QStringLiteral("PageHeader"))->setBeforePrint([this](ReportSection &header) {
        PageHeader_BeforePrint(header);
    });
}

void SalespersonStatementReport::setHeading(const QString &salesPerson,
                                            const StatementPeriod &period)
{
    m_salesPerson = salesPerson;
    m_period = period;
}

ReportDocument SalespersonStatementReport::run(const ReportRows &rows)
{
    return ReportRenderer(m_layout).run(rows);
}

QList<CsvColumn> SalespersonStatementReport::csvColumns()
{
    using Kind = CsvColumn::Kind;
    return {
        {QStringLiteral("Part"), QStringLiteral("Part"), Kind::Text},
        {QStringLiteral("Date"), QStringLiteral("Date"), Kind::Date},
        {QStringLiteral("Stock #"), QStringLiteral("Reference"), Kind::Text},
        {QStringLiteral("Customer / Line"), QStringLiteral("Description"), Kind::Text},
        {QStringLiteral("Class"), QStringLiteral("Class"), Kind::Text},
        {QStringLiteral("Units"), QStringLiteral("Units"), Kind::Number},
        {QStringLiteral("Gross"), QStringLiteral("Gross"), Kind::Amount},
        {QStringLiteral("Commission"), QStringLiteral("Commission"), Kind::Amount},
        {QStringLiteral("Spiff"), QStringLiteral("Spiff"), Kind::Amount},
        {QStringLiteral("Warranty"), QStringLiteral("Warranty"), Kind::Amount},
        {QStringLiteral("Total"), QStringLiteral("Total"), Kind::Amount},
        {QStringLiteral("Status"), QStringLiteral("Status"), Kind::Text},
        {QStringLiteral("In Net"), QStringLiteral("InNet"), Kind::Amount},
    };
}

void SalespersonStatementReport::PageHeader_BeforePrint(ReportSection &header)
{
    header.control(QStringLiteral("fldSalesPerson"))->setText(m_salesPerson);
    header.control(QStringLiteral("fldPeriod"))->setText(m_period.text());
}
