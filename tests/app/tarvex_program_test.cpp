// The whole program for one run: first start, the worksheet with its menus,
// and the way out.
#include "admin/first_password.h"
#include "admin/ui/main_menu.h"
#include "admin/ui/table_commands.h"
#include "admin/ui/table_window.h"
#include "app/tarvex_program.h"
#include "reports/ui/dashboard_window.h"
#include "scripted_prompts.h"
#include "store/deal_database.h"
#include "store/pay_plan_store.h"
#include "store/store_location.h"
#include "temp_program_folder.h"
#include "test_server.h"
#include "worksheet/ui/deal_worksheet.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QScreen>
#include <QSqlQuery>

#include <QSqlQuery>

#include <gtest/gtest.h>

namespace {

using Answer = Prompts::Answer;

class TarvexProgramTest : public ::testing::Test
{
protected:
    void expectFirstPassword(const QString &password)
    {
        prompts.expectInputPrompt(FirstPassword::choosePrompt(), password);
        prompts.expectInputPrompt(FirstPassword::confirmPrompt(), password);
    }

    bool start()
    {
        program = std::make_unique<TarvexProgram>(dir.folder(), prompts);
        program->setEndProgram([this] { ++endings; });
        return program->start();
    }

    bool enabled(const QString &key) const
    {
        QAction *action = program->menu()->action(key);
        EXPECT_NE(action, nullptr) << key.toStdString();
        return action && action->isEnabled();
    }

    TempProgramFolder dir;
    ScriptedPrompts prompts;
    std::unique_ptr<TarvexProgram> program;
    int endings = 0;
};

TEST_F(TarvexProgramTest, FirstStartSetsThePasswordAndShowsAClearedWorksheet)
{
    expectFirstPassword(QStringLiteral("s3cret"));
    ASSERT_TRUE(start());
    // The password is kept in the database; PW.txt only says so.
    EXPECT_FALSE(dir.readBytes(QStringLiteral("PW.txt")).contains("s3cret"));
    EXPECT_TRUE(dir.exists(QStringLiteral("Sales Log2.mdb")));
    EXPECT_EQ(dir.readBytes(QStringLiteral("dp.dat")), QByteArray("\"300\",\"500\"\r\n"));

    DealWorksheet *form = program->mainWindow();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->findChild<QLineEdit *>(QStringLiteral("Text2"))->text(),
              QStringLiteral("$300.00"));
    EXPECT_EQ(form->findChild<QLineEdit *>(QStringLiteral("Text22"))->text(),
              QStringLiteral("30%"));
    // With its menu bar and toolbar, the whole worksheet fits a 1024 x 600
    // screen with room for a title bar: nothing needs scrolling there.
    EXPECT_LE(form->sizeHint().width(), 1024 - 16);
    EXPECT_LE(form->sizeHint().height(), 600 - 40);
    EXPECT_TRUE(form->screen()->availableGeometry().contains(form->frameGeometry()));
    // The roster's first salesperson is offered.
    EXPECT_GE(form->findChild<QComboBox *>(QStringLiteral("DBCombo1"))->count(), 1);
}

TEST_F(TarvexProgramTest, FilesLeftHalfWrittenByAKilledRunAreRemovedAtTheNextStart)
{
    // A run killed while it put the database and PW.txt in place.
    const QStringList leftovers = {QStringLiteral(".Sales Log2.mdb.tarvex-tmp-2147483600-9z"),
                                   QStringLiteral(".Sales Log2.mdb.tarvex-tmp-2147483600-9z-journal"),
                                   QStringLiteral(".PW.txt.tarvex-tmp-2147483601-1")};
    for (const QString &name : leftovers)
        dir.writeBytes(name, "half");
    dir.writeBytes(QStringLiteral(".PW.txt.bak"), "the user's own");
    expectFirstPassword(QStringLiteral("Über9"));
    ASSERT_TRUE(start());
    for (const QString &name : leftovers)
        EXPECT_FALSE(dir.exists(name)) << name.toStdString();
    EXPECT_TRUE(dir.exists(QStringLiteral(".PW.txt.bak")));
}

