#pragma once

#include "pay/pay_plan.h"
#include "store/plan_trial.h"

#include <QWidget>

class DealDatabase;
class Prompts;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableWidget;

// Pay Plans > "Try on Past Deals…" (frmTryOnPastDeals): the plan in the pay
// plan window's form (a draft or a version) tried on the deals of past
// months for the salespeople ticked: what they were paid, what the plan
// would have paid, and the difference, with a total; saved as CSV. Nothing
// is written to the database. A long trial shows its progress and stops at
// Cancel.
class PlanTrialWindow : public QWidget
{
    Q_OBJECT

public:
    // `plan` is tried; `salesPerson` (whose plan it is) is ticked first.
    PlanTrialWindow(DealDatabase &database, Prompts &prompts, const PayPlanVersion &plan,
                    const QString &planName, const QStringList &roster,
                    const QString &salesPerson, QWidget *parent = nullptr);
    ~PlanTrialWindow() override;

    // Runs the trial on the months and salespeople chosen; refuses with a
    // message months that are not MM/YYYY, in the wrong order or to come, or
    // no salesperson ticked.
    void tryPlan();
    void cancel();
    void saveCsv();

    const QList<PlanTrial::Line> &lines() const { return m_lines; }

    // The results grid's column headings, also the CSV file's.
    static const QStringList &headings();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls(const QString &planName, const QStringList &roster,
                       const QString &salesPerson);
    std::optional<PlanTrial::Question> question();
    void showLines();
    void setRunning(bool running);
    void refusal(const QString &message);

    DealDatabase &m_database;
    Prompts &m_prompts;
    PayPlanVersion m_plan;
    QList<PlanTrial::Line> m_lines;
    bool m_running = false;
    bool m_cancelRequested = false;
    bool m_closeRequested = false;

    QListWidget *m_lstSalesPersons = nullptr;
    QLineEdit *m_txtFrom = nullptr;
    QLineEdit *m_txtTo = nullptr;
    QPushButton *m_cmdTry = nullptr;
    QPushButton *m_cmdCancel = nullptr;
    QProgressBar *m_prgTrial = nullptr;
    QTableWidget *m_grdResults = nullptr;
    QLabel *m_lblNote = nullptr;
    QPushButton *m_cmdSaveCsv = nullptr;
    QPushButton *m_cmdClose = nullptr;
};
