// The salesperson's pay plan on the worksheet: the pack and the rate come
// from the version in force for the salesperson, the date and the unit
// class, except where typed for this deal; Calculate takes the version's
// mini deal, cap and warranty spiff. Without a plan everything is as it
// always was: the standing figures.
#include "worksheet/ui/deal_worksheet.h"

#include "common/money_format.h"
#include "pay/rate_text.h"
#include "pay/split_share.h"
#include "worksheet/entry_rules.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>

void DealWorksheet::connectPlan()
{
    connect(m_ui.DBCombo1, &QComboBox::editTextChanged, this, [this] { planContextChanged(); });
    connect(m_ui.dtpDate, &QDateEdit::dateChanged, this, [this] { planContextChanged(); });
    connect(m_ui.Text2, &QLineEdit::textEdited, this, [this] {
        m_packTyped = true;
        showOverrideMarks();
    });
    connect(m_ui.Text22, &QLineEdit::textEdited, this, [this] {
        m_rateTyped = true;
        showOverrideMarks();
    });
    addLeaveCheck(m_ui.txtShare, [this] { leaveShare(); });
}

std::optional<PayPlanVersion> DealWorksheet::lookUpPlan() const
{
    const QString salesPerson = m_ui.DBCombo1->currentText();
    if (!m_planLookup.inForce || salesPerson.trimmed().isEmpty())
        return std::nullopt;
    return m_planLookup.inForce(salesPerson, m_ui.dtpDate->date());
}

void DealWorksheet::planContextChanged()
{
    if (m_fillingDeal)
        return;
    std::optional<PayPlanVersion> now = lookUpPlan();
    showVolumeProgress(now);
    const bool same = now.has_value() == m_plan.has_value() && (!now || now->id == m_plan->id);
    if (same)
        return;
    m_plan = std::move(now);
    fillPlanFigures();
}

// The salesperson's month toward the next volume tier, in the status bar;
// a worksheet whose plans have no tiers shows no status bar at all.
void DealWorksheet::showVolumeProgress(const std::optional<PayPlanVersion> &plan)
{
    const bool tiered = plan && !plan->tiers.isEmpty() && m_planLookup.volumeProgress;
    const QString text =
        tiered ? m_planLookup.volumeProgress(*plan, m_ui.dtpDate->date()) : QString();
    if (text.isEmpty() && !findChild<QStatusBar *>())
        return;
    statusBar()->showMessage(text);
}

QString DealWorksheet::planPackText() const
{
    if (!m_plan)
        return {};
    return MoneyFormat::currency(m_plan->termsFor(m_ui.txtTCU->currentText()).pack);
}

QString DealWorksheet::planRateText() const
{
    if (!m_plan)
        return {};
    const PlanTerms &terms = m_plan->termsFor(m_ui.txtTCU->currentText());
    return terms.kind == PlanTerms::Kind::Flat ? RateText::ofFlat(terms.flat)
                                               : RateText::ofPercent(terms.percent);
}

void DealWorksheet::fillPlanFigures()
{
    if (!m_packTyped) {
        if (m_plan) {
            m_ui.Text2->setText(planPackText());
        } else {
            const auto outcome = EntryRules::leaveUnitClass(m_ui.txtTCU->currentText(),
                                                            DefaultNewPack, DefaultUsedPack);
            m_ui.Text2->setText(outcome.pack);
        }
    }
    if (!m_rateTyped)
        m_ui.Text22->setText(m_plan ? planRateText() : DefaultCommission + u'%');
    showOverrideMarks();
}

// A figure typed over the plan's is marked, naming the plan's figure; one
// that happens to equal it is not.
void DealWorksheet::showOverrideMarks()
{
    bool packDiffers = false;
    bool rateDiffers = false;
    if (m_plan) {
        const PlanTerms &terms = m_plan->termsFor(m_ui.txtTCU->currentText());
        packDiffers = m_packTyped && MoneyText::parse(m_ui.Text2->text()) != terms.pack;
        const QString rate = m_ui.Text22->text();
        const std::optional<Money> flat = RateText::flatAmount(rate);
        rateDiffers = m_rateTyped && (terms.kind == PlanTerms::Kind::Flat
                                          ? flat != terms.flat
                                          : flat || MoneyText::readPercent(rate) != terms.percent);
    }
    m_ui.lblPackOverride->setVisible(packDiffers);
    m_ui.lblPackOverride->setToolTip(
        packDiffers ? QStringLiteral("Typed for this deal; the pay plan's pack is %1.")
                          .arg(planPackText())
                    : QString());
    m_ui.Text2->setToolTip(m_ui.lblPackOverride->toolTip());
    m_ui.lblRateOverride->setVisible(rateDiffers);
    m_ui.lblRateOverride->setToolTip(
        rateDiffers ? QStringLiteral("Typed for this deal; the pay plan's rate is %1.")
                          .arg(planRateText())
                    : QString());
    m_ui.Text22->setToolTip(m_ui.lblRateOverride->toolTip());
}

void DealWorksheet::forgetPlan()
{
    m_plan.reset();
    m_packTyped = false;
    m_rateTyped = false;
    showOverrideMarks();
}

void DealWorksheet::leaveShare()
{
    if (SplitShare::parse(m_ui.txtShare->text()))
        return;
    m_prompts.message(SplitShare::refusedMessage(m_ui.txtShare->text()));
    m_ui.txtShare->setText(QString::number(SplitShare::kEven));
    focusField(m_ui.txtShare);
}