TEST_F(TarvexProgramTest, EveryCommandIsAttached)
{
    expectFirstPassword(QStringLiteral("pw"));
    ASSERT_TRUE(start());
    for (const char *key : {"tbrSave", "tbrCalculate", "tbrClear", "tbrRecall", "tbrExit",
                            "mnuclose", "tbrHelp", "mnuContents", "mnuAbout", "tbrPack",
                            "mnupack", "mnuDeleteUnit", "tbrPrint", "mnuprint", "tbrAdd",
                            "mnuAdd", "mnuSalesLog", "mnuSalesSummary", "tbrSalesLog",
                            "mnuAuditTrail"})
        EXPECT_TRUE(enabled(QString::fromLatin1(key))) << key;

    // The toolbar's save button follows the worksheet's state.
    program->mainWindow()->applyState(WorksheetState::RecalledAndPaid);
    EXPECT_FALSE(enabled(QStringLiteral("tbrSave")));
    program->mainWindow()->clearDeal();
    EXPECT_TRUE(enabled(QStringLiteral("tbrSave")));
}

TEST_F(TarvexProgramTest, FileExportForPayrollOpensOneExportWindow)
{
    expectFirstPassword(QStringLiteral("pw"));
    ASSERT_TRUE(start());
    ASSERT_TRUE(enabled(QStringLiteral("mnuExportPayroll")));
    program->menu()->action(QStringLiteral("mnuExportPayroll"))->trigger();
    program->menu()->action(QStringLiteral("mnuExportPayroll"))->trigger();
    const QList<QWidget *> windows =
        program->mainWindow()->findChildren<QWidget *>(QStringLiteral("frmPayrollExport"));
    ASSERT_EQ(windows.size(), 1);
    EXPECT_TRUE(windows[0]->isVisible());
    EXPECT_EQ(windows[0]->windowTitle(), QStringLiteral("Export for Payroll"));
}

TEST_F(TarvexProgramTest, ReportsDashboardOpensOneWindowOnThisMonth)
{
    expectFirstPassword(QStringLiteral("pw"));
    ASSERT_TRUE(start());
    ASSERT_TRUE(enabled(QStringLiteral("mnuDashboard")));
    program->menu()->action(QStringLiteral("mnuDashboard"))->trigger();
    program->menu()->action(QStringLiteral("mnuDashboard"))->trigger();
    const QList<DashboardWindow *> windows =
        program->mainWindow()->findChildren<DashboardWindow *>(QStringLiteral("frmDashboard"));
    ASSERT_EQ(windows.size(), 1);
    EXPECT_TRUE(windows.first()->isVisible());
    ASSERT_TRUE(windows.first()->figures());
    const QDate today = QDate::currentDate();
    EXPECT_EQ(windows.first()->figures()->period.first, QDate(today.year(), today.month(), 1));
    EXPECT_EQ(prompts.pendingCount(), 0);
}

// After a kill or a full disk the hand-off file is behind the last recorded
// sheet; the start writes it again from the record.
TEST_F(TarvexProgramTest, TheStartWritesDataTxtFromTheLastRecordedSheet)
{
    {
        DealDatabase database(dir.folder());
        QString error;
        ASSERT_TRUE(database.open(&error)) << error.toStdString();
        QSqlQuery query(database.connection());
        ASSERT_TRUE(query.exec(QStringLiteral(
            "INSERT INTO Sheets (SalesPerson, WeekEnding, PrintedAt, Lines) VALUES "
            "('JOHN SMITH', '3/12/05', '2026-12-07 10:00:00', "
            "'\"ANN LEE\",\"2040\",\"UC\",1500,450,50,30,530' || char(13, 10))")));
    }
    dir.writeBytes(QStringLiteral("data.txt"), QByteArray()); // 0 bytes, as a full disk left it
    expectFirstPassword(QStringLiteral("pw"));
    ASSERT_TRUE(start());
    EXPECT_EQ(dir.readBytes(QStringLiteral("data.txt")),
              QByteArray("\"ANN LEE\",\"2040\",\"UC\",1500,450,50,30,530\r\n"));

    program->menu()->action(QStringLiteral("mnuAuditTrail"))->trigger();
    auto *audit = program->mainWindow()->findChild<QWidget *>(QStringLiteral("frmAuditTrail"));
    ASSERT_NE(audit, nullptr);
    EXPECT_TRUE(audit->isVisible());
}

TEST_F(TarvexProgramTest, CancellingTheFirstPasswordEndsBeforeAnyWindow)
{
    prompts.expectInputPrompt(FirstPassword::choosePrompt(), std::nullopt);
    EXPECT_FALSE(start());
    EXPECT_FALSE(program->refused()); // the user's own choice: the program ends well
    EXPECT_EQ(program->mainWindow(), nullptr);
    EXPECT_FALSE(dir.exists(QStringLiteral("PW.txt")));
}

