// The pay plan window's "Try on Past Deals…": the plan in the form tried on
// a past month, shown beside what was paid, refusals named, Cancel, and the
// results saved as CSV byte for byte.
#include "admin/ui/pay_plan_window.h"
#include "admin/ui/plan_trial_window.h"
#include "store/deal_store.h"
#include "store/pay_plan_store.h"
#include "tables_fixture.h"

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

namespace {

using Buttons = Prompts::Buttons;
using Icon = Prompts::Icon;

const QString kTitle = QStringLiteral("Try on Past Deals");

// A truck sold for $24,000.00 at $20,000.00 with a $300.00 pack: $3,700.00
// of gross, paid 30%, a warranty's $30.00 and a $50.00 spiff.
Deal deal(const QString &stockNumber, const QString &salesPerson)
{
    Deal d;
    d.date = QDate(2026, 3, 10);
    d.salesPerson = salesPerson;
    d.customer = QStringLiteral("Zoë Ångström");
    d.stockNumber = stockNumber;
    d.year = QStringLiteral("2024");
    d.unit = QStringLiteral("Ranger");
    d.unitClass = QStringLiteral("NT");
    d.saleType = QStringLiteral("2");
    d.sellingPrice = QStringLiteral("24000");
    d.cost = QStringLiteral("20000");
    d.pack = QStringLiteral("$300.00");
    d.commissionRate = QStringLiteral("30%");
    d.warrantySold = true;
    d.payableGross = QStringLiteral("$3700.00");
    d.commission = QStringLiteral("$1110.00");
    d.warranty = QStringLiteral("30");
    d.spiff = QStringLiteral("50");
    d.totalCommission = QStringLiteral("$1190.00");
    return d;
}

class PlanTrialWindowTest : public TablesTest
{
protected:
    PlanTrialWindowTest()
    {
        setSalesPersons({QStringLiteral("John Smith"), QStringLiteral("Renée Côté")});
        DealStore store(*m_database);
        QString error;
        for (const char *stock : {"4471", "B12"})
            EXPECT_TRUE(store.save(deal(QString::fromLatin1(stock), QStringLiteral("John Smith")), &error))
                << error.toStdString();
        EXPECT_TRUE(store.save(deal(QStringLiteral("C9"), QStringLiteral("Renée Côté")), &error));
        // John Smith's plan from January: trucks 25% of the gross, the same pack.
        PayPlanVersion plan;
        plan.salesPerson = QStringLiteral("John Smith");
        plan.effectiveFrom = QDate(2026, 1, 1);
        for (PlanTerms &terms : plan.terms) {
            terms.percent = Money::dollars(25);
            terms.mini = Money::dollars(100);
            terms.pack = Money::dollars(300);
        }
        plan.warrantySpiff = Money::dollars(30);
        EXPECT_TRUE(PayPlanStore(*m_database).add(plan, &error)) << error.toStdString();
        plans = std::make_unique<PayPlanWindow>(*m_database, m_prompts,
                                                [] { return StandingFigures{}; });
        plans->findChild<QPushButton *>(QStringLiteral("cmdTryOnPastDeals"))->click();
        trial = plans->trialWindow();
    }

    void months(const QString &from, const QString &to)
    {
        edit(*trial, QStringLiteral("txtFrom"))->setText(from);
        edit(*trial, QStringLiteral("txtTo"))->setText(to);
    }
    QStringList row(int at)
    {
        const auto *grid = trial->findChild<QTableWidget *>(QStringLiteral("grdResults"));
        QStringList texts;
        for (int column = 0; column < grid->columnCount(); ++column)
            texts << (grid->item(at, column) ? grid->item(at, column)->text() : QString());
        return texts;
    }
    int rows() { return trial->findChild<QTableWidget *>(QStringLiteral("grdResults"))->rowCount(); }
    QString note() { return trial->findChild<QLabel *>(QStringLiteral("lblNote"))->text(); }

