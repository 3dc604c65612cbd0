#pragma once

#include "common/money.h"
#include "store/commission_payments.h"
#include "store/sheet_records.h"

#include <QDate>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

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
    // Listed rows paid, deleted or given to another salesperson at another
    // desk since they were listed: when there is any, nothing is paid, no
    // sheet is recorded and data.txt is left as it was.
    QList<qint64> paidElsewhere = {};
    // Chargebacks on the sheet that another sheet deducted meanwhile: the
    // sheet is refused like one whose deals were paid elsewhere.
    QList<qint64> chargebacksElsewhere = {};
    // What the sheet pays after chargebacks, draws and the earlier negative
    // net; the tally plus the bonus on a sheet of deals alone.
    Money netPay = {};
    // The volume bonus lines the sheet paid.
    QStringList volumeLines = {};
};

// What a sheet pays: the rows listed for one salesperson, and what the sheet
// is headed with.
struct Sheet
{
    QString salesPerson;             // the salesperson whose deals are listed
    QList<qint64> rowIds;            // SalesSummary rowids, in the order listed
    std::optional<Money> bonus = {}; // none when no bonus was given
    QString weekEnding = {};         // as typed
    QString bonusDescription = {};
    // The salesperson's open chargebacks the sheet deducts (Ledger entries),
    // in the order listed after the deals.
    QList<qint64> chargebackIds = {};
    // The day the sheet is paid: draws are settled as of it.
    QDate on = QDate::currentDate();
    // Pay the volume bonus of the months ended (the salesperson's plans have
    // tiers), and of `includeMonth` too when given (the user asked for it
    // before the month's end).
    bool volume = false;
    std::optional<QDate> includeMonth = {};

    SheetHeading heading() const;
};

// The steps of paying up to the commit, in order, for tests that stop the
// program between two of them. (The steps of writing data.txt after the
// commit are DurableFile's.)
enum class Step {
    Begun = 1,
    SheetRecorded,
    RowsMarked,
    LedgerSettled,
    SheetCompleted,
    Committed,
};
inline constexpr int kStepCount = 6;

struct Hooks
{
    std::function<void(Step)> reached;
};

// Records the sheet, marks its rows paid on it in the order given, deducts
// the chargebacks listed, settles the salesperson's draws and any negative
// net of earlier sheets, and writes data.txt at `dataFilePath` with one line
// for each row marked and then one for each chargeback (its amounts
// negative); empty when there is none. The sheet is paid whole or not at all: when any listed row
// is no longer an unpaid row of the salesperson (another desk paid, deleted
// or changed it meanwhile), nothing is paid or recorded, data.txt is not
// touched and the rows are named in paidElsewhere. The tally is the total
// commission of the rows marked (a missing amount counts as 0); a tally, or
// a tally plus the bonus, beyond the range of Money refuses the whole sheet.
// When the sheet fails for another reason, a data.txt that does not match
// the last recorded sheet is written again.
//
// A failure before the commit leaves nothing paid and nothing recorded.
Outcome pay(DealDatabase &database, const QString &dataFilePath, const Sheet &sheet,
            const Hooks &hooks = {});

// What the user is told when a sheet was refused because some of its deals
// were paid or removed at another desk: each of `deals` (the rows as they
// were listed) by stock number, date and customer.
QString paidElsewhereMessage(const QList<SummaryRow> &deals);

} // namespace SheetPayment
