#include "deal_worksheet_fixture.h"

#include "common/money_format.h"
#include "pay/pay_plan.h"

#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Buttons = Prompts::Buttons;
using Icon = Prompts::Icon;

// John Smith's plan: 25% on new units, 28% from March 15; used cars pay a
// flat $250.00; a $150.00 mini, $2,500.00 cap, $40.00 warranty spiff; packs
// $350.00 new and $600.00 used. Mary Jones has no plan.
PayPlanVersion johnsPlan(int id, const QDate &from, int newPercent)
{
    PayPlanVersion version;
    version.id = id;
    version.salesPerson = QStringLiteral("John Smith");
    version.effectiveFrom = from;
    for (int i = 0; i < PayPlanVersion::kClasses; ++i) {
        version.terms[i].percent = Money::dollars(i < 2 ? newPercent : 20);
        version.terms[i].mini = Money::dollars(150);
        version.terms[i].pack = Money::dollars(i < 2 ? 350 : 600);
    }
    version.terms[2].kind = PlanTerms::Kind::Flat;
    version.terms[2].flat = Money::dollars(250);
    version.cap = Money::dollars(2500);
    version.warrantySpiff = Money::dollars(40);
    return version;
}

class WorksheetPlan : public DealWorksheetTest
{
protected:
    void SetUp() override
    {
        start();
        form->setSalesPersons({QStringLiteral("John Smith"), QStringLiteral("Mary Jones")});
        form->setPlanLookup(
            {[this](const QString &name, const QDate &date) -> std::optional<PayPlanVersion> {
                 if (name.compare(QStringLiteral("John Smith"), Qt::CaseInsensitive) != 0)
                     return std::nullopt;
                 return PayPlan::inForce(versions, date);
             },
             [this](qint64 id) -> std::optional<PayPlanVersion> {
                 for (const PayPlanVersion &v : versions) {
                     if (v.id == id)
                         return v;
                 }
                 return std::nullopt;
             }});
        showActive();
    }

    void choose(const char *salesPerson) { combo(QStringLiteral("DBCombo1"))->setEditText(QString::fromUtf8(salesPerson)); }
    void setDate(int month, int day)
    {
        control<QDateEdit>(QStringLiteral("dtpDate"))->setDate(QDate(2026, month, day));
    }
    // Types a unit class and leaves the field.
    void leaveUnitClass(const char *unitClass)
    {
        moveFocusTo(combo(QStringLiteral("txtTCU")));
        combo(QStringLiteral("txtTCU"))->setEditText(QString::fromLatin1(unitClass));
        moveFocusTo(line(QStringLiteral("Text3")));
    }
    void typeInto(const char *field, const char *typed)
    {
        QLineEdit *edit = line(QString::fromLatin1(field));
        moveFocusTo(edit);
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromLatin1(typed));
        moveFocusTo(line(QStringLiteral("Text3")));
    }
    bool marked(const char *mark) const
    {
        return control<QLabel>(QString::fromLatin1(mark))->isVisibleTo(form.get());
    }
    // Payable gross, commission, warranty and total as shown.
    std::string figures() const
    {
        return QStringList{text(QStringLiteral("Text21")), text(QStringLiteral("Text23")),
                           text(QStringLiteral("txtWarranty")), text(QStringLiteral("txtTotalComm"))}
            .join(u' ')
            .toStdString();
    }

    QList<PayPlanVersion> versions{johnsPlan(1, QDate(2026, 1, 1), 25),
                                   johnsPlan(2, QDate(2026, 3, 15), 28)};
};

// The rate changes from the 15th: a deal on the 14th takes the old rate, one
// on the 15th the new, and the pack follows the class.
TEST_F(WorksheetPlan, TheVersionInForceOnTheDealsDateFillsPackAndRate)
{
    setDate(3, 14);
    choose("John Smith");
    EXPECT_EQ(text(QStringLiteral("Text22")), QStringLiteral("25%"));
    EXPECT_EQ(text(QStringLiteral("Text2")), QStringLiteral("$350.00"));
    setDate(3, 15);
    EXPECT_EQ(text(QStringLiteral("Text22")), QStringLiteral("28%"));
    leaveUnitClass("UC");
    EXPECT_EQ(text(QStringLiteral("Text22")), QStringLiteral("$250.00 flat"));
    EXPECT_EQ(text(QStringLiteral("Text2")), QStringLiteral("$600.00"));
    EXPECT_EQ(text(QStringLiteral("Combo12")), QStringLiteral("0"));
    EXPECT_EQ(form->deal().planVersion, 2);

    // A salesperson without a plan gets the standing figures back.
    choose("Mary Jones");
    EXPECT_EQ(text(QStringLiteral("Text22")), QStringLiteral("30%"));
    EXPECT_EQ(text(QStringLiteral("Text2")), QStringLiteral("$500.00"));
    EXPECT_EQ(form->deal().planVersion, std::nullopt);
    EXPECT_FALSE(marked("lblPackOverride"));
}

