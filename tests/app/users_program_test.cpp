// Logins per person at the level of the whole program: moving in from
// PW.txt, the login window with and without a user name, and what each role
// is shown and refused.
#include "admin/first_password.h"
#include "admin/password_file.h"
#include "admin/ui/main_menu.h"
#include "app/tarvex_program.h"
#include "scripted_prompts.h"
#include "store/deal_database.h"
#include "store/ui/deal_commands.h"
#include "store/user_accounts.h"
#include "temp_program_folder.h"
#include "worksheet/ui/deal_worksheet.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using Icon = Prompts::Icon;
using Buttons = Prompts::Buttons;

class UsersProgramTest : public ::testing::Test
{
protected:
    ~UsersProgramTest() override { program.reset(); }

    // Types into frmLogin once it is shown modally, and presses OK.
    void answerLogin(const QString &userName, const QString &password)
    {
        auto *typist = new QTimer(&timerParent);
        QObject::connect(typist, &QTimer::timeout, [=, this] {
            for (QWidget *window : QApplication::topLevelWidgets()) {
                auto *login = qobject_cast<QDialog *>(window);
                if (!login || window->objectName() != u"frmLogin" || !window->isVisible())
                    continue;
                auto *name = login->findChild<QLineEdit *>(QStringLiteral("txtUserName"));
                shownUserName = name->text();
                if (!userName.isNull())
                    name->setText(userName);
                login->findChild<QLineEdit *>(QStringLiteral("txtPassword"))->setText(password);
                login->findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
                typist->deleteLater();
                return;
            }
        });
        typist->start(0);
    }

    bool start()
    {
        program = std::make_unique<TarvexProgram>(dir.folder(), prompts);
        program->setEndProgram([] {});
        return program->start();
    }

    // A database holding these users, and PW.txt saying where they are.
    void makeUsers(const QList<std::tuple<QString, Role, QString>> &users)
    {
        DealDatabase database(dir.folder());
        QString error;
        ASSERT_TRUE(database.open(&error)) << error.toStdString();
        UserAccounts accounts(database.connection());
        for (const auto &[name, role, salesPerson] : users) {
            UserAccounts::User user;
            user.userName = name;
            user.role = role;
            user.salesPerson = salesPerson;
            ASSERT_TRUE(accounts.add(user, name + QStringLiteral(" pw"), &error))
                << error.toStdString();
        }
        ASSERT_TRUE(PasswordFile(dir.folder()).writeMovedNote());
    }

    bool visible(const char *key) const
    {
        return program->menu()->action(QString::fromLatin1(key))->isVisible();
    }

    TempProgramFolder dir;
    ScriptedPrompts prompts;
    QObject timerParent;
    std::unique_ptr<TarvexProgram> program;
    QString shownUserName;
};

QWidget *topLevel(const char *name)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String(name) && widget->isVisible())
            return widget;
    }
    return nullptr;
}

// Every file of the data folder, the database's own files left out or not.
QStringList filesHolding(const QString &folder, const QByteArray &bytes, bool withDatabase)
{
    QStringList found;
    QDirIterator files(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        if (!withDatabase && files.fileName().startsWith(QStringLiteral("Sales Log2")))
            continue;
        QFile file(path);
        if (file.open(QIODevice::ReadOnly) && file.readAll().contains(bytes))
            found << files.fileName();
    }
    return found;
}

TEST_F(UsersProgramTest, PwTxtsPasswordMovesIntoTheDatabaseAndNoFileHoldsItAnyMore)
{
    const QString password = QStringLiteral("Crème brûlée 7");
    dir.writeBytes(QStringLiteral("PW.txt"), "\"" + password.toUtf8() + "\"\r\n");
    prompts.expectMessage(
        QStringLiteral("Tarvex now has a login per person. The password of %1 is now the "
                       "password of the user \"manager\", kept in the deal database as a hash "
                       "from which it cannot be read back; %1 no longer holds it.\n\nSign in "
                       "with it as before. Setup > Users… adds the other people.")
            .arg(dir.filePath(QStringLiteral("PW.txt"))),
        QStringLiteral("Login"), Icon::Information, Buttons::Ok);
    answerLogin({}, password);
    ASSERT_TRUE(start());
    EXPECT_EQ(shownUserName, QStringLiteral("SalesManager")); // today's window
    EXPECT_EQ(program->access().userName(), QStringLiteral("manager"));
    EXPECT_EQ(program->access().role(), Role::Manager);
    EXPECT_EQ(dir.readBytes(QStringLiteral("PW.txt")),
              QByteArray("Tarvex keeps its passwords in the deal database now (as hashes "
                         "only); this file holds none.\r\n"));

    QString hash;
    {
        DealDatabase database(dir.folder());
        ASSERT_TRUE(database.open(nullptr));
        QSqlQuery query(database.connection());
        ASSERT_TRUE(query.exec(QStringLiteral("SELECT PasswordHash FROM Users")) && query.next());
        hash = query.value(0).toString();
    }
    ASSERT_TRUE(hash.startsWith(QStringLiteral("$argon2id$")));
    const QString salt = hash.split(u'$').value(4);
    ASSERT_FALSE(salt.isEmpty());
    program.reset();
    // No form of the password anywhere, the database included; the hash and
    // its salt nowhere but in the database.
    for (const QByteArray &form : {password.toUtf8(), password.toLatin1(),
                                   QByteArray(reinterpret_cast<const char *>(password.utf16()),
                                              password.size() * 2),
                                   QByteArray("Cr\xc3\xa8me")})
        EXPECT_EQ(filesHolding(dir.folder().path(), form, true), QStringList()) << form.data();
    EXPECT_EQ(filesHolding(dir.folder().path(), hash.toLatin1(), false), QStringList());
    EXPECT_EQ(filesHolding(dir.folder().path(), salt.toLatin1(), false), QStringList());
}

