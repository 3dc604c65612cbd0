// The login window over the users of a deal database, and the users window.
#include "admin/audit_changes.h"
#include "admin/login_check.h"
#include "admin/ui/login_window.h"
#include "admin/ui/users_window.h"
#include "scripted_prompts.h"
#include "store/deal_database.h"
#include "store/user_accounts.h"
#include "temp_program_folder.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Icon = Prompts::Icon;
using Buttons = Prompts::Buttons;

class UsersLogin : public ::testing::Test
{
protected:
    UsersLogin()
    {
        QString error;
        EXPECT_TRUE(database.open(&error)) << error.toStdString();
        accounts.emplace(database.connection(), [this] { return now; });
        add(QStringLiteral("manager"), Role::Manager);
    }
    void add(const QString &name, Role role)
    {
        UserAccounts::User user;
        user.userName = name;
        user.role = role;
        QString error;
        ASSERT_TRUE(accounts->add(user, name + QStringLiteral("!"), &error))
            << error.toStdString();
    }
    void open()
    {
        QString error;
        window = std::make_unique<LoginWindow>(
            std::make_unique<UsersLoginCheck>(*accounts, accounts->soleActiveUser(&error)),
            QStringLiteral("Ana"), prompts);
        window->show();
    }
    QLineEdit *edit(const char *name) const { return window->findChild<QLineEdit *>(name); }
    void tryLogin(const QString &user, const QString &password)
    {
        edit("txtUserName")->setText(user);
        edit("txtPassword")->setText(password);
        QTest::mouseClick(window->findChild<QPushButton *>("cmdOK"), Qt::LeftButton);
    }
    void expectInvalid()
    {
        prompts.expectMessage(QStringLiteral("Invalid Password, try again!"),
                              QStringLiteral("Login"), Icon::None, Buttons::Ok);
    }

    TempProgramFolder dir;
    DealDatabase database{dir.folder()};
    QDateTime now = QDateTime(QDate(2026, 5, 4), QTime(8, 30));
    std::optional<UserAccounts> accounts; // once the database is open
    ScriptedPrompts prompts;
    std::unique_ptr<LoginWindow> window;
};

TEST_F(UsersLogin, OneUserIsTodaysWindowAndTheUserNameIsNotRead)
{
    open();
    EXPECT_EQ(edit("txtUserName")->text(), QStringLiteral("SalesManager"));
    tryLogin(QStringLiteral("whoever"), QStringLiteral("manager!"));
    ASSERT_TRUE(window->loggedIn());
    EXPECT_EQ(window->signedIn()->userName(), QStringLiteral("manager"));
}

TEST_F(UsersLogin, WithSeveralUsersTheNameCountsAndTheSixthWrongTryMustWait)
{
    add(QStringLiteral("Ana"), Role::Clerk);
    open();
    EXPECT_EQ(edit("txtUserName")->text(), QStringLiteral("Ana"));
    expectInvalid();
    tryLogin(QStringLiteral("manager"), QStringLiteral("Ana!")); // another's password
    for (int i = 0; i < 4; ++i) {
        expectInvalid();
        tryLogin(QStringLiteral("Ana"), QStringLiteral("ana!"));
    }
    EXPECT_FALSE(window->loggedIn());
    // Ana has 4 failures, the manager 1: Ana's fifth still costs nothing.
    expectInvalid();
    tryLogin(QStringLiteral("ana"), QStringLiteral("wrong"));
    prompts.expectMessage(QStringLiteral("Too many wrong passwords in a row. Please wait 1 second "
                                         "before trying again."),
                          QStringLiteral("Login"), Icon::Warning, Buttons::Ok);
    tryLogin(QStringLiteral("Ana"), QStringLiteral("Ana!"));
    EXPECT_FALSE(window->loggedIn());
    EXPECT_TRUE(edit("txtPassword")->text().isEmpty());
    now = now.addSecs(1);
    tryLogin(QStringLiteral("Ana"), QStringLiteral("Ana!"));
    ASSERT_TRUE(window->loggedIn());
    EXPECT_EQ(window->signedIn()->role(), Role::Clerk);
}

TEST_F(UsersLogin, ChangePasswordAsksTheOldOneAndTheNewOneTwiceMasked)
{
    add(QStringLiteral("Ana"), Role::Clerk);
    open();
    edit("txtUserName")->setText(QStringLiteral("Ana"));
    edit("txtPassword")->setText(QStringLiteral("manager!"));
    prompts.expectMessage(QStringLiteral("You must enter the current password"), {}, Icon::None,
                          Buttons::Ok);
    QTest::mouseClick(window->findChild<QPushButton *>("cmdChange"), Qt::LeftButton);
    EXPECT_FALSE(window->loggedIn());

    edit("txtPassword")->setText(QStringLiteral("Ana!"));
    prompts.expectInput(QStringLiteral("Enter new Password."), QStringLiteral("Change Password"),
                        {}, QStringLiteral("Ñu \"quoted\""));
    prompts.expectInput(QStringLiteral("Enter the same password again to confirm it:"),
                        QStringLiteral("Change Password"), {}, QStringLiteral("Ñu \"quoted\""));
    QTest::mouseClick(window->findChild<QPushButton *>("cmdChange"), Qt::LeftButton);
    ASSERT_TRUE(window->loggedIn());
    for (const ScriptedPrompts::Recorded &shown : prompts.recorded()) {
        if (shown.kind == ScriptedPrompts::Recorded::Kind::Input) {
            EXPECT_EQ(int(shown.input.echo), int(Prompts::Echo::Password));
        }
    }
    EXPECT_EQ(accounts->signIn(QStringLiteral("Ana"), QStringLiteral("Ana!")).outcome,
              UserAccounts::Attempt::Outcome::Wrong);
    EXPECT_EQ(accounts->signIn(QStringLiteral("Ana"), QStringLiteral("Ñu \"quoted\"")).outcome,
              UserAccounts::Attempt::Outcome::SignedIn);
}

