#pragma once

#include "store_engine.h"

#include <QStringList>

// What payroll knows each salesperson by ("PayrollCodes"): one row per
// salesperson, the name compared as the roster compares names (any letter
// case), holding the payroll ID and the earnings code of each kind of pay
// the payroll export writes. A salesperson without a row has no payroll ID.
namespace PayrollSchema {

inline constexpr const char *kCodes = "PayrollCodes";

// The columns of "PayrollCodes" in their order.
const QStringList &columns();

// The statements of the step that adds it.
QStringList statements(StoreEngine::Engine engine);

} // namespace PayrollSchema
