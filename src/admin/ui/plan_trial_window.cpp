#include "admin/ui/plan_trial_window.h"

#include "common/money_format.h"
#include "common/prompts.h"
#include "reports/report_csv.h"
#include "reports/report_rows.h"
#include "worksheet/ui/center_form.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <optional>

namespace {

const QString kTitle = QStringLiteral("Try on Past Deals");
const QString kMonthForm = QStringLiteral("MM/yyyy");

enum Column { Person, Deals, Units, DealsPaid, VolumePaid, Paid, DealsTried, VolumeTried, Tried, Difference };

QPushButton *button(QWidget *parent, const QString &name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

// While a trial runs the other windows take no input and do not close, as
// under a modal progress dialog: the trial lets events through only so that
// its own Cancel and progress bar work.
class OtherWindowsGuard : public QObject
{
public:
    explicit OtherWindowsGuard(QWidget *window) : m_window(window)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~OtherWindowsGuard() override { QCoreApplication::instance()->removeEventFilter(this); }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::Close: {
            const auto *widget = qobject_cast<QWidget *>(watched);
            if (!widget || widget->window() == m_window)
                return false;
            event->ignore(); // a close refused, not taken as done
            return true;
        }
        default:
            return false;
        }
    }

private:
    QWidget *m_window;
};

QDate monthOf(const QString &text)
{
    return QDate::fromString(text.trimmed(), kMonthForm);
}

// The line's values in the order of the headings.
QVariantList valuesOf(const PlanTrial::Line &line)
{
    return {line.salesPerson,
            line.deals,
            QVariant::fromValue(line.units),
            QVariant::fromValue(line.dealsPaid),
            QVariant::fromValue(line.volumePaid),
            QVariant::fromValue(line.paid()),
            QVariant::fromValue(line.dealsTried),
            QVariant::fromValue(line.volumeTried),
            QVariant::fromValue(line.tried()),
            QVariant::fromValue(line.difference())};
}

PlanTrial::Line totalOf(const QList<PlanTrial::Line> &lines)
{
    PlanTrial::Line total;
    total.salesPerson = QStringLiteral("Total");
    for (const PlanTrial::Line &line : lines)
        total += line;
    return total;
}

} // namespace

const QStringList &PlanTrialWindow::headings()
{
    static const QStringList all = {
        QStringLiteral("Salesperson"),       QStringLiteral("Deals"),
        QStringLiteral("Units"),             QStringLiteral("Deals Paid"),
        QStringLiteral("Volume Bonus Paid"), QStringLiteral("Paid"),
        QStringLiteral("Deals by Plan"),     QStringLiteral("Volume Bonus by Plan"),
        QStringLiteral("Would Pay"),         QStringLiteral("Difference")};
    return all;
}

PlanTrialWindow::PlanTrialWindow(DealDatabase &database, Prompts &prompts,
                                 const PayPlanVersion &plan, const QString &planName,
                                 const QStringList &roster, const QString &salesPerson,
                                 QWidget *parent)
    : QWidget(parent, Qt::Window), m_database(database), m_prompts(prompts), m_plan(plan)
{
    setObjectName(QStringLiteral("frmTryOnPastDeals"));
    setWindowTitle(kTitle);
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls(planName, roster, salesPerson);
    resize(990, 480);
    CenterForm(this);
}

PlanTrialWindow::~PlanTrialWindow() = default;