// Calculate takes the plan's mini deal, cap and warranty spiff.
TEST_F(WorksheetPlan, CalculateUsesThePlansMiniCapAndWarranty)
{
    setDate(3, 20);
    choose("John Smith");
    leaveUnitClass("NC");
    line(QStringLiteral("Text13"))->setText(QStringLiteral("20000"));
    line(QStringLiteral("Text3"))->setText(QStringLiteral("30350"));
    control<QAbstractButton>(QStringLiteral("Check1"))->setChecked(true);
    form->calculateCommission();
    // 10000 x 28% = 2800, clipped to the $2,500.00 cap.
    EXPECT_EQ(figures(), "$10000.00 $2500.00 $40.00 $2540.00");
    line(QStringLiteral("Text3"))->setText(QStringLiteral("20650"));
    form->calculateCommission();
    // 300 x 28% = 84, raised to the $150.00 mini.
    EXPECT_EQ(figures(), "$300.00 $150.00 $40.00 $190.00");
}

// A rate or pack typed for the deal stands, marked with the plan's figure;
// Clear takes the plan's figures again once a salesperson is chosen.
TEST_F(WorksheetPlan, ATypedRateOrPackIsKeptAndMarked)
{
    setDate(3, 10);
    choose("John Smith");
    typeInto("Text22", "27%");
    typeInto("Text2", "400");
    EXPECT_TRUE(marked("lblRateOverride"));
    EXPECT_EQ(control<QLabel>(QStringLiteral("lblRateOverride"))->toolTip(),
              QStringLiteral("Typed for this deal; the pay plan's rate is 25%."));
    EXPECT_EQ(control<QLabel>(QStringLiteral("lblPackOverride"))->toolTip(),
              QStringLiteral("Typed for this deal; the pay plan's pack is $350.00."));

    leaveUnitClass("NT");
    setDate(3, 16);
    EXPECT_EQ(text(QStringLiteral("Text22")), QStringLiteral("27%"));
    EXPECT_EQ(text(QStringLiteral("Text2")), QStringLiteral("$400.00"));
    EXPECT_EQ(control<QLabel>(QStringLiteral("lblRateOverride"))->toolTip(),
              QStringLiteral("Typed for this deal; the pay plan's rate is 28%."));
    const Deal deal = form->deal();
    EXPECT_EQ(deal.planVersion, 2);
    EXPECT_EQ(deal.planRate, QStringLiteral("28%"));
    EXPECT_EQ(deal.planPack, QStringLiteral("$350.00"));

    form->clearDeal();
    EXPECT_FALSE(marked("lblRateOverride"));
    EXPECT_FALSE(marked("lblPackOverride"));
    choose("John Smith");
    EXPECT_EQ(text(QStringLiteral("Text22")), QStringLiteral("28%"));
    EXPECT_EQ(text(QStringLiteral("Text2")), QStringLiteral("$350.00"));
}

