#include "reports/sales_log_report.h"

#include "common/money.h"
#include "common/money_format.h"
#include "reports/report_renderer.h"
#include "reports/report_rows.h"
#include "reports/sales_log_layout.h"

SalesLogReport::SalesLogReport() : m_layout(salesLogLayout())
{
    m_layout.section(QStringLiteral("ReportHeader"))->setBeforePrint([this](ReportSection &header) {
        ReportHeader_Format(header);
    });
    m_layout.section(QStringLiteral("gfTCU"))->setBeforePrint([this](ReportSection &footer) {
        gfTCU_BeforePrint(footer);
    });
    m_layout.section(QStringLiteral("Detail"))->setBeforePrint([this](ReportSection &) {
        ++m_deals;
    });
    m_layout.section(QStringLiteral("ReportFooter"))->setBeforePrint([this](ReportSection &footer) {
        ReportFooter_BeforePrint(footer);
    });
}

void SalesLogReport::setRange(const QDate &start, const QDate &end)
{
    m_start = start;
    m_end = end;
}

void SalesLogReport::setVehicleTitle(const QString &title)
{
    m_layout.control(QStringLiteral("Label1"))->setCaption(title);
    m_layout.control(QStringLiteral("lblNoDealsTitle"))->setCaption(title);
}

ReportDocument SalesLogReport::run(const ReportRows &rows)
{
    ReportRows::Reader reader(rows);
    return run(reader);
}

ReportDocument SalesLogReport::run(ReportRowSource &rows)
{
    m_deals = 0;
    return ReportRenderer(m_layout).run(rows);
}

QList<CsvColumn> SalesLogReport::csvColumns()
{
    using Kind = CsvColumn::Kind;
    return {
        {QStringLiteral("Date"), QStringLiteral("Date"), Kind::Date},
        {QStringLiteral("Stock #"), QStringLiteral("StockNumber"), Kind::Text},
        {QStringLiteral("Unit"), QStringLiteral("Unit"), Kind::Text},
        {QStringLiteral("Customer Name"), QStringLiteral("CustomerName"), Kind::Text},
        {QStringLiteral("Sales Person"), QStringLiteral("SalesPerson"), Kind::Text},
        {QStringLiteral("Type"), QStringLiteral("Type"), Kind::Text},
        {QStringLiteral("Gross"), QStringLiteral("Gross"), Kind::Amount},
    };
}

void SalesLogReport::ReportHeader_Format(ReportSection &header)
{
    const QString picture = QStringLiteral("mm/dd/yy");
    header.control(QStringLiteral("Field3"))->setText(DateFormat::picture(m_start, picture));
    header.control(QStringLiteral("Field5"))->setText(DateFormat::picture(m_end, picture));
}

void SalesLogReport::gfTCU_BeforePrint(ReportSection &footer)
{
    const std::optional<Money> gross =
        MoneyText::parse(footer.control(QStringLiteral("Field1"))->text());
    const std::optional<Money> units =
        MoneyText::parse(footer.control(QStringLiteral("Field2"))->text());
    QString perUnit;
    QString caption;
    // The count is a whole number of deals, at least one in a group.
    if (gross && units && units->units() > 0 && units->units() % Money::kScale == 0) {
        const Money quotient = gross->dividedBy(units->units() / Money::kScale);
        perUnit = MoneyFormat::plain(quotient);
        caption = MoneyFormat::wholeDollarsWithPoint(quotient);
    }
    footer.control(QStringLiteral("Field6"))->setText(perUnit);
    footer.control(QStringLiteral("Label5"))->setCaption(caption);
}

void SalesLogReport::ReportFooter_BeforePrint(ReportSection &footer)
{
    footer.setVisible(m_deals == 0);
}