void PlanTrialWindow::buildControls(const QString &planName, const QStringList &roster,
                                    const QString &salesPerson)
{
    auto *page = new QVBoxLayout(this);
    auto *lblPlan = new QLabel(QStringLiteral("Plan tried: %1").arg(planName), this);
    lblPlan->setObjectName(QStringLiteral("lblPlan"));
    lblPlan->setWordWrap(true);
    page->addWidget(lblPlan);

    auto *top = new QHBoxLayout;
    m_lstSalesPersons = new QListWidget(this);
    m_lstSalesPersons->setObjectName(QStringLiteral("lstSalesPersons"));
    for (const QString &name : roster) {
        auto *item = new QListWidgetItem(name, m_lstSalesPersons);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(name.compare(salesPerson, Qt::CaseInsensitive) == 0 ? Qt::Checked
                                                                                : Qt::Unchecked);
    }
    m_lstSalesPersons->setMaximumHeight(140);
    auto *people = new QVBoxLayout;
    auto *lblSalesPersons = new QLabel(QStringLiteral("&Salespeople:"), this);
    lblSalesPersons->setBuddy(m_lstSalesPersons);
    people->addWidget(lblSalesPersons);
    people->addWidget(m_lstSalesPersons);
    top->addLayout(people, 1);

    auto *months = new QFormLayout;
    const QDate lastMonth = QDate::currentDate().addMonths(-1);
    m_txtFrom = new QLineEdit(lastMonth.toString(kMonthForm), this);
    m_txtFrom->setObjectName(QStringLiteral("txtFrom"));
    m_txtTo = new QLineEdit(lastMonth.toString(kMonthForm), this);
    m_txtTo->setObjectName(QStringLiteral("txtTo"));
    for (QLineEdit *edit : {m_txtFrom, m_txtTo}) {
        edit->setPlaceholderText(QStringLiteral("MM/YYYY"));
        edit->setMaximumWidth(90);
    }
    months->addRow(QStringLiteral("&From month:"), m_txtFrom);
    months->addRow(QStringLiteral("&To month:"), m_txtTo);
    m_cmdTry = button(this, QStringLiteral("cmdTry"), QStringLiteral("T&ry"));
    m_cmdCancel = button(this, QStringLiteral("cmdCancel"), QStringLiteral("Cancel"));
    m_cmdCancel->setEnabled(false);
    auto *run = new QHBoxLayout;
    run->addWidget(m_cmdTry);
    run->addWidget(m_cmdCancel);
    months->addRow(run);
    m_prgTrial = new QProgressBar(this);
    m_prgTrial->setObjectName(QStringLiteral("prgTrial"));
    m_prgTrial->setRange(0, 1000);
    m_prgTrial->setValue(0);
    months->addRow(m_prgTrial);
    top->addLayout(months);
    page->addLayout(top);

    m_grdResults = new QTableWidget(0, int(headings().size()), this);
    m_grdResults->setObjectName(QStringLiteral("grdResults"));
    m_grdResults->setHorizontalHeaderLabels(headings());
    m_grdResults->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grdResults->verticalHeader()->hide();
    m_grdResults->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    page->addWidget(m_grdResults, 1);

    m_lblNote = new QLabel(this);
    m_lblNote->setObjectName(QStringLiteral("lblNote"));
    m_lblNote->setWordWrap(true);
    page->addWidget(m_lblNote);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    m_cmdSaveCsv = button(this, QStringLiteral("cmdSaveCsv"), QStringLiteral("Save as CSV…"));
    m_cmdSaveCsv->setEnabled(false);
    m_cmdClose = button(this, QStringLiteral("cmdClose"), QStringLiteral("&Close"));
    buttons->addWidget(m_cmdSaveCsv);
    buttons->addWidget(m_cmdClose);
    page->addLayout(buttons);

    connect(m_cmdTry, &QPushButton::clicked, this, &PlanTrialWindow::tryPlan);
    connect(m_cmdCancel, &QPushButton::clicked, this, &PlanTrialWindow::cancel);
    connect(m_cmdSaveCsv, &QPushButton::clicked, this, &PlanTrialWindow::saveCsv);
    connect(m_cmdClose, &QPushButton::clicked, this, &QWidget::close);
}

void PlanTrialWindow::refusal(const QString &message)
{
    m_prompts.message(message, kTitle, Prompts::Icon::Warning);
}

std::optional<PlanTrial::Question> PlanTrialWindow::question()
{
    PlanTrial::Question question;
    question.plan = m_plan;
    for (int row = 0; row < m_lstSalesPersons->count(); ++row) {
        const QListWidgetItem *item = m_lstSalesPersons->item(row);
        if (item->checkState() == Qt::Checked)
            question.salesPeople << item->text();
    }
    question.firstMonth = monthOf(m_txtFrom->text());
    question.lastMonth = monthOf(m_txtTo->text());
    const QDate thisMonth = QDate(QDate::currentDate().year(), QDate::currentDate().month(), 1);
    if (!question.firstMonth.isValid() || !question.lastMonth.isValid()) {
        refusal(QStringLiteral("The months are typed MM/YYYY, as 03/2026."));
        return std::nullopt;
    }
    if (question.lastMonth < question.firstMonth) {
        refusal(QStringLiteral("The first month comes after the last."));
        return std::nullopt;
    }
    if (question.lastMonth > thisMonth) {
        refusal(QStringLiteral("A plan is tried on past deals: the last month is this month at "
                               "the latest."));
        return std::nullopt;
    }
    if (question.salesPeople.isEmpty()) {
        refusal(QStringLiteral("Tick the salespeople to try the plan for."));
        return std::nullopt;
    }
    return question;
}

