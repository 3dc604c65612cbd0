// The commission sheet window's lines beside the deals: the open
// chargebacks it deducts, the deals held back and released, and the net
// pay the sheet prints.
#include "commission_sheet_fixture.h"
#include "report_test_support.h"
#include "reports/sheet_payment.h"
#include "reports/ui/commission_sheet_window.h"
#include "store/deal_unwinds.h"
#include "store/pay_plan_store.h"
#include "store/sales_ledger.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLocale>
#include <QLabel>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTest>

using ReportRead::textOf;

namespace {

class CommissionWindowLedger : public CommissionSheetTest
{
protected:
    CommissionWindowLedger()
    {
        form = std::make_unique<CommissionSheetWindow>(*m_database, m_dir.folder(), m_prompts,
                                                       nullptr);
        form->setShowStep([this](const ReportDocument &sheet) { sheets << sheet; });
    }

    template <typename T> T *control(const char *name) const
    {
        T *found = form->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QTableWidget *grid(const char *name) const { return control<QTableWidget>(name); }
    void click(const char *name) { QTest::mouseClick(control<QPushButton>(name), Qt::LeftButton); }
    QStringList texts(const char *gridName, int column) const
    {
        QStringList all;
        for (int row = 0; row < grid(gridName)->rowCount(); ++row)
            all << grid(gridName)->item(row, column)->text();
        return all;
    }
    void select()
    {
        control<QComboBox>("cboSalesPerson")->setEditText(QStringLiteral("John Smith"));
        click("cmdSelect");
    }

    std::unique_ptr<CommissionSheetWindow> form;
    QList<ReportDocument> sheets;
};

TEST_F(CommissionWindowLedger, ChargebacksAndHeldDealsAreListedBesideTheDealsAndPrintedToTheNet)
{
    const qint64 returned = unpaid("4410", "LEA NOEL", "2026-03-02", "530");
    unpaid("T-88", "BO EK", "2026-03-04", "437.5");
    const SheetPayment::Outcome weekOne = SheetPayment::pay(
        *m_database, dataFilePath(), {.salesPerson = QStringLiteral("John Smith"), .rowIds = {returned}});
    ASSERT_TRUE(weekOne.paid) << weekOne.error.toStdString();
    QSqlQuery dealOf(m_database->connection());
    ASSERT_TRUE(dealOf.exec(QStringLiteral("SELECT DealId FROM SalesSummary WHERE rowid = %1")
                                .arg(returned)) &&
                dealOf.next());
    const DealUnwinds::Outcome unwound = DealUnwinds(*m_database).unwind(
        {.deal = dealOf.value(0).toLongLong(), .on = QDate(2026, 3, 9),
         .reason = QStringLiteral("Returned vehicle")});
    ASSERT_TRUE(unwound.done) << unwound.error.toStdString();

    select();
    // No plan with tiers: no volume shown, nothing more asked.
    EXPECT_TRUE(control<QCheckBox>("chkMonthBonus")->isHidden());
    EXPECT_TRUE(control<QLabel>("lblVolume")->isHidden());
    EXPECT_EQ(texts("MSFlexGrid1", 2), QStringList{QStringLiteral("T-88")});
    EXPECT_EQ(texts("grdLines", 1), QStringList{QStringLiteral("4410")});
    EXPECT_EQ(texts("grdLines", 4), QStringList{QStringLiteral("-$530.00")});
    EXPECT_EQ(texts("grdLines", 5), QStringList{QString::number(weekOne.sheetId)});
    EXPECT_EQ(control<QLabel>("lblDraft")->text(),
              QStringLiteral("Deals: $437.50    Chargebacks: -$530.00    Net pay before any "
                             "bonus: -$92.50"));

    // Held, the deal leaves the list for the held one; released, it is back.
    grid("MSFlexGrid1")->setCurrentCell(0, 2);
    m_prompts.expectInput(QStringLiteral("Why is this deal held back from the sheet?"),
                          QStringLiteral("Hold"), QString(), QStringLiteral("Title not in"));
    click("cmdHold");
    m_prompts.verify();
    EXPECT_TRUE(texts("MSFlexGrid1", 2).isEmpty());
    EXPECT_EQ(texts("grdHeld", 4), QStringList{QStringLiteral("Title not in")});
    grid("grdHeld")->setCurrentCell(0, 0);
    click("cmdRelease");
    EXPECT_EQ(texts("MSFlexGrid1", 2), QStringList{QStringLiteral("T-88")});
    EXPECT_TRUE(texts("grdHeld", 0).isEmpty());

    // The sheet lists the deal, then the chargeback, and ends at its net.
    m_prompts.expectInput(QStringLiteral("Enter amount of bonus or spiff"),
                          QStringLiteral("Bonus / Spiffs"), QString(), QStringLiteral("100"));
    m_prompts.expectInput(QStringLiteral("Enter type of bonus (ie. Plateau Bonus)"),
                          QStringLiteral("Bonus / Spiff"), QStringLiteral("Plateau Bonus"),
                          QStringLiteral("Plateau Bonus"));
    m_prompts.expectInput(QStringLiteral("Enter 'Week-Ending' date."),
                          QStringLiteral("Week-Ending Date"), QStringLiteral("MM/DD/YYYY"),
                          QStringLiteral("03/13/2026"));
    click("cmdPrintSheet");
    m_prompts.verify();
    EXPECT_EQ(m_dir.readBytes(QStringLiteral("data.txt")).toStdString(),
              QByteArray("\"BO EK\",\"T-88\",\"NT\",1500,450,50,30,437.5\r\n"
                         "\"LEA NOEL\",\"4410\",\"NT\",-1500,-450,-50,-30,-530\r\n").toStdString());
    ASSERT_EQ(sheets.size(), 1);
    const ReportDocument &sheet = sheets.first();
    EXPECT_EQ(textOf(sheet, QStringLiteral("Field3")), QStringLiteral("-$92.50"));
    EXPECT_EQ(textOf(sheet, QStringLiteral("Field4")), QStringLiteral("$100.00"));
    EXPECT_EQ(textOf(sheet, QStringLiteral("Field5")), QStringLiteral("$7.50"));
    EXPECT_EQ(textOf(sheet, QStringLiteral("Label18")), QStringLiteral("Net Pay: "));
    EXPECT_EQ(textOf(sheet, QStringLiteral("Field8")), QStringLiteral("$7.50"));
    EXPECT_TRUE(texts("grdLines", 0).isEmpty());
    // The chargeback's line names the sheet that paid the deal.
    const QList<PlacedText> customers =
        ReportRead::placementsOf(sheet, QStringLiteral("txtCustomer_Name"));
    ASSERT_EQ(customers.size(), 2);
    EXPECT_EQ(customers.at(1).text,
              QStringLiteral("LEA NOEL (chargeback, sheet %1)").arg(weekOne.sheetId));
    EXPECT_TRUE(ReportRead::printingFaults(sheet).isEmpty()) << ReportRead::printingFaults(sheet).join(u'\n').toStdString();
}

// A salesperson whose plan has volume tiers: the month's progress beside
// the list, and the month's bonus paid now when asked for.
TEST_F(CommissionWindowLedger, TheMonthsVolumeIsShownAndItsBonusPaidWhenAskedFor)
{
    PayPlanVersion plan;
    plan.salesPerson = QStringLiteral("John Smith");
    plan.effectiveFrom = QDate(2020, 1, 1);
    for (PlanTerms &terms : plan.terms)
        terms.percent = Money::dollars(30);
    plan.tiers = {{.unitsFrom = Money::dollars(12), .percent = Money::dollars(32)},
                  {.unitsFrom = Money::dollars(20), .percent = Money::dollars(35)}};
    QString error;
    ASSERT_TRUE(PayPlanStore(*m_database).add(plan, &error)) << error.toStdString();
    const QDate today = QDate::currentDate();
    for (int i = 0; i < 12; ++i)
        unpaid(qPrintable(QStringLiteral("V%1").arg(i)), "ANN LEE",
               qPrintable(today.toString(Qt::ISODate)), "450");

    select();
    const QString month =
        QLocale(QLocale::English).monthName(today.month()) + u' ' + QString::number(today.year());
    EXPECT_EQ(control<QLabel>("lblVolume")->text(),
              QStringLiteral("12 units this month \u2014 8 to 35%"));
    QCheckBox *include = control<QCheckBox>("chkMonthBonus");
    EXPECT_EQ(include->text(), QStringLiteral("Include month-end bonus for ") + month);
    include->setChecked(true);
    m_prompts.expectInput(QStringLiteral("Enter amount of bonus or spiff"),
                          QStringLiteral("Bonus / Spiffs"), QString(), QString());
    m_prompts.expectInput(QStringLiteral("Enter 'Week-Ending' date."),
                          QStringLiteral("Week-Ending Date"), QStringLiteral("MM/DD/YYYY"),
                          today.toString(QStringLiteral("MM/dd/yyyy")));
    click("cmdPrintSheet");
    m_prompts.verify();
    // Each row's $1,500.00 at 32% is $30.00 more than its $450.00.
    const QByteArray file = m_dir.readBytes(QStringLiteral("data.txt"));
    EXPECT_TRUE(file.endsWith(QStringLiteral("\"Volume bonus %1: 12 units, 32%\",\"\",\"\",0,360,0,"
                                             "0,360\r\n")
                                  .arg(month)
                                  .toUtf8()))
        << file.toStdString();
    ASSERT_EQ(sheets.size(), 1);
    EXPECT_EQ(textOf(sheets.first(), QStringLiteral("Field3")), QStringLiteral("$5760.00"));
}

} // namespace
