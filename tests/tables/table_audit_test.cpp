#include "admin/ui/table_window.h"
#include "tables_fixture.h"

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
