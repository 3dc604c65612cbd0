#pragma once

#include "common/money.h"
#include "reports/synced_file.h"
#include "store/sheet_records.h"

#include <QList>
#include <QString>

#include <functional>

class DealDatabase;

// Pays the deals listed on a commission sheet. The sheet is a record: the
// paid markings, the sheet that lists them and their audit entries are one
// transaction. data.txt is written after the commit from the recorded sheet;
// should that fail, the sheet stays recorded and the file is written again
// from the record at the next start (SheetDataFile::restore).
namespace SheetPayment {

struct Outcome
{
    bool paid = false;        // the sheet is recorded and its deals are marked paid
    bool fileWritten = false; // data.txt holds the sheet's lines
    qint64 sheetId = 0;       // the recorded sheet, when paid
    Money tally;              // the total commission of the rows marked
    QString error;            // why not paid, or why data.txt was not written
};

// The steps of paying, in order, for tests that stop the program between two
// of them.
enum class Step {
    Begun = 1,
    SheetRecorded,
    RowsMarked,
    SheetCompleted,
    Committed,
    FileWritten,
    FileSynced,
    FileRenamed,
};
inline constexpr int kStepCount = 8;

struct Hooks
{
    std::function<void(Step)> reached;
    SyncedFile::Hooks file; // its `reached` is set from the one above
};

// Records a sheet with `heading`, marks the rows paid on it in the order
// given, and writes data.txt at `dataFilePath` with one line for each row
// marked (empty when there is none). A row already paid or no longer stored
// is passed over. The tally is the total commission of the rows marked (a
// missing amount counts as 0). Before the sheet, a data.txt that does not
// match the last recorded sheet is written again.
//
// A failure before the commit leaves nothing paid and nothing recorded.
Outcome pay(DealDatabase &database, const QString &dataFilePath, const QList<qint64> &rowIds,
            const SheetHeading &heading = {}, const Hooks &hooks = {});

} // namespace SheetPayment
