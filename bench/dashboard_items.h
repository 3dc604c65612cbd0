#pragma once

#include <QDate>

#include <benchmark/benchmark.h>

#include <string>

class DealDatabase;

// Opening the dashboard on a month of a large database, as Reports >
// Dashboard opens it: frmDashboard made, its figures read and its charts
// built, shown and painted.
void dashboardOpen(benchmark::State &state, DealDatabase &database, const QDate &today);

// Its floor: the same statements through the SQLite C API, prepared and
// stepped with plain C values, and a plain Qt program building the same
// widgets and charts from those values, shown and painted.
void dashboardFloor(benchmark::State &state, const std::string &databasePath, const QDate &today);