// A recalled deal shows its figures as stored, marks and all; only a change
// of class, salesperson or date fills again.
TEST_F(WorksheetPlan, ARecalledDealIsNotFilledAgain)
{
    Deal stored;
    stored.date = QDate(2026, 3, 14);
    stored.salesPerson = QStringLiteral("John Smith");
    stored.unitClass = QStringLiteral("NC");
    stored.pack = QStringLiteral("375");
    stored.commissionRate = QStringLiteral("24%");
    stored.planVersion = 1;
    stored.planRate = QStringLiteral("25%");
    stored.split = true;
    stored.splitPartner = QStringLiteral("Mary Jones");
    stored.splitShare = QStringLiteral("60");
    form->showDeal(stored);
    EXPECT_EQ(text(QStringLiteral("Text22")), QStringLiteral("24%"));
    EXPECT_EQ(text(QStringLiteral("Text2")), QStringLiteral("375"));
    EXPECT_EQ(text(QStringLiteral("txtShare")), QStringLiteral("60"));
    EXPECT_TRUE(marked("lblRateOverride"));
    EXPECT_FALSE(marked("lblPackOverride"));
    EXPECT_EQ(form->deal().planVersion, 1);

    setDate(3, 15);
    EXPECT_EQ(text(QStringLiteral("Text22")), QStringLiteral("24%"));
    EXPECT_EQ(text(QStringLiteral("Text2")), QStringLiteral("$350.00"));
    EXPECT_EQ(form->deal().planVersion, 2);
}

// Without any plan the worksheet is the one it always was: a typed pack is
// replaced each time the unit class is left.
TEST_F(WorksheetPlan, WithoutAPlanATypedPackIsReplacedAsAlways)
{
    versions.clear();
    choose("John Smith");
    EXPECT_EQ(text(QStringLiteral("Text22")), QStringLiteral("30%"));
    typeInto("Text2", "400");
    leaveUnitClass("UT");
    EXPECT_EQ(text(QStringLiteral("Text2")), QStringLiteral("$500.00"));
    EXPECT_FALSE(marked("lblPackOverride"));
    EXPECT_EQ(form->deal().planVersion, std::nullopt);
    EXPECT_EQ(form->deal().planPack, QString());
}

TEST_F(WorksheetPlan, TheShareShowsWithTheSplitAndTakesAWholePercent)
{
    QPushButton *toggle = control<QPushButton>(QStringLiteral("ToggleButton1"));
    QLineEdit *share = line(QStringLiteral("txtShare"));
    EXPECT_FALSE(share->isVisibleTo(form.get()));
    toggle->setChecked(true);
    EXPECT_TRUE(share->isVisibleTo(form.get()));
    EXPECT_EQ(share->text(), QStringLiteral("50"));

    typeInto("txtShare", "60");
    EXPECT_EQ(form->deal().splitShare, QStringLiteral("60"));
    prompts.expectMessage(QStringLiteral("The share \"0\" is not a whole percent from 1 to 99."),
                          {}, Icon::None, Buttons::Ok);
    typeInto("txtShare", "0");
    prompts.verify();
    EXPECT_EQ(share->text(), QStringLiteral("50"));
    EXPECT_EQ(focusedControl(), share);
    form->clearDeal();
    EXPECT_EQ(share->text(), QStringLiteral("50"));
}

} // namespace

namespace {

// A plan with volume tiers shows the month's progress in the status bar; a
// plan without tiers, or none, shows no status bar at all.
TEST_F(WorksheetPlan, APlanWithTiersShowsTheMonthsProgressInTheStatusBar)
{
    setDate(3, 14);
    choose("John Smith");
    EXPECT_EQ(form->findChild<QStatusBar *>(), nullptr);

    versions[1].tiers = {{.unitsFrom = Money::dollars(12), .percent = Money::dollars(28)}};
    QList<QDate> asked;
    PayPlanLookup lookup{[this](const QString &name, const QDate &date) -> std::optional<PayPlanVersion> {
                             if (name.compare(QStringLiteral("John Smith"), Qt::CaseInsensitive) != 0)
                                 return std::nullopt;
                             return PayPlan::inForce(versions, date);
                         },
                         {},
                         [&asked](const PayPlanVersion &plan, const QDate &date) {
                             asked << date;
                             return QStringLiteral("9.5 units this month \u2014 2.5 to %1%")
                                 .arg(MoneyFormat::plain(*plan.tiers.first().percent));
                         }};
    form->setPlanLookup(lookup);
    setDate(3, 20);
    ASSERT_NE(form->findChild<QStatusBar *>(), nullptr);
    EXPECT_EQ(form->statusBar()->currentMessage(),
              QStringLiteral("9.5 units this month \u2014 2.5 to 28%"));
    EXPECT_EQ(asked.last(), QDate(2026, 3, 20));
    choose("Mary Jones");
    EXPECT_EQ(form->statusBar()->currentMessage(), QString());
}

} // namespace
