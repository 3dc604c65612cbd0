#pragma once

#include "worksheet/deal.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <optional>

// The RecallDeal row of a deal: one column for each worksheet field, in both
// directions. The save writes the customer, stock number, unit and unit class
// in capitals, the unit without its year, the year as the number at the start
// of its text and every other field as shown (amounts converted to money);
// loading a row gives those values back as worksheet text, so a recalled deal
// shows exactly what was stored.
namespace RecallColumns {

// The 45 column names in table order.
QStringList names();

// The row values of a deal, in the order of names(). std::nullopt, with a
// message naming the column, when a field does not convert.
std::optional<QVariantList> valuesOf(const Deal &deal, QString *error);

// The deal held by a row's values, given in the order of names().
Deal dealFrom(const QVariantList &values);

} // namespace RecallColumns
