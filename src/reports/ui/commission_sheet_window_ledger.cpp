// What the commission sheet settles besides the deals: the open chargebacks
// it deducts, the deals held back, the draws recorded and recovered, and the
// draft of the net pay shown before anything is recorded.
#include "reports/ui/commission_sheet_window.h"

#include "common/money_format.h"
#include "pay/sheet_statement.h"
#include "reports/sheet_entry.h"
#include "store/column_value.h"
#include "store/deal_database.h"
#include "store/pay_plan_store.h"
#include "store/sales_ledger.h"
#include "store/volume_ledger.h"

#include <QCheckBox>
#include <QLocale>

#include <algorithm>

#include <QComboBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace {

QTableWidget *linesGrid(QWidget *window, const char *name, const QStringList &headings)
{
    auto *grid = new QTableWidget(0, int(headings.size()), window);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setHorizontalHeaderLabels(headings);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->hide();
    // Every column in view, sharing the grid's width; a text cut short is
    // whole in its tool tip.
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grid->setWordWrap(false);
    grid->setMaximumHeight(120);
    return grid;
}

QPushButton *ledgerButton(QWidget *window, const char *name, const QString &caption)
{
    auto *result = new QPushButton(caption, window);
    result->setObjectName(QString::fromLatin1(name));
    return result;
}

void setRow(QTableWidget *grid, int row, const QStringList &texts, qint64 key)
{
    for (int column = 0; column < int(texts.size()); ++column) {
        auto *item = new QTableWidgetItem(texts.at(column));
        item->setToolTip(item->text());
        if (column == 0)
            item->setData(Qt::UserRole, key);
        grid->setItem(row, column, item);
    }
}

QString dateText(const QDate &date)
{
    return DateFormat::picture(date, QStringLiteral("mm/dd/yyyy"));
}

QString amountText(const QVariant &stored)
{
    return MoneyFormat::dollarsGrouped(ColumnValue::moneyFrom(stored).value_or(Money()));
}

} // namespace

void CommissionSheetWindow::buildLedgerControls(QBoxLayout *layout)
{
    auto *linesLabel = new QLabel(QStringLiteral("Chargebacks to deduct:"), this);
    linesLabel->setObjectName(QStringLiteral("lblLines"));
    m_grdLines = linesGrid(this, "grdLines",
                           {QStringLiteral("Date"), QStringLiteral("Stock #"),
                            QStringLiteral("Customer"), QStringLiteral("Class"),
                            QStringLiteral("Amount"), QStringLiteral("Sheet")});
    m_cmdRemoveLine = ledgerButton(this, "cmdRemoveLine", QStringLiteral("Remove Line"));
    auto *heldLabel = new QLabel(QStringLiteral("Held:"), this);
    heldLabel->setObjectName(QStringLiteral("lblHeld"));
    m_grdHeld = linesGrid(this, "grdHeld",
                          {QStringLiteral("Date"), QStringLiteral("Stock #"),
                           QStringLiteral("Customer"), QStringLiteral("Total"),
                           QStringLiteral("Reason")});
    m_cmdHold = ledgerButton(this, "cmdHold", QStringLiteral("Hold\u2026"));
    m_cmdRelease = ledgerButton(this, "cmdRelease", QStringLiteral("Release"));
    m_cmdRecordDraw = ledgerButton(this, "cmdRecordDraw", QStringLiteral("Record Draw\u2026"));
    m_lblDraft = new QLabel(this);
    m_lblDraft->setObjectName(QStringLiteral("lblDraft"));
    m_lblDraft->setWordWrap(true);
    m_chkMonthBonus = new QCheckBox(this);
    m_chkMonthBonus->setObjectName(QStringLiteral("chkMonthBonus"));
    m_chkMonthBonus->hide();
    m_lblVolume = new QLabel(this);
    m_lblVolume->setObjectName(QStringLiteral("lblVolume"));
    m_lblVolume->hide();

    auto *lineButtons = new QHBoxLayout;
    lineButtons->addWidget(m_cmdRemoveLine);
    lineButtons->addStretch(1);
    lineButtons->addWidget(m_cmdHold);
    lineButtons->addWidget(m_cmdRelease);
    lineButtons->addWidget(m_cmdRecordDraw);
    // The chargebacks and the held deals side by side, below the deals,
    // which keep most of the window's height.
    auto *charged = new QVBoxLayout;
    charged->addWidget(linesLabel);
    charged->addWidget(m_grdLines);
    auto *held = new QVBoxLayout;
    held->addWidget(heldLabel);
    held->addWidget(m_grdHeld);
    auto *lines = new QHBoxLayout;
    lines->addLayout(charged, 1);
    lines->addLayout(held, 1);
    layout->addLayout(lines);
    layout->addLayout(lineButtons);
    layout->addWidget(m_lblDraft);
    auto *volume = new QHBoxLayout;
    volume->addWidget(m_lblVolume);
    volume->addStretch(1);
    volume->addWidget(m_chkMonthBonus);
    layout->addLayout(volume);

    connect(m_cmdRemoveLine, &QPushButton::clicked, this,
            &CommissionSheetWindow::cmdRemoveLine_Click);
    connect(m_cmdHold, &QPushButton::clicked, this, &CommissionSheetWindow::cmdHold_Click);
    connect(m_cmdRelease, &QPushButton::clicked, this, &CommissionSheetWindow::cmdRelease_Click);
    connect(m_cmdRecordDraw, &QPushButton::clicked, this,
            &CommissionSheetWindow::cmdRecordDraw_Click);
}

