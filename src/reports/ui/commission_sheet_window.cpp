// The commission sheet window: its controls, activation, listing and removing
// deals, and closing. Paying and printing are in commission_sheet_window_print.cpp.
#include "reports/ui/commission_sheet_window.h"

#include "common/money_format.h"
#include "reports/commission_sheet_report.h"
#include "reports/ui/report_preview.h"
#include "reports/ui/payroll_export_window.h"
#include "reports/ui/sheet_history_window.h"
#include "store/column_value.h"
#include "store/commission_payments.h"
#include "store/deal_database.h"
#include "store/deal_store.h"
#include "store/store_schema.h"
#include "worksheet/ui/center_form.h"
#include "common/ui/bring_up.h"

#include <QApplication>

#include <algorithm>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QStyle>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

constexpr int kTwipsPerInch = 1440;
// The window's top edge, from the top of the screen.
constexpr int kTopTwips = 2400;
// The fixed column before the deal columns (the grid's row header).
constexpr int kRowHeaderTwips = 300;
// The 13 SalesSummary columns in table order; 0 hides a column.
constexpr int kColumnTwips[] = {900, 1600, 1200, 1700, 0, 0, 1200, 1050, 750, 750, 0, 1350, 0};

const QStringList kAmountColumns = {
    QStringLiteral("Payable_Gross"), QStringLiteral("Commission"),
    QStringLiteral("Spiff"),         QStringLiteral("Warranty"),
    QStringLiteral("TotalCommission"),
};
// The widest values the grid expects, so that a date or an amount shows on
// one line and whole before any deal is listed.
const QString kWidestDate = QStringLiteral("12/31/2099");
const QString kWidestAmount = QStringLiteral("999,999.99");

const QStringList &gridColumns()
{
    static const QStringList columns =
        StoreSchema::columns(QString::fromLatin1(StoreSchema::kSalesSummary));
    return columns;
}

// A stored value as the grid shows it.
QString gridText(const QString &column, const QVariant &value)
{
    if (column == QLatin1String("Date")) {
        const QDate date = ColumnValue::dateFrom(value);
        return date.isValid() ? date.toString(QStringLiteral("M/d/yyyy")) : QString();
    }
    if (kAmountColumns.contains(column)) {
        const std::optional<Money> amount = ColumnValue::moneyFrom(value);
        return amount ? MoneyFormat::cents(*amount) : QString();
    }
    if (column == QLatin1String("UnitCount"))
        return ColumnValue::moneyTextFrom(value);
    if (column == QLatin1String("Paid"))
        return ColumnValue::yesNoFrom(value) ? QStringLiteral("True") : QStringLiteral("False");
    return ColumnValue::textFrom(value);
}

QPushButton *button(QWidget *window, const char *name, const char *caption)
{
    auto *result = new QPushButton(QString::fromLatin1(caption), window);
    result->setObjectName(QString::fromLatin1(name));
    return result;
}

QLineEdit *hiddenBox(QWidget *window, const char *name)
{
    auto *box = new QLineEdit(window);
    box->setObjectName(QString::fromLatin1(name));
    box->hide();
    return box;
}

} // namespace

CommissionSheetWindow::CommissionSheetWindow(DealDatabase &database, const ProgramFolder &folder, Prompts &prompts,
             QToolBar *mainToolBar, QWidget *parent)
    : QWidget(parent, Qt::Window), m_database(database), m_folder(folder), m_prompts(prompts),
      m_tbrMain(mainToolBar)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Commissions"));
    buildControls();

    connect(m_cmdSelect, &QPushButton::clicked, this, &CommissionSheetWindow::cmdSelect_Click);
    connect(m_cmdDelete, &QPushButton::clicked, this, &CommissionSheetWindow::cmdDelete_Click);
    connect(m_cmdPrintSheet, &QPushButton::clicked, this, &CommissionSheetWindow::cmdPrintSheet_Click);
    connect(m_cmdExit, &QPushButton::clicked, this, &CommissionSheetWindow::close);
    connect(m_cmdReprint, &QPushButton::clicked, this, &CommissionSheetWindow::cmdReprint_Click);
    connect(m_cmdExportPayroll, &QPushButton::clicked, this,
            &CommissionSheetWindow::cmdExportPayroll_Click);

    Form_Load();
}

