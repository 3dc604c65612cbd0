// Start-up, clearing and activation of the worksheet.
#include "worksheet/ui/deal_worksheet.h"

#include "worksheet/standing_figures.h"
#include "common/money_format.h"
#include "worksheet/entry_rules.h"
#include "worksheet/ui/center_form.h"
#include "worksheet/worksheet_lists.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

void DealWorksheet::startUp()
{
    dealSaved = false;
    m_ui.lblStock->hide();
    m_ui.txtStock->hide();

    QStringList problems;
    loadStandingFigures(&problems);

    const QDate today = QDate::currentDate();
    m_ui.dtpDate->setDate(today);
    m_ui.cboYear->setEditText(DateFormat::picture(today, QStringLiteral("YYYY")));
    // A window not shown yet takes its laid-out size before it is centred.
    if (!isVisible())
        layout()->activate();
    fitToScreen();
    CenterForm(this);
    clearDeal();
    // A wrong pack or rate would change every commission unnoticed.
    if (!problems.isEmpty())
        m_prompts.message(StandingFigures::problemReport(problems), {}, Prompts::Icon::Warning);
}

void DealWorksheet::fitToScreen()
{
    QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // Before the window is first shown its frame is not known yet: allow for
    // a title bar and borders as the style draws them.
    QSize frame = frameGeometry().size() - size();
    if (!isVisible()) {
        const int border = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
        frame = QSize(2 * border,
                      style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this) + border);
    }
    resize(sizeHint().boundedTo(screen->availableGeometry().size() - frame));
}

void DealWorksheet::reloadStandingFigures()
{
    loadStandingFigures(nullptr);
}

void DealWorksheet::loadStandingFigures(QStringList *problems)
{
    // Missing settings files are created with their defaults.
    const StandingFigures figures = StandingFigures::load(m_folder, problems);
    DefaultNewPack = figures.newPack;
    DefaultUsedPack = figures.usedPack;
    DefaultWarranty = figures.warranty;
    // Warranty entry switched off stays off until the program is started
    // afresh: nothing shows these again.
    if (figures.warrantyEntryOff()) {
        m_ui.txtWarranty->hide();
        m_ui.Check1->hide();
        m_ui.Label24->hide();
    }
    DefaultCommission = figures.commission;
    DefaultMini = figures.mini;

    const QString typedUnit = m_ui.cboUnit->currentText();
    m_ui.cboUnit->clear();
    if (!figures.units.isEmpty())
        unitLine = figures.units.last();
    m_ui.cboUnit->addItems(WorksheetLists::sortedForList(figures.units));
    m_ui.cboUnit->setCurrentIndex(-1);
    m_ui.cboUnit->setEditText(typedUnit);
}

void DealWorksheet::clearDeal()
{
    forgetPlan();
    setAllowanceOptions(false, false);
    m_ui.ToggleButton1->setChecked(false);
    m_ui.Text22->setText(DefaultCommission + u'%');
    m_ui.Text2->setText(EntryRules::inForm(DefaultNewPack, MoneyFormat::dollars));
    m_ui.Text1->clear();
    m_ui.Text3->clear();
    m_ui.DBCombo1->setEditText(QString());
    m_ui.Text13->clear();

    for (int row = 0; row < Deal::kRows; ++row) {
        m_ui.reductionCombos[row]->setEditText(QString());
        m_ui.Text4[row]->clear();
    }
    for (int row = 0; row < Deal::kRows; ++row) {
        m_ui.additionCombos[row]->setEditText(QString());
        m_ui.additionAmounts[row]->clear();
    }
    m_ui.Combo12->setEditText(QStringLiteral("0"));
    m_ui.cboUnit->setEditText(QString());
    m_ui.txtCustomer->clear();
    m_ui.Text19->clear();
    m_ui.Text20->clear();
    m_ui.Text21->clear();
    m_ui.Text23->clear();
    m_ui.DBCombo2->setEditText(QString());
    m_ui.txtShare->setText(QStringLiteral("50"));

    m_ui.lblStock->hide();
    m_ui.txtStock->hide();
    m_ui.txtStock->clear();
    m_ui.Check1->setChecked(false);
    m_ui.txtSpiff->setText(QStringLiteral("0"));
    m_ui.txtWarranty->setText(QStringLiteral("0"));
    m_ui.txtTotalComm->clear();
    m_ui.txtTCU->setEditText(QString());

    setFlagRecall(false);
    applyState(WorksheetState::NewDeal);
    emit dealCleared();
}
