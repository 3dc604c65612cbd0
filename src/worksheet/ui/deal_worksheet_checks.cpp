// The checks the worksheet's fields make when they are left, and the fields
// that react to every change of their text.
#include "worksheet/ui/deal_worksheet.h"

#include "common/money_format.h"
#include "worksheet/commission_calculation.h"
#include "worksheet/entry_rules.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>

#include <utility>

namespace {

QString fieldText(const QWidget *field)
{
    if (const auto *combo = qobject_cast<const QComboBox *>(field))
        return combo->currentText();
    if (const auto *line = qobject_cast<const QLineEdit *>(field))
        return line->text();
    return {};
}

void setFieldText(QWidget *field, const QString &text)
{
    if (auto *combo = qobject_cast<QComboBox *>(field))
        combo->setEditText(text);
    else if (auto *line = qobject_cast<QLineEdit *>(field))
        line->setText(text);
}

} // namespace

void DealWorksheet::connectChecks()
{
    for (QWidget *field : {m_ui.Text3, m_ui.Text13, m_ui.txtWarranty, m_ui.txtSpiff})
        addLeaveCheck(field, [this, field] { checkNumber(field); });
    for (QWidget *field : m_ui.additionAmounts)
        addLeaveCheck(field, [this, field] { checkNumber(field); });
    for (QWidget *field : QWidgetList{m_ui.Text1, m_ui.txtCustomer, m_ui.cboUnit})
        addLeaveCheck(field, [this, field] { checkLength(field); });
    addLeaveCheck(m_ui.Text2, [this] { leavePack(); });
    addLeaveCheck(m_ui.txtTCU, [this] { leaveUnitClass(); });
    addLeaveCheck(m_ui.Combo12, [this] { leaveSaleType(); });
    addLeaveCheck(m_ui.Text23, [this] { leaveCommission(); });

    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget *, QWidget *now) { focusMoved(now); });

    connect(m_ui.Text19, &QLineEdit::textChanged, this, &DealWorksheet::appraisalChanged);
    connect(m_ui.Text20, &QLineEdit::textChanged, this, &DealWorksheet::allowanceChanged);
    connect(m_ui.ToggleButton1, &QPushButton::toggled, this, &DealWorksheet::splitToggled);
}

void DealWorksheet::addLeaveCheck(QWidget *field, std::function<void()> check)
{
    m_leaveChecks.insert(field, std::move(check));
}

// A field is left when the focus goes from it to another control of this
// window. The window losing activation (to a message box, to another
// program) or a popup opening leaves no field; but coming back into another
// control than the one left does, as does a click on another control of an
// inactive window. The check runs once the focus has settled on the next
// control, so a check that puts the focus back finds a finished move.
void DealWorksheet::focusMoved(QWidget *now)
{
    QWidget *control = controlOf(now);
    if (!control)
        return; // the focus went outside this window
    if (m_returnFocusTo) {
        const QPointer<QWidget> field = std::exchange(m_returnFocusTo, nullptr);
        if (field && control != field) {
            focusField(field);
            return;
        }
    }
    QPointer<QWidget> left = m_lastFocus;
    m_lastFocus = control;
    if (!left || left == control || m_checkRunning || !m_leaveChecks.contains(left.data()))
        return;
    QMetaObject::invokeMethod(
        this, [this, left] { runLeaveCheck(left); }, Qt::QueuedConnection);
}

// The documented control a focused widget belongs to (an editable combo's
// line edit belongs to its combo); nullptr outside this window.
QWidget *DealWorksheet::controlOf(QWidget *widget) const
{
    if (!widget || widget->window() != this)
        return nullptr;
    for (QWidget *w = widget; w && w != this; w = w->parentWidget()) {
        if (m_leaveChecks.contains(w))
            return w;
    }
    return widget;
}

void DealWorksheet::runLeaveCheck(QWidget *field)
{
    // Focus moves made while a check runs (its own return to the field, the
    // message box) are not leaves of the field that took the focus.
    if (!field || m_checkRunning)
        return;
    const auto check = m_leaveChecks.value(field);
    if (!check)
        return;
    QScopedValueRollback<bool> running(m_checkRunning, true);
    check();
}

// Puts the focus back into a field that failed its check. When the window is
// not active yet (the message box has only just closed), the focus is given
// to the field when the window next takes the focus, wherever the desktop
// would have put it.
void DealWorksheet::focusField(QWidget *field)
{
    QScopedValueRollback<bool> running(m_checkRunning, true);
    m_returnFocusTo = field;
    field->setFocus(Qt::OtherFocusReason);
    if (field->hasFocus())
        m_returnFocusTo.clear();
}

