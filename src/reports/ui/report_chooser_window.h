#pragma once

#include "reports/sales_report_query.h"
#include "reports/statement_period.h"
#include "reports/ui/sales_report_printer.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class DealDatabase;
class Prompts;
class QButtonGroup;
class QComboBox;
class QDateEdit;
class QDateTimeEdit;
class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;
class SalesReportPrinter;

// The report chooser "Reports" (frmSalesLog): the user picks the sales log
// of one vehicle type, the summary of one salesperson, the commission
// report or a salesperson's statement, confirms the vehicle type or the
// salesperson, gives the date range (for the statement: a month, the year
// to the end date, or the two dates) and starts the report. The commission report has a window of its own,
// which the chooser opens through the callback it is given, closing itself.
//
// The date pickers keep the time of day they were set at; the range the
// reports cover is the chosen start day through the chosen end day, and the
// pickers keep showing the days the user chose.
class ReportChooserWindow : public QWidget
{
    Q_OBJECT

public:
    enum class ChosenReport { None, SalesLog, Summary, Statement };

    ReportChooserWindow(DealDatabase &database, Prompts &prompts,
                        std::function<void()> openCommissionSheet, QWidget *parent = nullptr);
    ~ReportChooserWindow() override;

    // Back to the state the window opens in: the three options alone, none
    // chosen, no report chosen, no vehicle type yet, "New Truck" in the
    // vehicle list, the salesperson list read again, the range from 31 days
    // ago to now.
    void openAfresh();

    ChosenReport chosenReport() const { return m_chosen; }
    // The vehicle type code of the last sales log request; empty before.
    const QString &unitClassCode() const { return m_unitClass; }
    // The query of the last report started.
    const SalesReportQuery &lastQuery() const { return m_lastQuery; }
    SalesReportPrinter &printer() { return *m_printer; }

private:
    void buildControls();
    QFrame *buildOptions();
    QFrame *buildUnitClassStep();
    QFrame *buildSalesPersonStep();
    QFrame *buildStatementStep();
    QLayout *buildDateRange();
    void connectHandlers();

    void optionChosen(QRadioButton *option);
    void confirmUnitClass();
    void confirmSalesPerson();
    void reset();
    void search();
    // False, after telling the user, when the start is not before the end.
    bool checkDates();
    void runSalesLog();
    void runSummary();
    // The statement's period as chosen; std::nullopt, after telling the
    // user, when two dates were chosen and the start is not before the end.
    std::optional<StatementPeriod> statementPeriod();
    void runStatement();
    // The salesperson step heads the summary or the statement.
    void showSalesPersonStep(bool statement);
    // The rows of `query`, read as the report is laid out; nullptr, after
    // telling the user, when the database cannot give them.
    std::unique_ptr<ReportQueryRows> open(const SalesReportQuery &query);
    void loadSalesPersons();
    // Tells the user that a report could not be read, and why.
    void tellUnreadable(const QString &error);

    DealDatabase &m_database;
    Prompts &m_prompts;
    std::function<void()> m_openCommissionSheet;
    SalesReportPrinter *m_printer;

    QLabel *m_heading = nullptr;
    QFrame *m_fraReport = nullptr;
    QButtonGroup *m_options = nullptr;
    QRadioButton *m_optSalesLog = nullptr;
    QRadioButton *m_optSummery = nullptr;
    QRadioButton *m_optCommision = nullptr;
    QRadioButton *m_optStatement = nullptr;
    QFrame *m_frmTCU = nullptr;
    QComboBox *m_cboTCU = nullptr;
    QPushButton *m_cmdOK = nullptr;
    QFrame *m_fraSummary = nullptr;
    QComboBox *m_cboSalesPerson = nullptr;
    QPushButton *m_cmdOK2 = nullptr;
    QLabel *m_summaryHeading = nullptr;
    QLabel *m_summaryDescription = nullptr;
    QFrame *m_fraStatement = nullptr;
    QRadioButton *m_optMonth = nullptr;
    QRadioButton *m_optYearToDate = nullptr;
    QRadioButton *m_optDates = nullptr;
    QDateEdit *m_dtpMonth = nullptr;
    QDateTimeEdit *m_dptStartDate = nullptr;
    QDateTimeEdit *m_dptEndDate = nullptr;
    QPushButton *m_cmdSearch = nullptr;
    QPushButton *m_cmdReset = nullptr;
    QPushButton *m_cmdExit = nullptr;

    ChosenReport m_chosen = ChosenReport::None;
    QString m_unitClass;
    SalesReportQuery m_lastQuery;
};
