// The desk that printed each commission sheet: a database of the version
// before is upgraded and gets the desk's columns, on either engine.
#include "store/sheet_records.h"
#include "store_test_support.h"

#include <gtest/gtest.h>

namespace {

using SheetDeskSchemaTest = EngineStoreTest;
INSTANTIATE_ON_BOTH_ENGINES(SheetDeskSchemaTest);

TEST_P(SheetDeskSchemaTest, AVersionFourDatabaseGetsTheDeskOfEachSheet)
{
    const bool server = GetParam() == StoreEngine::Engine::PostgreSQL;
    QString error;
    const std::optional<qint64> older = SheetRecords(m_database->connection())
                                            .record({.salesPerson = QStringLiteral("JOSÉ PEÑA"),
                                                     .weekEnding = QStringLiteral("03/12/2005"),
                                                     .bonusDescription = {},
                                                     .bonus = std::nullopt},
                                                    &error);
    ASSERT_TRUE(older) << error.toStdString();
    // Back to the layout of version 4: sheets without their desk.
    execute(*m_database, QStringLiteral("ALTER TABLE \"Sheets\" DROP COLUMN \"DeskName\""));
    execute(*m_database, QStringLiteral("ALTER TABLE \"Sheets\" DROP COLUMN \"DeskFolder\""));
    // The users came after.
    for (const char *statement : {"DROP TABLE \"Users\"", "DROP INDEX \"Audit_UserName\"",
                                  "ALTER TABLE \"Audit\" DROP COLUMN \"UserName\""})
        execute(*m_database, QString::fromLatin1(statement));
    dropStepsFrom(*m_database, 7);
    execute(*m_database, server ? QStringLiteral("UPDATE \"SchemaVersion\" SET \"Version\" = 4")
                                : QStringLiteral("PRAGMA user_version = 4"));
    m_store.reset();
    m_database.reset();

    m_database = server ? std::make_unique<DealDatabase>(m_server->settings())
                        : std::make_unique<DealDatabase>(m_dir.folder());
    ASSERT_TRUE(m_database->open(&error)) << error.toStdString();
    EXPECT_TRUE(m_database->upgradeNote().startsWith(
        QStringLiteral("The deal database was upgraded from version 4 to version 9.")))
        << m_database->upgradeNote().toStdString();
    EXPECT_EQ(columnsOf(*m_database, QStringLiteral("Sheets")).mid(10, 2),
              (QStringList{"DeskName", "DeskFolder"}));

    // The sheet printed before desks were recorded counts for every desk;
    // a sheet printed now belongs to its desk alone.
    SheetRecords upgraded(m_database->connection());
    const SheetDesk front{QStringLiteral("front-desk"), QStringLiteral("/srv/tarvex/front")};
    const SheetDesk back{QStringLiteral("back-office"), QStringLiteral("/home/zoë/Tarvex")};
    const auto newestAt = [&](const SheetDesk &desk) {
        const auto latest = upgraded.latestValid(desk, &error);
        EXPECT_TRUE(latest) << error.toStdString();
        return latest && !latest->isEmpty() ? latest->first().id : 0;
    };
    EXPECT_EQ(newestAt(front), *older);
    const std::optional<qint64> atBack = upgraded.record(
        {.salesPerson = QStringLiteral("MARY JONES"),
         .weekEnding = QStringLiteral("03/19/2005"),
         .bonusDescription = QStringLiteral("Plateau Bonus"),
         .bonus = Money::dollars(100),
         .desk = back},
        &error);
    ASSERT_TRUE(atBack) << error.toStdString();
    EXPECT_EQ(newestAt(back), *atBack);
    EXPECT_EQ(newestAt(front), *older);
    EXPECT_EQ(single(*m_database, QStringLiteral("SELECT \"DeskFolder\" FROM \"Sheets\" WHERE "
                                                 "\"DeskName\" = 'back-office'"))
                  .toString(),
              QStringLiteral("/home/zoë/Tarvex"));
}

} // namespace