void DealWorksheet::checkNumber(QWidget *field)
{
    const auto rule = EntryRules::numberRule(field->objectName());
    const QString text = fieldText(field);
    if (!rule || !EntryRules::refusesAsNumber(text))
        return;
    m_prompts.message(rule->message, {}, rule->icon);
    setFieldText(field, rule->refusedText(text));
    focusField(field);
}

void DealWorksheet::checkLength(QWidget *field)
{
    const auto rule = EntryRules::lengthRule(field->objectName());
    if (!rule || !rule->refuses(fieldText(field)))
        return;
    m_prompts.message(rule->message);
    focusField(field);
}

// The pack is written in the "Currency" form once it has passed its check.
void DealWorksheet::leavePack()
{
    checkNumber(m_ui.Text2);
    m_ui.Text2->setText(EntryRules::inForm(m_ui.Text2->text(), MoneyFormat::currency));
}

// The pack is replaced each time the unit class is left, by the default pack
// of the class; a used unit also resets the sale type. With a pay plan in
// force the class's pack and rate come from the plan instead, and a pack or
// rate typed for this deal is kept.
void DealWorksheet::leaveUnitClass()
{
    const auto outcome =
        EntryRules::leaveUnitClass(m_ui.txtTCU->currentText(), DefaultNewPack, DefaultUsedPack);
    if (outcome.saleType)
        m_ui.Combo12->setEditText(*outcome.saleType);
    m_plan = lookUpPlan();
    if (m_plan) {
        fillPlanFigures();
        return;
    }
    m_ui.Text2->setText(outcome.pack);
    m_packTyped = false;
    showOverrideMarks();
}

void DealWorksheet::leaveSaleType()
{
    const auto outcome = EntryRules::leaveSaleType(m_ui.Combo12->currentText());
    m_ui.reductionCombos[0]->setEditText(outcome.firstReduction);
    if (outcome.wrongLength)
        m_prompts.message(EntryRules::oneCharacterMessage());
}

// A commission typed over is re-totalled as it stands: the mini deal is not
// applied again.
void DealWorksheet::leaveCommission()
{
    const CommissionTotal total =
        totalCommission(m_ui.Text23->text(), m_ui.txtSpiff->text(), m_ui.txtWarranty->text());
    if (total.outOfRange) {
        tooLargeToCalculate();
        return;
    }
    m_ui.txtTotalComm->setText(total.totalCommission);
    m_ui.txtSpiff->setText(total.spiff);
    m_ui.Text23->setText(total.commission);
}

void DealWorksheet::appraisalChanged(const QString &text)
{
    if (!m_fillingDeal && !m_checkRunning && EntryRules::refusesAsNumber(text)) {
        QScopedValueRollback<bool> running(m_checkRunning, true);
        m_prompts.message(EntryRules::validNumberMessage());
        focusField(m_ui.Text19);
    }
    m_ui.lblStock->setVisible(!text.isEmpty());
    m_ui.txtStock->setVisible(!text.isEmpty());
}

// Emptying the allowance hides the options but keeps their selection.
void DealWorksheet::allowanceChanged(const QString &text)
{
    m_ui.Option2->setVisible(!text.isEmpty());
    m_ui.Option1->setVisible(!text.isEmpty());
    if (!text.isEmpty())
        m_ui.Option2->setFocusPolicy(Qt::StrongFocus);
}

void DealWorksheet::splitToggled(bool down)
{
    m_ui.ToggleButton1->setText(down ? QStringLiteral("Yes") : QStringLiteral("No"));
    m_ui.Label20->setVisible(down);
    m_ui.DBCombo2->setVisible(down);
    m_ui.lblShare->setVisible(down);
    m_ui.txtShare->setVisible(down);
}

// Exclusive option buttons refuse to be unselected one by one; both are
// released together here.
void DealWorksheet::setAllowanceOptions(bool overAllow, bool underAllow)
{
    for (QRadioButton *option : {m_ui.Option2, m_ui.Option1})
        option->setAutoExclusive(false);
    m_ui.Option2->setChecked(overAllow && !underAllow);
    m_ui.Option1->setChecked(underAllow);
    for (QRadioButton *option : {m_ui.Option2, m_ui.Option1})
        option->setAutoExclusive(true);
}