class UsersWindowTest : public UsersLogin
{
protected:
    void openWindow(Role role = Role::Manager)
    {
        users = std::make_unique<UsersWindow>(*accounts, Access(QStringLiteral("me"), role),
                                              prompts);
        users->show();
    }
    QTableWidget *grid() const { return users->findChild<QTableWidget *>("grdUsers"); }
    void select(int row) { grid()->selectRow(row); }
    void press(const char *name)
    {
        QTest::mouseClick(users->findChild<QPushButton *>(name), Qt::LeftButton);
    }
    QString cell(int row, int column) const { return grid()->item(row, column)->text(); }

    std::unique_ptr<UsersWindow> users;
};

TEST_F(UsersWindowTest, AManagerAddsAUserAndTheLastManagerStays)
{
    openWindow();
    EXPECT_EQ(users->objectName(), QStringLiteral("frmUsers"));
    users->findChild<QLineEdit *>("txtUserName")->setText(QStringLiteral(" Zoë Ångström "));
    users->findChild<QComboBox *>("cboRole")->setCurrentText(QStringLiteral("Salesperson"));
    prompts.expectMessage(QStringLiteral("A salesperson user needs the roster name they sell "
                                         "under."),
                          QStringLiteral("Users"), Icon::Warning, Buttons::Ok);
    press("cmdAdd");
    users->findChild<QLineEdit *>("txtSalesPerson")->setText(QStringLiteral("ZOË ÅNGSTRÖM"));
    prompts.expectInput(QStringLiteral("Enter the password of Zoë Ångström:"),
                        QStringLiteral("Users"), {}, QStringLiteral("zz"));
    prompts.expectInput(QStringLiteral("Enter the same password again to confirm it:"),
                        QStringLiteral("Users"), {}, QStringLiteral("zz"));
    press("cmdAdd");
    ASSERT_EQ(grid()->rowCount(), 2);
    EXPECT_EQ(cell(0, 0), QStringLiteral("manager"));
    EXPECT_EQ(cell(1, 0), QStringLiteral("Zoë Ångström"));
    EXPECT_EQ(cell(1, 1), QStringLiteral("Salesperson"));
    EXPECT_EQ(cell(1, 2), QStringLiteral("ZOË ÅNGSTRÖM"));
    EXPECT_EQ(cell(1, 3), QStringLiteral("Active"));
    EXPECT_EQ(accounts->signIn(QStringLiteral("zoë ångström"), QStringLiteral("zz")).outcome,
              UserAccounts::Attempt::Outcome::SignedIn);

    select(0);
    prompts.expectMessage(QStringLiteral("The last active manager cannot be disabled or given "
                                         "another role."),
                          QStringLiteral("Users"), Icon::Warning, Buttons::Ok);
    press("cmdDisable");
    EXPECT_EQ(cell(0, 3), QStringLiteral("Active"));
    select(1);
    press("cmdDisable");
    EXPECT_EQ(cell(1, 3), QStringLiteral("Disabled"));
}

TEST_F(UsersWindowTest, EveryButtonIsRefusedToAnotherRole)
{
    openWindow(Role::Clerk);
    select(0);
    for (const char *button : {"cmdAdd", "cmdChangeRole", "cmdResetPassword", "cmdDisable"}) {
        prompts.expectMessage(QStringLiteral("The Clerk role does not allow this."), {},
                              Icon::Warning, Buttons::Ok);
        press(button);
        prompts.verify();
    }
    QString error;
    EXPECT_EQ(accounts->count(&error), 1);
    EXPECT_EQ(accounts->signIn(QStringLiteral("manager"), QStringLiteral("manager!")).outcome,
              UserAccounts::Attempt::Outcome::SignedIn);
}

TEST(AuditChanges, OneLineSummaryAndTheFullListOfAChange)
{
    const auto changes = AuditChanges::of(
        QStringLiteral("Price: 23000\nCustomer: ANN LEE\nSplit: No"),
        QStringLiteral("Price: 23500\nCustomer: ANN LEE-RAY\nSplit: Yes"));
    EXPECT_EQ(AuditChanges::summary(changes),
              QStringLiteral("Price 23000 → 23500; 2 more"));
    EXPECT_EQ(AuditChanges::details(changes),
              QStringLiteral("Price: 23000 → 23500\nCustomer: ANN LEE → ANN LEE-RAY\n"
                             "Split: No → Yes"));

    // A new deal: its values as they are; a value of several lines stays one.
    const auto saved =
        AuditChanges::of({}, QStringLiteral("StockNo: 0417\nLines: \"A\",1\n\"B\",2"));
    EXPECT_EQ(AuditChanges::summary(saved), QStringLiteral("StockNo 0417; 1 more"));
    EXPECT_EQ(AuditChanges::details(saved),
              QStringLiteral("StockNo: 0417\nLines: \"A\",1\n\"B\",2"));
    EXPECT_EQ(AuditChanges::summary(AuditChanges::of({}, {})), QString());
    // One column emptied: both sides shown.
    EXPECT_EQ(AuditChanges::summary(AuditChanges::of(QStringLiteral("Gross: 1"),
                                                     QStringLiteral("Gross: "))),
              QStringLiteral("Gross 1 → "));
}

} // namespace