CommissionSheetWindow::~CommissionSheetWindow()
{
    if (m_tbrMain)
        m_tbrMain->setEnabled(true);
}

void CommissionSheetWindow::buildControls()
{
    m_label1 = new QLabel(QStringLiteral("Sales Person:"), this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_cboSalesPerson = new QComboBox(this);
    m_cboSalesPerson->setObjectName(QStringLiteral("cboSalesPerson"));
    m_cboSalesPerson->setEditable(true);
    m_cboSalesPerson->setInsertPolicy(QComboBox::NoInsert);
    m_cboSalesPerson->setMinimumContentsLength(16);
    m_label1->setBuddy(m_cboSalesPerson);
    m_cmdSelect = button(this, "cmdSelect", "OK");

    m_MSFlexGrid1 = new QTableWidget(0, int(gridColumns().size()), this);
    m_MSFlexGrid1->setObjectName(QStringLiteral("MSFlexGrid1"));
    m_MSFlexGrid1->setHorizontalHeaderLabels(gridColumns());
    m_MSFlexGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_MSFlexGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_MSFlexGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    m_MSFlexGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_MSFlexGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_MSFlexGrid1->setWordWrap(false);
    m_MSFlexGrid1->viewport()->installEventFilter(this);

    m_cmdDelete = button(this, "cmdDelete", "Remove Record");
    m_cmdPrintSheet = button(this, "cmdPrintSheet", "Print Sheet");
    m_cmdExit = button(this, "cmdExit", "Exit");
    m_cmdReprint = button(this, "cmdReprint", "");
    m_cmdReprint->setText(QStringLiteral("Reprint Sheet\u2026"));
    m_cmdExportPayroll = button(this, "cmdExportPayroll", "");
    m_cmdExportPayroll->setText(QStringLiteral("Export for Payroll\u2026"));
    m_txtTally = hiddenBox(this, "txtTally");
    m_txtBonus = hiddenBox(this, "txtBonus");
    m_txtBonus2 = hiddenBox(this, "txtBonus2");
    m_txtWeekEnd = hiddenBox(this, "txtWeekEnd");

    auto *choice = new QHBoxLayout;
    choice->addWidget(m_label1);
    choice->addWidget(m_cboSalesPerson);
    choice->addWidget(m_cmdSelect);
    choice->addStretch(1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_cmdDelete);
    buttons->addStretch(1);
    buttons->addWidget(m_cmdExportPayroll);
    buttons->addWidget(m_cmdReprint);
    buttons->addWidget(m_cmdPrintSheet);
    buttons->addWidget(m_cmdExit);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(choice);
    layout->addWidget(m_MSFlexGrid1, 1);
    layout->addLayout(buttons);
    buildLedgerControls(layout);

    setColumnWidths();
    // Wide enough for every shown column.
    int width = m_MSFlexGrid1->verticalHeader()->width() + 2 * m_MSFlexGrid1->frameWidth();
    for (int column = 0; column < m_MSFlexGrid1->columnCount(); ++column)
        width += m_MSFlexGrid1->isColumnHidden(column) ? 0 : m_MSFlexGrid1->columnWidth(column);
    resize(width + 40, 560);
}

void CommissionSheetWindow::Form_Load()
{
    m_cboSalesPerson->clear();
    // A roster that cannot be read leaves the list empty; a name can still be
    // typed.
    m_cboSalesPerson->addItems(DealStore(m_database).salesPersons());
    m_cboSalesPerson->setCurrentIndex(-1);
    m_cboSalesPerson->setEditText(QString());
    m_MSFlexGrid1->setRowCount(0);
    m_listedSalesPerson.clear();
    listLedger(QString());
    for (QLineEdit *box : {m_txtTally, m_txtBonus, m_txtBonus2, m_txtWeekEnd})
        box->clear();
    setListButtonsEnabled(false);
    m_activationPaused = false; // opening is an activation of its own
}

// Each shown column is given its documented width, widened where its
// heading, the widest date or amount, or a listed value would not show whole.
void CommissionSheetWindow::setColumnWidths()
{
    const auto pixels = [this](int twips) { return twips * logicalDpiX() / kTwipsPerInch; };
    m_MSFlexGrid1->verticalHeader()->setFixedWidth(pixels(kRowHeaderTwips));
    const QFontMetrics metrics(m_MSFlexGrid1->font());
    const int padding = 4 * m_MSFlexGrid1->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 8;
    for (int column = 0; column < int(std::size(kColumnTwips)); ++column) {
        const int twips = kColumnTwips[column];
        m_MSFlexGrid1->setColumnHidden(column, twips == 0);
        if (twips == 0)
            continue;
        const QString &name = gridColumns().at(column);
        const QString widest = name == QLatin1String("Date") ? kWidestDate
                               : kAmountColumns.contains(name) ? kWidestAmount
                                                               : QString();
        const int width = std::max({pixels(twips),
                                    m_MSFlexGrid1->horizontalHeader()->sectionSizeHint(column),
                                    metrics.horizontalAdvance(widest) + padding,
                                    static_cast<const QAbstractItemView *>(m_MSFlexGrid1)->sizeHintForColumn(column)});
        m_MSFlexGrid1->setColumnWidth(column, width);
    }
    fitColumnsToView();
}

// Where the view is narrower than the columns, the customer's name and the
// unit give up width first, then the stock number, then every column, each
// first down to its documented width; texts that no longer fit are cut short
// with "…" (the grid's own eliding) and show whole in their tool tips.
void CommissionSheetWindow::fitColumnsToView()
{
    // A window not shown yet has no width of its own to fit.
    const int room = isVisible() ? m_MSFlexGrid1->viewport()->width() : 0;
    int excess = -room;
    for (int column = 0; column < m_MSFlexGrid1->columnCount(); ++column)
        excess += m_MSFlexGrid1->isColumnHidden(column) ? 0 : m_MSFlexGrid1->columnWidth(column);
    if (room <= 0 || excess <= 0)
        return;
    const auto pixels = [this](int twips) { return twips * logicalDpiX() / kTwipsPerInch; };
    const auto give = [&](int column, int floor) {
        const int width = m_MSFlexGrid1->columnWidth(column);
        const int given = std::min(excess, std::max(0, width - floor));
        m_MSFlexGrid1->setColumnWidth(column, width - given);
        excess -= given;
    };
    constexpr int kUnit = 1;
    constexpr int kStockNumber = 2;
    constexpr int kCustomerName = 3;
    for (const int column : {kCustomerName, kUnit, kStockNumber})
        give(column, pixels(kColumnTwips[column]));
    for (int column = 0; column < int(std::size(kColumnTwips)) && excess > 0; ++column) {
        if (kColumnTwips[column] > 0)
            give(column, pixels(kColumnTwips[column]) / 2);
    }
}

bool CommissionSheetWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize && watched == m_MSFlexGrid1->viewport())
        setColumnWidths();
    return QWidget::eventFilter(watched, event);
}

