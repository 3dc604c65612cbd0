#include "scripted_prompts.h"
#include "store/ui/deal_finder_window.h"
#include "store_test_support.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class DealFinderWindowTest : public EngineStoreTest
{
protected:
    template <typename Widget> Widget *control(DealFinderWindow &window, const char *name)
    {
        Widget *widget = window.findChild<Widget *>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    QString caption(DealFinderWindow &window)
    {
        return control<QLabel>(window, "lblCaption")->text();
    }

    QString field(DealFinderWindow &window, int index)
    {
        return window.findChild<QLineEdit *>(QStringLiteral("txtFields_%1").arg(index))->text();
    }

    void searchFor(DealFinderWindow &window, const QString &text)
    {
        QLineEdit *search = control<QLineEdit>(window, "txtSearchString");
        search->setText(text);
        QTest::mouseClick(control<QPushButton>(window, "cmdFind"), Qt::LeftButton);
    }

    void click(DealFinderWindow &window, const char *name)
    {
        QAbstractButton *button = control<QAbstractButton>(window, name);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    ScriptedPrompts m_prompts;
};

INSTANTIATE_ON_BOTH_ENGINES(DealFinderWindowTest);

TEST_P(DealFinderWindowTest, OpensOnTheWholeTableWithItsCaptionsAndReadOnlyFields)
{
    saved(dealFor(QStringLiteral("A1"), QStringLiteral("Ann Lee")));
    saved(dealFor(QStringLiteral("B2"), QStringLiteral("Bob Ray")));
    DealFinderWindow window(*m_store, m_prompts);
    EXPECT_EQ(window.objectName(), QStringLiteral("frmSaleData"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Recall Deal"));

    const std::pair<const char *, const char *> texts[] = {
        {"Label1", "Search for deal by:"}, {"lblSearch", "Enter Stock Number"},
        {"lblLabels_0", "Date:"},          {"lblLabels_1", "SalesPerson:"},
        {"lblLabels_2", "Customer:"},      {"lblLabels_3", "StockNo:"},
        {"lblLabels_4", "Year:"},          {"lblLabels_5", "Unit:"},
    };
    for (const auto &[name, text] : texts)
        EXPECT_EQ(control<QLabel>(window, name)->text(), QString::fromLatin1(text)) << name;
    const std::pair<const char *, const char *> buttons[] = {
        {"optStock", "Stock Number"}, {"optName", "Customer Name"}, {"cmdFind", "Search"},
        {"cmdLoad", "Recall Deal"},   {"cmdExit", "Exit"},
    };
    for (const auto &[name, text] : buttons)
        EXPECT_EQ(control<QAbstractButton>(window, name)->text(), QString::fromLatin1(text));
    EXPECT_TRUE(control<QRadioButton>(window, "optStock")->isChecked());
    EXPECT_FALSE(control<QPushButton>(window, "cmdLoad")->isEnabled());
    EXPECT_EQ(control<QLineEdit>(window, "txtSearchString")->text(), QString());
    EXPECT_NE(control<QWidget>(window, "Data1"), nullptr);
    EXPECT_EQ(caption(window), QStringLiteral("    "));

    const QStringList first = {"03/07/2005", "John Smith", "ANN LEE", "A1", "2004", "EXPLORER SPT"};
    for (int i = 0; i < 6; ++i) {
        QLineEdit *box =
            control<QLineEdit>(window, qPrintable(QStringLiteral("txtFields_%1").arg(i)));
        EXPECT_EQ(box->text(), first[i]);
        EXPECT_TRUE(box->isReadOnly());
    }
    click(window, "cmdLast");
    EXPECT_EQ(field(window, 2), QStringLiteral("BOB RAY"));
}

TEST_P(DealFinderWindowTest, TheWholeTableIsSteppedThroughDealByDeal)
{
    const QStringList customers = {"ANN LEE", "BOB RAY", "CY DUNN", "DEE FOX"};
    QList<DealId> ids;
    for (const QString &customer : customers)
        ids << saved(dealFor(QStringLiteral("%1").arg(ids.size() + 90), customer));
    // A gap in the identities, as a delete leaves it.
    ASSERT_TRUE(m_store->remove(ids[1], nullptr));
    DealFinderWindow window(*m_store, m_prompts);
    EXPECT_EQ(field(window, 2), QStringLiteral("ANN LEE"));
    click(window, "cmdNext");
    EXPECT_EQ(field(window, 2), QStringLiteral("CY DUNN"));
    click(window, "cmdNext");
    EXPECT_EQ(field(window, 2), QStringLiteral("DEE FOX"));
    EXPECT_FALSE(control<QToolButton>(window, "cmdNext")->isEnabled());
    click(window, "cmdPrevious");
    EXPECT_EQ(field(window, 3), QStringLiteral("92"));
    click(window, "cmdFirst");
    EXPECT_EQ(field(window, 2), QStringLiteral("ANN LEE"));
    EXPECT_FALSE(control<QToolButton>(window, "cmdPrevious")->isEnabled());
    click(window, "cmdLast");
    EXPECT_EQ(field(window, 2), QStringLiteral("DEE FOX"));
    EXPECT_EQ(caption(window), QStringLiteral("    "));
}

TEST_P(DealFinderWindowTest, AnEmptyDatabaseOpensOnNoDeal)
{
    DealFinderWindow window(*m_store, m_prompts);
    EXPECT_EQ(field(window, 2), QString());
    EXPECT_FALSE(control<QToolButton>(window, "cmdNext")->isEnabled());
    click(window, "cmdLoad");
    EXPECT_FALSE(control<QPushButton>(window, "cmdLoad")->isEnabled());
}

TEST_P(DealFinderWindowTest, ACustomerSearchCountsTheRowsAndTheBrowseBarStepsThroughThem)
{
    saved(dealFor(QStringLiteral("A1"), QStringLiteral("Ann Smithers")));
    saved(dealFor(QStringLiteral("B2"), QStringLiteral("Other")));
    saved(dealFor(QStringLiteral("C3"), QStringLiteral("Joe Blacksmith")));
    DealFinderWindow window(*m_store, m_prompts);
    click(window, "optName");
    EXPECT_EQ(control<QLabel>(window, "lblSearch")->text(),
              QStringLiteral("Enter any part of customer name"));

    searchFor(window, QStringLiteral("smith"));
    EXPECT_EQ(caption(window), QStringLiteral("Record: 1 of 2"));
    EXPECT_EQ(field(window, 2), QStringLiteral("ANN SMITHERS"));
    EXPECT_TRUE(control<QPushButton>(window, "cmdLoad")->isEnabled());
    click(window, "cmdNext");
    EXPECT_EQ(caption(window), QStringLiteral("Record: 2 of 2"));
    EXPECT_EQ(field(window, 2), QStringLiteral("JOE BLACKSMITH"));
    click(window, "cmdNext"); // already on the last row
    EXPECT_EQ(field(window, 3), QStringLiteral("C3"));
    click(window, "cmdFirst");
    EXPECT_EQ(field(window, 3), QStringLiteral("A1"));
}

TEST_P(DealFinderWindowTest, EmptySearchTextAndNoMatchAreReported)
{
    saved(dealFor(QStringLiteral("A1234"), QStringLiteral("Ann Lee")));
    DealFinderWindow window(*m_store, m_prompts);

    m_prompts.expectMessage(
        QStringLiteral("You must enter a stock number or part of customer name!"), QString(),
        Prompts::Icon::None, Prompts::Buttons::Ok);
    searchFor(window, QStringLiteral("   "));
    m_prompts.verify();

    searchFor(window, QStringLiteral("a1234"));
    EXPECT_EQ(caption(window), QStringLiteral("Record: 1 of 1"));
    EXPECT_TRUE(control<QPushButton>(window, "cmdLoad")->isEnabled());

    m_prompts.expectMessage(QStringLiteral("No records matches your search"),
                            QStringLiteral("Find"), Prompts::Icon::None, Prompts::Buttons::Ok);
    searchFor(window, QStringLiteral("123"));
    m_prompts.verify();
    EXPECT_EQ(caption(window), QStringLiteral("Record: 0 of 0"));
    EXPECT_FALSE(control<QPushButton>(window, "cmdLoad")->isEnabled());
    EXPECT_EQ(field(window, 3), QString());
}

TEST_P(DealFinderWindowTest, RecallDealHandsTheChosenDealOverAndCloses)
{
    saved(dealFor(QStringLiteral("A1"), QStringLiteral("Ann Lee")));
    const DealId wanted = saved(splitExampleDeal());
    DealFinderWindow window(*m_store, m_prompts);
    window.show();
    std::optional<std::pair<qint64, Deal>> chosen;
    int closedWithout = 0;
    QObject::connect(&window, &DealFinderWindow::dealChosen,
                     [&](qint64 id, const Deal &deal) { chosen.emplace(id, deal); });
    QObject::connect(&window, &DealFinderWindow::finderClosed, [&] { ++closedWithout; });

    searchFor(window, QStringLiteral("a1234"));
    click(window, "cmdLoad");
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->first, wanted);
    EXPECT_EQ(chosen->second, *m_store->loadDeal(wanted));
    EXPECT_TRUE(chosen->second.split);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(closedWithout, 0);
}

TEST_P(DealFinderWindowTest, ExitClosesWithoutADeal)
{
    saved(plainExampleDeal());
    DealFinderWindow window(*m_store, m_prompts);
    window.show();
    bool chosen = false;
    int closedWithout = 0;
    QObject::connect(&window, &DealFinderWindow::dealChosen, [&] { chosen = true; });
    QObject::connect(&window, &DealFinderWindow::finderClosed, [&] { ++closedWithout; });
    click(window, "cmdExit");
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(chosen);
    EXPECT_EQ(closedWithout, 1);

    // Escape, with the focus in the search box, closes it the same way.
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QLineEdit *search = control<QLineEdit>(window, "txtSearchString");
    search->setFocus();
    QTest::keyClick(search, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(chosen);
    EXPECT_EQ(closedWithout, 2);
}

} // namespace
