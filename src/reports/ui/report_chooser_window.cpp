#include "reports/ui/report_chooser_window.h"

#include "common/prompts.h"
#include "reports/ui/sales_report_printer.h"
#include "store/deal_store.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("Reports");
const QString kSummaryHeading = QStringLiteral("Summary Report");
const QString kSummaryDescription =
    QStringLiteral("Print out a detailed monthly summary report by date range and sales person.");

template <typename Widget> Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QFrame *frame(QWidget *parent, const char *name)
{
    auto *box = named(new QFrame(parent), name);
    box->setFrameShape(QFrame::StyledPanel);
    return box;
}

QLabel *heading(const QString &text, QWidget *parent, const char *name)
{
    auto *label = named(new QLabel(text, parent), name);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QDateTimeEdit *datePicker(QWidget *parent, const char *name)
{
    auto *picker = named(new QDateTimeEdit(parent), name);
    picker->setCalendarPopup(true);
    // The picker shows the day; the time of day it was set at stays in its
    // value, as the date check compares whole values.
    picker->setDisplayFormat(QStringLiteral("M/d/yyyy"));
    return picker;
}

} // namespace

ReportChooserWindow::ReportChooserWindow(DealDatabase &database, Prompts &prompts,
                                         std::function<void()> openCommissionSheet, QWidget *parent)
    : QWidget(parent, Qt::Window), m_database(database), m_prompts(prompts),
      m_openCommissionSheet(std::move(openCommissionSheet))
{
    setObjectName(QStringLiteral("frmSalesLog"));
    setWindowTitle(kTitle);
    m_printer = new SalesReportPrinter(parent ? parent : this, this);
    m_printer->setPrompts(&m_prompts);
    buildControls();
    connectHandlers();
    openAfresh();
}

ReportChooserWindow::~ReportChooserWindow() = default;

void ReportChooserWindow::buildControls()
{
    m_heading = heading(kTitle, this, "Label1");
    QFont font = m_heading->font();
    font.setPointSizeF(font.pointSizeF() * 1.5);
    m_heading->setFont(font);
    m_heading->setAlignment(Qt::AlignHCenter);

    m_cmdSearch = named(new QPushButton(QStringLiteral("SEARCH"), this), "cmdSearch");
    m_cmdReset = named(new QPushButton(QStringLiteral("Reset "), this), "cmdReset");
    m_cmdExit = named(new QPushButton(QStringLiteral("Exit"), this), "cmdExit");
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_cmdSearch);
    buttons->addWidget(m_cmdReset);
    buttons->addWidget(m_cmdExit);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_heading);
    layout->addWidget(buildOptions());
    layout->addWidget(buildUnitClassStep());
    layout->addWidget(buildSalesPersonStep());
    layout->addWidget(buildStatementStep());
    layout->addLayout(buildDateRange());
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QFrame *ReportChooserWindow::buildOptions()
{
    m_fraReport = frame(this, "fraReport_0");
    m_optSalesLog = named(new QRadioButton(QStringLiteral("SalesLog"), m_fraReport), "optSalesLog");
    m_optSummery =
        named(new QRadioButton(QStringLiteral("Sales Summery"), m_fraReport), "optSummery");
    m_optCommision =
        named(new QRadioButton(QStringLiteral("Commission Report"), m_fraReport), "optCommision");
    m_optStatement =
        named(new QRadioButton(QStringLiteral("Statement"), m_fraReport), "optStatement");
    m_options = new QButtonGroup(this);
    for (QRadioButton *option : {m_optSalesLog, m_optSummery, m_optCommision, m_optStatement})
        m_options->addButton(option);

    auto *layout = new QVBoxLayout(m_fraReport);
    layout->addWidget(heading(QStringLiteral("REPORTS"), m_fraReport, "Label2"));
    layout->addWidget(m_optSalesLog);
    layout->addWidget(m_optSummery);
    layout->addWidget(m_optCommision);
    layout->addWidget(m_optStatement);
    return m_fraReport;
}

QFrame *ReportChooserWindow::buildUnitClassStep()
{
    m_frmTCU = frame(this, "frmTCU");
    m_cboTCU = named(new QComboBox(m_frmTCU), "cboTCU");
    m_cboTCU->addItems(UnitClassNames::captions());
    m_cmdOK = named(new QPushButton(QStringLiteral("OK"), m_frmTCU), "cmdOK");

    auto *label = named(
        new QLabel(QStringLiteral("Enter which SalesLog you want Truck, Car, Used"), m_frmTCU),
        "Label5");
    label->setBuddy(m_cboTCU);
    auto *layout = new QVBoxLayout(m_frmTCU);
    layout->addWidget(label);
    auto *line = new QHBoxLayout;
    line->addWidget(m_cboTCU, 1);
    line->addWidget(m_cmdOK);
    layout->addLayout(line);
    return m_frmTCU;
}

