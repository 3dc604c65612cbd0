#include "version_one_database.h"

#include "store/deal_row_writer.h"
#include "store/deal_rows.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <gtest/gtest.h>

namespace {

// The layout the program wrote before the customer-search index: this copy
// stays as it is when the program's own layout moves on.
const char *const kVersionOneLayout = R"sql(
CREATE TABLE "SalesSummary" (
    "Date" TEXT CHECK ("Date" IS NULL OR "Date" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]'),
    "Unit" TEXT COLLATE NOCASE,
    "Stock_Number" TEXT COLLATE NOCASE,
    "Customer_Name" TEXT COLLATE NOCASE,
    "Sales_Person" TEXT COLLATE NOCASE,
    "TCU" TEXT COLLATE NOCASE,
    "Payable_Gross" INTEGER,
    "Commission" INTEGER,
    "Spiff" INTEGER,
    "Warranty" INTEGER,
    "UnitCount" INTEGER,
    "TotalCommission" INTEGER,
    "Paid" INTEGER NOT NULL DEFAULT 0 CHECK ("Paid" IN (0, 1)),
    "DealId" INTEGER NOT NULL REFERENCES "RecallDeal"("DealId")
) STRICT;
CREATE TABLE "SalesLog" (
    "Date" TEXT CHECK ("Date" IS NULL OR "Date" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]'),
    "StockNumber" TEXT COLLATE NOCASE,
    "Unit" TEXT COLLATE NOCASE,
    "CustomerName" TEXT COLLATE NOCASE,
    "SalesPerson" TEXT COLLATE NOCASE,
    "Type" TEXT COLLATE NOCASE,
    "Gross" INTEGER,
    "TCU" TEXT COLLATE NOCASE,
    "DealId" INTEGER NOT NULL REFERENCES "RecallDeal"("DealId")
) STRICT;
CREATE TABLE "RecallDeal" (
    "Date" TEXT CHECK ("Date" IS NULL OR "Date" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]'),
    "SalesPerson" TEXT COLLATE NOCASE,
    "Customer" TEXT COLLATE NOCASE,
    "StockNo" TEXT COLLATE NOCASE,
    "Year" INTEGER,
    "Unit" TEXT COLLATE NOCASE,
    "TCU" TEXT COLLATE NOCASE,
    "SaleType" TEXT COLLATE NOCASE,
    "Price" INTEGER,
    "Cost" INTEGER,
    "RTCD1" TEXT COLLATE NOCASE,
    "RTCD2" TEXT COLLATE NOCASE,
    "RTCD3" TEXT COLLATE NOCASE,
    "RTCD4" TEXT COLLATE NOCASE,
    "RTCD5" TEXT COLLATE NOCASE,
    "RTCP1" INTEGER,
    "RTCP2" INTEGER,
    "RTCP3" INTEGER,
    "RTCP4" INTEGER,
    "RTCP5" INTEGER,
    "ATCD1" TEXT COLLATE NOCASE,
    "ATCD2" TEXT COLLATE NOCASE,
    "ATCD3" TEXT COLLATE NOCASE,
    "ATCD4" TEXT COLLATE NOCASE,
    "ATCD5" TEXT COLLATE NOCASE,
    "ATCP1" INTEGER,
    "ATCP2" INTEGER,
    "ATCP3" INTEGER,
    "ATCP4" INTEGER,
    "ATCP5" INTEGER,
    "Allow" INTEGER,
    "OVAllow" INTEGER,
    "TrdStock" TEXT COLLATE NOCASE,
    "OA" INTEGER NOT NULL DEFAULT 0 CHECK ("OA" IN (0, 1)),
    "UA" INTEGER NOT NULL DEFAULT 0 CHECK ("UA" IN (0, 1)),
    "Pack" INTEGER,
    "CommRate" TEXT COLLATE NOCASE,
    "ChkWarranty" INTEGER NOT NULL DEFAULT 0 CHECK ("ChkWarranty" IN (0, 1)),
    "Gross" INTEGER,
    "Comm" INTEGER,
    "Warranty" INTEGER,
    "Spiff" INTEGER,
    "TtlComm" INTEGER,
    "Split" INTEGER NOT NULL DEFAULT 0 CHECK ("Split" IN (0, 1)),
    "Salesman2" TEXT COLLATE NOCASE,
    "DealId" INTEGER PRIMARY KEY AUTOINCREMENT
) STRICT;
CREATE TABLE "SalesPersons" (
    "Name" TEXT NOT NULL COLLATE NOCASE
) STRICT;
CREATE INDEX "SalesSummary_Stock_Number" ON "SalesSummary"("Stock_Number");
CREATE INDEX "SalesSummary_Sales_Person_Date" ON "SalesSummary"("Sales_Person", "Date");
CREATE INDEX "SalesSummary_Date" ON "SalesSummary"("Date");
CREATE INDEX "SalesSummary_DealId" ON "SalesSummary"("DealId");
CREATE INDEX "SalesLog_StockNumber" ON "SalesLog"("StockNumber");
CREATE INDEX "SalesLog_Date" ON "SalesLog"("Date");
CREATE INDEX "SalesLog_DealId" ON "SalesLog"("DealId");
CREATE INDEX "RecallDeal_StockNo" ON "RecallDeal"("StockNo");
INSERT INTO SalesPersons(Name) VALUES ('House');
PRAGMA application_id = 1414682200;
PRAGMA user_version = 1;
PRAGMA journal_mode = WAL;
)sql";

} // namespace

void makeVersionOneDatabase(const QString &path, const QList<Deal> &deals,
                            const QStringList &extraStatements)
{
    const QString name = QStringLiteral("test-version-one");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QStringList statements =
            QString::fromUtf8(kVersionOneLayout).split(u';', Qt::SkipEmptyParts);
        statements << extraStatements;
        for (const QString &statement : statements) {
            if (statement.trimmed().isEmpty())
                continue;
            QSqlQuery query(db);
            EXPECT_TRUE(query.exec(statement))
                << statement.toStdString() << ": " << query.lastError().text().toStdString();
        }
        // The rows are written by the program's own deal writer, as it wrote
        // them into version 1 files.
        {
            DealRowWriter writer(db);
            QString error;
            for (const Deal &deal : deals) {
                const std::optional<DealRows> rows = DealRows::fromDeal(deal, &error);
                ASSERT_TRUE(rows.has_value()) << error.toStdString();
                ASSERT_TRUE(writer.insert(*rows, std::nullopt, &error).has_value())
                    << error.toStdString();
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}
