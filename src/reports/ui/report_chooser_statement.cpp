// The report chooser's statement: its period step and its run.
#include "reports/ui/report_chooser_window.h"

#include "reports/salesperson_statement_query.h"
#include "reports/ui/sales_report_printer.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>

QFrame *ReportChooserWindow::buildStatementStep()
{
    m_fraStatement = new QFrame(this);
    m_fraStatement->setObjectName(QStringLiteral("fraStatement"));
    m_fraStatement->setFrameShape(QFrame::StyledPanel);
    const auto option = [this](const QString &caption, const char *name) {
        auto *button = new QRadioButton(caption, m_fraStatement);
        button->setObjectName(QString::fromLatin1(name));
        return button;
    };
    m_optMonth = option(QStringLiteral("Month"), "optMonth");
    m_optYearToDate = option(QStringLiteral("Year to Date (to the End Date)"), "optYearToDate");
    m_optDates = option(QStringLiteral("From the Start Date to the End Date"), "optDates");
    auto *group = new QButtonGroup(m_fraStatement);
    for (QRadioButton *button : {m_optMonth, m_optYearToDate, m_optDates})
        group->addButton(button);
    m_dtpMonth = new QDateEdit(m_fraStatement);
    m_dtpMonth->setObjectName(QStringLiteral("dtpMonth"));
    m_dtpMonth->setDisplayFormat(QStringLiteral("MMMM yyyy"));
    m_dtpMonth->setCalendarPopup(true);

    auto *caption = new QLabel(QStringLiteral("Period"), m_fraStatement);
    caption->setObjectName(QStringLiteral("lblStatementPeriod"));
    auto *layout = new QGridLayout(m_fraStatement);
    layout->addWidget(caption, 0, 0, 1, 2);
    layout->addWidget(m_optMonth, 1, 0);
    layout->addWidget(m_dtpMonth, 1, 1);
    layout->addWidget(m_optYearToDate, 2, 0, 1, 2);
    layout->addWidget(m_optDates, 3, 0, 1, 2);
    connect(m_dtpMonth, &QDateEdit::dateChanged, m_optMonth,
            [this] { m_optMonth->setChecked(true); });
    return m_fraStatement;
}

std::optional<StatementPeriod> ReportChooserWindow::statementPeriod()
{
    if (m_optMonth->isChecked())
        return StatementPeriod::month(m_dtpMonth->date());
    if (m_optYearToDate->isChecked())
        return StatementPeriod::yearToDate(m_dptEndDate->date());
    if (!checkDates())
        return std::nullopt;
    return StatementPeriod::between(m_dptStartDate->date(), m_dptEndDate->date());
}

void ReportChooserWindow::runStatement()
{
    const std::optional<StatementPeriod> period = statementPeriod();
    if (!period)
        return;
    const QString name = m_cboSalesPerson->currentText();
    QString error;
    const std::optional<SalespersonStatement::Statement> statement =
        SalespersonStatementQuery::statement(m_database, name, *period, &error);
    if (!statement) {
        tellUnreadable(error);
        return;
    }
    m_printer->showStatement(SalespersonStatement::rows(*statement), name, *period);
}
