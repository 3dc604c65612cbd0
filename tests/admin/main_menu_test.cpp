#include "admin/help_file.h"
#include "admin/ui/about_window.h"
#include "admin/ui/main_menu.h"
#include "admin/ui/manual_window.h"
#include "scripted_prompts.h"
#include "temp_program_folder.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

QStringList keysOf(const QList<QAction *> &actions)
{
    QStringList keys;
    for (const QAction *action : actions)
        keys.append(action->objectName());
    return keys;
}

class Menu : public ::testing::Test
{
protected:
    QAction *action(const char *key) const { return menu->action(QString::fromLatin1(key)); }
    // Registers a command that counts its runs.
    void count(const char *key, int &runs)
    {
        ASSERT_TRUE(menu->setCommand(QString::fromLatin1(key), [&runs] { ++runs; })) << key;
    }

    QMainWindow window;
    MainMenu *menu = new MainMenu(&window);
};

TEST_F(Menu, EveryEntryHasItsPlaceCaptionAndToolTip)
{
    struct Case
    {
        const char *parent; // "bar": the menu bar; "tbrMain": the toolbar
        const char *key;
        const char *caption;
        const char *toolTip; // nullptr: not checked
    };
    // In order within each parent.
    const Case cases[] = {
        {"bar", "mnufile", "&File", nullptr},
        {"mnufile", "mnuSave", "&Save", nullptr},
        {"mnufile", "mnuprint", "&Print", nullptr},
        {"mnufile", "mnuExportPayroll", "Export for Payroll…", nullptr},
        {"mnufile", "mnuclose", "&Exit", nullptr},
        {"bar", "mnuEdit", "&Edit", nullptr},
        {"mnuEdit", "mnuSalesLog", "SalesLog Database", nullptr},
        {"mnuEdit", "mnuSalesSummary", "SalesSummary Database", nullptr},
        {"mnuEdit", "mnuAuditTrail", "Audit Trail", nullptr},
        {"bar", "mnuDeal", "&Deal", nullptr},
        {"mnuDeal", "mnuUnwind", "Unwind Deal…", nullptr},
        {"bar", "mnuReports", "&Reports", nullptr},
        {"mnuReports", "mnuDashboard", "Dashboard", nullptr},
        {"bar", "mnusetup", "&Setup", nullptr},
        {"mnusetup", "mnuAdd", "Add/Delete Salesperson", nullptr},
        {"mnusetup", "mnupack", "Default Pack", nullptr},
        {"mnusetup", "mnucomm", "Default Commmission", nullptr},
        {"mnusetup", "mnuWarranty", "Default Warranty Spiff", nullptr},
        {"mnusetup", "mnuMini", "Default Mini Deal", nullptr},
        {"mnusetup", "mnuUnit", "Unit Discription", nullptr},
        {"mnuUnit", "mnuAddUnit", "Add Unit", nullptr},
        {"mnuUnit", "mnuDeleteUnit", "Delete Unit", nullptr},
        {"mnusetup", "mnuPayPlans", "Pay Plans…", nullptr},
        {"bar", "mnuHelp", "&Help", nullptr},
        {"mnuHelp", "mnuContents", "Contents....", nullptr},
        {"mnuHelp", "mnuAbout", "About Tarvex", nullptr},
        {"tbrMain", "tbrSave", "&Save", "Save customer data"},
        {"tbrMain", "tbrCalculate", "&Calculate", "Calculate Commission"},
        {"tbrMain", "tbrSalesLog", "&Reports", "Report Menu"},
        {"tbrMain", "tbrPrint", "&Print Commision", "Print commision slip"},
        {"tbrMain", "tbrClear", "&Clear Form", "Clear/Reset form"},
        {"tbrMain", "tbrRecall", "Recall &Deal", "Recall previous deal"},
        {"tbrMain", "tbrSetup", "Setup", "Set-Up Options"},
        {"tbrMain", "tbrExit", "E&xit", "Exit Program"},
        {"tbrMain", "tbrHelp", "Help", nullptr},
        {"tbrSetup", "tbrAdd", "Add/Delete SalesPerson", nullptr},
        {"tbrSetup", "tbrPack", "Default Pack", nullptr},
        {"tbrSetup", "tbrComm", "Default Commission", nullptr},
        {"tbrSetup", "tbrWarranty", "Default Warranty Spiff", nullptr},
        {"tbrSetup", "tbrMini", "Default Mini Deal", nullptr},
        {"tbrSetup", "tbrAddUnit", "Add Unit Discription", nullptr},
        {"tbrSetup", "tbrDeleteUnit", "Delete Unit Description", nullptr},
    };
    QMap<QString, QStringList> expected;
    for (const Case &c : cases) {
        expected[QString::fromLatin1(c.parent)].append(QString::fromLatin1(c.key));
        QAction *entry = action(c.key);
        ASSERT_NE(entry, nullptr) << c.key;
        EXPECT_EQ(entry->text(), QString::fromUtf8(c.caption)) << c.key;
        if (c.toolTip) {
            EXPECT_EQ(entry->toolTip(), QString::fromLatin1(c.toolTip)) << c.key;
        }
    }
    ASSERT_EQ(window.findChild<QToolBar *>("tbrMain"), menu->toolBar());
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        const QString &parent = it.key();
        const QList<QAction *> shown = parent == u"bar" ? window.menuBar()->actions()
                                       : parent == u"tbrMain"
                                           ? menu->toolBar()->actions()
                                           : menu->action(parent)->menu()->actions();
        EXPECT_EQ(keysOf(shown), it.value()) << parent.toStdString();
    }
}

