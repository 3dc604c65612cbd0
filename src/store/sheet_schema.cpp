#include "sheet_schema.h"

#include "store_sql.h"

#include <QSqlQuery>

#include <optional>

namespace SheetSchema {

namespace {

const char *const kStatements[] = {
    R"(CREATE TABLE IF NOT EXISTS "Sheets" (
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
    R"(CREATE TABLE IF NOT EXISTS "Audit" (
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
    R"(CREATE INDEX IF NOT EXISTS "Sheets_SalesPerson" ON "Sheets"("SalesPerson"))",
    R"(CREATE INDEX IF NOT EXISTS "Audit_At" ON "Audit"("At"))",
    R"(CREATE INDEX IF NOT EXISTS "Audit_StockNumber" ON "Audit"("StockNumber"))",
    R"(CREATE INDEX IF NOT EXISTS "Audit_SalesPerson" ON "Audit"("SalesPerson"))",
};

bool run(QSqlDatabase &db, const QString &statement, QString *error)
{
    QSqlQuery query(db);
    return StoreSql::prepare(query, statement, error) && StoreSql::exec(query, {}, error);
}

std::optional<bool> summaryHasSheetColumn(QSqlDatabase &db, QString *error)
{
    QSqlQuery query(db);
    if (!StoreSql::prepare(query,
                           QStringLiteral("SELECT count(*) FROM pragma_table_info('SalesSummary') "
                                          "WHERE name = ?"),
                           error) ||
        !StoreSql::exec(query, {QString::fromLatin1(kSheetId)}, error) || !query.next())
        return std::nullopt;
    return query.value(0).toInt() > 0;
}

} // namespace

bool addSheetRecords(QSqlDatabase &db, QString *error)
{
    for (const char *statement : kStatements) {
        if (!run(db, QString::fromLatin1(statement), error))
            return false;
    }
    const std::optional<bool> hasColumn = summaryHasSheetColumn(db, error);
    if (!hasColumn)
        return false;
    // Rows paid before sheets were recorded keep their Paid mark with no sheet.
    if (!*hasColumn &&
        !run(db,
             QStringLiteral("ALTER TABLE \"SalesSummary\" ADD COLUMN \"SheetId\" INTEGER "
                            "REFERENCES \"Sheets\"(\"SheetId\")"),
             error))
        return false;
    return run(db,
               QStringLiteral("CREATE INDEX IF NOT EXISTS \"SalesSummary_SheetId\" ON "
                              "\"SalesSummary\"(\"SheetId\")"),
               error);
}

} // namespace SheetSchema
