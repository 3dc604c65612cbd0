#include "store/deal_database.h"
#include "store/deal_store.h"
#include "store_test_support.h"
#include "version_one_database.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

namespace {

// A value read from a database file through a connection of its own.
QVariant valueIn(const QString &path, const QString &statement)
{
    const QString name = QStringLiteral("test-peek");
    QVariant value;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open());
        QSqlQuery query(db);
        EXPECT_TRUE(query.exec(statement) && query.next()) << statement.toStdString();
        value = query.value(0);
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return value;
}

QList<Deal> versionOneDeals()
{
    Deal used = dealFor(QStringLiteral("58231"), QStringLiteral("José Núñez"));
    used.unitClass = QStringLiteral("UT");
    return {dealFor(QStringLiteral("A1"), QStringLiteral("Ann Smithers")), splitExampleDeal(),
            used};
}

TEST(SchemaUpgrade, AVersionOneFileIsUpgradedInPlaceAfterACopyBesideIt)
{
    TempProgramFolder dir;
    const QString path = DealDatabase::pathIn(dir.folder());
    const QString copy = dir.filePath(QStringLiteral("Sales Log2 (version 1 copy).mdb"));
    makeVersionOneDatabase(path, versionOneDeals());
    {
        DealDatabase database(dir.folder());
        QString error;
        ASSERT_TRUE(database.open(&error)) << error.toStdString();
        EXPECT_EQ(database.upgradeNote(),
                  QStringLiteral("The deal database was upgraded from version 1 to version 9. "
                                 "A copy of it as it was before is in \"%1\".")
                      .arg(copy));
        EXPECT_EQ(valueIn(path, QStringLiteral("PRAGMA user_version")).toInt(), 9);
        // The chain ran on to the sheets: the rows stored before are on no sheet.
        EXPECT_EQ(valueIn(path, QStringLiteral("SELECT count(*) FROM Sheets")).toInt(), 0);
        EXPECT_EQ(valueIn(path, QStringLiteral("SELECT count(*) FROM SalesSummary WHERE "
                                               "SheetId IS NULL"))
                      .toInt(),
                  valueIn(path, QStringLiteral("SELECT count(*) FROM SalesSummary")).toInt());

        // The deals stored before are found by the new index and load as before.
        DealStore store(database);
        EXPECT_EQ(store.findByCustomerPart(QStringLiteral("núñ")), QList<DealId>{3});
        EXPECT_EQ(store.findByCustomerPart(QStringLiteral("smith")), QList<DealId>{1});
        EXPECT_EQ(store.loadDeal(2)->customer, QStringLiteral("BOB BROWN"));
        EXPECT_EQ(store.recalledDealState(2)->summaryRowCount, 2);
        EXPECT_EQ(store.dealCount(), 3);

        // Deals written after the upgrade are kept in the index.
        const std::optional<DealId> added =
            store.save(dealFor(QStringLiteral("Z9"), QStringLiteral("Zoë Smith")), &error);
        ASSERT_TRUE(added.has_value()) << error.toStdString();
        EXPECT_EQ(store.findByCustomerPart(QStringLiteral("smith")), (QList<DealId>{1, *added}));
        ASSERT_TRUE(store.remove(1, &error)) << error.toStdString();
        EXPECT_EQ(store.findByCustomerPart(QStringLiteral("smith")), QList<DealId>{*added});
        EXPECT_EQ(store.dealCount(), 3);
    }
    // The copy is the file as it was: version 1, three deals, no index.
    EXPECT_EQ(valueIn(copy, QStringLiteral("PRAGMA user_version")).toInt(), 1);
    EXPECT_EQ(valueIn(copy, QStringLiteral("SELECT count(*) FROM RecallDeal")).toInt(), 3);
    EXPECT_EQ(valueIn(copy, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = "
                                           "'CustomerSearch'"))
                  .toInt(),
              0);

    // Opened again, the file is at its version: no second copy, no note.
    DealDatabase again(dir.folder());
    ASSERT_TRUE(again.open(nullptr));
    EXPECT_EQ(again.upgradeNote(), QString());
    EXPECT_FALSE(
        QFileInfo::exists(dir.filePath(QStringLiteral("Sales Log2 (version 1 copy 2).mdb"))));
}

TEST(SchemaUpgrade, ATakenCopyNameIsNotOverwritten)
{
    TempProgramFolder dir;
    dir.writeBytes(QStringLiteral("Sales Log2 (version 1 copy).mdb"), QByteArray("kept"));
    makeVersionOneDatabase(DealDatabase::pathIn(dir.folder()), versionOneDeals());
    DealDatabase database(dir.folder());
    ASSERT_TRUE(database.open(nullptr));
    EXPECT_EQ(dir.readBytes(QStringLiteral("Sales Log2 (version 1 copy).mdb")), QByteArray("kept"));
    EXPECT_TRUE(database.upgradeNote().endsWith(QStringLiteral("(version 1 copy 2).mdb\".")))
        << database.upgradeNote().toStdString();
}

TEST(SchemaUpgrade, AFailedUpgradeLeavesVersionOneUnchangedAndSaysSo)
{
    TempProgramFolder dir;
    const QString path = DealDatabase::pathIn(dir.folder());
    // An index someone added under the name of the upgrade's last step.
    makeVersionOneDatabase(
        path, versionOneDeals(),
        {QStringLiteral("CREATE INDEX SalesSummary_Unpaid ON SalesSummary(Paid)")});
    QString error;
    {
        DealDatabase database(dir.folder());
        EXPECT_FALSE(database.open(&error));
        EXPECT_FALSE(database.isOpen());
    }
    EXPECT_EQ(error, QStringLiteral("The deal database \"%1\" could not be upgraded from version 1 "
                                    "to version 9: index SalesSummary_Unpaid already exists. It "
                                    "was left at version 1, unchanged.")
                         .arg(path));
    EXPECT_EQ(valueIn(path, QStringLiteral("PRAGMA user_version")).toInt(), 1);
    EXPECT_EQ(valueIn(path, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name LIKE "
                                           "'%CustomerSearch%'"))
                  .toInt(),
              0);
    EXPECT_EQ(valueIn(path, QStringLiteral("SELECT count(*) FROM RecallDeal")).toInt(), 3);
    EXPECT_FALSE(
        QFileInfo::exists(dir.filePath(QStringLiteral("Sales Log2 (version 1 copy).mdb"))));
}

TEST(SchemaUpgrade, ANewerVersionIsRefusedWithItsNumber)
{
    TempProgramFolder dir;
    {
        DealDatabase database(dir.folder());
        ASSERT_TRUE(database.open(nullptr));
        execute(database, QStringLiteral("PRAGMA user_version = 10"));
    }
    DealDatabase database(dir.folder());
    QString error;
    EXPECT_FALSE(database.open(&error));
    EXPECT_EQ(error, QStringLiteral("The deal database \"%1\" was made by a newer version of this "
                                    "program (database version 10; this version reads up to 9). "
                                    "The file was left unchanged.")
                         .arg(DealDatabase::pathIn(dir.folder())));
}

} // namespace
