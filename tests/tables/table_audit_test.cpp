#include "admin/ui/audit_trail_window.h"
#include "admin/ui/table_window.h"
#include "tables_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QPlainTextEdit>
#include <QTableWidget>

namespace {

const QString kStock = QStringLiteral("Text1_1");
const QString kCustomer = QStringLiteral("Text1_3");
const QString kGross = QStringLiteral("Text1_6");

using TableAuditTest = TablesTest;

// Each change made in a table window is entered in the audit trail with the
// values it changed; a write that is refused leaves no entry.
TEST_F(TableAuditTest, EachChangeToAStoredRowIsEntered)
{
    salesLogRow(QStringLiteral("2040"), QStringLiteral("ANN"), 39000000);
    TableWindow window(TableWindow::salesLogLayout(), *m_database, m_prompts);

    edit(window, kGross)->setText(QStringLiteral("12a"));
    m_prompts.expectMessageText(
        QStringLiteral("Gross: \"12a\" is not a number. Type a plain amount such as 1250.50."
                       "\n\nThe record was not saved."));
    click(window, "cmdUpdate");
    m_prompts.verify();
    EXPECT_TRUE(column(QStringLiteral("SELECT AuditId FROM Audit")).isEmpty());

    edit(window, kGross)->setText(QStringLiteral("1250.5"));
    edit(window, kCustomer)->setText(QStringLiteral("ANNE"));
    click(window, "cmdUpdate");
    click(window, "cmdNew");
    edit(window, kStock)->setText(QStringLiteral("2040"));
    edit(window, kCustomer)->setText(QStringLiteral("RENÉE"));
    click(window, "cmdUpdate");
    click(window, "cmdFirst");
    click(window, "cmdDelete");

    EXPECT_EQ(column(QStringLiteral("SELECT Action || '|' || TableName || '|' || StockNumber "
                                    "FROM Audit ORDER BY AuditId")),
              (QVariantList{QStringLiteral("Row changed|SalesLog|2040"),
                            QStringLiteral("Row added|SalesLog|2040"),
                            QStringLiteral("Row deleted|SalesLog|2040")}));
    EXPECT_EQ(column(QStringLiteral("SELECT Before || ' -> ' || After FROM Audit "
                                    "WHERE Action = 'Row changed'")),
              QVariantList{QStringLiteral("CustomerName: ANN\nGross: 3900 -> "
                                          "CustomerName: ANNE\nGross: 1250.5")});
    EXPECT_EQ(column(QStringLiteral("SELECT RowKey FROM Audit WHERE Action = 'Row deleted'")),
              QVariantList{qint64(1)});
    EXPECT_TRUE(column(QStringLiteral("SELECT Before FROM Audit WHERE Action = 'Row deleted'"))
                    .value(0)
                    .toString()
                    .contains(QStringLiteral("CustomerName: ANNE")));
}

} // namespace

