// The files around the deal database: created with the user's umask, backups
// never readable more widely than the database, copies synced before they
// take their name, and temporaries of a killed backup removed.
#include "injected_failure.h"
#include "store/database_backup.h"
#include "store_test_support.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using Step = DurableFile::Step;

unsigned modeOf(const QString &path)
{
    struct stat info {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0) << path.toStdString();
    return info.st_mode & 0777;
}

QStringList filesIn(const TempProgramFolder &dir)
{
    QStringList names =
        QDir(dir.folder().path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    names.sort();
    return names;
}

// A new database is the user's alone whatever the umask (it holds the pay of
// every salesperson); a backup is never readable more widely than it.
TEST(DatabaseFiles, TheDatabaseIsPrivateAndABackupIsNeverWiderThanIt)
{
    struct Case
    {
        mode_t umask;
        std::optional<unsigned> liveMode; // set on the database after it is made
        unsigned expectedLive;
        unsigned expectedBackup;
    };
    const Case cases[] = {
        {077, std::nullopt, 0600, 0600},
        {022, std::nullopt, 0600, 0600},
        {000, std::nullopt, 0600, 0600},
        {022, 0640, 0640, 0640}, // the manager closed the database to others
        {027, 0644, 0644, 0640}, // an old database: the umask narrows the copy
        {002, std::nullopt, 0600, 0600},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "umask " << std::oct << c.umask);
        const struct RestoredUmask
        {
            mode_t old;
            ~RestoredUmask() { ::umask(old); }
        } restored{::umask(c.umask)};
        TempProgramFolder dir;
        TempProgramFolder elsewhere;
        {
            DealDatabase database(dir.folder());
            QString error;
            ASSERT_TRUE(database.open(&error)) << error.toStdString();
            if (c.liveMode) {
                ASSERT_EQ(::chmod(QFile::encodeName(database.filePath()).constData(), *c.liveMode),
                          0);
            }
            EXPECT_EQ(modeOf(database.filePath()), c.expectedLive);
            const QString target = elsewhere.filePath(QStringLiteral("Backup 1.mdb"));
            ASSERT_TRUE(DatabaseBackup::copyTo(database, target, &error)) << error.toStdString();
            EXPECT_EQ(modeOf(target), c.expectedBackup);
        }
    }
}

TEST(DatabaseFiles, ANewDatabaseIsOnTheDiskBeforeItTakesItsName)
{
    TempProgramFolder dir;
    const InjectedFailure recorder;
    DealDatabase database(dir.folder());
    QString error;
    ASSERT_TRUE(database.open(&error)) << error.toStdString();
    EXPECT_EQ(recorder.steps(), (QList<Step>{Step::Sync, Step::Sync, Step::Close, Step::Rename,
                                             Step::SyncFolder}));
}

using BackupFiles = StoreTest;

TEST_F(BackupFiles, TheCopyIsSyncedBeforeItTakesTheBackupsNameAndTheFolderAfter)
{
    saved(splitExampleDeal());
    TempProgramFolder elsewhere;
    const QString target = elsewhere.filePath(QStringLiteral("friday.mdb"));
    const InjectedFailure recorder;
    QString error;
    ASSERT_TRUE(DatabaseBackup::copyTo(*m_database, target, &error)) << error.toStdString();
    EXPECT_EQ(recorder.steps(), (QList<Step>{Step::Sync, Step::Sync, Step::Close, Step::Rename,
                                             Step::SyncFolder}));
}

TEST_F(BackupFiles, ACopyThatCannotBeSyncedNeverTakesTheBackupsName)
{
    saved(plainExampleDeal());
    TempProgramFolder elsewhere;
    elsewhere.writeBytes(QStringLiteral("friday.mdb"), "last week's backup");
    for (const Step step : {Step::Sync, Step::Close, Step::Rename}) {
        SCOPED_TRACE(int(step));
        const InjectedFailure failure(step, EIO);
        QString error;
        EXPECT_FALSE(DatabaseBackup::copyTo(
            *m_database, elsewhere.filePath(QStringLiteral("friday.mdb")), &error));
        EXPECT_TRUE(error.startsWith(QStringLiteral("The backup \"%1\" could not be put in place: "
                                                    "Input/output error (")
                                         .arg(elsewhere.filePath(QStringLiteral("friday.mdb")))))
            << error.toStdString();
        EXPECT_EQ(elsewhere.readBytes(QStringLiteral("friday.mdb")),
                  QByteArray("last week's backup"));
        EXPECT_EQ(filesIn(elsewhere), QStringList{QStringLiteral("friday.mdb")});
    }
}

TEST_F(BackupFiles, APartialCopyLeftByAKilledBackupIsRemovedAtTheNextBackup)
{
    saved(plainExampleDeal());
    TempProgramFolder elsewhere;
    // What a backup killed half-way leaves: its copy and the copy's journal.
    const QString partial = QStringLiteral(".friday.mdb.tarvex-tmp-2147483600-5kq2");
    elsewhere.writeBytes(partial, QByteArray(4096, '\0'));
    elsewhere.writeBytes(partial + QStringLiteral("-journal"), QByteArray(512, '\0'));
    elsewhere.writeBytes(QStringLiteral(".friday.mdb.swp"), "someone else's");
    QString error;
    ASSERT_TRUE(DatabaseBackup::copyTo(*m_database, elsewhere.filePath(QStringLiteral("friday.mdb")),
                                       &error))
        << error.toStdString();
    EXPECT_EQ(filesIn(elsewhere),
              (QStringList{QStringLiteral(".friday.mdb.swp"), QStringLiteral("friday.mdb")}));
}

} // namespace
