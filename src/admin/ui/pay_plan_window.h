#pragma once

#include "pay/pay_plan.h"
#include "pay/plan_form.h"
#include "worksheet/standing_figures.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class DealDatabase;
class PayPlanStore;
class PlanTrialWindow;
class Prompts;
class QBoxLayout;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

// Setup > Pay Plans… (frmPayPlans): the roster's salespeople, each one's
// plan versions newest first, and the figures of the chosen version in a
// form (with the draw a month, recoverable or not, and the volume tiers in a
// grid of their own with how they pay and which classes they count). Add
// starts a new version from a copy of the one in force today (or of the
// standing figures), tiers included; Save stores the form, refusing with a message
// anything that is not a figure of a plan; Delete removes a version no deal
// was worked out by. A version saved deals were worked out by is shown but
// cannot be changed: a change to the plan is a new version from a later date.
class PayPlanWindow : public QWidget
{
    Q_OBJECT

public:
    // `standing` gives the standing figures an Add starts from when the
    // salesperson has no version yet.
    PayPlanWindow(DealDatabase &database, Prompts &prompts,
                  std::function<StandingFigures()> standing, QWidget *parent = nullptr);
    ~PayPlanWindow() override;

    // Reads the roster and the plans again, keeping the salesperson chosen.
    void reload();

    void addVersion();
    void saveVersion();
    void deleteVersion();
    // A blank tier row at the end, its first cell open for typing; the
    // current tier row taken out. Neither on a version that cannot change.
    void addTier();
    void removeTier();
    // "Try on Past Deals…": the plan in the form, as it stands (a new
    // version not saved, or the one shown), tried in a window of its own.
    void tryOnPastDeals();
    PlanTrialWindow *trialWindow() const;

    // The salesperson and version on screen (none while a new version is
    // being entered or there is none).
    QString salesPerson() const;
    std::optional<PayPlanVersion> shownVersion() const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    // The tiers grid, its buttons and choices, laid out in `layout`.
    void buildTierControls(QBoxLayout *layout);
    void showTiers(const PlanForm &form, bool readOnly);
    void readTiers(PlanForm &form) const;
    void setTierControlsEnabled(bool enabled);
    // Ends an edit still open in the tiers grid, keeping what was typed.
    void finishTierEdit();
    void salesPersonChosen();
    void versionChosen();
    void showForm(const PlanForm &form, bool readOnly);
    PlanForm readForm() const;
    void setFormEnabled(bool enabled);
    void refusal(const QString &message);
    // Whether an unsaved new version may be dropped (asks).
    bool mayDropDraft();

    DealDatabase &m_database;
    Prompts &m_prompts;
    std::function<StandingFigures()> m_standing;
    std::unique_ptr<PayPlanStore> m_store;
    QList<PayPlanVersion> m_versions; // of the salesperson on screen, newest first
    QList<bool> m_used;               // beside m_versions
    bool m_draft = false;             // a new version is being entered

    QListWidget *m_lstSalesPersons = nullptr;
    QTableWidget *m_grdVersions = nullptr;
    QLineEdit *m_txtEffectiveFrom = nullptr;
    struct ClassControls
    {
        QComboBox *kind = nullptr;
        QLineEdit *commission = nullptr;
        QLineEdit *mini = nullptr;
        QLineEdit *pack = nullptr;
    };
    std::array<ClassControls, PayPlanVersion::kClasses> m_classes;
    QLineEdit *m_txtCap = nullptr;
    QLineEdit *m_txtWarranty = nullptr;
    QLineEdit *m_txtDraw = nullptr;
    QCheckBox *m_chkDrawRecoverable = nullptr;
    QTableWidget *m_grdTiers = nullptr;
    QPushButton *m_cmdAddTier = nullptr;
    QPushButton *m_cmdRemoveTier = nullptr;
    QComboBox *m_cboTierMode = nullptr;
    QComboBox *m_cboTierClasses = nullptr;
    QLabel *m_lblNote = nullptr;
    QPushButton *m_cmdAdd = nullptr;
    QPushButton *m_cmdSave = nullptr;
    QPushButton *m_cmdDelete = nullptr;
    QPushButton *m_cmdClose = nullptr;
    QPushButton *m_cmdTryOnPastDeals = nullptr;
    QPointer<PlanTrialWindow> m_trial;
};