void CommissionSheetWindow::listLedger(const QString &salesPerson)
{
    m_grdLines->setRowCount(0);
    m_grdHeld->setRowCount(0);
    m_chargebacks.clear();
    showVolume(salesPerson);
    if (salesPerson.isEmpty()) {
        m_lblDraft->clear();
        return;
    }
    SalesLedger ledger(m_database);
    QString why;
    const auto chargebacks = ledger.openChargebacks(salesPerson, &why);
    const auto held = chargebacks ? ledger.held(salesPerson, &why) : std::nullopt;
    if (!held) {
        tell(QStringLiteral("The chargebacks and held deals could not be listed: ") + why,
             QStringLiteral("Error!"), Prompts::Icon::Critical);
        return;
    }
    m_chargebacks = *chargebacks;
    m_grdLines->setRowCount(int(m_chargebacks.size()));
    for (int row = 0; row < int(m_chargebacks.size()); ++row) {
        const Chargeback &line = m_chargebacks.at(row);
        setRow(m_grdLines, row,
               {dateText(line.on), line.stockNumber, line.customer, line.unitClass,
                MoneyFormat::dollarsGrouped(-line.amount),
                line.paidOnSheet ? QString::number(*line.paidOnSheet) : QString()},
               line.id);
    }
    m_grdHeld->setRowCount(int(held->size()));
    for (int row = 0; row < int(held->size()); ++row) {
        const HeldRow &deal = held->at(row);
        setRow(m_grdHeld, row,
               {dateText(ColumnValue::dateFrom(deal.row.value(QStringLiteral("Date")))),
                deal.row.value(QStringLiteral("Stock_Number")).toString(),
                deal.row.value(QStringLiteral("Customer_Name")).toString(),
                amountText(deal.row.value(QStringLiteral("TotalCommission"))), deal.reason},
               deal.row.rowId);
    }
    if (!m_chargebacks.isEmpty())
        m_cmdPrintSheet->setEnabled(true);
    showDraft();
}

void CommissionSheetWindow::showVolume(const QString &salesPerson)
{
    m_volume = false;
    m_chkMonthBonus->hide();
    m_chkMonthBonus->setChecked(false);
    m_lblVolume->hide();
    if (salesPerson.isEmpty())
        return;
    QString why;
    const auto versions = PayPlanStore(m_database).versionsOf(salesPerson, &why);
    m_volume = versions && std::any_of(versions->cbegin(), versions->cend(),
                                       [](const PayPlanVersion &v) { return !v.tiers.isEmpty(); });
    if (!m_volume)
        return;
    const QDate today = QDate::currentDate();
    m_chkMonthBonus->setText(QStringLiteral("Include month-end bonus for %1 %2")
                                 .arg(QLocale(QLocale::English).monthName(today.month()))
                                 .arg(today.year()));
    m_chkMonthBonus->show();
    const std::optional<PayPlanVersion> plan = PayPlan::inForce(*versions, today);
    const auto rows = plan ? VolumeLedger::monthRows(m_database.connection(), salesPerson, today, &why)
                           : std::nullopt;
    if (!rows)
        return;
    m_lblVolume->setText(
        VolumeBonus::progressText(*plan, VolumeBonus::unitsOf(*rows, plan->tierClasses)));
    m_lblVolume->setVisible(!m_lblVolume->text().isEmpty());
}

QList<qint64> CommissionSheetWindow::listedChargebacks() const
{
    QList<qint64> ids;
    for (int row = 0; row < m_grdLines->rowCount(); ++row)
        ids << m_grdLines->item(row, 0)->data(Qt::UserRole).toLongLong();
    return ids;
}

