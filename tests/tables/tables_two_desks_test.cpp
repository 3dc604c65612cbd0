// The roster and the table windows show what other desks wrote when they
// are next shown or come back to the front, and never drop a change the user
// is in the middle of.
#include "admin/ui/main_menu.h"
#include "admin/ui/roster_window.h"
#include "admin/ui/table_commands.h"
#include "admin/ui/table_window.h"
#include "second_desk.h"
#include "tables_fixture.h"

#include <QAction>
#include <QMainWindow>
#include <QTest>

namespace {

class TablesTwoDesks : public TablesTest, public SecondDesk
{
protected:
    void trigger(const char *key) { m_menu->action(QString::fromLatin1(key))->trigger(); }
    // A SalesLog row of a new deal, saved at the other desk.
    void salesLogRowThere(const QString &stockNumber, const QString &customer)
    {
        atOtherDesk(*m_database, QStringLiteral("INSERT INTO RecallDeal (StockNo) VALUES (?)"),
                    {stockNumber});
        atOtherDesk(*m_database,
                    QStringLiteral("INSERT INTO SalesLog (Date, StockNumber, CustomerName, Gross, "
                                   "DealId) VALUES ('2005-03-07', ?, ?, 0, "
                                   "(SELECT max(DealId) FROM RecallDeal))"),
                    {stockNumber, customer});
    }
    QString field(QWidget &window, const char *name)
    {
        return edit(window, QString::fromLatin1(name))->text();
    }