QFrame *ReportChooserWindow::buildSalesPersonStep()
{
    m_fraSummary = frame(this, "fraSummary");
    m_cboSalesPerson = named(new QComboBox(m_fraSummary), "cboSalesPerson");
    m_cboSalesPerson->setEditable(true);
    m_cboSalesPerson->setInsertPolicy(QComboBox::NoInsert);
    m_cmdOK2 = named(new QPushButton(QStringLiteral("OK"), m_fraSummary), "cmdOK2");

    auto *description = named(new QLabel(kSummaryDescription, m_fraSummary), "Label10");
    description->setWordWrap(true);
    m_summaryDescription = description;
    auto *nameLabel = named(new QLabel(QStringLiteral("Sales Person"), m_fraSummary), "Label9");
    nameLabel->setBuddy(m_cboSalesPerson);

    auto *layout = new QVBoxLayout(m_fraSummary);
    m_summaryHeading = heading(kSummaryHeading, m_fraSummary, "Label7");
    layout->addWidget(m_summaryHeading);
    layout->addWidget(description);
    auto *line = new QHBoxLayout;
    line->addWidget(nameLabel);
    line->addWidget(m_cboSalesPerson, 1);
    line->addWidget(m_cmdOK2);
    layout->addLayout(line);
    return m_fraSummary;
}

QLayout *ReportChooserWindow::buildDateRange()
{
    m_dptStartDate = datePicker(this, "dptStartDate");
    m_dptEndDate = datePicker(this, "dptEndDate");
    auto *start = named(new QLabel(QStringLiteral("Start Date"), this), "Label4");
    auto *end = named(new QLabel(QStringLiteral("End Date"), this), "Label3");
    start->setBuddy(m_dptStartDate);
    end->setBuddy(m_dptEndDate);

    auto *grid = new QGridLayout;
    grid->addWidget(heading(QStringLiteral("Enter dates for Report"), this, "Label6"), 0, 0, 1, 2);
    grid->addWidget(start, 1, 0);
    grid->addWidget(m_dptStartDate, 1, 1);
    grid->addWidget(end, 2, 0);
    grid->addWidget(m_dptEndDate, 2, 1);
    return grid;
}

void ReportChooserWindow::connectHandlers()
{
    for (QRadioButton *option : {m_optSalesLog, m_optSummery, m_optCommision, m_optStatement}) {
        // Each option reports its own change; act once, for the one chosen.
        connect(option, &QRadioButton::toggled, this, [this, option](bool checked) {
            if (checked)
                optionChosen(option);
        });
    }
    connect(m_cmdOK, &QPushButton::clicked, this, &ReportChooserWindow::confirmUnitClass);
    connect(m_cmdOK2, &QPushButton::clicked, this, &ReportChooserWindow::confirmSalesPerson);
    connect(m_cmdReset, &QPushButton::clicked, this, &ReportChooserWindow::reset);
    connect(m_cmdExit, &QPushButton::clicked, this, &ReportChooserWindow::close);
    connect(m_cmdSearch, &QPushButton::clicked, this, &ReportChooserWindow::search);
}

void ReportChooserWindow::openAfresh()
{
    m_chosen = ChosenReport::None;
    m_unitClass.clear();
    m_lastQuery = {};
    reset();
    m_cboTCU->setCurrentIndex(0);
    m_optMonth->setChecked(true);
    m_dtpMonth->setDate(QDate::currentDate());
    m_cmdSearch->setText(QStringLiteral("SEARCH"));
    loadSalesPersons();

    // Both pickers hold the same time of day, to the second.
    const QDateTime now = QDateTime::currentDateTime();
    const QTime time = now.time();
    const QDateTime today(now.date(), QTime(time.hour(), time.minute(), time.second()));
    m_dptStartDate->setDateTime(today.addDays(-31));
    m_dptEndDate->setDateTime(today);
}