TEST_F(Menu, EntriesWithoutACommandAreDisabledUntilOneIsAttached)
{
    EXPECT_FALSE(action("mnuprint")->isEnabled());
    EXPECT_FALSE(action("tbrPrint")->isEnabled());
    int prints = 0;
    count("mnuprint", prints); // the menu route serves the toolbar too
    EXPECT_TRUE(action("tbrPrint")->isEnabled());
    EXPECT_TRUE(action("mnuprint")->isEnabled());
    action("tbrPrint")->trigger();
    action("mnuprint")->trigger();
    EXPECT_EQ(prints, 2);

    EXPECT_TRUE(menu->setCommand(QStringLiteral("tbrPrint"), {}));
    EXPECT_FALSE(action("mnuprint")->isEnabled());
    EXPECT_FALSE(menu->hasCommand(QStringLiteral("mnuprint")));

    for (const char *key : {"mnufile", "mnuUnit", "tbrSetup", "mnuSave", "tbrBogus"})
        EXPECT_FALSE(menu->setCommand(QString::fromLatin1(key), [] {})) << key;
    EXPECT_FALSE(action("mnuSave")->isVisible());
    EXPECT_FALSE(action("mnuSave")->isEnabled());
}

TEST_F(Menu, EachSetupCommandServesItsMenuItemAndItsDropDownEntry)
{
    const std::pair<const char *, const char *> routes[] = {
        {"mnuAdd", "tbrAdd"},
        {"mnupack", "tbrPack"},
        {"mnucomm", "tbrComm"},
        {"mnuWarranty", "tbrWarranty"},
        {"mnuMini", "tbrMini"},
        {"mnuAddUnit", "tbrAddUnit"},
        {"mnuDeleteUnit", "tbrDeleteUnit"},
        {"mnuclose", "tbrExit"},
        {"mnuContents", "tbrHelp"},
    };
    for (const auto &[menuKey, toolKey] : routes) {
        int runs = 0;
        count(toolKey, runs);
        action(menuKey)->trigger();
        action(toolKey)->trigger();
        EXPECT_EQ(runs, 2) << menuKey;
        ASSERT_TRUE(menu->setCommand(QString::fromLatin1(toolKey), {}));
    }
}

