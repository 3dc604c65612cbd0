#include "admin/exit_sequence.h"
#include "scripted_prompts.h"

#include <gtest/gtest.h>

namespace {

using Answer = Prompts::Answer;
using Buttons = Prompts::Buttons;
using Icon = Prompts::Icon;

const QString kLive = QStringLiteral("/shop/Sales Log2.mdb");

class ExitSequenceTest : public ::testing::Test
{
protected:
    void expectBackupQuestion(Answer answer)
    {
        prompts.expectMessage(QStringLiteral("Do you want to back-up database?"), {},
                              Icon::Question, Buttons::YesNo, answer);
    }

    bool run()
    {
        ExitSequence sequence(prompts, kLive, [this](const QString &target, QString *error) {
            targets.append(target);
            if (target == kLive) {
                *error = QStringLiteral("refused");
                return false;
            }
            return true;
        });
        return sequence.run();
    }

    ScriptedPrompts prompts;
    QStringList targets;
};

TEST_F(ExitSequenceTest, NoThenNoKeepsTheProgramRunning)
{
    expectBackupQuestion(Answer::No);
    prompts.expectMessage(QStringLiteral("Do you want to exit?"), QStringLiteral("Exit"),
                          Icon::None, Buttons::YesNo, Answer::No);
    EXPECT_FALSE(run());
    EXPECT_TRUE(targets.isEmpty());
}

TEST_F(ExitSequenceTest, NoThenYesEndsWithoutACopy)
{
    expectBackupQuestion(Answer::No);
    prompts.expectMessage(QStringLiteral("Do you want to exit?"), QStringLiteral("Exit"),
                          Icon::None, Buttons::YesNo, Answer::Yes);
    EXPECT_TRUE(run());
    EXPECT_TRUE(targets.isEmpty());
}

TEST_F(ExitSequenceTest, WithoutACopyToMakeOnlyTheExitQuestionIsAsked)
{
    for (const Answer answer : {Answer::No, Answer::Yes}) {
        ScriptedPrompts serverPrompts;
        serverPrompts.expectMessage(QStringLiteral("Do you want to exit?"), QStringLiteral("Exit"),
                                    Icon::None, Buttons::YesNo, answer);
        ExitSequence sequence(serverPrompts, QString(), ExitSequence::BackUp());
        EXPECT_EQ(sequence.run(), answer == Answer::Yes);
        EXPECT_EQ(serverPrompts.pendingCount(), 0);
    }
}

TEST_F(ExitSequenceTest, YesThenCancelEndsWithoutACopyOrMessage)
{
    expectBackupQuestion(Answer::Yes);
    prompts.expectSaveFile(std::nullopt, [](const Prompts::SaveFile &request) {
        EXPECT_EQ(request.initialPath, kLive);
        EXPECT_EQ(request.nameFilters, QStringList{QStringLiteral("Database Files (*.mdb)")});
        EXPECT_EQ(request.defaultSuffix, QStringLiteral("mdb"));
        EXPECT_TRUE(request.confirmOverwrite);
    });
    EXPECT_TRUE(run());
    EXPECT_TRUE(targets.isEmpty());
}

TEST_F(ExitSequenceTest, ACopyIsConfirmedBeforeTheProgramEnds)
{
    expectBackupQuestion(Answer::Yes);
    prompts.expectSaveFile(QStringLiteral("/backup/friday.mdb"));
    prompts.expectMessage(QStringLiteral("Database successfully backed-Up."), {}, Icon::None,
                          Buttons::Ok);
    EXPECT_TRUE(run());
    EXPECT_EQ(targets, QStringList{QStringLiteral("/backup/friday.mdb")});
}

TEST_F(ExitSequenceTest, ARefusedCopyIsSaidAndAnotherPlaceMayBeChosen)
{
    expectBackupQuestion(Answer::Yes);
    prompts.expectSaveFile(kLive);
    prompts.expectMessageText(QStringLiteral(
        "The database was not backed up.\n\nrefused\n\nChoose another place for the copy, or "
        "Cancel to exit without a backup."));
    prompts.expectSaveFile(QStringLiteral("/backup/copy.mdb"), [](const Prompts::SaveFile &r) {
        EXPECT_EQ(r.initialPath, kLive);
    });
    prompts.expectMessageText(QStringLiteral("Database successfully backed-Up."));
    EXPECT_TRUE(run());
    EXPECT_EQ(targets, (QStringList{kLive, QStringLiteral("/backup/copy.mdb")}));
}

} // namespace
