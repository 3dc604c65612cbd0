#pragma once

#include "common/money.h"
#include "common/program_folder.h"
#include "common/prompts.h"
#include "pay/pay_plan.h"
#include "worksheet/deal.h"
#include "worksheet/setup_files.h"
#include "worksheet/ui/deal_worksheet_controls.h"
#include "worksheet/worksheet_state.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>

// The deal worksheet, the program's main window: the fields of one vehicle
// deal, the commission calculation, the checks made as fields are left,
// start-up and clearing, and the four states a deal on screen can be in.
// It holds no database and no menus: the store, the toolbar and the menus
// talk to it through the functions and signals below.
class DealWorksheet : public QMainWindow
{
    Q_OBJECT

public:
    DealWorksheet(const ProgramFolder &folder, Prompts &prompts, QWidget *parent = nullptr);
    ~DealWorksheet() override;

    // Reads the standing figures (creating missing settings files with their
    // defaults), fills the unit list, sets today's date and the model year,
    // centres the window and clears it to a new deal. A settings file that
    // cannot be read, or holds no number where one is read, is reported in
    // one message naming each file and what is used instead.
    void startUp();
    // Reads the standing figures and the unit list again, as the Setup
    // commands leave them; the deal on screen, its date and year stay as
    // they are, and so does the text typed in the unit field.
    void reloadStandingFigures();
    // Resets every field of the deal and returns to the New deal state; keeps
    // the date, the model year and the lists.
    void clearDeal();
    // Works out payable gross, commission, warranty spiff and total.
    void calculateCommission();
    // Run on each activation of the window: while a recalled deal is flagged,
    // emits recallActivated() for the store to select the deal's rows.
    void handleActivation();

    // Shows a state on the print, save and delete buttons and the paid
    // warning, and sets the flags that go with it.
    void applyState(WorksheetState state);
    WorksheetState state() const { return m_state; }

    // The deal on screen, every field as shown.
    Deal deal() const;
    // Fills the fields as if typed: the appraisal, allowance and split
    // reactions run; no calculation and no entry-check messages.
    void showDeal(const Deal &deal);
    // The names offered by the salesperson and split partner lists.
    void setSalesPersons(const QStringList &names);

    bool isDealSaved() const { return dealSaved; }
    void setDealSaved(bool saved) { dealSaved = saved; }
    bool isDealPaid() const { return dealPaid; }
    void setDealPaid(bool paid) { dealPaid = paid; }
    // The number of SalesSummary rows of the recalled deal.
    qint16 summaryRows() const { return summaryRowCount; }
    void setSummaryRows(qint16 rows) { summaryRowCount = rows; }
    // The answer to the last question the save asked.
    Prompts::Answer messageResult() const { return msgResult; }
    void setMessageResult(Prompts::Answer answer) { msgResult = answer; }

    bool isFlagRecall() const;
    void setFlagRecall(bool flagged);
    QString command2Caption() const;
    void setCommand2Caption(const QString &caption);
    bool isCommand2Enabled() const;
    void setCommand2Enabled(bool enabled);
    void showDeleteRecall(bool visible);
    void showPaidWarning(bool visible);

    // What the toolbar's save button shows.
    QString saveCommandCaption() const { return m_saveCaption; }
    bool saveCommandEnabled() const { return m_saveEnabled; }

    // The standing figures, as read from the settings files.
    QString defaultNewPack() const { return DefaultNewPack; }
    void setDefaultNewPack(const QString &value) { DefaultNewPack = value; }
    QString defaultUsedPack() const { return DefaultUsedPack; }
    void setDefaultUsedPack(const QString &value) { DefaultUsedPack = value; }
    QString defaultCommission() const { return DefaultCommission; }
    void setDefaultCommission(const QString &value) { DefaultCommission = value; }
    QString defaultWarranty() const { return DefaultWarranty; }
    void setDefaultWarranty(const QString &value) { DefaultWarranty = value; }
    QString defaultMini() const { return DefaultMini; }
    void setDefaultMini(const QString &value) { DefaultMini = value; }

    // Delete Unit: lists the descriptions of unit.txt, in file order, in the
    // removal panel under the unit list and shows the panel. A unit.txt that
    // is there but cannot be read is reported and the panel stays hidden.
    void openUnitPanel();

