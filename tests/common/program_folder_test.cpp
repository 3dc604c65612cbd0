// Where the program keeps its files: the chosen folder, the executable's
// folder when it can be written, otherwise the user's data folder.
#include "common/program_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace {

class DataFolderRule : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return root.filePath(name); }
    QString makeFolder(const QString &name) const
    {
        QDir().mkpath(path(name));
        return path(name);
    }
    bool choose(const DataFolderPlaces &places)
    {
        error.clear();
        return ProgramFolder::choose(places, &chosen, &error);
    }

    QTemporaryDir root;
    ProgramFolder chosen{QString{}};
    QString error;
};

TEST_F(DataFolderRule, AChosenFolderWinsAndIsCreatedWhenMissing)
{
    const QString executable = makeFolder("program");
    ASSERT_TRUE(choose({path("chosen/deep"), executable, path("user")}));
    EXPECT_EQ(chosen.path(), path("chosen/deep"));
    EXPECT_TRUE(QDir(path("chosen/deep")).exists());
    EXPECT_FALSE(QDir(path("user")).exists());
}

TEST_F(DataFolderRule, AWritableExecutableFolderKeepsTheFiles)
{
    const QString executable = makeFolder("copied tarvex");
    ASSERT_TRUE(choose({{}, executable, path("user")}));
    EXPECT_EQ(chosen.path(), executable);
    EXPECT_FALSE(QDir(path("user")).exists()) << "the user's folder is not made needlessly";
    EXPECT_TRUE(QDir(executable).entryList(QDir::Files | QDir::Hidden).isEmpty())
        << "the write test leaves nothing behind";
}

TEST_F(DataFolderRule, AReadOnlyExecutableFolderGivesTheUsersDataFolder)
{
    const QString executable = makeFolder("usr/lib/tarvex");
    const QString user = path("home/.local/share/Tarvex");
    // The folder is read-only to this test (tests may run as root, for whom
    // permission bits do not stop a write).
    const auto canWrite = [&executable](const QString &folder) {
        return folder != executable && ProgramFolder::canWriteIn(folder);
    };
    ASSERT_TRUE(ProgramFolder::choose({{}, executable, user}, &chosen, &error, canWrite));
    EXPECT_EQ(chosen.path(), user);
    EXPECT_TRUE(QDir(user).exists());
}

// On a shared computer other accounts cannot look into a folder the program
// made; one that was there already keeps its permissions.
TEST_F(DataFolderRule, AFolderMadeForTheFilesIsTheUsersAlone)
{
    const mode_t old = ::umask(022);
    const QString executable = makeFolder("usr/lib/tarvex");
    const QString user = path("home/.local/share/Tarvex");
    const auto canWrite = [&executable](const QString &folder) {
        return folder != executable && ProgramFolder::canWriteIn(folder);
    };
    const bool chosenUser = ProgramFolder::choose({{}, executable, user}, &chosen, &error, canWrite);
    const QString there = makeFolder("shared desk");
    const bool chosenThere = choose({there, executable, user});
    ::umask(old);
    ASSERT_TRUE(chosenUser) << error.toStdString();
    ASSERT_TRUE(chosenThere) << error.toStdString();
    const auto modeOf = [](const QString &folder) {
        struct stat info {};
        EXPECT_EQ(::stat(QFile::encodeName(folder).constData(), &info), 0);
        return info.st_mode & 0777;
    };
    EXPECT_EQ(modeOf(user), 0700u);
    EXPECT_EQ(modeOf(path("home/.local")), 0755u) << "the folders above it are as usual";
    EXPECT_EQ(modeOf(there), 0755u);
}

TEST_F(DataFolderRule, AnInstalledBinFolderIsNeverTheDataFolder)
{
    const QString bin = makeFolder("usr/bin");
    makeFolder("usr/share/tarvex/manual");
    EXPECT_TRUE(ProgramFolder::isInstalledBinFolder(bin));
    EXPECT_FALSE(ProgramFolder::isInstalledBinFolder(makeFolder("copied/bin")));
    ASSERT_TRUE(choose({{}, bin, path("user")}));
    EXPECT_EQ(chosen.path(), path("user"));

    // Only a bin folder is an installed one: a program copied into a lib
    // folder beside ../share/tarvex keeps its files beside it.
    const QString lib = makeFolder("usr/lib");
    EXPECT_FALSE(ProgramFolder::isInstalledBinFolder(lib));
    ASSERT_TRUE(choose({{}, lib, path("user")}));
    EXPECT_EQ(chosen.path(), lib);
}

TEST_F(DataFolderRule, AFolderThatCannotBeMadeOrWrittenIsReportedByName)
{
    QFile blocker(path("not a folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString executable = makeFolder("program");

    // Chosen under a file: it cannot be created, and no other folder is used.
    EXPECT_FALSE(choose({path("not a folder/data"), executable, path("user")}));
    EXPECT_EQ(error, QStringLiteral("Tarvex cannot keep its files in the folder\n%1\n\n"
                                    "The folder could not be created.")
                         .arg(QDir::toNativeSeparators(path("not a folder/data"))));

    // Chosen as the file itself.
    EXPECT_FALSE(choose({path("not a folder"), executable, path("user")}));
    EXPECT_TRUE(error.endsWith(QStringLiteral("A file of that name is in the way."))) << error.toStdString();

    // The user's folder as the last resort, not writable.
    const QString user = makeFolder("user");
    const auto nothingWritable = [](const QString &) { return false; };
    EXPECT_FALSE(ProgramFolder::choose({{}, executable, user}, &chosen, &error, nothingWritable));
    EXPECT_EQ(error, QStringLiteral("Tarvex cannot keep its files in the folder\n%1\n\n"
                                    "Files cannot be written in it.")
                         .arg(QDir::toNativeSeparators(user)));
}

TEST_F(DataFolderRule, ARelativeChosenFolderIsTakenFromTheCurrentFolder)
{
    const QString before = QDir::currentPath();
    QDir::setCurrent(root.path());
    const bool chose = choose({QStringLiteral("relative"), {}, {}});
    QDir::setCurrent(before);
    ASSERT_TRUE(chose) << error.toStdString();
    EXPECT_EQ(chosen.path(), path("relative"));
}

} // namespace