void CommissionSheetWindow::Form_Activate()
{
    CenterForm(this);
    if (QScreen *shown = screen())
        move(x(), shown->geometry().top() + kTopTwips * logicalDpiY() / kTwipsPerInch);
    setColumnWidths();
    setListButtonsEnabled(false);
    if (m_tbrMain)
        m_tbrMain->setEnabled(false);
}

bool CommissionSheetWindow::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::WindowDeactivate:
        // Coming back from a message box or input box, or from another
        // program, is not the window being activated anew; coming back from
        // another window of this program is.
        m_activationPaused =
            m_prompting || QApplication::activeModalWidget() || !QApplication::activeWindow();
        break;
    case QEvent::WindowActivate:
        if (m_activationPaused)
            m_activationPaused = false;
        else
            Form_Activate();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void CommissionSheetWindow::closeEvent(QCloseEvent *event)
{
    // Exit and the window frame's close both come here.
    if (m_tbrMain)
        m_tbrMain->setEnabled(true);
    QWidget::closeEvent(event);
}

void CommissionSheetWindow::setListButtonsEnabled(bool enabled)
{
    m_cmdPrintSheet->setEnabled(enabled);
    m_cmdDelete->setEnabled(enabled);
}

void CommissionSheetWindow::cmdSelect_Click()
{
    listUnpaid(m_cboSalesPerson->currentText());
}