    // Where the salespeople's pay plans are found. Without plans (or without
    // a lookup) the pack, rate, mini deal and warranty spiff are the standing
    // figures, as they always were.
    void setPlanLookup(PayPlanLookup lookup) { m_planLookup = std::move(lookup); }
    // The plan version whose figures the worksheet fills and calculates with.
    const std::optional<PayPlanVersion> &planInForce() const { return m_plan; }

    // Asked before the window closes; a guard that answers false keeps it open.
    void setCloseGuard(std::function<bool()> guard) { m_closeGuard = std::move(guard); }

signals:
    void printRequested();
    void deleteRecallRequested();
    void recallActivated();
    void saveCommandChanged(const QString &caption, bool enabled);
    // The worksheet was cleared to a new deal; a recalled deal is no longer
    // on screen.
    void dealCleared();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // deal_worksheet_checks.cpp
    void connectChecks();
    void addLeaveCheck(QWidget *field, std::function<void()> check);
    void focusMoved(QWidget *now);
    QWidget *controlOf(QWidget *widget) const;
    void runLeaveCheck(QWidget *field);
    void focusField(QWidget *field);
    void checkNumber(QWidget *field);
    void checkLength(QWidget *field);
    void leavePack();
    void leaveUnitClass();
    void leaveSaleType();
    void leaveCommission();
    void appraisalChanged(const QString &text);
    void allowanceChanged(const QString &text);
    void splitToggled(bool down);
    void setAllowanceOptions(bool overAllow, bool underAllow);
    void tooLargeToCalculate();

    void setSaveCommand(const QString &caption, bool enabled);
    // deal_worksheet_plan.cpp
    void connectPlan();
    // The salesperson or the date changed: the version in force is looked up
    // again and, when it is another, its figures fill the pack and rate.
    void planContextChanged();
    void showVolumeProgress(const std::optional<PayPlanVersion> &plan);
    std::optional<PayPlanVersion> lookUpPlan() const;
    // The pack and rate of the plan in force (the standing figures without
    // one) for the unit class on screen, except where typed for this deal.
    void fillPlanFigures();
    QString planPackText() const;
    QString planRateText() const;
    void showOverrideMarks();
    void forgetPlan();
    void leaveShare();
    // deal_worksheet_startup.cpp
    void loadStandingFigures(QStringList *problems);
    // Gives the window the size that shows the whole worksheet, within the
    // screen's free area; what does not fit scrolls.
    void fitToScreen();

    // deal_worksheet_unit_panel.cpp
    void unitChosen();
    void removeChosenUnit();
    void closeUnitPanel();
    void placeUnitPanel();

    DealWorksheetControls m_ui;
    ProgramFolder m_folder;
    Prompts &m_prompts;
    WorksheetState m_state = WorksheetState::NewDeal;
    QString m_saveCaption = QStringLiteral("Save");
    bool m_saveEnabled = true;
    std::function<bool()> m_closeGuard;
    QHash<QObject *, std::function<void()>> m_leaveChecks;
    QPointer<QWidget> m_lastFocus;     // the control of this window that last had the focus
    QPointer<QWidget> m_returnFocusTo; // a field that failed its check, while the window is inactive
    bool m_checkRunning = false; // a check, or a focus move of the program's own, is under way
    bool m_fillingDeal = false;  // showDeal() is filling the fields
    PayPlanLookup m_planLookup;
    std::optional<PayPlanVersion> m_plan; // the version in force, none: the standing figures
    bool m_packTyped = false; // the pack was typed for this deal
    bool m_rateTyped = false; // the rate was typed for this deal

    // Form-level state of the deal on screen.
    bool dealSaved = false;
    bool dealPaid = false;
    QString DefaultNewPack;
    QString DefaultUsedPack;
    QString DefaultCommission;
    QString DefaultWarranty;
    QString DefaultMini;
    QString unitLine; // the last unit description read from the unit list
    QList<SetupFiles::UnitLine> m_removedUnits; // taken off the removal panel's list
    Prompts::Answer msgResult = Prompts::Answer::Ok;
    qint16 summaryRowCount = 0;

    // Working values of the last calculation.
    Money costAcv;
    Money packAmount;
    Money sellingPrice;
    Money totalReductions;
    Money totalAdditions;
    Money totalCost;
    Money commissionAmount;
};
