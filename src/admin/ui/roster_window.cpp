#include "roster_window.h"

#include "payroll_codes_window.h"
#include "record_view.h"

#include "common/prompts.h"
#include "common/ui/bring_up.h"
#include "store/deal_database.h"
#include "store/record_table.h"
#include "store/store_schema.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

std::unique_ptr<RecordTable> salesPersons(DealDatabase &database)
{
    return std::make_unique<RecordTable>(
        database.connection(), QString::fromLatin1(StoreSchema::kSalesPersons),
        QList<RecordField>{{QStringLiteral("Name"), RecordField::Kind::RequiredText,
                            QStringLiteral("Sales Person")}});
}

} // namespace

RosterWindow::RosterWindow(DealDatabase &database, Prompts &prompts, QWidget *parent)
    : RecordWindow(salesPersons(database), prompts, parent), m_database(database)
{
    setObjectName(QStringLiteral("frmAdd2"));
    setWindowTitle(QStringLiteral("Add/Delete Salesperson"));
    buildControls();
    bind({m_txtFields}, m_data2);

    connect(m_cmdAdd, &QPushButton::clicked, this, &RosterWindow::add);
    connect(m_cmdDelete, &QPushButton::clicked, this, &RosterWindow::deleteCheck);
    connect(m_cmdUpdate, &QPushButton::clicked, this, &RosterWindow::save);
    connect(m_cmdEdit, &QPushButton::clicked, this, &RosterWindow::edit);
    connect(m_cmdClose, &QPushButton::clicked, this, &RosterWindow::close);
    connect(m_cmdPayroll, &QPushButton::clicked, this, &RosterWindow::cmdPayroll_Click);

    openOnFirstRecord();
}

void RosterWindow::buildControls()
{
    m_label1 = new QLabel(QStringLiteral("Sales Person:"), this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setFont(QFont(QStringLiteral("Arial")));
    m_label2 = new QLabel(this);
    m_label2->setObjectName(QStringLiteral("Label2"));
    m_label2->setFrameShape(QFrame::HLine);
    m_txtFields = new QLineEdit(this);
    m_txtFields->setObjectName(QStringLiteral("txtFields"));
    m_label1->setBuddy(m_txtFields);
    m_data2 = new RecordBar(QStringLiteral(" Step through records"), this);
    m_data2->setObjectName(QStringLiteral("data2"));
    m_cmdAdd = button(this, "cmdAdd", "Add");
    m_cmdDelete = button(this, "cmdDelete", "Delete");
    m_cmdUpdate = button(this, "cmdUpdate", "Save");
    m_cmdEdit = button(this, "cmdEdit", "Edit");
    m_cmdClose = button(this, "cmdClose", "Close");
    m_cmdPayroll = button(this, "cmdPayroll", "");
    m_cmdPayroll->setText(QStringLiteral("Payroll\u2026"));

    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(m_label1);
    nameRow->addWidget(m_txtFields, 1);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {m_cmdAdd, m_cmdDelete, m_cmdUpdate, m_cmdEdit, m_cmdClose})
        buttons->addWidget(b);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(nameRow);
    layout->addWidget(m_label2);
    layout->addLayout(buttons);
    layout->addWidget(m_data2);
    auto *payroll = new QHBoxLayout;
    payroll->addStretch(1);
    payroll->addWidget(m_cmdPayroll);
    layout->addLayout(payroll);

    setTabOrder(m_txtFields, m_cmdAdd);
    setTabOrder(m_cmdAdd, m_cmdDelete);
    setTabOrder(m_cmdDelete, m_cmdUpdate);
    setTabOrder(m_cmdUpdate, m_cmdEdit);
    setTabOrder(m_cmdEdit, m_cmdClose);
    setTabOrder(m_cmdClose, m_cmdPayroll);
}

void RosterWindow::openOnFirstRecord()
{
    m_cmdUpdate->setEnabled(false);
    RecordWindow::openOnFirstRecord();
}

void RosterWindow::focusName()
{
    m_txtFields->setFocus();
}

void RosterWindow::dataError(const QString &error)
{
    prompts().message(QStringLiteral("Data error event hit err:") + error);
}

// Leaving a record drops a name started with Add and not saved, and writes a
// name changed in the field.
bool RosterWindow::leaveRecord()
{
    RecordCursor &current = cursor();
    if (current.isAdding()) {
        current.abandonNew();
        m_cmdUpdate->setEnabled(false);
        return true;
    }
    if (!view().isChanged())
        return true;
    QString error;
    if (current.write(view().texts(), &error))
        return true;
    dataError(error);
    return false;
}

void RosterWindow::add()
{
    m_txtFields->setFocus();
    if (!leaveRecord())
        return;
    cursor().startNew();
    showRecord();
    m_cmdUpdate->setEnabled(true);
}

void RosterWindow::edit()
{
    m_cmdUpdate->setEnabled(true);
}

void RosterWindow::save()
{
    RecordCursor &current = cursor();
    const QString name = m_txtFields->text();
    if (!current.isAdding() && current.position() < 0) {
        m_cmdUpdate->setEnabled(false);
        return;
    }
    QString error;
    if (!current.write({name}, &error)) {
        dataError(error);
        return;
    }
    m_cmdUpdate->setEnabled(false);
    prompts().message(name +
                      QStringLiteral(" has been added... It will show the next time you load "
                                     "Tarvex"));
    // On to the next record; after the last one the window stays on it.
    const int next = current.position() + 1;
    if (next < table().rowCount() && !current.moveTo(next, &error))
        dataError(error);
    showRecord();
}

void RosterWindow::deleteCheck()
{
    RecordCursor &current = cursor();
    if (current.isAdding()) {
        // The name being added is not in the table yet: dropping it is all.
        leaveRecord();
        showRecord();
        return;
    }
    const int count = table().rowCount();
    if (count == 0)
        return;
    if (count == 1) {
        prompts().message(QStringLiteral("You cannot delete the last record. Add your new "
                                         "salesperson then delete."),
                          QStringLiteral("Last Record Error"));
        return;
    }
    const QString name = current.shown().value(0);
    const Prompts::Answer answer = prompts().message(
        QStringLiteral("Do you want to delete ") + name + QStringLiteral(" from the database?"), {},
        Prompts::Icon::None, Prompts::Buttons::YesNoCancel);
    if (answer != Prompts::Answer::Yes)
        return;
    QString ignored;
    current.removeCurrent(&ignored);
    showRecord();
}

void RosterWindow::closeEvent(QCloseEvent *event)
{
    // A name that cannot be written has been reported; the window closes.
    if (!isClosingForExit())
        leaveRecord();
    QWidget::closeEvent(event);
}

PayrollCodesWindow *RosterWindow::payrollCodes() const
{
    return m_payrollCodes;
}

// The salesperson shown; one being added is saved first.
void RosterWindow::cmdPayroll_Click()
{
    RecordCursor &current = cursor();
    if (current.isAdding() || current.position() < 0) {
        prompts().message(QStringLiteral("Save the salesperson before entering the payroll ID."),
                          QStringLiteral("Payroll"));
        return;
    }
    // A name changed in the field is written first, so the codes go with it.
    if (!leaveRecord())
        return;
    showRecord();
    if (!m_payrollCodes)
        m_payrollCodes = new PayrollCodesWindow(m_database, prompts(), this);
    m_payrollCodes->showSalesPerson(current.shown().value(0));
    bringUp(*m_payrollCodes);
}