    std::unique_ptr<PayPlanWindow> plans;
    PlanTrialWindow *trial = nullptr;
};

TEST_F(PlanTrialWindowTest, TheFormsPlanIsTriedOnTheMonthBesideWhatWasPaidAndSavedAsCsv)
{
    ASSERT_TRUE(trial);
    EXPECT_EQ(trial->objectName(), QStringLiteral("frmTryOnPastDeals"));
    EXPECT_EQ(trial->findChild<QLabel *>(QStringLiteral("lblPlan"))->text(),
              QStringLiteral("Plan tried: the version of John Smith from 01/01/2026"));
    const auto *people = trial->findChild<QListWidget *>(QStringLiteral("lstSalesPersons"));
    ASSERT_EQ(people->count(), 2);
    EXPECT_EQ(people->item(0)->checkState(), Qt::Checked);
    EXPECT_EQ(people->item(1)->checkState(), Qt::Unchecked);

    months(QStringLiteral("03/2026"), QStringLiteral("03/2026"));
    trial->findChild<QPushButton *>(QStringLiteral("cmdTry"))->click();
    ASSERT_EQ(rows(), 2);
    // 25% of $3,700.00 is $925.00; with the warranty and the spiff $1,005.00 a deal.
    EXPECT_EQ(row(0), (QStringList{"JOHN SMITH", "2", "2", "$2,380.00", "$0.00", "$2,380.00",
                                   "$2,010.00", "$0.00", "$2,010.00", "-$370.00"}));
    EXPECT_EQ(row(1), (QStringList{"Total", "2", "2", "$2,380.00", "$0.00", "$2,380.00",
                                   "$2,010.00", "$0.00", "$2,010.00", "-$370.00"}));
    EXPECT_EQ(note(), QStringLiteral("Nothing was paid or saved: the plan was only tried."));
    EXPECT_EQ(column(QStringLiteral("SELECT COUNT(*) FROM \"Sheets\"")).value(0).toInt(), 0);

    const QString path = m_dir.filePath(QStringLiteral("tried.csv"));
    m_prompts.expectSaveFile(path);
    trial->findChild<QPushButton *>(QStringLiteral("cmdSaveCsv"))->click();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(),
              QByteArray("\xEF\xBB\xBFSalesperson,Deals,Units,Deals Paid,Volume Bonus Paid,Paid,"
                         "Deals by Plan,Volume Bonus by Plan,Would Pay,Difference\r\n"
                         "JOHN SMITH,2,2,2380.00,0.00,2380.00,2010.00,0.00,2010.00,-370.00\r\n"
                         "Total,2,2,2380.00,0.00,2380.00,2010.00,0.00,2010.00,-370.00\r\n"));
}

TEST_F(PlanTrialWindowTest, MonthsAndSalespeopleAreCheckedBeforeAnythingIsRead)
{
    ASSERT_TRUE(trial);
    months(QStringLiteral("13/2026"), QStringLiteral("03/2026"));
    m_prompts.expectMessage(QStringLiteral("The months are typed MM/YYYY, as 03/2026."), kTitle,
                            Icon::Warning, Buttons::Ok);
    trial->tryPlan();
    months(QStringLiteral("04/2026"), QStringLiteral("03/2026"));
    m_prompts.expectMessage(QStringLiteral("The first month comes after the last."), kTitle,
                            Icon::Warning, Buttons::Ok);
    trial->tryPlan();
    const QString next = QDate::currentDate().addMonths(1).toString(QStringLiteral("MM/yyyy"));
    months(QStringLiteral("03/2026"), next);
    m_prompts.expectMessage(QStringLiteral("A plan is tried on past deals: the last month is this "
                                           "month at the latest."),
                            kTitle, Icon::Warning, Buttons::Ok);
    trial->tryPlan();
    months(QStringLiteral("03/2026"), QStringLiteral("03/2026"));
    trial->findChild<QListWidget *>(QStringLiteral("lstSalesPersons"))->item(0)->setCheckState(Qt::Unchecked);
    m_prompts.expectMessage(QStringLiteral("Tick the salespeople to try the plan for."), kTitle,
                            Icon::Warning, Buttons::Ok);
    trial->tryPlan();
    m_prompts.verify();
    EXPECT_EQ(rows(), 0);
    EXPECT_FALSE(trial->findChild<QPushButton *>(QStringLiteral("cmdSaveCsv"))->isEnabled());
}

TEST_F(PlanTrialWindowTest, CancelStopsTheTrialAndShowsNothing)
{
    ASSERT_TRUE(trial);
    months(QStringLiteral("03/2026"), QStringLiteral("03/2026"));
    trial->findChild<QListWidget *>(QStringLiteral("lstSalesPersons"))->item(1)->setCheckState(Qt::Checked);
    plans->show();
    bool otherClosed = true;
    QTimer::singleShot(0, trial, [this, &otherClosed] {
        // While it runs, the other windows stay as they are.
        otherClosed = plans->close();
        trial->findChild<QPushButton *>(QStringLiteral("cmdCancel"))->click();
    });
    trial->tryPlan();
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(note(), QStringLiteral("Stopped: nothing tried."));
    EXPECT_FALSE(otherClosed);
    EXPECT_TRUE(plans->isVisible());
    EXPECT_TRUE(trial->findChild<QPushButton *>(QStringLiteral("cmdTry"))->isEnabled());
    EXPECT_FALSE(trial->findChild<QPushButton *>(QStringLiteral("cmdCancel"))->isEnabled());

    // Tried again, Renée Côté's deal (no plan of her own) is worked out by the plan too.
    trial->tryPlan();
    ASSERT_EQ(rows(), 3);
    EXPECT_EQ(row(1), (QStringList{"RENÉE CÔTÉ", "1", "1", "$1,190.00", "$0.00", "$1,190.00",
                                   "$1,005.00", "$0.00", "$1,005.00", "-$185.00"}));
}

TEST_F(PlanTrialWindowTest, AFormThatIsNoPlanIsRefusedWithItsProblem)
{
    ASSERT_TRUE(trial);
    trial->close();
    plans->addVersion();
    edit(*plans, QStringLiteral("txtCommissionNT"))->setText(QStringLiteral("140"));
    m_prompts.expectMessage(QStringLiteral("The New Truck commission must be a percent from 0 to 100."),
                            QStringLiteral("Pay Plans"), Icon::Warning, Buttons::Ok);
    plans->tryOnPastDeals();
    m_prompts.verify();
}

} // namespace
