#pragma once

#include "common/program_folder.h"
#include "common/prompts.h"
#include "reports/report_document.h"
#include "reports/ui/report_preview.h"
#include "store/commission_payments.h"
#include "store/deal_unwinds.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class CommissionSheetReport;
class QBoxLayout;
class QCheckBox;
class DealDatabase;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QToolBar;
class PayrollExportWindow;
class SheetHistoryWindow;

// The commission sheet window "Commissions": the unpaid deals of one
// salesperson, from which the user drops the deals not to be paid now and
// prints the sheet, which marks the listed deals paid.
//
// Each grid row carries the identity of its own SalesSummary row, so a row
// pays exactly that deal even when two deals share a stock number. The paid
// markings and the sheet that lists them are recorded together or not at
// all, and belong to the salesperson whose deals are listed; the hand-off
// file "data.txt" follows the recorded sheet. A sheet some of whose deals
// another desk paid or removed since they were listed pays nothing: the user
// is told which, and the list is read again. Reprint Sheet… lists the
// salesperson's recorded sheets to print again or void; Export for
// Payroll… writes the sheets of a period for payroll. While the window is
// open the main window's toolbar is disabled; it is
// enabled again however the window is closed.
class CommissionSheetWindow : public QWidget
{
    Q_OBJECT

public:
    using ShowStep = std::function<void(const ReportDocument &)>;

    // `mainToolBar` is the main window's tbrMain (may be nullptr).
    CommissionSheetWindow(DealDatabase &database, const ProgramFolder &folder, Prompts &prompts,
          QToolBar *mainToolBar, QWidget *parent = nullptr);
    ~CommissionSheetWindow() override;

    // The window as it opens: the salesperson list read afresh, no deal
    // listed, no bonus, tally or week-ending date kept from before.
    void Form_Load();
    // Each time the window becomes active: centred, its top 2400 twips from
    // the top of the screen, the grid's column widths set, Remove Record and
    // Print Sheet disabled, the main toolbar disabled.
    void Form_Activate();

    // Replaces the preview window; an empty step restores it.
    void setShowStep(ShowStep show) { m_show = std::move(show); }
    // The sheet of the last print.
    const ReportDocument &lastDocument() const { return m_last; }
    // The preview window once it has been opened; nullptr before.
    ReportPreview *preview() const { return m_preview; }
    // The recorded sheets window once Reprint Sheet… has opened it; nullptr before.
    SheetHistoryWindow *sheetHistory() const;
    // The payroll export window once Export for Payroll… has opened it; nullptr before.
    PayrollExportWindow *payrollExport() const;

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    // The grid's columns are fitted again when its view changes width.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void setColumnWidths();
    // Takes from the columns what the grid's view lacks, so that every shown
    // column is in view without scrolling sideways.
    void fitColumnsToView();
    // Lists the salesperson's unpaid deals as they are stored now.
    void listUnpaid(const QString &salesPerson);
    void fillGrid(const QList<SummaryRow> &rows);
    // The SalesSummary rows the grid lists, top to bottom.
    QList<qint64> listedRows() const;
    void setListButtonsEnabled(bool enabled);

    void cmdSelect_Click();
    void cmdDelete_Click();

    // The lines beside the deals (commission_sheet_window_ledger.cpp): the
    // open chargebacks, the held deals, draws and the draft of the net pay.
    void buildLedgerControls(QBoxLayout *layout);
    void listLedger(const QString &salesPerson);
    QList<qint64> listedChargebacks() const;
    void showDraft();
    void cmdHold_Click();
    void cmdRelease_Click();
    void cmdRemoveLine_Click();
    void cmdRecordDraw_Click();
    void cmdPrintSheet_Click();
    void cmdReprint_Click();
    void cmdExportPayroll_Click();

    // The steps of cmdPrintSheet_Click (commission_sheet_window_print.cpp).
    void askBonus();
    // False when the user cancels: the print is abandoned.
    bool askWeekEnding();
    bool payListedDeals();
    void showSheet();
    void showPreview(const ReportDocument &document);
    QString dataFilePath() const;

    // The window's own prompts.
    Prompts::Answer tell(const QString &text, const QString &title, Prompts::Icon icon,
                         Prompts::Buttons buttons = Prompts::Buttons::Ok);
    std::optional<QString> ask(const QString &prompt, const QString &title,
                               const QString &defaultText);

    DealDatabase &m_database;
    ProgramFolder m_folder;
    Prompts &m_prompts;
    QPointer<QToolBar> m_tbrMain;

    QLabel *m_label1 = nullptr;
    QComboBox *m_cboSalesPerson = nullptr;
    QPushButton *m_cmdSelect = nullptr;
    QTableWidget *m_MSFlexGrid1 = nullptr;
    QPushButton *m_cmdDelete = nullptr;
    QPushButton *m_cmdPrintSheet = nullptr;
    QPushButton *m_cmdExit = nullptr;
    QPushButton *m_cmdReprint = nullptr;
    QPushButton *m_cmdExportPayroll = nullptr;
    QLineEdit *m_txtTally = nullptr;
    QLineEdit *m_txtBonus = nullptr;
    QLineEdit *m_txtBonus2 = nullptr;
    QLineEdit *m_txtWeekEnd = nullptr;
    QTableWidget *m_grdLines = nullptr; // the open chargebacks to deduct
    QPushButton *m_cmdRemoveLine = nullptr;
    QTableWidget *m_grdHeld = nullptr;
    QPushButton *m_cmdHold = nullptr;
    QPushButton *m_cmdRelease = nullptr;
    QPushButton *m_cmdRecordDraw = nullptr;
    QLabel *m_lblDraft = nullptr;
    QCheckBox *m_chkMonthBonus = nullptr; // pay this month's volume bonus now
    QLabel *m_lblVolume = nullptr;        // the month's units toward the next tier
    bool m_volume = false;                // the listed salesperson's plans have tiers
    // The listed salesperson's volume: whether the plans have tiers, and the
    // month's progress.
    void showVolume(const QString &salesPerson);
    QList<Chargeback> m_chargebacks; // as listed

    std::unique_ptr<CommissionSheetReport> m_report;
    QPointer<ReportPreview> m_preview; // a child of this window
    ShowStep m_show;
    ReportDocument m_last;
    qint64 m_lastSheetId = 0; // the sheet recorded by the last print
    QPointer<SheetHistoryWindow> m_history; // a child of this window
    QPointer<PayrollExportWindow> m_payrollExport; // a child of this window
    // The salesperson whose deals the grid lists, as named when they were
    // listed: the sheet names and pays this one, whatever the name box shows
    // by the time it prints.
    QString m_listedSalesPerson;
    // The rows as listed, by rowid: a deal paid or removed at another desk
    // meanwhile is named as the user saw it.
    QHash<qint64, SummaryRow> m_listedDeals;

    bool m_prompting = false;        // one of the window's prompts is up
    bool m_activationPaused = false; // the next activation is a return, not Form_Activate
};
