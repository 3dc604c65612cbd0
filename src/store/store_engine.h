#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

// The SQL that belongs to the SQLite engine rather than to the tables: the
// customer-search index, the partial index of unpaid rows, the schema version
// mark and the safety copy. Another engine gives its own forms of these here;
// the rest of the store speaks plain SQL.
namespace StoreEngine {

// The full-text table that finds a part of a customer name: trigrams of
// RecallDeal.Customer, keyed by DealId, folded to one letter case (also
// outside ASCII: É finds é). It holds no copy of the names; triggers on
// RecallDeal keep it in step with every insert, update and delete, in the
// writer's own transaction.
inline constexpr const char *kCustomerSearch = "CustomerSearch";

// The index of the salespeople's unpaid SalesSummary rows by date, so that
// listing them costs the unpaid rows only.
inline constexpr const char *kUnpaidIndex = "SalesSummary_Unpaid";

// One row holding how many deals RecallDeal holds, kept in step by triggers,
// so that the finder opens on the whole table without counting it.
inline constexpr const char *kDealCount = "DealCount";
inline constexpr const char *kDealCountColumn = "Deals";

// Search parts shorter than this (in characters) cannot use the index.
inline constexpr int kShortestIndexedPart = 3;

// Creates the customer-search table and its triggers and fills it from the
// rows already stored.
QStringList customerSearchStatements();

// Creates the deal count, its triggers and its first value.
QStringList dealCountStatements();
// SELECT the number of stored deals.
QString dealCountQuery();

// Creates the unpaid-rows index.
QString unpaidIndexStatement();

// SELECT "DealId" of every deal whose customer holds the bound search text,
// oldest first. Bind searchTextOf(part).
QString customerSearchQuery();
// The user's part as the search table's text: one quoted phrase, so that
// quotes, %, _ and * in it are matched as themselves.
QString searchTextOf(const QString &part);

// The schema version stored in the file; std::nullopt when it cannot be read.
std::optional<int> schemaVersion(QSqlDatabase &db, QString *error);
// Sets the schema version inside the caller's transaction.
bool setSchemaVersion(QSqlDatabase &db, int version, QString *error);

// Writes a consistent copy of the open database to `target`, which must not
// exist. Runs outside any transaction.
bool copyTo(QSqlDatabase &db, const QString &target, QString *error);

} // namespace StoreEngine
