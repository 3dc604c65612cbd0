#pragma once

#include <QtGlobal>

// The identity of a saved deal: the key of its RecallDeal row, carried by its
// SalesSummary and SalesLog rows. It ties the rows of one deal together even
// when two deals share a stock number.
using DealId = qint64;
