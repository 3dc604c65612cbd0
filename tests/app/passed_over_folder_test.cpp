// A read-only program folder holding the deals is not passed over in silence.
#include "app/passed_over_folder.h"
#include "scripted_prompts.h"
#include "temp_program_folder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

class PassedOver : public ::testing::Test
{
protected:
    PassedOver()
    {
        QDir().mkpath(program());
        QDir().mkpath(user());
    }
    QString program() const { return dir.filePath(QStringLiteral("Tarvex Ünits")); }
    QString user() const { return dir.filePath(QStringLiteral("home/.local/share/Tarvex")); }
    DataFolderPlaces places() const { return {{}, program(), user()}; }
    void put(const QString &name) const
    {
        QFile file(QDir(program()).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    TempProgramFolder dir;
    ScriptedPrompts prompts;
};

TEST_F(PassedOver, TheFolderHoldingTheDealsIsNamedAndTheUserChooses)
{
    put(QStringLiteral("Sales Log2.mdb"));
    put(QStringLiteral("PW.txt"));
    const ProgramFolder usersFolder(user());
    const QString told =
        QStringLiteral("The folder\n%1\nholds Tarvex's deal database (Sales Log2.mdb) and "
                       "password (PW.txt), but this user cannot write in it, so Tarvex cannot "
                       "use it: nothing could be saved there.\n\nTo work with those files, give "
                       "this user the right to write in that folder, or copy them into a folder "
                       "that can be written and start Tarvex with --data-folder and that "
                       "folder.")
            .arg(program());
    prompts.expectMessage(told + QStringLiteral("\n\nGo on with your own data folder\n%1\n"
                                                "instead? It does not hold those files.")
                                     .arg(user()),
                          {}, Prompts::Icon::Warning, Prompts::Buttons::YesNo,
                          Prompts::Answer::No);
    EXPECT_FALSE(PassedOverFolder::confirm(places(), usersFolder, prompts));
    prompts.verify();
    prompts.expectMessageText(told + QStringLiteral("\n\nGo on with your own data folder\n%1\n"
                                                    "instead? It does not hold those files.")
                                         .arg(user()),
                              Prompts::Answer::Yes);
    EXPECT_TRUE(PassedOverFolder::confirm(places(), usersFolder, prompts));
    prompts.verify();
    // Without windows nothing is asked: the run ends with the reason.
    EXPECT_EQ(PassedOverFolder::refusal(places(), usersFolder),
              told + QStringLiteral("\n\nNothing was done."));
}

TEST_F(PassedOver, NothingIsAskedWithoutTheFilesOrWhenTheFolderIsInUseOrChosen)
{
    const ProgramFolder usersFolder(user());
    EXPECT_TRUE(PassedOverFolder::confirm(places(), usersFolder, prompts)); // no files there
    put(QStringLiteral("PW.txt"));
    EXPECT_EQ(ProgramFolder::filesPassedOver(places(), usersFolder),
              QStringList{QStringLiteral("PW.txt")});
    EXPECT_TRUE(ProgramFolder::filesPassedOver(places(), ProgramFolder(program())).isEmpty());
    EXPECT_TRUE(
        ProgramFolder::filesPassedOver({user(), program(), user()}, usersFolder).isEmpty());
    EXPECT_TRUE(PassedOverFolder::refusal(places(), ProgramFolder(program())).isEmpty());
    EXPECT_EQ(prompts.recorded().size(), 0);
}

} // namespace
