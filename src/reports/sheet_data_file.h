#pragma once

#include <QString>

class DealDatabase;

// data.txt follows the record: it always holds the lines of the newest
// commission sheet that is not voided printed at this desk (this computer,
// the folder of the file), written from that sheet's record; a sheet of
// another desk sharing the database never reaches it.
// A file missing or different (after a kill or a full disk) is written again
// from the record; when every recorded sheet is voided the file is empty;
// with no sheet recorded at all (an older installation's file) it is left as
// it is.
namespace SheetDataFile {

// Writes the newest valid sheet's lines to `path` unless the file already
// holds them. False, with the reason in `error`, when the record cannot be
// read or the file cannot be written.
// Temporary files a write of it left behind (the program was killed between
// two steps) are removed first.
bool restore(DealDatabase &database, const QString &path, QString *error);

// What the user is told when data.txt could not be put right, with the reason.
QString notRestoredMessage(const QString &reason);
// What the user is told when a recorded sheet's data.txt could not be
// written, with the reason.
QString notWrittenMessage(const QString &reason);

} // namespace SheetDataFile
