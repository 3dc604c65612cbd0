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