void PlanTrialWindow::tryPlan()
{
    if (m_running)
        return;
    const std::optional<PlanTrial::Question> asked = question();
    if (!asked)
        return;
    setRunning(true);
    m_prgTrial->setValue(0);
    std::optional<OtherWindowsGuard> guard(std::in_place, this);
    const PlanTrial::Result result =
        PlanTrial::run(m_database, *asked, [this](qint64 done, qint64 total) {
            m_prgTrial->setValue(total > 0 ? int(done * 1000 / total) : 1000);
            // Lets Cancel (and a close) be clicked while the deals are read.
            QCoreApplication::processEvents();
            return !m_cancelRequested;
        });
    guard.reset();
    setRunning(false);
    switch (result.outcome) {
    case PlanTrial::Outcome::Done:
        m_lines = result.lines;
        m_lblNote->setText(QStringLiteral("Nothing was paid or saved: the plan was only tried."));
        break;
    case PlanTrial::Outcome::Cancelled:
        m_lines.clear();
        m_prgTrial->setValue(0);
        m_lblNote->setText(QStringLiteral("Stopped: nothing tried."));
        break;
    case PlanTrial::Outcome::Failed:
        m_lines.clear();
        m_lblNote->clear();
        m_prompts.message(QStringLiteral("The deals could not be read: %1").arg(result.error),
                          kTitle, Prompts::Icon::Critical);
        break;
    }
    showLines();
    if (m_closeRequested)
        close();
}

void PlanTrialWindow::cancel()
{
    if (m_running)
        m_cancelRequested = true;
}

void PlanTrialWindow::setRunning(bool running)
{
    m_running = running;
    m_cancelRequested = false;
    m_cmdTry->setEnabled(!running);
    m_cmdCancel->setEnabled(running);
    m_cmdSaveCsv->setEnabled(!running && !m_lines.isEmpty());
}

void PlanTrialWindow::showLines()
{
    QList<PlanTrial::Line> shown = m_lines;
    if (!shown.isEmpty())
        shown << totalOf(m_lines);
    m_grdResults->setRowCount(int(shown.size()));
    for (int row = 0; row < shown.size(); ++row) {
        const QVariantList values = valuesOf(shown.at(row));
        for (int column = 0; column < values.size(); ++column) {
            const QVariant &value = values.at(column);
            QString text = value.toString();
            if (column == Units)
                text = MoneyFormat::plain(value.value<Money>());
            else if (column >= DealsPaid)
                text = MoneyFormat::currency(value.value<Money>());
            auto *item = new QTableWidgetItem(text);
            if (column != Person)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_grdResults->setItem(row, column, item);
        }
    }
    m_cmdSaveCsv->setEnabled(!m_lines.isEmpty());
}

void PlanTrialWindow::saveCsv()
{
    if (m_lines.isEmpty())
        return;
    Prompts::SaveFile request;
    request.title = QStringLiteral("Save as CSV");
    request.initialPath = QStringLiteral("Plan tried.csv");
    request.nameFilters = {QStringLiteral("CSV Files (*.csv)")};
    request.defaultSuffix = QStringLiteral("csv");
    const std::optional<QString> path = m_prompts.saveFile(request);
    if (!path)
        return;
    QList<CsvColumn> columns;
    for (int column = 0; column < headings().size(); ++column) {
        const CsvColumn::Kind kind = column == Person ? CsvColumn::Kind::Text
                                     : column <= Units ? CsvColumn::Kind::Number
                                                       : CsvColumn::Kind::Amount;
        columns << CsvColumn{headings().at(column), headings().at(column), kind};
    }
    ReportRows rows(headings());
    for (const PlanTrial::Line &line : m_lines)
        rows.appendValues(valuesOf(line));
    rows.appendValues(valuesOf(totalOf(m_lines)));
    QString error;
    if (!ReportCsv::save(*path, columns, rows, &error))
        m_prompts.message(QStringLiteral("The file \"%1\" could not be saved: %2").arg(*path, error),
                          request.title, Prompts::Icon::Critical);
}

void PlanTrialWindow::closeEvent(QCloseEvent *event)
{
    // A trial still reading is stopped first; the window closes when it has.
    if (m_running) {
        m_closeRequested = true;
        m_cancelRequested = true;
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}
