// Paying and printing the commission sheet: the bonus, the week-ending date,
// the paid markings with the hand-off file, and the sheet in the preview.
#include "reports/ui/commission_sheet_window.h"

#include "common/money_format.h"
#include "reports/commission_data_file.h"
#include "reports/commission_sheet_report.h"
#include "reports/sheet_entry.h"
#include "reports/sheet_payment.h"
#include "reports/ui/commission_sheet_preview.h"
#include "store/deal_database.h"
#include "store/sheet_records.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

void CommissionSheetWindow::cmdPrintSheet_Click()
{
    m_txtTally->clear();
    m_txtBonus->clear();
    m_txtBonus2->clear();
    askBonus();
    if (!askWeekEnding())
        return; // abandoned: nothing written, nothing paid
    if (!payListedDeals())
        return;
    setListButtonsEnabled(false);
    listLedger(m_listedSalesPerson);
    showSheet();
}

void CommissionSheetWindow::askBonus()
{
    QString amount;
    for (;;) {
        amount = ask(QStringLiteral("Enter amount of bonus or spiff"),
                     QStringLiteral("Bonus / Spiffs"), QString())
                     .value_or(QString());
        // An amount too large to hold is asked for again rather than dropped.
        if (!SheetEntry::isTooLarge(amount))
            break;
        tell(QStringLiteral("The amount of the bonus is too large."),
             QStringLiteral("Bonus / Spiffs"), Prompts::Icon::Warning);
    }
    if (SheetEntry::amountOf(amount) <= Money())
        return;
    const QString description =
        ask(QStringLiteral("Enter type of bonus (ie. Plateau Bonus)"),
            QStringLiteral("Bonus / Spiff"), QStringLiteral("Plateau Bonus"))
            .value_or(QString());
    m_txtBonus->setText(amount);
    m_txtBonus2->setText(description);
}

bool CommissionSheetWindow::askWeekEnding()
{
    // A date kept from an earlier print in this window is used again.
    if (SheetEntry::isDate(m_txtWeekEnd->text()))
        return true;
    for (;;) {
        const std::optional<QString> answer =
            ask(QStringLiteral("Enter 'Week-Ending' date."), QStringLiteral("Week-Ending Date"),
                QStringLiteral("MM/DD/YYYY"));
        if (!answer)
            return false;
        if (SheetEntry::isDate(*answer)) {
            m_txtWeekEnd->setText(*answer);
            return true;
        }
        tell(QStringLiteral("You must enter a valid date! ie. (MM/DD/YYY)"),
             QStringLiteral("Week-End Date"), Prompts::Icon::None);
    }
}

bool CommissionSheetWindow::payListedDeals()
{
    const QList<qint64> rows = listedRows();
    SheetPayment::Sheet sheet{.salesPerson = m_listedSalesPerson,
                              .rowIds = rows,
                              .bonus = std::nullopt,
                              .weekEnding = m_txtWeekEnd->text(),
                              .bonusDescription = m_txtBonus2->text(),
                              .chargebackIds = listedChargebacks()};
    if (!m_txtBonus->text().isEmpty())
        sheet.bonus = SheetEntry::amountOf(m_txtBonus->text());
    sheet.volume = m_volume;
    if (m_volume && m_chkMonthBonus->isChecked())
        sheet.includeMonth = sheet.on;
    const SheetPayment::Outcome outcome = SheetPayment::pay(m_database, dataFilePath(), sheet);
    if (!outcome.paidElsewhere.isEmpty()) {
        QList<SummaryRow> gone;
        for (const qint64 rowId : outcome.paidElsewhere)
            gone << m_listedDeals.value(rowId);
        tell(SheetPayment::paidElsewhereMessage(gone), QStringLiteral("Commissions"),
             Prompts::Icon::Warning);
        listUnpaid(m_listedSalesPerson);
        return false;
    }
    if (!outcome.chargebacksElsewhere.isEmpty()) {
        tell(QStringLiteral("Chargebacks on the sheet were deducted on another sheet since the "
                            "list was shown. Nothing has been marked paid and no sheet was "
                            "printed. The list now shows what is still open; print the sheet "
                            "again from it."),
             QStringLiteral("Commissions"), Prompts::Icon::Warning);
        listUnpaid(m_listedSalesPerson);
        return false;
    }
    if (!outcome.paid) {
        tell(QStringLiteral("The commission sheet could not be printed. No deal has been marked "
                            "paid.\n\n") +
                 outcome.error,
             QStringLiteral("Error!"), Prompts::Icon::Critical);
        return false;
    }
    m_lastSheetId = outcome.sheetId;
    // With no line listed the tally stays empty.
    if (!rows.isEmpty() || !sheet.chargebackIds.isEmpty())
        m_txtTally->setText(MoneyFormat::plain(outcome.tally));
    // The sheet is recorded and prints from its record; only the hand-off
    // file is behind, and the next start writes it.
    if (!outcome.fileWritten)
        tell(outcome.error, QStringLiteral("Error!"), Prompts::Icon::Warning);
    return true;
}

void CommissionSheetWindow::showSheet()
{
    if (!m_report)
        m_report = std::make_unique<CommissionSheetReport>();
    QString why;
    const std::optional<RecordedSheet> sheet =
        SheetRecords(m_database.connection()).find(m_lastSheetId, &why);
    if (!sheet) {
        tell(QStringLiteral("The deals have been marked paid, but the commission sheet could not "
                            "be read back: %1")
                 .arg(why),
             QStringLiteral("Error!"), Prompts::Icon::Critical);
        return;
    }
    m_last = m_report->runRecorded(*sheet);
    if (m_show)
        m_show(m_last);
    else
        showPreview(m_last);
}

QString CommissionSheetWindow::dataFilePath() const
{
    return m_folder.filePath(QString::fromLatin1(CommissionDataFile::kFileName));
}

void CommissionSheetWindow::showPreview(const ReportDocument &document)
{
    showCommissionSheetPreview(m_preview, this, document, m_report->rows(), m_prompts);
}