// The draft as it stands before the bonus is asked: what the listed deals
// and chargebacks come to, what would be deducted of draws and earlier
// sheets, and the net.
void CommissionSheetWindow::showDraft()
{
    if (m_listedSalesPerson.isEmpty()) {
        m_lblDraft->clear();
        return;
    }
    Money deals;
    for (const qint64 rowId : listedRows()) {
        deals += ColumnValue::moneyFrom(
                     m_listedDeals.value(rowId).value(QStringLiteral("TotalCommission")))
                     .value_or(Money())
                     .roundedToCent();
    }
    Money charged;
    const QList<qint64> chargebacks = listedChargebacks();
    for (const Chargeback &line : m_chargebacks) {
        if (chargebacks.contains(line.id))
            charged += line.amount;
    }
    QString why;
    const std::optional<SheetStatement::Settlement> settlement = SalesLedger(m_database).settle(
        m_listedSalesPerson, deals - charged, QDate::currentDate(), &why);
    if (!settlement) {
        m_lblDraft->setText(QStringLiteral("The draws could not be read: ") + why);
        return;
    }
    const SheetStatement::Settlement &settled = *settlement;
    Money writtenOff;
    for (const SheetStatement::DrawLine &line : settled.writtenOff)
        writtenOff += line.amount;
    const auto money = [](Money amount) { return MoneyFormat::dollarsGrouped(amount); };
    QStringList parts{QStringLiteral("Deals: %1").arg(money(deals))};
    if (!charged.isZero())
        parts << QStringLiteral("Chargebacks: %1").arg(money(-charged));
    if (!settled.carriedIn.isZero())
        parts << QStringLiteral("From earlier sheets: %1").arg(money(-settled.carriedIn));
    if (!settled.recoveredTotal.isZero())
        parts << QStringLiteral("Draw recovered: %1").arg(money(-settled.recoveredTotal));
    if (!writtenOff.isZero())
        parts << QStringLiteral("Draw written off: %1").arg(money(writtenOff));
    parts << QStringLiteral("Net pay before any bonus: %1").arg(money(settled.net));
    m_lblDraft->setText(parts.join(QStringLiteral("    ")));
}

void CommissionSheetWindow::cmdRemoveLine_Click()
{
    const int current = m_grdLines->currentRow();
    if (current >= 0)
        m_grdLines->removeRow(current);
    showDraft();
}

void CommissionSheetWindow::cmdHold_Click()
{
    const int current = m_MSFlexGrid1->currentRow();
    if (m_listedSalesPerson.isEmpty() || current < 0) {
        tell(QStringLiteral("Choose the deal to hold in the list of unpaid deals."),
             QStringLiteral("Hold"), Prompts::Icon::Information);
        return;
    }
    const qint64 rowId = m_MSFlexGrid1->item(current, 0)->data(Qt::UserRole).toLongLong();
    const std::optional<QString> reason =
        ask(QStringLiteral("Why is this deal held back from the sheet?"), QStringLiteral("Hold"),
            QString());
    if (!reason)
        return;
    QString why;
    if (!SalesLedger(m_database).hold(rowId, *reason, &why))
        tell(why, QStringLiteral("Hold"), Prompts::Icon::Warning);
    listUnpaid(m_listedSalesPerson);
}

void CommissionSheetWindow::cmdRelease_Click()
{
    const int current = m_grdHeld->currentRow();
    if (current < 0) {
        tell(QStringLiteral("Choose the deal to release in the list of held deals."),
             QStringLiteral("Release"), Prompts::Icon::Information);
        return;
    }
    QString why;
    if (!SalesLedger(m_database).release(
            m_grdHeld->item(current, 0)->data(Qt::UserRole).toLongLong(), &why))
        tell(why, QStringLiteral("Release"), Prompts::Icon::Warning);
    listUnpaid(m_listedSalesPerson);
}

// A draw paid to the salesperson: its day and amount, and whether the sheets
// recover it, as the pay plan in force on that day says (asked when no plan
// carries a draw).
void CommissionSheetWindow::cmdRecordDraw_Click()
{
    const QString salesPerson = m_cboSalesPerson->currentText().trimmed();
    const QString title = QStringLiteral("Record Draw");
    if (salesPerson.isEmpty()) {
        tell(QStringLiteral("Choose the salesperson the draw was paid to."), title,
             Prompts::Icon::Information);
        return;
    }
    QDate paidOn;
    while (!paidOn.isValid()) {
        const std::optional<QString> answer =
            ask(QStringLiteral("Enter the date the draw was paid."), title,
                dateText(QDate::currentDate()));
        if (!answer)
            return;
        paidOn = SheetEntry::isDate(*answer) ? SheetEntry::dateOf(*answer) : QDate();
        if (!paidOn.isValid())
            tell(QStringLiteral("You must enter a valid date! ie. (MM/DD/YYY)"), title,
                 Prompts::Icon::None);
    }
    QString why;
    const std::optional<PayPlanVersion> plan =
        PayPlanStore(m_database).inForce(salesPerson, paidOn, &why);
    const bool planned = plan && plan->drawPerMonth;
    const std::optional<QString> amountText =
        ask(QStringLiteral("Enter the amount of the draw paid to %1.").arg(salesPerson), title,
            planned ? MoneyFormat::plain(*plan->drawPerMonth) : QString());
    if (!amountText)
        return;
    const Money amount = SheetEntry::amountOf(*amountText);
    bool recoverable = planned ? plan->drawRecoverable : true;
    if (!planned)
        recoverable = tell(QStringLiteral("%1's pay plan sets no draw. Is this draw recovered "
                                          "from later commissions?\n\nYes: what the sheets do "
                                          "not recover is carried on.\nNo: what a month leaves "
                                          "unrecovered is written off.")
                               .arg(salesPerson),
                           title, Prompts::Icon::Question, Prompts::Buttons::YesNo) ==
                      Prompts::Answer::Yes;
    if (!SalesLedger(m_database).recordDraw(salesPerson, paidOn, amount, recoverable, &why)) {
        tell(why, title, Prompts::Icon::Warning);
        return;
    }
    showDraft();
}
