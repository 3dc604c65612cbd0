#include "admin/password_file.h"
#include "admin/ui/run_login.h"
#include "scripted_prompts.h"
#include "temp_program_folder.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

using State = PasswordFile::State;
const QString kPw = QStringLiteral("PW.txt");
const QString kDoubleQuoteRefusal = QStringLiteral(
    "A password cannot contain a double quote (\"). Please choose a password without one.");

TEST(PasswordFile, TellsApartWhatTheFileHolds)
{
    struct Case
    {
        const char *name;
        std::optional<QByteArray> bytes; // nullopt: no file
        State state;
        QString password;
    };
    const Case cases[] = {
        {"missing", std::nullopt, State::Missing, {}},
        {"empty file", QByteArray(), State::NoItem, {}},
        {"blank lines", "  \r\n\r\n", State::NoItem, {}},
        {"password", "\"secret\"\r\n", State::Holds, QStringLiteral("secret")},
        {"empty password", "\"\"\r\n", State::Holds, QString()},
        {"blanks and case kept", "\" Se cret \"\r\n", State::Holds, QStringLiteral(" Se cret ")},
        {"unquoted", "secret\r\n", State::Holds, QStringLiteral("secret")},
        {"first item only", "\"one\",\"two\"\r\n\"three\"\r\n", State::Holds,
         QStringLiteral("one")},
    };
    for (const Case &c : cases) {
        TempProgramFolder dir;
        if (c.bytes)
            dir.writeBytes(kPw, *c.bytes);
        const PasswordFile::Reading reading = PasswordFile(dir.folder()).read();
        EXPECT_EQ(int(reading.state), int(c.state)) << c.name;
        EXPECT_EQ(reading.password, c.password) << c.name;
    }
}

TEST(PasswordFile, AFolderInItsPlaceIsUnreadable)
{
    TempProgramFolder dir;
    ASSERT_TRUE(QDir(dir.folder().path()).mkdir(kPw));
    const PasswordFile::Reading reading = PasswordFile(dir.folder()).read();
    EXPECT_EQ(int(reading.state), int(State::Unreadable));
    EXPECT_FALSE(reading.error.isEmpty());
}

TEST(PasswordFile, WritesOneQuotedItemAndRefusesADoubleQuote)
{
    TempProgramFolder dir;
    const PasswordFile file(dir.folder());
    ASSERT_TRUE(file.write(QStringLiteral("secret")));
    EXPECT_EQ(dir.readBytes(kPw), QByteArray("\"secret\"\r\n"));

    QString error;
    EXPECT_FALSE(file.write(QStringLiteral("se\"cret"), &error));
    EXPECT_EQ(error, kDoubleQuoteRefusal);
    EXPECT_EQ(dir.readBytes(kPw), QByteArray("\"secret\"\r\n"));

    const PasswordFile nowhere(ProgramFolder(QStringLiteral("/nonexistent/folder")));
    EXPECT_FALSE(nowhere.write(QStringLiteral("secret"), &error));
    EXPECT_FALSE(error.isEmpty());
}

// The first start: no password yet, so the user chooses one.
class FirstStart : public ::testing::Test
{
protected:
    void expectChoose(std::optional<QString> answer)
    {
        prompts.expectInput(QStringLiteral("No password has been set for Tarvex yet.\n"
                                           "Enter the password that will protect the program "
                                           "from now on:"),
                            QStringLiteral("Login"), {}, std::move(answer));
    }
    void expectConfirm(std::optional<QString> answer)
    {
        prompts.expectInput(QStringLiteral("Enter the same password again to confirm it:"),
                            QStringLiteral("Login"), {}, std::move(answer));
    }
    bool login() { return runLogin(dir.folder(), prompts); }

    TempProgramFolder dir;
    ScriptedPrompts prompts;
};

TEST_F(FirstStart, AMissingFileAsksTwiceMaskedAndWritesThePassword)
{
    expectChoose(QStringLiteral("secret"));
    expectConfirm(QStringLiteral("secret"));
    EXPECT_TRUE(login());
    EXPECT_EQ(dir.readBytes(kPw), QByteArray("\"secret\"\r\n"));
    for (const ScriptedPrompts::Recorded &shown : prompts.recorded())
        EXPECT_EQ(int(shown.input.echo), int(Prompts::Echo::Password));
}

TEST_F(FirstStart, AFileWithNoItemAsksAgainUntilBothEntriesAgree)
{
    dir.writeBytes(kPw, "\r\n");
    expectChoose(QStringLiteral("secret"));
    expectConfirm(QStringLiteral("Secret"));
    prompts.expectMessage(QStringLiteral("The two passwords are not the same. Please enter the "
                                         "password again."),
                          QStringLiteral("Login"), Prompts::Icon::Warning, Prompts::Buttons::Ok);
    expectChoose(QStringLiteral("a\"b"));
    prompts.expectMessage(kDoubleQuoteRefusal, QStringLiteral("Login"),
                          Prompts::Icon::Warning, Prompts::Buttons::Ok);
    expectChoose(QStringLiteral("Secret 2"));
    expectConfirm(QStringLiteral("Secret 2"));
    EXPECT_TRUE(login());
    EXPECT_EQ(dir.readBytes(kPw), QByteArray("\"Secret 2\"\r\n"));
}

TEST_F(FirstStart, CancelInEitherBoxEndsWithoutAFile)
{
    expectChoose(std::nullopt);
    EXPECT_FALSE(login());
    expectChoose(QStringLiteral("secret"));
    expectConfirm(std::nullopt);
    EXPECT_FALSE(login());
    EXPECT_FALSE(dir.exists(kPw));
}

TEST_F(FirstStart, AnUnreadableFileIsReportedAndNobodyGetsIn)
{
    ASSERT_TRUE(QDir(dir.folder().path()).mkdir(kPw));
    const QString message = QStringLiteral("The password file ") + dir.filePath(kPw) +
                            QStringLiteral(" could not be read:\nPW.txt is a folder, not a "
                                           "file.\n\nTarvex cannot check the password and will "
                                           "close.");
    prompts.expectMessage(message, QStringLiteral("Login"), Prompts::Icon::Critical,
                          Prompts::Buttons::Ok);
    EXPECT_FALSE(login());
}

} // namespace
