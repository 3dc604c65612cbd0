#pragma once

#include "reports/dashboard_figures.h"

class QChart;

// The dashboard's charts, built from its figures. Amounts are drawn in
// dollars; the figures themselves stay exact.
namespace DashboardCharts {

// A bar a salesperson: their units ("Units") or their front gross ("Front
// gross"), in the order of the figures.
QChart *unitsBars(const DashboardFigures &figures);
QChart *grossBars(const DashboardFigures &figures);
// The twelve months: units on the left axis, front gross on the right.
QChart *monthLines(const DashboardFigures &figures);

} // namespace DashboardCharts
