// Files are written all or nothing, and a failure at any step is reported,
// with the old file left as it was and no temporary left behind.
#include "common/durable_file.h"
#include "common/quoted_items.h"
#include "child_test.h"
#include "injected_failure.h"
#include "temp_program_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Step = DurableFile::Step;

QStringList filesIn(const QString &folder)
{
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    names.sort();
    return names;
}

unsigned modeOf(const QString &path)
{
    struct stat info {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0) << path.toStdString();
    return info.st_mode & 0777;
}

class ScopedUmask
{
public:
    explicit ScopedUmask(mode_t mask) : m_old(::umask(mask)) {}
    ~ScopedUmask() { ::umask(m_old); }

private:
    mode_t m_old;
};

TEST(DurableFile, ReplacesAFileStepByStepAndLeavesNothingElse)
{
    TempProgramFolder dir;
    dir.writeBytes(QStringLiteral("dc.dat"), "\"30\"\r\n");
    const InjectedFailure recorder;
    ASSERT_TRUE(QuotedItems::writeFile(dir.filePath(QStringLiteral("dc.dat")),
                                       {{QStringLiteral("35")}}, QuotedItems::WriteMode::Replace));
    EXPECT_EQ(dir.readBytes(QStringLiteral("dc.dat")), QByteArray("\"35\"\r\n"));
    EXPECT_EQ(recorder.steps(), (QList<Step>{Step::Create, Step::Create, Step::Write, Step::Sync,
                                             Step::Close, Step::Rename, Step::SyncFolder}));
    EXPECT_EQ(filesIn(dir.folder().path()), QStringList{QStringLiteral("dc.dat")});
}

// Each writer of the settings files, at each step that comes before the
// new content takes the file's name.
TEST(DurableFile, AFailureAtAnyStepLeavesTheOldFileAsItWas)
{
    struct Writer
    {
        const char *name;
        QString file;
        QByteArray old;
        QuotedItems::WriteMode mode;
        QStringList items;
    };
    const Writer writers[] = {
        {"standing figure", QStringLiteral("dp.dat"), "\"300\",\"500\"\r\n",
         QuotedItems::WriteMode::Replace, {QStringLiteral("250"), QStringLiteral("450")}},
        {"unit added", QStringLiteral("unit.txt"), "\"Coup\xE9\"\r\n\"Bronco\"\r\n",
         QuotedItems::WriteMode::Append, {QStringLiteral("Señor")}},
        {"new file", QStringLiteral("war.txt"), QByteArray(), QuotedItems::WriteMode::Replace,
         {QStringLiteral("25")}},
    };
    for (const Writer &writer : writers) {
        for (const Step step : {Step::Create, Step::Write, Step::Sync, Step::Close, Step::Rename}) {
            SCOPED_TRACE(testing::Message() << writer.name << ", step " << int(step));
            TempProgramFolder dir;
            if (!writer.old.isEmpty())
                dir.writeBytes(writer.file, writer.old);
            QString error;
            {
                const InjectedFailure failure(step, ENOSPC);
                EXPECT_FALSE(QuotedItems::writeFile(dir.filePath(writer.file), {writer.items},
                                                    writer.mode, &error));
            }
            EXPECT_TRUE(error.contains(QStringLiteral("No space left on device")))
                << error.toStdString();
            if (writer.old.isEmpty()) {
                EXPECT_EQ(filesIn(dir.folder().path()), QStringList());
            } else {
                EXPECT_EQ(dir.readBytes(writer.file), writer.old);
                EXPECT_EQ(filesIn(dir.folder().path()), QStringList{writer.file});
            }
        }
    }
}

TEST(DurableFile, AFolderThatCannotBeSyncedIsReportedEvenThoughTheFileIsInPlace)
{
    TempProgramFolder dir;
    QString error;
    {
        const InjectedFailure failure(Step::SyncFolder, EIO);
        EXPECT_FALSE(DurableFile::replace(dir.filePath(QStringLiteral("data.txt")), "deal\r\n",
                                          &error));
    }
    EXPECT_EQ(error, QStringLiteral("Input/output error (syncing the folder to the disk)"));
    EXPECT_EQ(filesIn(dir.folder().path()), QStringList{QStringLiteral("data.txt")});
}

TEST(DurableFile, APendingFileIsPutInPlaceOnlyOnCommit)
{
    TempProgramFolder dir;
    dir.writeBytes(QStringLiteral("data.txt"), "old\r\n");
    {
        DurableFile file(dir.filePath(QStringLiteral("data.txt")));
        ASSERT_TRUE(file.write("new\r\n"));
        EXPECT_EQ(dir.readBytes(QStringLiteral("data.txt")), QByteArray("old\r\n"));
        EXPECT_EQ(filesIn(dir.folder().path()).size(), 2);
    } // dropped without commit
    EXPECT_EQ(filesIn(dir.folder().path()), QStringList{QStringLiteral("data.txt")});
    EXPECT_EQ(dir.readBytes(QStringLiteral("data.txt")), QByteArray("old\r\n"));
}

