#pragma once

#include <QSqlDatabase>
#include <QString>

// Brings a deal database of an older layout up to the program's version, as
// a chain of small steps (1 to 2, 2 to 3, ...), each of which knows only the
// layout before it and the one after.
namespace StoreMigration {

// Runs every step from `fromVersion` up to StoreSchema::kVersion and sets the
// version mark, inside the caller's transaction. A new database runs the same
// steps over the first layout, so new and upgraded files are alike.
bool applySteps(QSqlDatabase &db, int fromVersion, QString *error);

// Where the copy of a database made before upgrading it from `fromVersion`
// goes: beside it, "Sales Log2 (version 1 copy).mdb", numbered when that name
// is taken.
QString safetyCopyPath(const QString &databasePath, int fromVersion);

// Upgrades the open database in `databasePath` in place: a safety copy first,
// then all steps in one transaction. On failure the database is left at its
// old version, unchanged, the copy is removed again and `error` says why. On
// success `copyPath` names the copy.
bool upgrade(QSqlDatabase &db, const QString &databasePath, int fromVersion, QString *copyPath,
             QString *error);

} // namespace StoreMigration