// A start that ends on a refusal is told from the user's choice, so that the
// program ends with a status saying it failed.
TEST_F(TarvexProgramTest, ADatabaseConfFaultIsARefusal)
{
    dir.writeBytes(QStringLiteral("database.conf"), "engine = postgresql\nport = many\n");
    QString error;
    ASSERT_FALSE(StoreLocation::of(dir.folder(), &error));
    expectFirstPassword(QStringLiteral("pw"));
    prompts.expectMessage(error + QStringLiteral("\n\nTarvex will close."), {},
                          Prompts::Icon::Critical, Prompts::Buttons::Ok);
    EXPECT_FALSE(start());
    EXPECT_TRUE(program->refused());
    EXPECT_EQ(program->mainWindow(), nullptr);
}

TEST_F(TarvexProgramTest, AForeignDatabaseFileIsNamedAndLeftAlone)
{
    const QByteArray foreign("Standard Jet DB, not ours");
    dir.writeBytes(QStringLiteral("Sales Log2.mdb"), foreign);
    QString error;
    {
        DealDatabase probe(dir.folder());
        ASSERT_FALSE(probe.open(&error));
    }
    ASSERT_TRUE(error.contains(QStringLiteral("Sales Log2.mdb"))) << error.toStdString();

    expectFirstPassword(QStringLiteral("pw"));
    prompts.expectMessage(error + QStringLiteral("\n\nTarvex will close."), {},
                          Prompts::Icon::Critical, Prompts::Buttons::Ok);
    EXPECT_FALSE(start());
    EXPECT_EQ(program->mainWindow(), nullptr);
    EXPECT_EQ(dir.readBytes(QStringLiteral("Sales Log2.mdb")), foreign);
}

TEST_F(TarvexProgramTest, AServerThatCannotBeReachedIsNamedAndNothingIsTouched)
{
    // A socket folder where no server listens.
    const QString host = dir.folder().filePath(QStringLiteral("no-server"));
    dir.writeBytes(QStringLiteral("database.conf"),
                   QStringLiteral("engine = postgresql\nhost = %1\nport = 5999\n"
                                  "database = dealership\n")
                       .arg(host)
                       .toUtf8());
    // The server's own words on the failure vary; what the program says around them does not.
    QString error;
    {
        DealDatabase probe(ServerSettings{host, 5999, QStringLiteral("dealership"), QString()});
        ASSERT_FALSE(probe.open(&error));
    }
    EXPECT_TRUE(error.startsWith(QStringLiteral("The deal database \"dealership\" on %1, port "
                                                "5999 could not be opened: the server could not "
                                                "be reached, or refused the login (")
                                     .arg(host)))
        << error.toStdString();
    EXPECT_TRUE(error.endsWith(QStringLiteral("). Nothing was changed."))) << error.toStdString();
    expectFirstPassword(QStringLiteral("pw"));
    prompts.expectMessage(error + QStringLiteral("\n\nTarvex will close."), {},
                          Prompts::Icon::Critical, Prompts::Buttons::Ok);
    EXPECT_FALSE(start());
    EXPECT_TRUE(program->refused());
    EXPECT_EQ(program->mainWindow(), nullptr);
    EXPECT_FALSE(dir.exists(QStringLiteral("Sales Log2.mdb")));
}

TEST_F(TarvexProgramTest, OnAServerTheDeskWorksWithoutAFileAndExitOffersNoBackup)
{
    SKIP_WITHOUT_TEST_SERVER();
    ServerDatabase server;
    ASSERT_TRUE(server.isValid()) << server.error().toStdString();
    dir.writeBytes(QStringLiteral("database.conf"),
server.databaseConf());
    expectFirstPassword(QStringLiteral("pw"));
    ASSERT_TRUE(start());
    EXPECT_FALSE(dir.exists(QStringLiteral("Sales Log2.mdb")));
    EXPECT_GE(program->mainWindow()->findChild<QComboBox *>(QStringLiteral("DBCombo1"))->count(),
              1);

    prompts.expectMessageText(QStringLiteral("Do you want to exit?"), Answer::Yes);
    program->mainWindow()->close();
    EXPECT_EQ(endings, 1);
    EXPECT_EQ(prompts.pendingCount(), 0);
}