// A new file (the password, data.txt) is the user's alone whatever the umask;
// one the user opened to others keeps what they gave it.
TEST(DurableFile, ANewFileIsPrivateWhateverTheUmask)
{
    TempProgramFolder dir;
    for (const mode_t mask : {mode_t(0), mode_t(022), mode_t(002)}) {
        const ScopedUmask umask(mask);
        const QString name = QStringLiteral("PW-%1.txt").arg(mask);
        ASSERT_TRUE(DurableFile::replace(dir.filePath(name), "\"Clé\"\r\n"));
        EXPECT_EQ(modeOf(dir.filePath(name)), 0600u) << "umask " << mask;
    }
    const QString shared = dir.filePath(QStringLiteral("unit.txt"));
    dir.writeBytes(QStringLiteral("unit.txt"), "\"Bronco\"\r\n");
    ASSERT_EQ(::chmod(QFile::encodeName(shared).constData(), 0644), 0);
    ASSERT_TRUE(DurableFile::replace(shared, "\"Ranger\"\r\n"));
    EXPECT_EQ(modeOf(shared), 0644u);
}

TEST(DurableFile, ANewFileFollowsTheUmaskAndAReplacedFileKeepsItsPermissions)
{
    TempProgramFolder dir;
    const ScopedUmask mask(077);
    ASSERT_TRUE(DurableFile::replace(dir.filePath(QStringLiteral("PW.txt")), "\"x\"\r\n"));
    EXPECT_EQ(modeOf(dir.filePath(QStringLiteral("PW.txt"))), 0600u);

    const QString unitFile = dir.filePath(QStringLiteral("unit.txt"));
    dir.writeBytes(QStringLiteral("unit.txt"), "\"Bronco\"\r\n");
    ASSERT_EQ(::chmod(QFile::encodeName(unitFile).constData(), 0640), 0);
    ASSERT_TRUE(QuotedItems::writeFile(unitFile, {{QStringLiteral("Ranger")}},
                                       QuotedItems::WriteMode::Append));
    EXPECT_EQ(modeOf(unitFile), 0640u);
    EXPECT_EQ(dir.readBytes(QStringLiteral("unit.txt")), QByteArray("\"Bronco\"\r\n\"Ranger\"\r\n"));

    // A link to the file stays a link; the file it names gets the content.
    const QString link = dir.filePath(QStringLiteral("mini.txt"));
    ASSERT_TRUE(QFile::link(unitFile, link));
    ASSERT_TRUE(DurableFile::replace(link, "\"Escort\"\r\n"));
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), unitFile);
    EXPECT_EQ(dir.readBytes(QStringLiteral("unit.txt")), QByteArray("\"Escort\"\r\n"));
}

TEST(DurableFile, StaleTemporariesOfThisProgramAreRecognisedAndRemoved)
{
    TempProgramFolder dir;
    // No process has a number this high (above the kernel's limit).
    const QString dead = QStringLiteral(".Sales Log2.mdb.tarvex-tmp-2147483600-k3x9");
    const QString live = QStringLiteral(".dp.dat.tarvex-tmp-%1-a1").arg(::getpid());
    const QStringList others = {QStringLiteral(".Sales Log2.mdb.XXq1z2"), // not ours
                                QStringLiteral("tarvex-tmp-1-1"),
                                QStringLiteral("Sales Log2.mdb")};
    for (const QString &name : QStringList{dead, dead + QStringLiteral("-journal"), live} + others)
        dir.writeBytes(name, "x");

    EXPECT_TRUE(DurableFile::isTemporaryName(DurableFile::temporaryPathFor(
                                                 dir.filePath(QStringLiteral("unit.txt")))
                                                 .section(u'/', -1)));
    EXPECT_EQ(DurableFile::removeStaleTemporaries(dir.folder().path()), 2);
    QStringList expected = others + QStringList{live};
    expected.sort();
    EXPECT_EQ(filesIn(dir.folder().path()), expected);
}

// Run only as the child of the next test, with the sync counter preloaded.
TEST(DurableFileSyncChild, ReplacesAFile)
{
    const QString folder = qEnvironmentVariable("TARVEX_TEST_SYNC_FOLDER");
    if (folder.isEmpty())
        GTEST_SKIP() << "run by DurableFile.AWriteSyncsTheNewFileAndThenItsFolder";
    ASSERT_TRUE(DurableFile::replace(folder + QStringLiteral("/dc.dat"), "\"35\"\r\n"));
}

