#pragma once

#include "common/program_folder.h"

#include <QString>
#include <QTextStream>

class DealDatabase;

// Moves a desk's deals to a server: every row of its SQLite deal database
// copied into a server database that holds none yet, in one transaction,
// with every key kept (deal, row, sheet and audit identities), so that
// references and audit entries stay right; the server's identities then
// continue after the copied ones. The counts of each table are checked
// before the commit; the file is only read.
namespace ServerCopy {

// `source` an open SQLite deal database, `target` an open server one. On
// success `report` says how many rows of each table were copied; on failure
// `error` says why and the server database is as it was.
bool copy(DealDatabase &source, DealDatabase &target, QString *report, QString *error);

// `tarvex --copy-to-server`: the data folder's "Sales Log2.mdb" to the server
// its database.conf names. Prints the report or the reason; exit code 0 when
// copied, 1 when not, 2 when database.conf names no server.
int runCommand(const ProgramFolder &folder, QTextStream &out, QTextStream &err);

} // namespace ServerCopy
