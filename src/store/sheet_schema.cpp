#include "sheet_schema.h"

#include "store_layout.h"

namespace SheetSchema {

QStringList statements(StoreEngine::Engine engine)
{
    using StoreEngine::ColumnKind;
    using StoreLayout::indexStatement;
    static const StoreLayout::Table sheets = {kSheets,
                                              {{"SheetId", ColumnKind::Key},
                                               {"SalesPerson", ColumnKind::RequiredText},
                                               {"WeekEnding", ColumnKind::RequiredPlainText},
                                               {"BonusDescription", ColumnKind::PlainText},
                                               {"Bonus", ColumnKind::Integer},
                                               {"Total", ColumnKind::Integer},
                                               {"PrintedAt", ColumnKind::RequiredPlainText},
                                               {"VoidedAt", ColumnKind::PlainText},
                                               {"Lines", ColumnKind::Lines},
                                               {"Snapshot", ColumnKind::Lines}}};
    static const StoreLayout::Table audit = {kAudit,
                                             {{"AuditId", ColumnKind::Key},
                                              {"At", ColumnKind::RequiredPlainText},
                                              {"Action", ColumnKind::RequiredPlainText},
                                              {"TableName", ColumnKind::RequiredPlainText},
                                              {"RowKey", ColumnKind::Integer},
                                              {"DealId", ColumnKind::Integer},
                                              {"SheetId", ColumnKind::Integer},
                                              {"StockNumber", ColumnKind::Text},
                                              {"SalesPerson", ColumnKind::Text},
                                              {"Before", ColumnKind::PlainText},
                                              {"After", ColumnKind::PlainText}}};
    return {
        StoreLayout::createStatement(engine, sheets),
        StoreLayout::createStatement(engine, audit),
        indexStatement("Sheets_SalesPerson", kSheets, QStringLiteral("\"SalesPerson\"")),
        indexStatement("Audit_At", kAudit, QStringLiteral("\"At\"")),
        indexStatement("Audit_StockNumber", kAudit, QStringLiteral("\"StockNumber\"")),
        indexStatement("Audit_SalesPerson", kAudit, QStringLiteral("\"SalesPerson\"")),
        // Rows paid before sheets were recorded keep their Paid mark with no sheet.
        StoreLayout::addColumnStatement(engine, "SalesSummary", {kSheetId, ColumnKind::SheetRef}),
        indexStatement("SalesSummary_SheetId", "SalesSummary", QStringLiteral("\"SheetId\"")),
    };
}

} // namespace SheetSchema
