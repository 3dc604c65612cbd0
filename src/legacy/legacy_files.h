#pragma once

#include "common/program_folder.h"

#include <QString>

// The file moves of an import, each one a single step that either happens or
// does not: a kill between two of them leaves the folder with either the
// Access file or the new database under the database's name, never neither.
// The new database is built under a temporary name of DurableFile's and put
// in place by DurableFile::putInPlace; its leftovers are DurableFile's too.
namespace LegacyFiles {

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

} // namespace LegacyFiles
