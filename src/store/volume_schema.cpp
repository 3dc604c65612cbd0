#include "volume_schema.h"

#include "store_layout.h"

namespace VolumeSchema {

QStringList statements(StoreEngine::Engine engine)
{
    using StoreEngine::ColumnKind;
    using StoreLayout::addColumnStatement;
    using StoreLayout::indexStatement;
    static const StoreLayout::Table tiers = {kTiers,
                                             {{"TierId", ColumnKind::Key},
                                              {"PlanVersionId", ColumnKind::PlanRef},
                                              {"UnitsFrom", ColumnKind::Integer},
                                              {"Percent", ColumnKind::Integer},
                                              {"PerUnit", ColumnKind::Integer},
                                              {"Mini", ColumnKind::Integer}}};
    return {
        StoreLayout::createStatement(engine, tiers),
        indexStatement("PayPlanTiers_PlanVersionId", kTiers, QStringLiteral("\"PlanVersionId\"")),
        addColumnStatement(engine, "PayPlanVersions", {"TierMode", ColumnKind::PlainText}),
        addColumnStatement(engine, "PayPlanVersions", {"TierClasses", ColumnKind::PlainText}),
    };
}

} // namespace VolumeSchema
