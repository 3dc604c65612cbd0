#include "store/deal_database.h"
#include "store_test_support.h"
#include "version_two_database.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

namespace {

TEST(SheetSchema, ANewDatabaseHasTheSheetsTheAuditAndTheSheetOfEachSummaryRow)
{
    TempProgramFolder dir;
    DealDatabase database(dir.folder());
    QString error;
    ASSERT_TRUE(database.open(&error)) << error.toStdString();
    EXPECT_EQ(columnsOf(database, QStringLiteral("Sheets")),
              (QStringList{"SheetId", "SalesPerson", "WeekEnding", "BonusDescription", "Bonus",
                           "Total", "PrintedAt", "VoidedAt", "Lines", "Snapshot", "DeskName",
                           "DeskFolder", "Recovered", "CarriedIn", "NetPay"}));
    EXPECT_EQ(columnsOf(database, QStringLiteral("Audit")),
              (QStringList{"AuditId", "At", "Action", "TableName", "RowKey", "DealId", "SheetId",
                           "StockNumber", "SalesPerson", "Before", "After", "UserName"}));
    EXPECT_EQ(columnsOf(database, QStringLiteral("SalesSummary")).mid(12),
              (QStringList{"Paid", "DealId", "SheetId"}));
    EXPECT_EQ(single(database, QStringLiteral("PRAGMA user_version")).toInt(), 9);
}

// A database of version 2, from before sheets were recorded, is upgraded
// after a copy of it is made; its paid rows stay paid, on no sheet.
TEST(SheetSchema, AVersionTwoFileIsUpgradedAfterACopyAndKeepsItsPaidRows)
{
    TempProgramFolder dir;
    makeVersionTwoDatabase(
        DealDatabase::pathIn(dir.folder()),
        {QStringLiteral("INSERT INTO RecallDeal (StockNo, Customer) VALUES ('2040', 'ZOË')"),
         QStringLiteral("INSERT INTO SalesSummary (Stock_Number, Paid, DealId) VALUES ('2040', 1, 1)")});
    ASSERT_FALSE(HasFatalFailure());
    const QString copy = dir.filePath(QStringLiteral("Sales Log2 (version 2 copy).mdb"));
    DealDatabase database(dir.folder());
    QString error;
    ASSERT_TRUE(database.open(&error)) << error.toStdString();
    EXPECT_EQ(database.upgradeNote(),
              QStringLiteral("The deal database was upgraded from version 2 to version 9. A copy "
                             "of it as it was before is in \"%1\".")
                  .arg(copy));
    EXPECT_TRUE(QFileInfo::exists(copy));
    EXPECT_EQ(single(database, QStringLiteral("PRAGMA user_version")).toInt(), 9);
    EXPECT_EQ(columnsOf(database, QStringLiteral("SalesSummary")).last(),
              QStringLiteral("SheetId"));
    EXPECT_FALSE(columnsOf(database, QStringLiteral("Audit")).isEmpty());
    EXPECT_EQ(single(database, QStringLiteral("SELECT Paid FROM SalesSummary")).toInt(), 1);
    EXPECT_EQ(single(database, QStringLiteral("SELECT SheetId IS NULL FROM SalesSummary")).toInt(),
              1);
    // What version 2 held still works: the deal is counted and found by name.
    EXPECT_EQ(single(database, QStringLiteral("SELECT Deals FROM DealCount")).toInt(), 1);
    EXPECT_EQ(single(database, QStringLiteral("SELECT rowid FROM CustomerSearch WHERE "
                                              "CustomerSearch MATCH '\"zoë\"'"))
                  .toInt(),
              1);
}

// Sheets of a file that claims version 3 but lacks them are not taken on trust.
TEST(SheetSchema, AVersionThreeFileWithoutSheetsIsNotOurs)
{
    TempProgramFolder dir;
    {
        DealDatabase made(dir.folder());
        ASSERT_TRUE(made.open(nullptr));
        execute(made, QStringLiteral("DROP TABLE Audit"));
    }
    DealDatabase database(dir.folder());
    QString error;
    EXPECT_FALSE(database.open(&error));
    EXPECT_EQ(error, QStringLiteral("The file \"%1\" is not a deal database of this program: it "
                                    "has no table Audit. The file was left unchanged.")
                         .arg(DealDatabase::pathIn(dir.folder())));
}

} // namespace
