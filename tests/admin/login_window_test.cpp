#include "admin/password_file.h"
#include "admin/ui/login_window.h"
#include "injected_failure.h"
#include "scripted_prompts.h"
#include "temp_program_folder.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString kPw = QStringLiteral("PW.txt");
const QByteArray kStored("\"secret\"\r\n");

class Login : public ::testing::Test
{
protected:
    // Opens frmLogin as the start-up does, on what PW.txt holds.
    void open(const QByteArray &bytes = kStored)
    {
        dir.writeBytes(kPw, bytes);
        const PasswordFile file(dir.folder());
        window = std::make_unique<LoginWindow>(file.read().password, file, prompts);
        window->show();
    }
    QLineEdit *password() const { return window->findChild<QLineEdit *>("txtPassword"); }
    QPushButton *button(const char *name) const { return window->findChild<QPushButton *>(name); }
    void type(const QString &text)
    {
        password()->clear();
        QTest::keyClicks(password(), text);
    }
    void click(const char *name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    void expectInvalid()
    {
        prompts.expectMessage(QStringLiteral("Invalid Password, try again!"),
                              QStringLiteral("Login"), Prompts::Icon::None, Prompts::Buttons::Ok);
    }
    void expectNewPassword(std::optional<QString> answer)
    {
        prompts.expectInput(QStringLiteral("Enter new Password."),
                            QStringLiteral("Change Password"), {}, std::move(answer));
    }

    TempProgramFolder dir;
    ScriptedPrompts prompts;
    std::unique_ptr<LoginWindow> window;
};

TEST_F(Login, ControlsCaptionsAndTabOrder)
{
    open();
    EXPECT_EQ(window->objectName(), QStringLiteral("frmLogin"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Login"));
    const std::pair<const char *, const char *> labels[] = {{"lblLabels_0", "&User Name:"},
                                                            {"lblLabels_1", "&Password:"}};
    for (const auto &[name, caption] : labels)
        EXPECT_EQ(window->findChild<QLabel *>(name)->text(), QString::fromLatin1(caption));
    EXPECT_EQ(window->findChild<QLineEdit *>("txtUserName")->text(),
              QStringLiteral("SalesManager"));
    EXPECT_EQ(password()->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(password()->text().isEmpty());
    EXPECT_EQ(button("cmdOK")->text(), QStringLiteral("OK"));
    EXPECT_TRUE(button("cmdOK")->isDefault());
    EXPECT_EQ(button("cmdCancel")->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(button("cmdChange")->text(), QStringLiteral(" Change Password"));

    QWidget *next = window->findChild<QLineEdit *>("txtUserName");
    for (const char *name : {"txtPassword", "cmdOK", "cmdCancel", "cmdChange"}) {
        next = next->nextInFocusChain();
        EXPECT_EQ(next->objectName(), QString::fromLatin1(name));
    }
}

TEST_F(Login, OnlyTheExactPasswordLetsTheUserInAfterAnyNumberOfTries)
{
    open();
    for (const char *wrong : {"Secret", "SECRET", " secret", "secret ", "", "secre"}) {
        expectInvalid();
        type(QString::fromLatin1(wrong));
        click("cmdOK");
        EXPECT_TRUE(password()->text().isEmpty()) << wrong;
        EXPECT_TRUE(window->isVisible()) << wrong;
        EXPECT_FALSE(window->loggedIn()) << wrong;
    }
    type(QStringLiteral("secret"));
    QTest::keyClick(password(), Qt::Key_Return); // Enter presses the default button
    EXPECT_TRUE(window->loggedIn());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), QDialog::Accepted);
    EXPECT_TRUE(password()->text().isEmpty());
}

TEST_F(Login, AnEmptyStoredPasswordAcceptsAnEmptyBox)
{
    open("\"\"\r\n");
    click("cmdOK");
    EXPECT_TRUE(window->loggedIn());
}

TEST_F(Login, CancelEscapeAndTheFrameLeaveTheUserOut)
{
    open();
    type(QStringLiteral("secret"));
    click("cmdCancel");
    EXPECT_FALSE(window->loggedIn());
    EXPECT_FALSE(window->isVisible());

    window->show();
    QTest::keyClick(password(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->loggedIn());

    window->show();
    window->close();
    EXPECT_FALSE(window->loggedIn());
    EXPECT_EQ(window->result(), QDialog::Rejected);
}

TEST_F(Login, ChangeWithAWrongCurrentPasswordWritesNothing)
{
    open();
    prompts.expectMessage(QStringLiteral("You must enter the current password"), {},
                          Prompts::Icon::None, Prompts::Buttons::Ok);
    type(QStringLiteral("Secret"));
    click("cmdChange");
    EXPECT_EQ(password()->text(), QStringLiteral("Secret"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->loggedIn());
    EXPECT_EQ(dir.readBytes(kPw), kStored);
}

TEST_F(Login, ChangeLogsInAndTheNextStartAsksForTheNewPassword)
{
    open();
    expectNewPassword(QStringLiteral(" New pw"));
    type(QStringLiteral("secret"));
    click("cmdChange");
    EXPECT_TRUE(window->loggedIn());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(dir.readBytes(kPw), QByteArray("\" New pw\"\r\n"));

    window = std::make_unique<LoginWindow>(PasswordFile(dir.folder()).read().password,
                                           PasswordFile(dir.folder()), prompts);
    window->show();
    expectInvalid();
    type(QStringLiteral("secret"));
    click("cmdOK");
    type(QStringLiteral(" New pw"));
    click("cmdOK");
    EXPECT_TRUE(window->loggedIn());
}

TEST_F(Login, AnEmptyNewPasswordIsStoredAsTwoQuotes)
{
    open();
    expectNewPassword(QString());
    type(QStringLiteral("secret"));
    click("cmdChange");
    EXPECT_TRUE(window->loggedIn());
    EXPECT_EQ(dir.readBytes(kPw), QByteArray("\"\"\r\n"));
}

TEST_F(Login, ARefusedOrCancelledChangeKeepsTheOldPasswordAndTheWindow)
{
    open();
    type(QStringLiteral("secret"));
    expectNewPassword(std::nullopt);
    click("cmdChange");
    expectNewPassword(QStringLiteral("se\"cret"));
    prompts.expectMessage(
        QStringLiteral("A password cannot contain a double quote (\"). Please choose a password "
                       "without one.\nThe password has not been changed."),
        QStringLiteral("Change Password"), Prompts::Icon::Warning, Prompts::Buttons::Ok);
    click("cmdChange");
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->loggedIn());
    EXPECT_EQ(dir.readBytes(kPw), kStored);

    // Still the old password that lets the user in.
    click("cmdOK");
    EXPECT_TRUE(window->loggedIn());
}

TEST_F(Login, AFailedWriteIsReportedAndChangesNothing)
{
    const PasswordFile nowhere(ProgramFolder(QStringLiteral("/nonexistent/folder")));
    QString error;
    ASSERT_FALSE(nowhere.write(QStringLiteral("other"), &error));
    window = std::make_unique<LoginWindow>(QStringLiteral("secret"), nowhere, prompts);
    window->show();
    type(QStringLiteral("secret"));
    expectNewPassword(QStringLiteral("other"));
    prompts.expectMessage(QStringLiteral("The new password could not be saved in "
                                         "/nonexistent/folder/PW.txt:\n") +
                              error + QStringLiteral("\nThe password has not been changed."),
                          QStringLiteral("Change Password"), Prompts::Icon::Critical,
                          Prompts::Buttons::Ok);
    click("cmdChange");
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->loggedIn());
}

// A full disk shows only when the new file is synced; the old password stays
// in force, so nobody can set another one at the next start.
TEST_F(Login, ChangeOnAFullDiskIsReportedAndKeepsTheOldPassword)
{
    open();
    type(QStringLiteral("secret"));
    expectNewPassword(QStringLiteral("Ñew one"));
    prompts.expectMessage(QStringLiteral("The new password could not be saved in %1:\n"
                                         "No space left on device (syncing the new file to the "
                                         "disk)\nThe password has not been changed.")
                              .arg(dir.filePath(kPw)),
                          QStringLiteral("Change Password"), Prompts::Icon::Critical,
                          Prompts::Buttons::Ok);
    {
        const InjectedFailure fullDisk(DurableFile::Step::Sync, ENOSPC);
        click("cmdChange");
    }
    prompts.verify();
    EXPECT_FALSE(window->loggedIn());
    EXPECT_EQ(dir.readBytes(kPw), kStored);
    EXPECT_EQ(PasswordFile(dir.folder()).read().password, QStringLiteral("secret"));
}

} // namespace
