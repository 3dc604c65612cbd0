#pragma once

#include "store_sql.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

// What differs between the two engines the deal tables live in: SQLite, a
// file of the desk's own, and PostgreSQL, a server several desks share. The
// column types, the customer-search index, the deal count's triggers, the
// schema version mark, how a write transaction begins and locks, and the
// engines' error codes. The rest of the store speaks plain SQL that both
// engines read alike.
//
// PostgreSQL keeps no hidden row number, so each table without a key of its
// own (SalesSummary, SalesLog, SalesPersons) carries a "rowid" column, filled
// by the server, as its last column: the same statements ("WHERE rowid = ?",
// "ORDER BY rowid") serve both engines.
namespace StoreEngine {

enum class Engine { SQLite, PostgreSQL };

// The engine of a connection, by its driver.
Engine engineOf(const QSqlDatabase &db);
// The Qt SQL driver of an engine.
QString driverOf(Engine engine);

// The kinds of column the tables are made of.
enum class ColumnKind {
    Date,              // a calendar date (SQLite: ISO text)
    Text,              // text compared without regard to letter case
    RequiredText,      // the same, never NULL
    PlainText,         // text compared as it is
    RequiredPlainText, // the same, never NULL
    Lines,             // plain text, never NULL, empty when not given
    Integer,           // money in ten-thousandths, counts, years
    YesNo,             // 0 or 1, never NULL
    Key,               // the table's own identity, given by the engine
    DealRef,           // a deal's identity in RecallDeal, never NULL
    SheetRef,          // a sheet's identity in Sheets, NULL when none
    PlanRef,           // a pay plan version's identity, NULL when none
};

// A column's declaration: its quoted name, type and constraints.
QString columnDeclaration(Engine engine, const QString &quotedName, ColumnKind kind);
// What follows a CREATE TABLE's closing parenthesis.
QString tableOptions(Engine engine);
// The row-number column of a table without a key of its own; empty where
// the engine keeps one itself.
QString rowKeyColumn(Engine engine);

// Statements run once, before the first table of a new database is made.
QStringList preludeStatements(Engine engine);

// The statement that begins a write transaction. SQLite takes the file's
// write lock at once, so that a begun transaction cannot fail later for want
// of it; PostgreSQL locks the rows a statement writes, as it writes them.
QString beginWrite(Engine engine);
// What follows a SELECT that reads rows the same transaction will then
// change or delete, so that no other desk changes them in between.
QString lockRows(Engine engine);
// What follows a SELECT of RecallDeal rows that the transaction keeps from
// being changed or deleted (their key stays as it is) while it pays or
// unpays their SalesSummary rows; other sheets may hold the same lock.
QString lockDealKeys(Engine engine);

// The order of locks. On the server every transaction that touches a deal's
// rows and a sheet takes its row locks in one order, so that two desks never
// wait on each other in a circle:
//   1. the deals' RecallDeal rows, in DealId order (a correction or delete
//      locks its deal's row to change it; a sheet or a void locks the keys
//      of the deals whose rows it pays or unpays, DealLocks);
//   2. their SalesSummary rows, in rowid order;
//   3. the sheet's row in Sheets (a sheet being paid makes its own).
// A step taken implicitly would break the order: attaching a paid row to
// its sheet checks the row's deal (the foreign key) and so locks the deal's
// key after the row; it is taken at step 1 beforehand. Should the server
// still break a transaction off (a deadlock or serialization failure),
// DealDatabase::transact runs it again from the start.

// Runs a statement that takes no values, unprepared (the server does not
// prepare statements that define tables or functions).
bool run(QSqlDatabase &db, const QString &statement, QString *error);
bool runAll(QSqlDatabase &db, const QStringList &statements, QString *error);

// The customer-search table over RecallDeal.Customer, kept in step with
// every write in the writer's own transaction and folded to one letter case,
// also outside ASCII (É finds é): SQLite's FTS5 trigram table, holding no
// copy of the names; on the server a narrow table of DealId and name with a
// pg_trgm index.
inline constexpr const char *kCustomerSearch = "CustomerSearch";

// The index of the salespeople's unpaid SalesSummary rows by date, so that
// listing them costs the unpaid rows only.
inline constexpr const char *kUnpaidIndex = "SalesSummary_Unpaid";

// One row holding how many deals RecallDeal holds, kept in step by triggers,
// so that the finder opens on the whole table without counting it.
inline constexpr const char *kDealCount = "DealCount";
inline constexpr const char *kDealCountColumn = "Deals";

// Creates the customer-search index and fills it from the rows stored.
QStringList customerSearchStatements(Engine engine);
// Creates the deal count, its triggers and its first value.
QStringList dealCountStatements(Engine engine);
QString dealCountQuery();
// Creates the unpaid-rows index.
QString unpaidIndexStatement();

// Whether the index finds `part`; when not, the names are read and
// compared one by one (SQLite's trigrams need three characters).
bool searchesByIndex(Engine engine, const QString &part);
// SELECT "DealId" of every deal whose customer holds the bound search
// value, oldest first.
QString customerSearchQuery(Engine engine);
// The user's part as the bound search value: quotes, %, _ and * in it are
// matched as themselves.
QString searchValueOf(Engine engine, const QString &part);

// A condition: the upper-case text of `column` holds the bound value.
QString upperContains(Engine engine, const QString &column);

// Statements that mark a new database as this program's, version `version`.
QStringList versionMarkStatements(Engine engine, int version);
// The schema version stored; std::nullopt when it cannot be read. A server
// database without the version table has version 0.
std::optional<int> schemaVersion(QSqlDatabase &db, QString *error);
// Sets the schema version inside the caller's transaction.
bool setSchemaVersion(QSqlDatabase &db, int version, QString *error);

// The columns of a table in their order (empty when there is no such
// table), without the server's rowid; std::nullopt when they cannot be read.
std::optional<QStringList> columnsOf(QSqlDatabase &db, const QString &table, QString *error);
// The number of tables in the database (or the server's current schema).
std::optional<int> tableCount(QSqlDatabase &db, QString *error);

// Holds, until the caller's transaction ends, the one lock under which a
// server database is made or upgraded, so that two desks starting at once
// do not both build it. Nothing to do for a file.
bool lockSchema(QSqlDatabase &db, QString *error);

// Writes a consistent copy of an open SQLite database to `target`, which
// must not exist. Runs outside any transaction.
bool copyTo(QSqlDatabase &db, const QString &target, QString *error);

// On the server: the statement that sets the identity sequence of
// `table`'s `column` so that the next row gets one more than the largest
// value stored (1 when the table is empty), after rows were written with
// their identities given.
QString identityPastLargest(const QString &table, const QString &column);
// (The statement takes one value: a key the next one must also pass.)

// In an SQLite file: the largest key an AUTOINCREMENT table has ever given,
// also to rows deleted since, whose keys are never given again (audit
// entries still name them); 0 when none or the table has no such key.
std::optional<qint64> largestKeyGiven(QSqlDatabase &db, const QString &table, QString *error);
// On the server: the statement that keeps other desks from writing `tables`
// until the caller's transaction ends (reading them stays allowed).
QString lockAgainstWrites(const QStringList &tables);

// The kind of an engine's error, by its code: SQLite's result codes, or the
// server's five-character SQLSTATE.
StoreSql::Fault faultOf(const QSqlError &error);

} // namespace StoreEngine
