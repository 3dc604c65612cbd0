#pragma once

#include "worksheet/deal.h"

#include <QString>

#include <random>

// The generated deals the store benchmarks run on: a dealership group's
// years of deals, every one paid but the newest 5,000, which belong 1,000 to
// each of five salespeople.
namespace BenchDeals {

// 1,000,000, or the number given in TARVEX_BENCH_DEALS (at least kUnpaid)
// for a shorter run while working; such a database is kept in a folder of
// its own ("<folder>-<count>").
int dealCount();
QString dataFolder(const QString &folder);
inline constexpr int kUnpaid = 5000;
inline constexpr const char *kSalesPerson = "Al Baker"; // one of the five

QString stockNumber(int n);
Deal generatedDeal(int n, std::mt19937 &random);

// The database of dealCount() generated deals in `folder`, made when missing (the
// SQLite C API, one transaction) and kept for the next run. Its path.
QString ensureDatabase(const QString &folder);

} // namespace BenchDeals