TEST_F(Menu, TheSetupButtonFaceDoesNothing)
{
    int runs = 0;
    for (const char *key :
         {"tbrAdd", "tbrPack", "tbrComm", "tbrWarranty", "tbrMini", "tbrAddUnit", "tbrDeleteUnit"})
        count(key, runs);
    auto *button =
        qobject_cast<QToolButton *>(menu->toolBar()->widgetForAction(action("tbrSetup")));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->popupMode(), QToolButton::MenuButtonPopup);
    EXPECT_TRUE(button->isEnabled());
    window.show();
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, 4));
    action("tbrSetup")->trigger();
    EXPECT_EQ(runs, 0);
    action("tbrPack")->trigger();
    EXPECT_EQ(runs, 1);
}

TEST_F(Menu, TheSaveButtonFollowsTheWorksheet)
{
    QAction *save = action("tbrSave");
    menu->setSaveCommand(QStringLiteral("Update"), true);
    EXPECT_EQ(save->text(), QStringLiteral("Update"));
    EXPECT_FALSE(save->isEnabled()); // no save command yet
    int saves = 0;
    count("tbrSave", saves);
    EXPECT_TRUE(save->isEnabled());
    menu->setSaveCommand(QStringLiteral("Save"), false);
    EXPECT_EQ(save->text(), QStringLiteral("&Save"));
    EXPECT_FALSE(save->isEnabled());
    EXPECT_FALSE(action("mnuSave")->isEnabled());
    menu->setSaveCommand(QStringLiteral("Save"), true);
    EXPECT_TRUE(save->isEnabled());
    EXPECT_FALSE(action("mnuSave")->isEnabled());
}

