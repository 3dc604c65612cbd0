#pragma once

#include "store_engine.h"

#include <QStringList>

// The tables that make a commission sheet a record and keep the audit trail:
//
// - "Sheets": one row per printed commission sheet (SheetId, SalesPerson,
//   WeekEnding as typed, BonusDescription, Bonus and Total in ten-thousandths,
//   PrintedAt and VoidedAt as local "YYYY-MM-DD HH:MM:SS", Lines: the text of
//   data.txt it wrote, Snapshot: its SalesSummary rows as they stood when paid).
// - "SalesSummary"."SheetId": the sheet that paid the row; NULL while unpaid
//   and for rows paid before sheets were recorded. It closes the table, after
//   DealId.
// - "Audit": one row per change (AuditId, At, Action, TableName, RowKey,
//   DealId, SheetId, StockNumber, SalesPerson, Before, After).
namespace SheetSchema {

inline constexpr const char *kSheets = "Sheets";
inline constexpr const char *kAudit = "Audit";
inline constexpr const char *kSheetId = "SheetId";

// The statements of the step from schema version 2 to 3 (StoreMigration),
// which add all of the above to a database that has none of it.
QStringList statements(StoreEngine::Engine engine);

} // namespace SheetSchema
