#pragma once

#include "store_engine.h"

#include <QStringList>

// The volume tiers of a pay plan version ("PayPlanTiers": from how many
// units in a month, a percent or a bonus a unit, and a mini), how they pay
// ("PayPlanVersions"."TierMode": Retroactive or Marginal) and which classes
// count ("TierClasses": All, New or Used). The volume bonus a sheet pays is a
// "Ledger" line of the kind "Volume bonus", dated the first of its month.
namespace VolumeSchema {

inline constexpr const char *kTiers = "PayPlanTiers";

// The statements of the step that adds them.
QStringList statements(StoreEngine::Engine engine);

} // namespace VolumeSchema
