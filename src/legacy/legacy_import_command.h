#pragma once

#include "common/program_folder.h"

#include <QString>
#include <QTextStream>

// "tarvex --import-legacy PATH": imports the Access database at `accessPath`
// into the program folder's database, without windows, and prints the
// summary or why not. Returns the exit code: 0 when imported, 1 when not.
int runLegacyImportCommand(const QString &accessPath, const ProgramFolder &folder,
                           QTextStream &out);
