#include "store/deal_database.h"
#include "store/sheet_schema.h"
#include "store/sql_transaction.h"
#include "store_test_support.h"

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
                           "Total", "PrintedAt", "VoidedAt", "Lines", "Snapshot"}));
    EXPECT_EQ(columnsOf(database, QStringLiteral("Audit")),
              (QStringList{"AuditId", "At", "Action", "TableName", "RowKey", "DealId", "SheetId",
                           "StockNumber", "SalesPerson", "Before", "After"}));
    EXPECT_EQ(columnsOf(database, QStringLiteral("SalesSummary")).mid(12),
              (QStringList{"Paid", "DealId", "SheetId"}));

    // Running the step again changes nothing and fails nothing.
    QSqlDatabase db = database.connection();
    SqlTransaction transaction(db);
    ASSERT_TRUE(transaction.begin(&error));
    EXPECT_TRUE(SheetSchema::addSheetRecords(db, &error)) << error.toStdString();
    EXPECT_TRUE(transaction.commit(&error));
    EXPECT_EQ(columnsOf(database, QStringLiteral("SalesSummary")).size(), 15);
}

// A database from before sheets were recorded: its paid rows stay paid, on no sheet.
TEST(SheetSchema, ADatabaseWithoutSheetsGainsThemAndKeepsItsPaidRows)
{
    TempProgramFolder dir;
    {
        DealDatabase made(dir.folder());
        QString error;
        ASSERT_TRUE(made.open(&error)) << error.toStdString();
        // Back to the earlier layout: no sheets, no audit, no SheetId.
        for (const char *statement :
             {"DROP INDEX SalesSummary_SheetId", "ALTER TABLE SalesSummary DROP COLUMN SheetId",
              "DROP TABLE Sheets", "DROP TABLE Audit",
              "INSERT INTO RecallDeal (StockNo) VALUES ('2040')",
              "INSERT INTO SalesSummary (Stock_Number, Paid, DealId) VALUES ('2040', 1, 1)"}) {
            QSqlQuery query(made.connection());
            ASSERT_TRUE(query.exec(QString::fromLatin1(statement))) << statement;
        }
    }
    DealDatabase database(dir.folder());
    QString error;
    ASSERT_TRUE(database.open(&error)) << error.toStdString();
    EXPECT_EQ(columnsOf(database, QStringLiteral("SalesSummary")).last(),
              QStringLiteral("SheetId"));
    EXPECT_FALSE(columnsOf(database, QStringLiteral("Audit")).isEmpty());
    QSqlQuery query(database.connection());
    ASSERT_TRUE(query.exec(QStringLiteral("SELECT Paid, SheetId IS NULL FROM SalesSummary")));
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.value(0).toInt(), 1);
    EXPECT_EQ(query.value(1).toInt(), 1);
}

} // namespace
