#include "reports/commission_sheet_report.h"

#include "common/money_format.h"
#include "reports/commission_data_file.h"
#include "reports/commission_sheet_layout.h"
#include "reports/report_renderer.h"
#include "reports/report_rows.h"
#include "reports/report_summary.h"
#include "reports/sheet_entry.h"
#include "store/sheet_records.h"

namespace {

// "$####.00" and "$###.00" of a typed amount; nothing for an empty text.
QString dollarsOf(const QString &text)
{
    return text.isEmpty() ? QString() : MoneyFormat::dollars(SheetEntry::amountOf(text));
}

} // namespace

CommissionSheetReport::CommissionSheetReport() : m_layout(commissionSheetLayout())
{
    m_layout.section(QStringLiteral("ReportFooter"))->setBeforePrint([this](ReportSection &footer) {
        ReportFooter_BeforePrint(footer);
    });
}

std::optional<ReportDocument> CommissionSheetReport::run(const QString &dataFilePath,
                                                 const CommissionSheetFigures &figures,
                                                 QString *error)
{
    std::optional<ReportRows> deals = CommissionDataFile::read(dataFilePath, error);
    if (!deals)
        return std::nullopt;
    return layOut(std::move(*deals), figures);
}

ReportDocument CommissionSheetReport::runLines(const QByteArray &lines,
                                               const CommissionSheetFigures &figures)
{
    return layOut(CommissionDataFile::decodeRows(lines), figures);
}

ReportDocument CommissionSheetReport::layOut(ReportRows deals,
                                             const CommissionSheetFigures &figures)
{
    m_figures = figures;
    setHeading();
    // The net's lines below the total, on a sheet that has a net of its own.
    ReportSection &footer = *m_layout.section(QStringLiteral("ReportFooter"));
    const bool net = !m_figures.netPay.isEmpty();
    footer.setHeight(net ? 1.625 : 0.875);
    for (const char *name :
         {"Label16", "Field6", "Label17", "Field7", "Label18", "Field8", "Line8", "Line9"})
        footer.control(QString::fromLatin1(name))->setVisible(net);
    m_rows = std::move(deals);
    return ReportRenderer(m_layout).run(m_rows);
}

QList<CsvColumn> CommissionSheetReport::csvColumns()
{
    using Kind = CsvColumn::Kind;
    return {
        {QStringLiteral("Customer"), QStringLiteral("Customer_Name"), Kind::Text},
        {QStringLiteral("Stock Number"), QStringLiteral("Stock_Number"), Kind::Text},
        {QStringLiteral("Car/Truck"), QStringLiteral("TCU"), Kind::Text},
        {QStringLiteral("Gross"), QStringLiteral("Payable_Gross"), Kind::Amount},
        {QStringLiteral("Commission"), QStringLiteral("Commission"), Kind::Amount},
        {QStringLiteral("Spiff"), QStringLiteral("Spiff"), Kind::Amount},
        {QStringLiteral("Warranty"), QStringLiteral("Warranty"), Kind::Amount},
        {QStringLiteral("Total Commission"), QStringLiteral("TotalCommission"), Kind::Amount},
    };
}

ReportDocument CommissionSheetReport::runRecorded(const RecordedSheet &sheet)
{
    const auto plain = [](const std::optional<Money> &amount) {
        return amount ? MoneyFormat::plain(*amount) : QString();
    };
    // A chargeback's line names the deal's customer and the sheet that had
    // paid the deal; the hand-off file keeps the customer alone.
    const QList<ReportRow> lines = CommissionDataFile::decode(sheet.lines);
    ReportRows rows(CommissionDataFile::fieldNames());
    const qsizetype firstCharged = lines.size() - sheet.chargebacksPaidOn.size();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        ReportRow line = lines.at(i);
        if (i >= firstCharged) {
            const std::optional<qint64> paidOn = sheet.chargebacksPaidOn.at(i - firstCharged);
            const QString customer = QStringLiteral("Customer_Name");
            line[customer] = QStringLiteral("%1 (chargeback%2)")
                                 .arg(line.value(customer).toString(),
                               paidOn ? QStringLiteral(", sheet %1").arg(*paidOn) : QString());
        }
        rows.append(line);
    }
    return layOut(std::move(rows), {
                                     .salesPerson = sheet.heading.salesPerson,
                                     .weekEnd = sheet.heading.weekEnding,
                                     .tally = plain(sheet.total),
                                     .bonus = plain(sheet.heading.bonus),
                                     .bonusDescription = sheet.heading.bonusDescription,
                                     .recovered = plain(sheet.recovered),
                                     .fromEarlier = plain(sheet.carriedIn),
                                     .netPay = plain(sheet.netPay),
                                 });
}

void CommissionSheetReport::setHeading()
{
    m_layout.control(QStringLiteral("Label3"))->setCaption(m_figures.salesPerson);
    m_layout.control(QStringLiteral("Field2"))->setText(m_figures.weekEnd);
}

void CommissionSheetReport::ReportFooter_BeforePrint(ReportSection &footer)
{
    footer.control(QStringLiteral("Field3"))->setText(dollarsOf(m_figures.tally));
    footer.control(QStringLiteral("Field4"))->setText(dollarsOf(m_figures.bonus));
    footer.control(QStringLiteral("Label14"))
        ->setCaption(m_figures.bonusDescription + QStringLiteral(": "));
    const std::optional<Money> total =
        SheetEntry::amountOf(m_figures.bonus).checkedAdd(SheetEntry::amountOf(m_figures.tally));
    footer.control(QStringLiteral("Field5"))
        ->setText(total ? MoneyFormat::dollars(*total) : ReportSummary::overflowMark());
    if (m_figures.netPay.isEmpty())
        return;
    // Deductions print negative, so that the foot adds up line by line.
    const auto deducted = [](const QString &plain) {
        return MoneyFormat::dollarsGrouped(-SheetEntry::amountOf(plain));
    };
    footer.control(QStringLiteral("Field6"))->setText(deducted(m_figures.recovered));
    footer.control(QStringLiteral("Field7"))->setText(deducted(m_figures.fromEarlier));
    footer.control(QStringLiteral("Field8"))
        ->setText(MoneyFormat::dollarsGrouped(SheetEntry::amountOf(m_figures.netPay)));
}