void ReportChooserWindow::loadSalesPersons()
{
    QString error;
    const QStringList names = DealStore(m_database).salesPersons(&error);
    if (!error.isEmpty())
        m_prompts.message(error, kTitle, Prompts::Icon::Warning);
    m_cboSalesPerson->clear();
    m_cboSalesPerson->addItems(names);
    m_cboSalesPerson->setCurrentIndex(-1);
    m_cboSalesPerson->setEditText(QString());
}

void ReportChooserWindow::optionChosen(QRadioButton *option)
{
    m_fraReport->hide();
    if (option == m_optSalesLog) {
        m_frmTCU->show();
    } else if (option == m_optSummery || option == m_optStatement) {
        showSalesPersonStep(option == m_optStatement);
    } else {
        if (m_openCommissionSheet)
            m_openCommissionSheet();
        close();
    }
}

void ReportChooserWindow::showSalesPersonStep(bool statement)
{
    m_summaryHeading->setText(statement ? QStringLiteral("Statement") : kSummaryHeading);
    m_summaryDescription->setText(
        statement ? QStringLiteral("Print a salesperson's statement: every deal, chargeback, "
                                   "bonus, draw and sheet of a month, the year to date or a "
                                   "date range, and the net paid.")
                  : kSummaryDescription);
    m_fraSummary->show();
    m_fraStatement->setVisible(statement);
}

void ReportChooserWindow::confirmUnitClass()
{
    m_chosen = ChosenReport::SalesLog;
    m_cmdSearch->setText(QStringLiteral("SEARCH"));
    m_frmTCU->hide();
}

void ReportChooserWindow::confirmSalesPerson()
{
    // The period of a statement stays in view until the statement is run.
    m_chosen = m_fraStatement->isVisible() ? ChosenReport::Statement : ChosenReport::Summary;
    m_cmdSearch->setText(QStringLiteral("PRINT"));
    m_fraSummary->hide();
    m_fraReport->hide();
    m_frmTCU->hide();
}

void ReportChooserWindow::reset()
{
    m_frmTCU->hide();
    m_fraSummary->hide();
    m_fraStatement->hide();
    // An exclusive group always keeps one button checked; let go of it to
    // clear all three.
    m_options->setExclusive(false);
    for (QAbstractButton *option : m_options->buttons())
        option->setChecked(false);
    m_options->setExclusive(true);
    m_fraReport->show();
}

void ReportChooserWindow::search()
{
    switch (m_chosen) {
    case ChosenReport::SalesLog:
        runSalesLog();
        break;
    case ChosenReport::Summary:
        runSummary();
        break;
    case ChosenReport::Statement:
        runStatement();
        break;
    case ChosenReport::None:
        break;
    }
}

bool ReportChooserWindow::checkDates()
{
    if (m_dptStartDate->dateTime() < m_dptEndDate->dateTime())
        return true;
    m_prompts.message(QStringLiteral("Start date must be before End date!"),
                      QStringLiteral("Report Dates"));
    m_dptStartDate->setFocus();
    return false;
}

void ReportChooserWindow::runSalesLog()
{
    if (!checkDates())
        return;
    if (const std::optional<QString> code = UnitClassNames::codeOf(m_cboTCU->currentText()))
        m_unitClass = *code;
    const QDate start = m_dptStartDate->date();
    const QDate end = m_dptEndDate->date();
    const std::unique_ptr<ReportQueryRows> rows =
        open(SalesReportQuery::salesLog(m_unitClass, start, end));
    if (rows)
        m_printer->showSalesLog(*rows, UnitClassNames::titleOf(m_unitClass), start, end);
}

void ReportChooserWindow::runSummary()
{
    if (!checkDates())
        return;
    const QString name = m_cboSalesPerson->currentText();
    const QDate start = m_dptStartDate->date();
    const QDate end = m_dptEndDate->date();
    const std::unique_ptr<ReportQueryRows> rows =
        open(SalesReportQuery::salesSummary(name, start, end));
    if (rows)
        m_printer->showSummary(*rows, name, start, end);
}

std::unique_ptr<ReportQueryRows> ReportChooserWindow::open(const SalesReportQuery &query)
{
    m_lastQuery = query;
    QString error;
    std::unique_ptr<ReportQueryRows> rows = query.open(m_database, &error);
    if (!rows)
        tellUnreadable(error);
    return rows;
}

void ReportChooserWindow::tellUnreadable(const QString &error)
{
    m_prompts.message(
        QStringLiteral("The report could not be read from the database.\n\n%1").arg(error),
        kTitle, Prompts::Icon::Critical);
}
