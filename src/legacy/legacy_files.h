#pragma once

#include "common/program_folder.h"

#include <QString>

// The file moves of an import, each one a single step that either happens or
// does not: a kill between two of them leaves the folder with either the
// Access file or the new database under the database's name, never neither.
namespace LegacyFiles {

// A name for the new database while it is built: hidden, in the program
// folder (so that the last rename stays on one disk), not yet taken.
QString temporaryPath(const ProgramFolder &folder);

// Removes the temporary databases an import that was stopped left behind.
void removeLeftovers(const ProgramFolder &folder);

// Removes a database file together with its journal files.
void removeDatabaseFiles(const QString &path);

// "Sales Log2 (Access).mdb", or "Sales Log2 (Access 2).mdb" and so on when
// that is taken. A name that is only a second name of `accessPath` itself
// (left by an import stopped just after giving it) counts as free.
QString freeKeptPath(const ProgramFolder &folder, const QString &accessPath);

// Gives the Access file its second name `keptPath` (a hard link, or where the
// disk has none a complete copy put in place at once). The file itself is not
// written. A `keptPath` that already is a second name of the file will do.
bool keep(const QString &accessPath, const QString &keptPath, QString *error);

// Renames `from` to `to` in one step, replacing what `to` was.
bool replace(const QString &from, const QString &to, QString *error);

} // namespace LegacyFiles
