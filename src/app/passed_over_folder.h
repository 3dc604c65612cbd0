#pragma once

#include "common/program_folder.h"

#include <QString>
#include <QStringList>

class Prompts;

// The executable's folder holds the deal database or the password but cannot
// be written, so the data folder rule passed it over for the user's data
// folder: the user is told which folder holds them, why it cannot be used
// and what --data-folder does, instead of starting on an empty database as if
// they were lost.
namespace PassedOverFolder {

// What the user is told about `files` in `passedOver`; `usedInstead` is the
// folder the program would use. Without a question when `asking` is false.
QString message(const QString &passedOver, const QStringList &files, const QString &usedInstead,
                bool asking);

// Asks whether to go on with the folder chosen when the rule passed one
// holding the program's files over; true to go on (also when none was).
bool confirm(const DataFolderPlaces &places, const ProgramFolder &chosen, Prompts &prompts);

// For a run without windows: the message when a folder holding the program's
// files was passed over (the run then ends), else an empty text.
QString refusal(const DataFolderPlaces &places, const ProgramFolder &chosen);

} // namespace PassedOverFolder
