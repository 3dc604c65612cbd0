#pragma once

#include <QString>

#include <functional>

class DealDatabase;

// Backup copies of the live deal database.
namespace DatabaseBackup {

// Writes a consistent copy of the open database to `targetPath`, replacing a
// file there. The copy is taken from the live connection while the program
// runs (never a byte copy of the file in use), written under a temporary name
// beside the target and renamed over it only when complete, so a failure
// leaves an existing target as it was. A target that is the live database
// itself, under any spelling of its path, or one of its journal files, is
// refused. False with a message in `error` on failure.
//
// `progress`, when given, is told now and then of the pages written and the
// pages in all; returning false stops the copy, which then leaves nothing
// behind and says it was cancelled.
using Progress = std::function<bool(qint64 done, qint64 total)>;
bool copyTo(const DealDatabase &live, const QString &targetPath, QString *error,
            const Progress &progress = {});

} // namespace DatabaseBackup
