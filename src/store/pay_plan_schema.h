#pragma once

#include "store_engine.h"

#include <QStringList>

// The tables that keep pay plans and which plan each deal was worked out by:
//
// - "PayPlanVersions": one row per version of a salesperson's plan
//   (PlanVersionId, SalesPerson, EffectiveFrom, then for each unit class NC,
//   NT, UC and UT its Percent (NULL for a flat plan), Flat (NULL for a
//   percent plan), Mini and Pack, then Cap (NULL: none) and WarrantySpiff;
//   amounts and percents in ten-thousandths; DrawPerMonth (NULL: no draw)
//   and DrawRecoverable, added by a later step). One version per
//   salesperson and date.
// - "DealPlans": for a deal worked out by a plan, split other than 50/50, or
//   with its pack or rate typed over the plan's: DealId, PlanVersionId (NULL:
//   the standing figures), SplitShare (the first salesperson's percent), and
//   the plan's PlanPack and PlanRate where the deal's were typed over them.
//   A deal without a row used the standing figures, split evenly.
namespace PayPlanSchema {

inline constexpr const char *kVersions = "PayPlanVersions";
inline constexpr const char *kDealPlans = "DealPlans";
inline constexpr const char *kVersionId = "PlanVersionId";

// The columns of PayPlanVersions after its key, in their order.
const QStringList &versionColumns();
// The columns of DealPlans, DealId first.
const QStringList &dealPlanColumns();

// The statements of the step from schema version 3 to 4 (StoreMigration).
QStringList statements(StoreEngine::Engine engine);

} // namespace PayPlanSchema