void CommissionSheetWindow::listUnpaid(const QString &salesPerson)
{
    QString why;
    const std::optional<QList<SummaryRow>> rows =
        CommissionPayments(m_database).unpaid(salesPerson, &why);
    m_listedSalesPerson = rows ? salesPerson : QString();
    if (!rows) {
        m_MSFlexGrid1->setRowCount(0);
        m_listedDeals.clear();
        setListButtonsEnabled(false);
        tell(QStringLiteral("The unpaid deals could not be listed: ") + why,
             QStringLiteral("Error!"), Prompts::Icon::Critical);
        return;
    }
    setListButtonsEnabled(true);
    fillGrid(*rows);
    listLedger(salesPerson);
}

void CommissionSheetWindow::fillGrid(const QList<SummaryRow> &rows)
{
    m_MSFlexGrid1->setRowCount(0);
    m_listedDeals.clear();
    for (const SummaryRow &deal : rows)
        m_listedDeals.insert(deal.rowId, deal);
    m_MSFlexGrid1->setRowCount(int(rows.size()));
    m_MSFlexGrid1->setVerticalHeaderLabels(QStringList(rows.size(), QString()));
    for (int row = 0; row < int(rows.size()); ++row) {
        const SummaryRow &deal = rows.at(row);
        for (int column = 0; column < int(gridColumns().size()); ++column) {
            auto *item =
                new QTableWidgetItem(gridText(gridColumns().at(column), deal.values.value(column)));
            if (column == 0)
                item->setData(Qt::UserRole, deal.rowId);
            if (kAmountColumns.contains(gridColumns().at(column)))
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            item->setToolTip(item->text()); // whole where the column cuts it short
            m_MSFlexGrid1->setItem(row, column, item);
        }
    }
    if (!rows.isEmpty())
        m_MSFlexGrid1->setCurrentCell(0, 0);
    setColumnWidths();
}

QList<qint64> CommissionSheetWindow::listedRows() const
{
    QList<qint64> rows;
    for (int row = 0; row < m_MSFlexGrid1->rowCount(); ++row)
        rows << m_MSFlexGrid1->item(row, 0)->data(Qt::UserRole).toLongLong();
    return rows;
}

void CommissionSheetWindow::cmdDelete_Click()
{
    // The header row counts as a row of the grid: fewer than 3 means at most
    // one deal is listed.
    if (m_MSFlexGrid1->rowCount() + 1 < 3) {
        tell(QStringLiteral("You cannot remove the last record!"), QStringLiteral("Error!"),
             Prompts::Icon::None);
        return;
    }
    const int current = m_MSFlexGrid1->currentRow();
    if (current >= 0)
        m_MSFlexGrid1->removeRow(current);
    showDraft();
}

SheetHistoryWindow *CommissionSheetWindow::sheetHistory() const
{
    return m_history;
}

void CommissionSheetWindow::cmdReprint_Click()
{
    const QString salesPerson = m_cboSalesPerson->currentText().trimmed();
    if (salesPerson.isEmpty()) {
        tell(QStringLiteral("Choose the salesperson whose sheets are to be listed."),
             QStringLiteral("Reprint Sheet"), Prompts::Icon::Information);
        return;
    }
    if (!m_history)
        m_history = new SheetHistoryWindow(m_database, m_folder, m_prompts, this);
    m_history->setShowStep(m_show);
    m_history->list(salesPerson);
    bringUp(*m_history);
}

PayrollExportWindow *CommissionSheetWindow::payrollExport() const
{
    return m_payrollExport;
}

void CommissionSheetWindow::cmdExportPayroll_Click()
{
    if (!m_payrollExport)
        m_payrollExport = new PayrollExportWindow(m_database, m_prompts, this);
    bringUp(*m_payrollExport);
}

Prompts::Answer CommissionSheetWindow::tell(const QString &text, const QString &title,
                                            Prompts::Icon icon, Prompts::Buttons buttons)
{
    const QScopedValueRollback guard(m_prompting, true);
    return m_prompts.message(text, title, icon, buttons);
}

std::optional<QString> CommissionSheetWindow::ask(const QString &prompt, const QString &title,
                                  const QString &defaultText)
{
    const QScopedValueRollback guard(m_prompting, true);
    return m_prompts.input(prompt, title, defaultText);
}
