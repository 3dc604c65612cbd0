#include "store/database_backup.h"
#include "store_test_support.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

using DatabaseBackupTest = StoreTest;

TEST_F(DatabaseBackupTest, TheCopyOpensAndHoldsTheSameDeals)
{
    const DealId split = saved(splitExampleDeal());
    const DealId plain = saved(dealFor(QStringLiteral("B7"), QStringLiteral("Ann Lee")));
    TempProgramFolder elsewhere;
    const QString target = elsewhere.filePath(QStringLiteral("backup.mdb"));
    elsewhere.writeBytes(QStringLiteral("backup.mdb"), "an older file to be replaced");

    QString error;
    ASSERT_TRUE(DatabaseBackup::copyTo(*m_database, target, &error)) << error.toStdString();
    EXPECT_EQ(QDir(elsewhere.folder().path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("backup.mdb")}); // no temporary file left
    // The copy is as readable as the database, not private like a temporary file.
    EXPECT_EQ(QFile::permissions(target), QFile::permissions(m_database->filePath()));

    DealDatabase copy(target);
    ASSERT_TRUE(copy.open(&error)) << error.toStdString();
    DealStore copied(copy);
    EXPECT_EQ(copied.allDeals(), (QList<DealId>{split, plain}));
    EXPECT_EQ(copied.loadDeal(split), m_store->loadDeal(split));
    EXPECT_EQ(copied.recalledDealState(split)->summaryRowCount, 2);
    EXPECT_EQ(rowCount(copy, QStringLiteral("SalesLog")), 2);
}

TEST_F(DatabaseBackupTest, TheLiveDatabaseUnderAnySpellingIsRefusedAndStaysIntact)
{
    saved(plainExampleDeal());
    const QString live = m_database->filePath();
    ASSERT_TRUE(QDir(m_dir.folder().path()).mkdir(QStringLiteral("sub")));
    const QString link = m_dir.filePath(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(m_dir.folder().path(), link));
    const QByteArray before = m_dir.readBytes(QStringLiteral("Sales Log2.mdb"));

    const QStringList spellings = {
        live,
        m_dir.folder().path() + QStringLiteral("/./Sales Log2.mdb"),
        m_dir.folder().path() + QStringLiteral("/sub/../Sales Log2.mdb"),
        m_dir.folder().path() + QStringLiteral("//Sales Log2.mdb"),
        link + QStringLiteral("/Sales Log2.mdb"),
        live + QStringLiteral("-wal"),
        live + QStringLiteral("-journal"),
    };
    for (const QString &target : spellings) {
        QString error;
        EXPECT_FALSE(DatabaseBackup::copyTo(*m_database, target, &error)) << target.toStdString();
        EXPECT_TRUE(error.contains(QStringLiteral("in use"))) << error.toStdString();
    }
    EXPECT_EQ(m_dir.readBytes(QStringLiteral("Sales Log2.mdb")), before);
    EXPECT_EQ(m_store->allDeals().size(), 1);
    EXPECT_EQ(dealTableCounts(), (std::array<int, 3>{1, 1, 1}));
}

TEST_F(DatabaseBackupTest, AFailedCopyLeavesTheExistingTargetAlone)
{
    TempProgramFolder elsewhere;
    elsewhere.writeBytes(QStringLiteral("backup.mdb"), "yesterday's backup");
    QString error;
    EXPECT_FALSE(DatabaseBackup::copyTo(*m_database,
                                        QStringLiteral("/nonexistent/folder/backup.mdb"), &error));
    EXPECT_FALSE(error.isEmpty());
    // A folder in the target's place cannot be replaced.
    ASSERT_TRUE(QDir(elsewhere.folder().path()).mkdir(QStringLiteral("taken.mdb")));
    EXPECT_FALSE(DatabaseBackup::copyTo(*m_database,
                                        elsewhere.filePath(QStringLiteral("taken.mdb")), &error));
    EXPECT_EQ(elsewhere.readBytes(QStringLiteral("backup.mdb")), QByteArray("yesterday's backup"));
}

// A large database's backup tells how far it has come; cancelled, it leaves
// the earlier backup as it was and no part of the new one.
TEST_F(DatabaseBackupTest, ALongCopyTellsItsPagesAndACancelledOneLeavesNothing)
{
    execute(*m_database,
            QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                           "WHERE i < 20000) INSERT INTO SalesPersons (Name) "
                           "SELECT 'Vendeur Zoë ' || i FROM n"));
    TempProgramFolder elsewhere;
    const QString target = elsewhere.filePath(QStringLiteral("backup.mdb"));
    QList<std::pair<qint64, qint64>> told;
    QString error;
    ASSERT_TRUE(DatabaseBackup::copyTo(*m_database, target, &error,
                                       [&told](qint64 done, qint64 total) {
                                           told << std::pair(done, total);
                                           return true;
                                       }))
        << error.toStdString();
    ASSERT_GE(told.size(), 3) << "told at the start, on the way and at the end";
    const qint64 pages = single(*m_database, QStringLiteral("PRAGMA page_count")).toLongLong();
    EXPECT_EQ(told.first(), std::pair(qint64(0), pages));
    EXPECT_EQ(told.last(), std::pair(pages, pages));
    for (qsizetype i = 1; i < told.size(); ++i)
        EXPECT_LE(told.at(i - 1).first, told.at(i).first);

    elsewhere.writeBytes(QStringLiteral("backup.mdb"), "last week's backup");
    int calls = 0;
    EXPECT_FALSE(DatabaseBackup::copyTo(*m_database, target, &error,
                                        [&calls](qint64, qint64) { return ++calls < 2; }));
    EXPECT_EQ(error, QStringLiteral("The backup was cancelled; \"%1\" was not written.")
                         .arg(QDir::toNativeSeparators(target)));
    EXPECT_EQ(elsewhere.readBytes(QStringLiteral("backup.mdb")), QByteArray("last week's backup"));
    EXPECT_EQ(QDir(elsewhere.folder().path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("backup.mdb")});
    EXPECT_EQ(rowCount(*m_database, QStringLiteral("SalesPersons")), 20001);
}

} // namespace
