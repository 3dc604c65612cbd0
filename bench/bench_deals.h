#pragma once

#include "worksheet/deal.h"

#include <QDate>
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

// How the deals are spread: the store benchmarks' years of deals among the
// five salespeople, or a shape of its own (so many deals a day from a first
// day, among "Salesperson 01" to "Salesperson NN").
struct Shape
{
    QDate firstDay = QDate(1995, 1, 1);
    int perDay = 100;
    int salesPeople = 5;

    // The name of salesperson `index` (from 0).
    QString salesPerson(int index) const;
};

QString stockNumber(int n);
Deal generatedDeal(int n, std::mt19937 &random, const Shape &shape = {});

// The database of dealCount() generated deals in `folder`, made when missing (the
// SQLite C API, one transaction) and kept for the next run. Its path.
QString ensureDatabase(const QString &folder, const Shape &shape = {});

} // namespace BenchDeals