// The system's own sync calls, counted outside the program: the new file's
// content reaches the disk before the rename, the folder after it.
TEST(DurableFile, AWriteSyncsTheNewFileAndThenItsFolder)
{
    TempProgramFolder dir;
    QTemporaryDir logs;
    const QString log = logs.filePath(QStringLiteral("syncs"));
    const QString folder = QFileInfo(dir.folder().path()).canonicalFilePath();
    const ChildEnd end = runChildTest(
        QStringLiteral("DurableFileSyncChild.ReplacesAFile"),
        {{QStringLiteral("LD_PRELOAD"), QStringLiteral(TARVEX_SYNC_COUNTER)},
         {QStringLiteral("TARVEX_SYNC_LOG"), log},
         {QStringLiteral("TARVEX_TEST_SYNC_FOLDER"), dir.folder().path()}});
    ASSERT_EQ(end.exitCode, 0) << end.output.toStdString();
    ASSERT_TRUE(end.output.contains("[  PASSED  ] 1 test")) << end.output.toStdString();
    EXPECT_EQ(dir.readBytes(QStringLiteral("dc.dat")), QByteArray("\"35\"\r\n"));

    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "no sync call at all";
    QStringList here;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QString call = QString::fromUtf8(line);
        if (call.section(u' ', 1).startsWith(folder))
            here << call;
    }
    ASSERT_EQ(here.size(), 2) << here.join(u'\n').toStdString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^fsync %1/\\.dc\\.dat\\.tarvex-tmp-\\d+-[0-9a-z]+$")
                                       .arg(QRegularExpression::escape(folder)))
                    .match(here.at(0))
                    .hasMatch())
        << here.at(0).toStdString();
    EXPECT_EQ(here.at(1), QStringLiteral("fsync ") + folder);
}

// A temporary of another Tarvex still running is being written: it stays
// until that process has ended.
TEST(DurableFile, AnotherRunningProcesssTemporaryIsLeftUntilItEnds)
{
    TempProgramFolder dir;
    QProcess other;
    other.start(QStringLiteral("sleep"), {QStringLiteral("60")});
    ASSERT_TRUE(other.waitForStarted()) << other.errorString().toStdString();
    const QString theirs = QStringLiteral(".unit.txt.tarvex-tmp-%1-b2").arg(other.processId());
    dir.writeBytes(theirs, "half written");
    dir.writeBytes(theirs + QStringLiteral("-wal"), "x");

    EXPECT_EQ(DurableFile::removeStaleTemporaries(dir.folder().path()), 0);
    EXPECT_EQ(filesIn(dir.folder().path()), (QStringList{theirs, theirs + QStringLiteral("-wal")}));

    other.kill();
    ASSERT_TRUE(other.waitForFinished());
    EXPECT_EQ(DurableFile::removeStaleTemporaries(dir.folder().path()), 2);
    EXPECT_EQ(filesIn(dir.folder().path()), QStringList());
}

// A small file system filled to the last byte, where the system allows one
// to be made (it needs the right to mount).
class FullFileSystem : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_mountPoint.isValid());
        const QByteArray point = QFile::encodeName(m_mountPoint.path());
        if (::mount("tarvex-test", point.constData(), "tmpfs", 0, "size=64k") != 0)
            GTEST_SKIP() << "a small file system cannot be mounted here";
        m_mounted = true;
        m_folder = m_mountPoint.path();
        QFile settings(m_folder + QStringLiteral("/PW.txt"));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write("\"secret\"\r\n");
        settings.close();
        QFile filler(m_folder + QStringLiteral("/filler"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(512, 'x');
        while (filler.write(block) > 0) {
        }
    }

    void TearDown() override
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_mountPoint.path()).constData(), MNT_DETACH);
    }

    QTemporaryDir m_mountPoint;
    QString m_folder;
    bool m_mounted = false;
};

TEST_F(FullFileSystem, AFullDiskIsReportedAndThePasswordFileKeepsItsPassword)
{
    QString error;
    EXPECT_FALSE(QuotedItems::writeFile(m_folder + QStringLiteral("/PW.txt"),
                                        {{QStringLiteral("a new password")}},
                                        QuotedItems::WriteMode::Replace, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("No space left on device"))) << error.toStdString();
    QFile file(m_folder + QStringLiteral("/PW.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("\"secret\"\r\n"));
    EXPECT_EQ(filesIn(m_folder), (QStringList{QStringLiteral("PW.txt"), QStringLiteral("filler")}));
}

} // namespace