namespace {

// The audit trail window reads only: newest first, narrowed by its filter.
TEST_F(TableAuditTest, TheAuditTrailWindowListsNewestFirstAndFilters)
{
    execute(QStringLiteral(
        "INSERT INTO Audit (At, Action, TableName, StockNumber, SalesPerson, Before, After, "
        "UserName) VALUES ('2005-03-02 09:00:00', 'Deal saved', 'RecallDeal', '2040', "
        "'John Smith', NULL, 'Customer: ANN', NULL), ('2005-03-09 10:30:00', 'Row changed', "
        "'SalesLog', 'B7', 'Mary Jones', 'Gross: 1\nUnit: VAN', 'Gross: 2\nUnit: BUS', "
        "'Zoë')"));
    AuditTrailWindow window(*m_database, m_prompts);
    EXPECT_EQ(window.objectName(), QStringLiteral("frmAuditTrail"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Audit Trail"));
    auto *grid = window.findChild<QTableWidget *>(QStringLiteral("grdAudit"));
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->item(0, 0)->text(), QStringLiteral("2005-03-09 10:30:00"));
    // One line per entry: when, who, what, stock number, salesperson, summary.
    const QStringList headers = {"When", "Who", "What", "Stock Number", "Sales Person", "Changes"};
    ASSERT_EQ(grid->columnCount(), headers.size());
    for (int column = 0; column < grid->columnCount(); ++column)
        EXPECT_EQ(grid->horizontalHeaderItem(column)->text(), headers.at(column));
    EXPECT_EQ(grid->item(0, 1)->text(), QStringLiteral("Zoë"));
    EXPECT_EQ(grid->item(1, 1)->text(), QString()); // written before users
    EXPECT_EQ(grid->item(0, 5)->text(), QStringLiteral("Gross 1 → 2; 1 more"));
    EXPECT_EQ(grid->item(1, 5)->text(), QStringLiteral("Customer ANN"));
    auto *details = window.findChild<QPlainTextEdit *>(QStringLiteral("txtDetails"));
    ASSERT_NE(details, nullptr);
    EXPECT_TRUE(details->isReadOnly());
    grid->selectRow(0);
    EXPECT_EQ(details->toPlainText(), QStringLiteral("Gross: 1 → 2\nUnit: VAN → BUS"));
    grid->selectRow(1);
    EXPECT_EQ(details->toPlainText(), QStringLiteral("Customer: ANN"));

    edit(window, QStringLiteral("txtUserName"))->setText(QStringLiteral("ZOË"));
    click(window, "cmdShow");
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(grid->item(0, 3)->text(), QStringLiteral("B7"));
    EXPECT_TRUE(details->toPlainText().isEmpty());
    edit(window, QStringLiteral("txtUserName"))->clear();

    edit(window, QStringLiteral("txtStockNumber"))->setText(QStringLiteral("2040"));
    click(window, "cmdShow");
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(grid->item(0, 2)->text(), QStringLiteral("Deal saved"));

    edit(window, QStringLiteral("txtStockNumber"))->clear();
    edit(window, QStringLiteral("txtSalesPerson"))->setText(QStringLiteral("jones"));
    window.findChild<QCheckBox *>(QStringLiteral("chkDates"))->setChecked(true);
    window.findChild<QDateEdit *>(QStringLiteral("dtpFrom"))->setDate(QDate(2005, 3, 9));
    window.findChild<QDateEdit *>(QStringLiteral("dtpTo"))->setDate(QDate(2005, 3, 9));
    click(window, "cmdShow");
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(grid->item(0, 4)->text(), QStringLiteral("Mary Jones"));
    window.findChild<QDateEdit *>(QStringLiteral("dtpTo"))->setDate(QDate(2005, 3, 8));
    click(window, "cmdShow");
    EXPECT_EQ(grid->rowCount(), 0);
}

// The action list offers every action, all of them first; choosing one lists
// only its entries at once, and the other filters still apply.
TEST_F(TableAuditTest, TheAuditTrailWindowFiltersByAction)
{
    execute(QStringLiteral(
        "INSERT INTO Audit (At, Action, TableName, StockNumber, SalesPerson, Before, After) "
        "VALUES ('2026-03-02 09:00:00', 'Deal saved', 'RecallDeal', '2040', 'JOHN SMITH', NULL, "
        "'Customer: ANN'), ('2026-03-14 10:30:00', 'Deal unwound', 'Unwinds', '2040', "
        "'JOHN SMITH', NULL, 'Reason: Returned vehicle'), ('2026-03-20 16:00:00', 'Chargeback', "
        "'Ledger', '2040', 'JOHN SMITH', NULL, 'Amount: 625'), ('2026-03-21 08:00:00', "
        "'Draw recorded', 'Ledger', NULL, 'RENÉE CÔTÉ', NULL, 'Amount: 1500')"));
    AuditTrailWindow window(*m_database, m_prompts);
    auto *grid = window.findChild<QTableWidget *>(QStringLiteral("grdAudit"));
    auto *action = window.findChild<QComboBox *>(QStringLiteral("cboAction"));
    ASSERT_NE(action, nullptr);
    ASSERT_EQ(action->count(), 25);
    EXPECT_EQ(action->itemText(0), QStringLiteral("All actions"));
    EXPECT_EQ(action->currentIndex(), 0);
    for (const char *offered : {"Chargeback", "Chargeback reopened", "Deal unwound", "Deal held",
                                "Deal released", "Draw recorded", "Draw recovered",
                                "Draw written off", "Sheet net pay", "Deal saved", "Sheet paid",
                                "Volume bonus", "Payroll codes changed"})
        EXPECT_GE(action->findText(QString::fromLatin1(offered)), 1) << offered;
    ASSERT_EQ(grid->rowCount(), 4);

    action->setCurrentText(QStringLiteral("Deal unwound"));
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(grid->item(0, 0)->text(), QStringLiteral("2026-03-14 10:30:00"));
    EXPECT_EQ(grid->item(0, 2)->text(), QStringLiteral("Deal unwound"));

    action->setCurrentText(QStringLiteral("Draw recorded"));
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(grid->item(0, 4)->text(), QStringLiteral("RENÉE CÔTÉ"));
    edit(window, QStringLiteral("txtSalesPerson"))->setText(QStringLiteral("smith"));
    click(window, "cmdShow");
    EXPECT_EQ(grid->rowCount(), 0);

    action->setCurrentIndex(0);
    ASSERT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(grid->item(0, 2)->text(), QStringLiteral("Chargeback"));
    EXPECT_EQ(grid->item(2, 2)->text(), QStringLiteral("Deal saved"));
}

} // namespace
