#pragma once

#include <QString>

#include <functional>

class DealDatabase;

// Moves a desk's deals to the server: every row of an open SQLite deal
// database is copied into an open, empty server database, in one transaction
// on the server, keeping every row's key (rowid, DealId, SheetId, AuditId) so
// that the rows still refer to one another. Each table's row count is checked
// against the file's before the copy is committed; on any failure nothing is
// left on the server. The file is only read.
namespace ServerCopy {

// True, with the rows copied per table in `report`, when the copy was made.
// False, with the reason in `error` and the server as it was, when the
// server already holds deals, sheets, audit rows or salespeople of its own,
// when the two databases' tables differ, or when a read or write fails.
//
// `progress`, when given, is told of the rows copied and the rows in all as
// the copy goes on; returning false stops it, and nothing is left on the
// server.
using Progress = std::function<bool(qint64 done, qint64 total)>;
bool run(DealDatabase &source, DealDatabase &target, QString *report, QString *error,
         const Progress &progress = {});

} // namespace ServerCopy
