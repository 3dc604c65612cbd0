#pragma once

#include "store_engine.h"

#include <QStringList>

// What a paid deal owes back and what a salesperson was advanced, kept as
// lines beside the deals, which are never edited once paid:
// - "Unwinds": a deal taken back (returned vehicle, finance rejected, ...),
//   whole or in part, on a date and for a reason;
// - "Ledger": the chargebacks an unwind owes (one per salesperson's row of
//   the deal, taken by the next sheet), the draws paid to a salesperson, and
//   what a sheet recovered of a draw or wrote off;
// - "Holds": the SalesSummary rows held back from every sheet until released;
// - "Sheets"."Recovered", "CarriedIn" and "NetPay": a sheet's draw recovery,
//   the negative net of earlier sheets it deducted, and what it paid (NULL on
//   sheets with neither chargebacks nor draws);
// - "PayPlanVersions"."DrawPerMonth" and "DrawRecoverable": a plan's draw.
namespace LedgerSchema {

inline constexpr const char *kUnwinds = "Unwinds";
inline constexpr const char *kLedger = "Ledger";
inline constexpr const char *kHolds = "Holds";

// The statements of the step that adds them.
QStringList statements(StoreEngine::Engine engine);

} // namespace LedgerSchema