TEST_F(UsersProgramTest, AFirstStartKeepsTheChosenPasswordInTheDatabaseOnly)
{
    prompts.expectInputPrompt(FirstPassword::choosePrompt(), QStringLiteral("Ünïcode 9"));
    prompts.expectInputPrompt(FirstPassword::confirmPrompt(), QStringLiteral("Ünïcode 9"));
    ASSERT_TRUE(start());
    EXPECT_EQ(program->access().userName(), QStringLiteral("manager"));
    program.reset();
    EXPECT_EQ(filesHolding(dir.folder().path(), QStringLiteral("Ünïcode 9").toUtf8(), true),
              QStringList());

    // The next start is today's login window; a wrong password is told as
    // always, then the right one lets the manager in.
    prompts.expectMessage(QStringLiteral("Invalid Password, try again!"), QStringLiteral("Login"),
                          Icon::None, Buttons::Ok);
    answerLogin({}, QStringLiteral("ünïcode 9"));
    QTimer::singleShot(50, [this] { answerLogin({}, QStringLiteral("Ünïcode 9")); });
    ASSERT_TRUE(start());
    EXPECT_EQ(program->access().userName(), QStringLiteral("manager"));
}

TEST_F(UsersProgramTest, AClerkSignsInByNameAndIsShownAndAllowedOnlyTheirWork)
{
    makeUsers({{QStringLiteral("manager"), Role::Manager, {}},
               {QStringLiteral("kim"), Role::Clerk, {}}});
    dir.writeBytes(QStringLiteral("LastUser.txt"), "\"manager\"\r\n");
    answerLogin(QStringLiteral("Kim"), QStringLiteral("kim pw"));
    ASSERT_TRUE(start());
    EXPECT_EQ(shownUserName, QStringLiteral("manager")); // remembered from the last login
    EXPECT_EQ(program->access().role(), Role::Clerk);
    EXPECT_EQ(dir.readBytes(QStringLiteral("LastUser.txt")), QByteArray("\"kim\"\r\n"));
    for (const char *key : {"tbrSave", "tbrCalculate", "tbrRecall", "tbrPrint", "tbrSalesLog",
                            "tbrAdd", "mnuAdd", "tbrSetup", "mnusetup", "tbrClear", "tbrHelp"})
        EXPECT_TRUE(visible(key)) << key;
    for (const char *key : {"tbrPack", "mnupack", "tbrDeleteUnit", "mnuUnit", "mnuSalesLog",
                            "mnuSalesSummary", "mnuAuditTrail", "mnuUsers", "mnuEdit",
                            "mnuPayPlans"})
        EXPECT_FALSE(visible(key)) << key;

    // Hidden commands called directly are refused, and nothing opens.
    for (const char *key : {"mnuSalesSummary", "mnuAuditTrail", "mnuUsers", "tbrPack",
                            "mnuPayPlans"}) {
        prompts.expectMessage(QStringLiteral("The Clerk role does not allow this."), {},
                              Icon::Warning, Buttons::Ok);
        program->menu()->action(QString::fromLatin1(key))->trigger();
        prompts.verify();
    }
    for (const char *name : {"frmSalesSummary", "frmAuditTrail", "frmUsers", "frmPayPlans"})
        EXPECT_EQ(program->mainWindow()->findChild<QWidget *>(QString::fromLatin1(name)), nullptr)
            << name;

    // The reports are the clerk's; the commission sheet, which pays, is not.
    program->menu()->action(QStringLiteral("tbrSalesLog"))->trigger();
    QWidget *chooser = topLevel("frmSalesLog");
    ASSERT_NE(chooser, nullptr);
    prompts.expectMessage(QStringLiteral("The Clerk role does not allow this."), {},
                          Icon::Warning, Buttons::Ok);
    chooser->findChild<QRadioButton *>(QStringLiteral("optCommision"))->click();
    prompts.verify();
    EXPECT_EQ(topLevel("Form2"), nullptr);
}

TEST_F(UsersProgramTest, ASalespersonOnlyLooksAndCannotSave)
{
    makeUsers({{QStringLiteral("manager"), Role::Manager, {}},
               {QStringLiteral("josé"), Role::Salesperson, QStringLiteral("José Peña")}});
    answerLogin(QStringLiteral("JOSÉ"), QStringLiteral("josé pw"));
    ASSERT_TRUE(start());
    EXPECT_EQ(program->access().salesPerson(), QStringLiteral("José Peña"));
    for (const char *key : {"tbrRecall", "tbrPrint", "tbrClear", "tbrExit", "mnuAbout"})
        EXPECT_TRUE(visible(key)) << key;
    for (const char *key : {"tbrSave", "tbrCalculate", "tbrSalesLog", "tbrSetup", "mnusetup",
                            "mnuEdit", "tbrAdd"})
        EXPECT_FALSE(visible(key)) << key;

    prompts.expectMessage(QStringLiteral("The Salesperson role does not allow this."), {},
                          Icon::Warning, Buttons::Ok);
    program->dealCommands()->saveDeal();
    prompts.expectMessage(QStringLiteral("The Salesperson role does not allow this."), {},
                          Icon::Warning, Buttons::Ok);
    program->menu()->action(QStringLiteral("tbrSalesLog"))->trigger();
    prompts.verify();
}

} // namespace
