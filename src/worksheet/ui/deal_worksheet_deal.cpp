// The deal on screen as a value: read from the fields, and put back into them.
#include "worksheet/ui/deal_worksheet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>

Deal DealWorksheet::deal() const
{
    Deal d;
    d.date = m_ui.dtpDate->date();
    d.salesPerson = m_ui.DBCombo1->currentText();
    d.customer = m_ui.txtCustomer->text();
    d.stockNumber = m_ui.Text1->text();
    d.year = m_ui.cboYear->currentText();
    d.unit = m_ui.cboUnit->currentText();
    d.unitClass = m_ui.txtTCU->currentText();
    d.saleType = m_ui.Combo12->currentText();
    d.sellingPrice = m_ui.Text3->text();
    d.cost = m_ui.Text13->text();
    for (int row = 0; row < Deal::kRows; ++row) {
        d.reductionDescriptions[row] = m_ui.reductionCombos[row]->currentText();
        d.reductionAmounts[row] = m_ui.Text4[row]->text();
        d.additionDescriptions[row] = m_ui.additionCombos[row]->currentText();
        d.additionAmounts[row] = m_ui.additionAmounts[row]->text();
    }
    d.appraisal = m_ui.Text19->text();
    d.tradeStock = m_ui.txtStock->text();
    d.allowance = m_ui.Text20->text();
    d.overAllow = m_ui.Option2->isChecked();
    d.underAllow = m_ui.Option1->isChecked();
    d.pack = m_ui.Text2->text();
    d.commissionRate = m_ui.Text22->text();
    d.warrantySold = m_ui.Check1->isChecked();
    d.payableGross = m_ui.Text21->text();
    d.commission = m_ui.Text23->text();
    d.warranty = m_ui.txtWarranty->text();
    d.spiff = m_ui.txtSpiff->text();
    d.totalCommission = m_ui.txtTotalComm->text();
    d.split = m_ui.ToggleButton1->isChecked();
    d.splitPartner = m_ui.DBCombo2->currentText();
    d.splitShare = m_ui.txtShare->text();
    if (m_plan) {
        d.planVersion = m_plan->id;
        if (m_ui.lblPackOverride->isVisibleTo(m_ui.content))
            d.planPack = planPackText();
        if (m_ui.lblRateOverride->isVisibleTo(m_ui.content))
            d.planRate = planRateText();
    }
    return d;
}

void DealWorksheet::showDeal(const Deal &d)
{
    // The fields react as if typed, but a recalled deal raises no messages.
    QScopedValueRollback<bool> filling(m_fillingDeal, true);
    if (d.date.isValid())
        m_ui.dtpDate->setDate(d.date);
    m_ui.DBCombo1->setEditText(d.salesPerson);
    m_ui.txtCustomer->setText(d.customer);
    m_ui.Text1->setText(d.stockNumber);
    m_ui.cboYear->setEditText(d.year);
    m_ui.cboUnit->setEditText(d.unit);
    m_ui.txtTCU->setEditText(d.unitClass);
    m_ui.Combo12->setEditText(d.saleType);
    m_ui.Text3->setText(d.sellingPrice);
    m_ui.Text13->setText(d.cost);
    for (int row = 0; row < Deal::kRows; ++row) {
        m_ui.reductionCombos[row]->setEditText(d.reductionDescriptions[row]);
        m_ui.Text4[row]->setText(d.reductionAmounts[row]);
    }
    for (int row = 0; row < Deal::kRows; ++row) {
        m_ui.additionCombos[row]->setEditText(d.additionDescriptions[row]);
        m_ui.additionAmounts[row]->setText(d.additionAmounts[row]);
    }
    m_ui.Text19->setText(d.appraisal);
    m_ui.Text20->setText(d.allowance);
    m_ui.txtStock->setText(d.tradeStock);
    m_ui.Text2->setText(d.pack);
    m_ui.Text22->setText(d.commissionRate);
    m_ui.Text21->setText(d.payableGross);
    m_ui.Text23->setText(d.commission);
    m_ui.txtWarranty->setText(d.warranty);
    m_ui.txtSpiff->setText(d.spiff);
    m_ui.txtTotalComm->setText(d.totalCommission);
    m_ui.DBCombo2->setEditText(d.splitPartner);
    setAllowanceOptions(d.overAllow, d.underAllow);
    m_ui.ToggleButton1->setChecked(d.split);
    m_ui.Check1->setChecked(d.warrantySold);
    m_ui.txtShare->setText(d.splitShare.isEmpty() ? QStringLiteral("50") : d.splitShare);
    // The deal keeps the plan it was worked out by and the figures typed
    // over it; nothing is filled again.
    m_plan = d.planVersion && m_planLookup.byId ? m_planLookup.byId(*d.planVersion) : std::nullopt;
    m_packTyped = !d.planPack.isEmpty();
    m_rateTyped = !d.planRate.isEmpty();
    showOverrideMarks();
}

void DealWorksheet::setSalesPersons(const QStringList &names)
{
    for (QComboBox *combo : {m_ui.DBCombo1, m_ui.DBCombo2}) {
        const QString shown = combo->currentText();
        combo->clear();
        combo->addItems(names);
        combo->setEditText(shown);
    }
}
