#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The layout of the deal database: its four tables with their columns in the
// order the rest of the program and its reports rely on, the deal identity
// that ties a deal's rows together, the indexes and the first salesperson.
//
// Storage forms: money and the unit count are integer ten-thousandths
// (Money::units(): 1250.50 is 12505000, a unit count of 0.5 is 5000); dates
// are ISO text YYYY-MM-DD in a file and DATE on a server; yes/no columns are
// integers 0/1; every text column compares without regard to letter case.
// SQLite's tables are STRICT, so a value of the wrong type is refused instead
// of being stored. Each engine's own form of a column is StoreEngine's.
//
// The schema version is kept by StoreEngine (a file's `PRAGMA user_version`,
// marked as this program's by `PRAGMA application_id`; a server's
// "SchemaVersion" table). Version 1 is the first layout; later versions are
// reached through StoreMigration's steps.
namespace StoreSchema {

inline constexpr int kVersion = 9;
inline constexpr int kFirstVersion = 1;
inline constexpr int kApplicationId = 0x54525658; // "TRVX"

inline constexpr const char *kSalesSummary = "SalesSummary";
inline constexpr const char *kSalesLog = "SalesLog";
inline constexpr const char *kRecallDeal = "RecallDeal";
inline constexpr const char *kSalesPersons = "SalesPersons";

// The column tying a deal's rows together: the key of RecallDeal, and a
// reference to it in SalesSummary and SalesLog. It is the last column of each.
inline constexpr const char *kDealId = "DealId";

// The name the roster starts with in a new database.
inline constexpr const char *kFirstSalesPerson = "House";

// The documented columns of a table in their order, without DealId.
QStringList columns(const QString &table);

// Builds a new database at the current version in an empty file or server database: the tables,
// indexes and first salesperson of the first layout, then every upgrade step,
// and the version marks. Runs inside the caller's transaction.
bool create(QSqlDatabase &db, QString *error);

enum class Verdict {
    Ours,    // a deal database this version reads
    NotOurs, // not a database, or not one of this program's
    Newer,   // made by a newer version of this program
};

// Checks an open database. Reads only: a file that fails the check is left
// untouched. `detail` says what is wrong, without naming the file.
Verdict verify(QSqlDatabase &db, QString *detail);

} // namespace StoreSchema
