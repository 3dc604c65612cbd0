#pragma once

#include "deal_id.h"

class DealDatabase;

#include <QString>
#include <QVariantList>

#include <optional>

// The audit entries of saving, replacing and deleting a deal, each written
// inside the transaction that makes the change. A deal is described by its
// RecallDeal row, the whole worksheet. The statements are prepared once on
// the database's connection, like the rest of a save.
namespace DealAudit {

// The RecallDeal values of a stored deal in table order; an empty list when
// the deal is not stored.
std::optional<QVariantList> recallValues(DealDatabase &database, DealId id, QString *error);

// After the deal's rows are written: "Deal saved" with its values `after`
// (the RecallDeal values just written, in table order), or, when `before`
// holds the values it replaced, "Deal replaced" with the values that changed.
bool saved(DealDatabase &database, DealId id, const QVariantList &before,
           const QVariantList &after, QString *error);

// After the deal's rows are removed: "Deal deleted" with the values it had.
bool deleted(DealDatabase &database, DealId id, const QVariantList &before, QString *error);

} // namespace DealAudit
