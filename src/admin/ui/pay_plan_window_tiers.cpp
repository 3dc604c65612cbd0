// The volume tiers of the pay plan window: a grid of tiers typed as text,
// Add Tier and Remove Tier, how the tiers pay and which classes they count.
#include "admin/ui/pay_plan_window.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include <algorithm>

namespace {

enum TierColumn { UnitsFrom, Percent, PerUnit, Mini, ColumnCount };

// Four rows show without scrolling; more scroll.
constexpr int kTierRowsShown = 4;

QTableWidgetItem *tierItem(const QString &text = {})
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

} // namespace

void PayPlanWindow::buildTierControls(QBoxLayout *layout)
{
    auto *lblTiers = new QLabel(QStringLiteral("Volume &Tiers (units in a month):"), this);
    lblTiers->setObjectName(QStringLiteral("lblTiers"));
    layout->addWidget(lblTiers);

    m_grdTiers = new QTableWidget(0, ColumnCount, this);
    m_grdTiers->setObjectName(QStringLiteral("grdTiers"));
    m_grdTiers->setHorizontalHeaderLabels({QStringLiteral("Units From"), QStringLiteral("Percent"),
                                           QStringLiteral("Bonus a Unit"), QStringLiteral("Mini")});
    m_grdTiers->setToolTip(QStringLiteral("From so many units in a month (whole or half), a "
                                          "commission percent or a bonus a unit, and optionally "
                                          "a higher mini deal; lowest first"));
    m_grdTiers->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_grdTiers->setSelectionMode(QAbstractItemView::SingleSelection);
    // Columns of one width, wide enough for the longest heading.
    m_grdTiers->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    int widest = 0;
    for (int column = 0; column < ColumnCount; ++column)
        widest = std::max(widest, m_grdTiers->horizontalHeader()->sectionSizeHint(column));
    m_grdTiers->setMinimumWidth(ColumnCount * (widest + 8) + 2 * m_grdTiers->frameWidth() +
                                m_grdTiers->verticalHeader()->sizeHint().width());
    m_grdTiers->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    const int rowHeight = m_grdTiers->verticalHeader()->defaultSectionSize();
    m_grdTiers->setFixedHeight(m_grdTiers->horizontalHeader()->sizeHint().height() +
                               kTierRowsShown * rowHeight + 2 * m_grdTiers->frameWidth());
    lblTiers->setBuddy(m_grdTiers);

    auto *choices = new QGridLayout;
    const auto addButton = [this](const QString &name, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    m_cmdAddTier = addButton(QStringLiteral("cmdAddTier"), QStringLiteral("Add T&ier"));
    m_cmdRemoveTier = addButton(QStringLiteral("cmdRemoveTier"), QStringLiteral("Re&move Tier"));
    m_cboTierMode = new QComboBox(this);
    m_cboTierMode->setObjectName(QStringLiteral("cboTierMode"));
    m_cboTierMode->addItems({QStringLiteral("Retroactive"), QStringLiteral("Marginal")});
    m_cboTierMode->setToolTip(
        QStringLiteral("Retroactive: a tier pays on every unit of the "
                       "month; marginal: only on the units from its line on"));
    m_cboTierClasses = new QComboBox(this);
    m_cboTierClasses->setObjectName(QStringLiteral("cboTierClasses"));
    m_cboTierClasses->addItems(
        {QStringLiteral("All classes"), QStringLiteral("New only"), QStringLiteral("Used only")});
    m_cboTierClasses->setToolTip(
        QStringLiteral("The unit classes counted toward the month's units"));
    auto *lblTierMode = new QLabel(QStringLiteral("Tiers Pa&y:"), this);
    lblTierMode->setBuddy(m_cboTierMode);
    auto *lblTierClasses = new QLabel(QStringLiteral("Co&unting:"), this);
    lblTierClasses->setBuddy(m_cboTierClasses);
    choices->addWidget(m_cmdAddTier, 0, 0);
    choices->addWidget(m_cmdRemoveTier, 0, 1);
    choices->addWidget(lblTierMode, 1, 0);
    choices->addWidget(m_cboTierMode, 1, 1);
    choices->addWidget(lblTierClasses, 2, 0);
    choices->addWidget(m_cboTierClasses, 2, 1);
    choices->setRowStretch(3, 1);

    auto *row = new QHBoxLayout;
    row->addWidget(m_grdTiers, 1);
    row->addLayout(choices);
    layout->addLayout(row);

    connect(m_cmdAddTier, &QPushButton::clicked, this, &PayPlanWindow::addTier);
    connect(m_cmdRemoveTier, &QPushButton::clicked, this, &PayPlanWindow::removeTier);
}

void PayPlanWindow::showTiers(const PlanForm &form, bool readOnly)
{
    m_grdTiers->clearContents();
    m_grdTiers->setRowCount(int(form.tiers.size()));
    for (int row = 0; row < form.tiers.size(); ++row) {
        const PlanForm::TierRow &tier = form.tiers.at(row);
        const QStringList texts{tier.unitsFrom, tier.percent, tier.perUnit, tier.mini};
        for (int column = 0; column < ColumnCount; ++column)
            m_grdTiers->setItem(row, column, tierItem(texts.at(column)));
    }
    m_grdTiers->setEditTriggers(readOnly ? QAbstractItemView::NoEditTriggers
                                         : QAbstractItemView::AllEditTriggers);
    m_cboTierMode->setCurrentIndex(form.tierMode == TierMode::Marginal ? 1 : 0);
    m_cboTierClasses->setCurrentIndex(form.tierClasses == TierClasses::NewOnly    ? 1
                                      : form.tierClasses == TierClasses::UsedOnly ? 2
                                                                                  : 0);
    for (QWidget *w :
         QList<QWidget *>{m_cmdAddTier, m_cmdRemoveTier, m_cboTierMode, m_cboTierClasses})
        w->setEnabled(w->isEnabled() && !readOnly);
}

void PayPlanWindow::readTiers(PlanForm &form) const
{
    for (int row = 0; row < m_grdTiers->rowCount(); ++row) {
        QStringList texts;
        for (int column = 0; column < ColumnCount; ++column) {
            const QTableWidgetItem *item = m_grdTiers->item(row, column);
            texts << (item ? item->text() : QString());
        }
        form.tiers << PlanForm::TierRow{texts.at(UnitsFrom), texts.at(Percent), texts.at(PerUnit),
                                        texts.at(Mini)};
    }
    form.tierMode = m_cboTierMode->currentIndex() == 1 ? TierMode::Marginal : TierMode::Retroactive;
    const int classes = m_cboTierClasses->currentIndex();
    form.tierClasses = classes == 1   ? TierClasses::NewOnly
                       : classes == 2 ? TierClasses::UsedOnly
                                      : TierClasses::All;
}

void PayPlanWindow::setTierControlsEnabled(bool enabled)
{
    for (QWidget *w : QList<QWidget *>{m_grdTiers, m_cmdAddTier, m_cmdRemoveTier, m_cboTierMode,
                                       m_cboTierClasses})
        w->setEnabled(enabled);
}

void PayPlanWindow::finishTierEdit()
{
    // Moving the current cell commits the open editor to its item.
    const QModelIndex current = m_grdTiers->currentIndex();
    m_grdTiers->setCurrentIndex(QModelIndex());
    m_grdTiers->setCurrentIndex(current);
}

void PayPlanWindow::addTier()
{
    if (m_grdTiers->editTriggers() == QAbstractItemView::NoEditTriggers)
        return;
    const int row = m_grdTiers->rowCount();
    m_grdTiers->insertRow(row);
    for (int column = 0; column < ColumnCount; ++column)
        m_grdTiers->setItem(row, column, tierItem());
    m_grdTiers->setCurrentCell(row, UnitsFrom);
    m_grdTiers->setFocus();
    m_grdTiers->editItem(m_grdTiers->item(row, UnitsFrom));
}

void PayPlanWindow::removeTier()
{
    const int row = m_grdTiers->currentRow();
    if (m_grdTiers->editTriggers() == QAbstractItemView::NoEditTriggers || row < 0)
        return;
    m_grdTiers->removeRow(row);
}
