#include "admin/ui/main_menu.h"
#include "admin/ui/roster_window.h"
#include "admin/ui/table_commands.h"
#include "admin/ui/table_window.h"
#include "tables_fixture.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QTest>

namespace {

class TableCommandsTest : public TablesTest
{
protected:
    void trigger(const char *key) { m_menu->action(QString::fromLatin1(key))->trigger(); }

    QMainWindow m_window;
    MainMenu *m_menu = new MainMenu(&m_window);
    TableCommands *m_commands = installTableCommands(*m_menu, *m_database, m_prompts);
};

TEST_F(TableCommandsTest, EachCommandOpensItsOneWindowModeless)
{
    struct Case
    {
        const char *key;
        const char *window;
    };
    const Case cases[] = {
        {"mnuSalesLog", "frmfrmSales"},
        {"mnuSalesSummary", "frmSalesSummary"},
        {"mnuAdd", "frmAdd2"},
        {"tbrAdd", "frmAdd2"},
    };
    for (const Case &c : cases) {
        trigger(c.key);
        QList<QWidget *> shown;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && w->objectName() == QString::fromLatin1(c.window))
                shown << w;
        }
        ASSERT_EQ(shown.size(), 1) << c.key;
        EXPECT_FALSE(shown.first()->isModal());
        EXPECT_EQ(shown.first()->parentWidget(), nullptr);
        trigger(c.key);
        EXPECT_TRUE(shown.first()->isVisible());
    }
    EXPECT_NE(m_commands->salesLog(), m_commands->salesSummary());
}

TEST_F(TableCommandsTest, TheRosterComesUpAgainWithTheFocusInItsName)
{
    setSalesPersons({QStringLiteral("ANN"), QStringLiteral("BOB")});
    trigger("mnuAdd");
    RosterWindow *roster = m_commands->roster();
    ASSERT_TRUE(QTest::qWaitForWindowActive(roster));
    click(*roster, "cmdNext");
    click(*roster, "cmdEdit");
    trigger("tbrAdd"); // open already: as it stands, focus in the name
    EXPECT_EQ(m_commands->roster(), roster);
    EXPECT_EQ(QApplication::focusWidget(), edit(*roster, QStringLiteral("txtFields")));
    EXPECT_EQ(edit(*roster, QStringLiteral("txtFields"))->text(), QStringLiteral("BOB"));

    roster->close();
    trigger("mnuAdd"); // closed: opens afresh on the first name, Save disabled
    EXPECT_EQ(edit(*roster, QStringLiteral("txtFields"))->text(), QStringLiteral("ANN"));
    EXPECT_FALSE(roster->findChild<QWidget *>(QStringLiteral("cmdUpdate"))->isEnabled());
}

} // namespace
