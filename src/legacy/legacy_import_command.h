#pragma once

#include "common/program_folder.h"

#include <QString>
#include <QTextStream>

#include <functional>

// "tarvex --import-legacy PATH": imports the Access database at `accessPath`
// into the program folder's database, without windows, and prints the
// summary to `out`, or why not to `errors` (to `out` without it). Values
// that look damaged are listed to `errors`; `importAnyway` is asked whether
// to import them (on a terminal), and without it they are not imported.
// Returns the exit code: 0 when imported, 1 when not.
int runLegacyImportCommand(const QString &accessPath, const ProgramFolder &folder,
                           QTextStream &out, QTextStream *errors = nullptr,
                           const std::function<bool()> &importAnyway = {});