// Pay plans that cannot be read are said so, not passed over: the
// worksheet then shows the standing figures, which may not be the
// salesperson's.
TEST_F(TarvexProgramTest, PayPlansThatCannotBeReadAreSaidSo)
{
    expectFirstPassword(QStringLiteral("pw"));
    ASSERT_TRUE(start());
    QString why;
    {
        DealDatabase other(dir.folder());
        ASSERT_TRUE(other.open(nullptr));
        for (const char *statement : {"DROP TABLE DealPlans", "DROP TABLE PayPlanVersions"})
            ASSERT_TRUE(QSqlQuery(other.connection()).exec(QString::fromLatin1(statement)));
        EXPECT_EQ(PayPlanStore(other).inForce(QStringLiteral("House"), QDate(2026, 3, 2), &why),
                  std::nullopt);
    }
    ASSERT_FALSE(why.isEmpty());
    prompts.expectMessage(QStringLiteral("The pay plans could not be read (%1). The worksheet "
                                         "shows the standing figures: check the pack and the "
                                         "commission rate before saving.")
                              .arg(why),
                          {}, Prompts::Icon::Warning, Prompts::Buttons::Ok);
    program->mainWindow()->findChild<QComboBox *>(QStringLiteral("DBCombo1"))
        ->setEditText(QStringLiteral("House"));
    prompts.verify();
    EXPECT_EQ(program->mainWindow()->findChild<QLineEdit *>(QStringLiteral("Text22"))->text(),
              QStringLiteral("30%"));
}

TEST_F(TarvexProgramTest, ExitAsksAndOnlyEndsOnYes)
{
    expectFirstPassword(QStringLiteral("pw"));
    ASSERT_TRUE(start());
    DealWorksheet *form = program->mainWindow();

    prompts.expectMessageText(QStringLiteral("Do you want to back-up database?"), Answer::No);
    prompts.expectMessageText(QStringLiteral("Do you want to exit?"), Answer::No);
    program->menu()->action(QStringLiteral("tbrExit"))->trigger();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(endings, 0);

    prompts.expectMessageText(QStringLiteral("Do you want to back-up database?"), Answer::No);
    prompts.expectMessageText(QStringLiteral("Do you want to exit?"), Answer::Yes);
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(endings, 1);
}

TEST_F(TarvexProgramTest, ConfirmedExitEndsWhateverATableWindowHolds)
{
    expectFirstPassword(QStringLiteral("pw"));
    ASSERT_TRUE(start());
    {
        DealDatabase other(dir.folder());
        QString error;
        ASSERT_TRUE(other.open(&error)) << error.toStdString();
        QSqlQuery query(other.connection());
        ASSERT_TRUE(query.exec(QStringLiteral("INSERT INTO RecallDeal (StockNo) VALUES ('4471')")));
        ASSERT_TRUE(query.exec(QStringLiteral(
            "INSERT INTO SalesSummary (Stock_Number, Payable_Gross, DealId) VALUES ('4471', "
            "12500000, (SELECT max(DealId) FROM RecallDeal))")));
    }
    program->menu()->action(QStringLiteral("mnuSalesSummary"))->trigger();
    TableWindow *window = program->menu()->findChild<TableCommands *>()->salesSummary();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->isVisible());
    window->findChild<QLineEdit *>(QStringLiteral("Text1_6"))->setText(QStringLiteral("abc"));

    prompts.expectMessageText(QStringLiteral("Do you want to back-up database?"), Answer::No);
    prompts.expectMessageText(QStringLiteral("Do you want to exit?"), Answer::Yes);
    program->menu()->action(QStringLiteral("tbrExit"))->trigger();
    prompts.verify(); // no warning about the value
    EXPECT_EQ(endings, 1);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(program->mainWindow()->isVisible());
}

TEST_F(TarvexProgramTest, ExitWithABackupWritesACopyThatHoldsTheDatabase)
{
    expectFirstPassword(QStringLiteral("pw"));
    ASSERT_TRUE(start());
    const QString target = dir.filePath(QStringLiteral("backup.mdb"));
    prompts.expectMessageText(QStringLiteral("Do you want to back-up database?"), Answer::Yes);
    prompts.expectSaveFile(target);
    prompts.expectMessageText(QStringLiteral("Database successfully backed-Up."));
    program->menu()->action(QStringLiteral("mnuclose"))->trigger();
    EXPECT_EQ(endings, 1);
    EXPECT_TRUE(dir.readBytes(QStringLiteral("backup.mdb")).startsWith("SQLite format 3"));
}

} // namespace
