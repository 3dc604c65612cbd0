// Paying and printing the commission sheet: the bonus, the week-ending date,
// the paid markings with the hand-off file, and the sheet in the preview.
#include "reports/ui/commission_sheet_window.h"

#include "common/money_format.h"
#include "reports/commission_sheet_report.h"
#include "reports/commission_data_file.h"
#include "reports/sheet_entry.h"
#include "reports/sheet_payment.h"
#include "reports/ui/report_preview.h"

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
    const SheetPayment::Sheet sheet{m_listedSalesPerson, rows,
                                    SheetEntry::amountOf(m_txtBonus->text())};
    const SheetPayment::Outcome outcome = SheetPayment::pay(m_database, dataFilePath(), sheet);
    if (!outcome.paid) {
        const QString what =
            outcome.markingsLeft
                ? QStringLiteral("The commission sheet could not be printed, and the listed deals "
                                 "are still marked paid.")
                : QStringLiteral("The commission sheet could not be printed. No deal has been "
                                 "marked paid.");
        tell(what + QStringLiteral("\n\n") + outcome.error, QStringLiteral("Error!"),
             Prompts::Icon::Critical);
        return false;
    }
    // With no deal listed the tally stays empty.
    if (!rows.isEmpty())
        m_txtTally->setText(MoneyFormat::plain(outcome.tally));
    return true;
}

void CommissionSheetWindow::showSheet()
{
    if (!m_report)
        m_report = std::make_unique<CommissionSheetReport>();
    const CommissionSheetFigures figures{
        .salesPerson = m_listedSalesPerson,
        .weekEnd = m_txtWeekEnd->text(),
        .tally = m_txtTally->text(),
        .bonus = m_txtBonus->text(),
        .bonusDescription = m_txtBonus2->text(),
    };
    QString why;
    const std::optional<ReportDocument> document = m_report->run(dataFilePath(), figures, &why);
    if (!document) {
        tell(QStringLiteral("The deals have been marked paid, but the commission sheet could not "
                            "be read back from \"%1\": %2")
                 .arg(QString::fromLatin1(CommissionDataFile::kFileName), why),
             QStringLiteral("Error!"), Prompts::Icon::Critical);
        return;
    }
    m_last = *document;
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
    ReportPreview::reused(m_preview, this, QStringLiteral("ActiveReport3"), QSize(1100, 850))
        ->showDocument(document, QStringLiteral("Commission Sheet"),
                       {QStringLiteral("Commission Sheet.csv"),
                        [rows = m_report->rows()](const QString &path, QString *error) {
                            return ReportCsv::save(path, CommissionSheetReport::csvColumns(), rows,
                                                   error);
                        },
                        &m_prompts});
}