    QMainWindow m_window;
    MainMenu *m_menu = new MainMenu(&m_window);
    TableCommands *m_commands = installTableCommands(*m_menu, *m_database, m_prompts);
};

TEST_F(TablesTwoDesks, ATableWindowShowsARowAddedAtAnotherDeskWhenShownAgain)
{
    salesLogRow(QStringLiteral("A1"), QStringLiteral("ANN"));
    trigger("mnuSalesLog");
    TableWindow *window = m_commands->salesLog();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    window->close();

    salesLogRowThere(QStringLiteral("40177"), QString::fromUtf8("ZOË"));
    trigger("mnuSalesLog");
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    click(*window, "cmdLast");
    EXPECT_EQ(field(*window, "Text1_3"), QString::fromUtf8("ZOË"));

    // While it stays open: the row comes with the next activation.
    salesLogRowThere(QStringLiteral("B2"), QStringLiteral("BOB"));
    comeBackTo(*window);
    click(*window, "cmdLast");
    EXPECT_EQ(field(*window, "Text1_1"), QStringLiteral("B2"));

    // A change in progress stays as typed, and is written on Save.
    edit(*window, QStringLiteral("Text1_3"))->setText(QStringLiteral("ROBERT"));
    atOtherDesk(*m_database,
                QStringLiteral("UPDATE SalesLog SET Unit = 'F150' WHERE StockNumber = 'B2'"));
    comeBackTo(*window);
    EXPECT_EQ(field(*window, "Text1_3"), QStringLiteral("ROBERT"));
    click(*window, "cmdUpdate");
    EXPECT_EQ(readAtOtherDesk(*m_database,
                              QStringLiteral("SELECT CustomerName || '/' || Unit FROM SalesLog "
                                             "WHERE StockNumber = 'B2'")),
              QVariant(QStringLiteral("ROBERT/F150")));
}

TEST_F(TablesTwoDesks, AnEditOverAFieldChangedOrPaidAtAnotherDeskIsRefusedAndShowsTheRowAsStored)
{
    const qint64 deal = savedDeal(QStringLiteral("77"));
    execute(QStringLiteral("INSERT INTO SalesSummary (Stock_Number, Sales_Person, Commission, "
                           "TotalCommission, Paid, DealId) VALUES ('77', ?, 3500000, 3500000, 0, ?)"),
            {QString::fromUtf8("JOSÉ PEÑA"), deal});
    trigger("mnuSalesSummary");
    TableWindow *window = m_commands->salesSummary();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    const QString commission = QStringLiteral("Text1_7");
    EXPECT_EQ(field(*window, "Text1_7"), QStringLiteral("350"));

    // The same field changed at both desks: the other desk's value stays.
    edit(*window, commission)->setText(QStringLiteral("400"));
    atOtherDesk(*m_database, QStringLiteral("UPDATE SalesSummary SET Commission = 3750000"));
    m_prompts.expectMessage(
        QStringLiteral("This record was changed at another desk since it was shown "
                       "(Commisssion). Your change was not saved: the record now shows as it is "
                       "stored; make your change again if it is still wanted."),
        QStringLiteral("SalesSummary Database"), Prompts::Icon::Warning, Prompts::Buttons::Ok);
    click(*window, "cmdUpdate");
    m_prompts.verify();
    EXPECT_EQ(field(*window, "Text1_7"), QStringLiteral("375"));

    // The row paid at the other desk: no field of it is changed here any more.
    edit(*window, QStringLiteral("Text1_8"))->setText(QStringLiteral("25"));
    atOtherDesk(*m_database, QStringLiteral("UPDATE SalesSummary SET Paid = 1"));
    m_prompts.expectMessageText(
        QStringLiteral("This record was changed at another desk since it was shown (Paid). Your "
                       "change was not saved: the record now shows as it is stored; make your "
                       "change again if it is still wanted."));
    window->close(); // leaving the record tries to write it
    m_prompts.verify();
    EXPECT_TRUE(window->isVisible()) << "the window stays on the row refused";
    EXPECT_EQ(field(*window, "Text1_12"), QStringLiteral("True"));
    EXPECT_EQ(readAtOtherDesk(*m_database,
                              QStringLiteral("SELECT Commission || '/' || coalesce(Spiff, 'none') "
                                             "|| '/' || Paid FROM SalesSummary")),
              QVariant(QStringLiteral("3750000/none/1")));

    // Made again over the row as it is now, the change is written.
    edit(*window, QStringLiteral("Text1_8"))->setText(QStringLiteral("25"));
    click(*window, "cmdUpdate");
    m_prompts.verify();
    EXPECT_EQ(readAtOtherDesk(*m_database, QStringLiteral("SELECT Spiff FROM SalesSummary")),
              QVariant(qint64(250000)));
}

TEST_F(TablesTwoDesks, TheRosterShowsASalespersonAddedAtAnotherDeskWhenItComesBack)
{
    setSalesPersons({QStringLiteral("ANN"), QStringLiteral("BOB")});
    trigger("mnuAdd");
    RosterWindow *roster = m_commands->roster();
    ASSERT_TRUE(QTest::qWaitForWindowActive(roster));

    atOtherDesk(*m_database, QStringLiteral("INSERT INTO SalesPersons (Name) VALUES (?)"),
                {QString::fromUtf8("JOSÉ PEÑA")});
    comeBackTo(*roster);
    click(*roster, "cmdLast");
    EXPECT_EQ(field(*roster, "txtFields"), QString::fromUtf8("JOSÉ PEÑA"));

    // A name being typed over is kept while the roster is read again.
    click(*roster, "cmdFirst");
    edit(*roster, QStringLiteral("txtFields"))->setText(QStringLiteral("ANNE"));
    atOtherDesk(*m_database, QStringLiteral("INSERT INTO SalesPersons (Name) VALUES ('CARL')"));
    comeBackTo(*roster);
    EXPECT_EQ(field(*roster, "txtFields"), QStringLiteral("ANNE"));
    click(*roster, "cmdNext");
    EXPECT_EQ(column(QStringLiteral("SELECT Name FROM SalesPersons ORDER BY rowid")),
              (QVariantList{QStringLiteral("ANNE"), QStringLiteral("BOB"),
                            QString::fromUtf8("JOSÉ PEÑA"), QStringLiteral("CARL")}));
}

} // namespace
