#include "sheet_schema.h"

namespace SheetSchema {

namespace {

const char *const kStatements[] = {
    R"(CREATE TABLE "Sheets" (
    "SheetId" INTEGER PRIMARY KEY AUTOINCREMENT,
    "SalesPerson" TEXT NOT NULL COLLATE NOCASE,
    "WeekEnding" TEXT NOT NULL,
    "BonusDescription" TEXT,
    "Bonus" INTEGER,
    "Total" INTEGER,
    "PrintedAt" TEXT NOT NULL,
    "VoidedAt" TEXT,
    "Lines" TEXT NOT NULL DEFAULT '',
    "Snapshot" TEXT NOT NULL DEFAULT ''
) STRICT)",
    R"(CREATE TABLE "Audit" (
    "AuditId" INTEGER PRIMARY KEY AUTOINCREMENT,
    "At" TEXT NOT NULL,
    "Action" TEXT NOT NULL,
    "TableName" TEXT NOT NULL,
    "RowKey" INTEGER,
    "DealId" INTEGER,
    "SheetId" INTEGER,
    "StockNumber" TEXT COLLATE NOCASE,
    "SalesPerson" TEXT COLLATE NOCASE,
    "Before" TEXT,
    "After" TEXT
) STRICT)",
    R"(CREATE INDEX "Sheets_SalesPerson" ON "Sheets"("SalesPerson"))",
    R"(CREATE INDEX "Audit_At" ON "Audit"("At"))",
    R"(CREATE INDEX "Audit_StockNumber" ON "Audit"("StockNumber"))",
    R"(CREATE INDEX "Audit_SalesPerson" ON "Audit"("SalesPerson"))",
    // Rows paid before sheets were recorded keep their Paid mark with no sheet.
    R"(ALTER TABLE "SalesSummary" ADD COLUMN "SheetId" INTEGER REFERENCES "Sheets"("SheetId"))",
    R"(CREATE INDEX "SalesSummary_SheetId" ON "SalesSummary"("SheetId"))",
};

} // namespace

QStringList statements()
{
    QStringList all;
    for (const char *statement : kStatements)
        all << QString::fromLatin1(statement);
    return all;
}

} // namespace SheetSchema
