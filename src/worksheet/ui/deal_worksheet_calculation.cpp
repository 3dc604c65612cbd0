// The commission calculation as the worksheet runs it: the figures come from
// the fields, the results go back into them.
#include "worksheet/ui/deal_worksheet.h"

#include "worksheet/commission_calculation.h"
#include "common/money_format.h"
#include "worksheet/entry_rules.h"

#include <QComboBox>
#include <QLineEdit>
#include <QScopedValueRollback>

void DealWorksheet::calculateCommission()
{
    // The calculation's own focus moves leave no field.
    QScopedValueRollback<bool> running(m_checkRunning, true);
    // The plan in force gives the mini deal, cap and warranty spiff of the
    // unit class on screen; without one the standing figures do.
    CommissionInput input = CommissionInput::fromDeal(deal(), DefaultWarranty, DefaultMini);
    if (m_plan) {
        input.defaultMini = MoneyFormat::plain(m_plan->termsFor(m_ui.txtTCU->currentText()).mini);
        input.defaultWarranty = MoneyFormat::plain(m_plan->warrantySpiff);
        input.cap = m_plan->cap;
    }
    const CommissionResult result = ::calculateCommission(input);

    // Each reduction that is not an amount is reported, emptied and counted
    // as 0; the focus ends on the last of them.
    for (int row = 0; row < Deal::kRows; ++row) {
        if (!result.refusedReductions[row])
            continue;
        m_prompts.message(EntryRules::dollarsMessage(), {}, Prompts::Icon::Warning);
        m_ui.Text4[row]->clear();
        focusField(m_ui.Text4[row]);
    }
    if (result.outOfRange) {
        tooLargeToCalculate();
        return;
    }

    costAcv = result.costAcv;
    packAmount = result.packAmount;
    sellingPrice = result.sellingPrice;
    totalReductions = result.totalReductions;
    totalAdditions = result.totalAdditions;
    totalCost = result.totalCost;
    commissionAmount = result.commissionAmount;

    m_ui.txtWarranty->setText(result.warranty);
    m_ui.Text21->setText(result.payableGross);
    m_ui.Text23->setText(result.commission);
    m_ui.txtTotalComm->setText(result.totalCommission);
    m_ui.txtSpiff->setText(result.spiff);
}

// Amounts so large that the sums leave the range the program counts in
// (hundreds of trillions of dollars) are typing mistakes: nothing is
// written, and the user is told.
void DealWorksheet::tooLargeToCalculate()
{
    m_prompts.message(QStringLiteral("The amounts are too large to calculate."), {},
                      Prompts::Icon::Warning);
}
