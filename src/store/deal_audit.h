#pragma once

#include "deal_id.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

#include <optional>

// The audit entries of saving, replacing and deleting a deal, each written
// inside the transaction that makes the change. A deal is described by its
// RecallDeal row, the whole worksheet.
namespace DealAudit {

// The RecallDeal values of a stored deal in table order; an empty list when
// the deal is not stored.
std::optional<QVariantList> recallValues(QSqlDatabase db, DealId id, QString *error);

// After the deal's rows are written: "Deal saved" with its values, or, when
// `before` holds the values it replaced, "Deal replaced" with the values that
// changed.
bool saved(QSqlDatabase db, DealId id, const QVariantList &before, QString *error);

// After the deal's rows are removed: "Deal deleted" with the values it had.
bool deleted(QSqlDatabase db, DealId id, const QVariantList &before, QString *error);

} // namespace DealAudit