TEST_F(Menu, TheStandardKeysRunTheirCommands)
{
    struct Case
    {
        const char *command;
        QKeyCombination key;
    };
    const Case cases[] = {
        {"tbrSave", Qt::ControlModifier | Qt::Key_S},
        {"tbrPrint", Qt::ControlModifier | Qt::Key_P},
        {"tbrHelp", QKeyCombination(Qt::Key_F1)},
        {"tbrRecall", Qt::ControlModifier | Qt::Key_F},
        {"tbrExit", Qt::ControlModifier | Qt::Key_Q},
        {"tbrExit", Qt::ControlModifier | Qt::Key_W},
    };
    QMap<QString, int> runs;
    for (const Case &c : cases)
        count(c.command, runs[QString::fromLatin1(c.command)]);
    menu->setSaveCommand(QStringLiteral("Save"), true);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    for (const Case &c : cases) {
        const QString command = QString::fromLatin1(c.command);
        const int before = runs.value(command);
        QTest::keyClick(&window, c.key.key(), c.key.keyboardModifiers());
        EXPECT_EQ(runs.value(command), before + 1) << c.command << " "
                                                   << QKeySequence(c.key).toString().toStdString();
    }
    // The menu shows the keys beside its items.
    EXPECT_EQ(action("mnuprint")->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
    EXPECT_EQ(action("mnuContents")->shortcut(), QKeySequence(QStringLiteral("F1")));
}

TEST_F(Menu, HelpWithoutTheHelpFileOpensTheManualWindow)
{
    TempProgramFolder dir;
    ScriptedPrompts prompts;
    menu->installHelpCommands(dir.folder(), prompts);
    action("mnuContents")->trigger();
    ManualWindow *manual = menu->manualWindow();
    ASSERT_NE(manual, nullptr);
    EXPECT_TRUE(manual->isVisible());
    EXPECT_FALSE(manual->isModal());
    EXPECT_EQ(manual->currentPage(), QStringLiteral("index.md"));

    manual->showPage(QStringLiteral("backups.md"));
    ASSERT_TRUE(QTest::qWaitForWindowActive(manual));
    QTest::keyClick(manual, Qt::Key_Escape);
    EXPECT_FALSE(manual->isVisible()) << "Escape closes the manual";
    action("tbrHelp")->trigger();
    EXPECT_EQ(menu->manualWindow(), manual) << "one window, kept with its page";
    EXPECT_TRUE(manual->isVisible());
    EXPECT_EQ(manual->currentPage(), QStringLiteral("backups.md"));
}

TEST(HelpFile, OpensThePresentFileWithTheDesktopAndFallsBackToTheManual)
{
    TempProgramFolder dir;
    ScriptedPrompts prompts;
    int manualShown = 0;
    const auto showManual = [&manualShown] { ++manualShown; };
    QUrl asked;
    const auto accept = [&asked](const QUrl &url) {
        asked = url;
        return true;
    };

    EXPECT_FALSE(HelpFile::open(dir.folder(), prompts, showManual, accept));
    EXPECT_EQ(manualShown, 1);
    EXPECT_TRUE(asked.isEmpty()) << "no help file: the desktop is not asked";

    dir.writeBytes(QStringLiteral("Tarvex5Help.chm"), "ITSF");
    EXPECT_TRUE(HelpFile::open(dir.folder(), prompts, showManual, accept));
    EXPECT_EQ(asked, QUrl::fromLocalFile(dir.filePath("Tarvex5Help.chm")));
    EXPECT_EQ(manualShown, 1);

    prompts.expectMessage(
        QStringLiteral("The help file could not be opened:\n%1\n\nCheck that a program for "
                       "compiled help files (.chm) is installed. Tarvex's own manual opens "
                       "instead.")
            .arg(dir.filePath("Tarvex5Help.chm")),
        {}, Prompts::Icon::Warning, Prompts::Buttons::Ok);
    EXPECT_FALSE(HelpFile::open(dir.folder(), prompts, showManual, [](const QUrl &) { return false; }));
    EXPECT_EQ(manualShown, 2);
}

TEST_F(Menu, AboutOpensOneModelessWindowThatOkCloses)
{
    TempProgramFolder dir;
    ScriptedPrompts prompts;
    menu->installHelpCommands(dir.folder(), prompts);
    action("mnuAbout")->trigger();
    AboutWindow *about = menu->aboutWindow();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->objectName(), QStringLiteral("frmAbout"));
    EXPECT_EQ(about->windowTitle(), QStringLiteral("About Tarvex"));
    EXPECT_TRUE(about->isVisible());
    EXPECT_FALSE(about->isModal());
    const std::pair<const char *, const char *> labels[] = {
        {"lblTitle", "Tarvex5"},
        {"lblVersion", "Version:  2.5"},
        {"Label1", "A tool for automotive sales managers to calculate sales commissions and "
                   "print out commission slips and sales logs."},
    };
    for (const auto &[name, text] : labels)
        EXPECT_EQ(about->findChild<QLabel *>(name)->text(), QString::fromLatin1(text)) << name;
    EXPECT_EQ(about->findChild<QLabel *>("lblDataFolder")->text(),
              QStringLiteral("Tarvex keeps its database and settings files in:\n") + dir.folder().path());
    for (const char *name : {"picIcon", "lblDisclaimer", "Line1_0", "Line1_1"})
        EXPECT_NE(about->findChild<QWidget *>(name), nullptr) << name;
    EXPECT_FALSE(about->findChild<QLabel *>("picIcon")->pixmap().isNull());

    QTest::mouseClick(about->findChild<QPushButton *>("cmdOK"), Qt::LeftButton);
    EXPECT_FALSE(about->isVisible());
    action("mnuAbout")->trigger();
    EXPECT_EQ(menu->aboutWindow(), about);
    EXPECT_TRUE(about->isVisible());
}

// With the deals on a server, About says where and whether the connection
// to it is encrypted; with the file alone it says nothing of a server.
TEST_F(Menu, AboutNamesTheServerAndItsEncryption)
{
    TempProgramFolder dir;
    ScriptedPrompts prompts;
    menu->installHelpCommands(dir.folder(), prompts);
    const QString note = QStringLiteral("The deals are kept in the database \"tarvex\" on "
                                        "10.0.0.7. The connection to it is not certain to be "
                                        "encrypted (sslmode prefer).");
    menu->setDatabaseNote(note);
    action("mnuAbout")->trigger();
    ASSERT_NE(menu->aboutWindow()->findChild<QLabel *>("lblDatabase"), nullptr);
    EXPECT_EQ(menu->aboutWindow()->findChild<QLabel *>("lblDatabase")->text(), note);
    AboutWindow fileOnly(dir.folder().path());
    EXPECT_EQ(fileOnly.findChild<QLabel *>("lblDatabase"), nullptr);
}

} // namespace
