#pragma once

#include "common/money.h"

#include <QList>
#include <QString>

#include <optional>

class DealDatabase;

// Pays the deals listed on a commission sheet: marks their SalesSummary rows
// paid and writes them to the hand-off file, both or neither.
namespace SheetPayment {

struct Outcome
{
    bool paid = false;         // the rows are marked and the file is written
    Money tally;               // the total commission of the rows marked
    QString error;             // why not, when not paid
    bool markingsLeft = false; // not paid, yet the markings could not be taken off
};

// What a sheet pays: the rows listed for one salesperson, and the bonus the
// sheet adds to their commission.
struct Sheet
{
    QString salesPerson;  // the salesperson whose deals are listed
    QList<qint64> rowIds; // SalesSummary rowids, in the order listed
    Money bonus = {};
};

// Marks the rows paid, in the order given, and rewrites the hand-off file at
// `dataFilePath` with one line for each row marked (empty when there is
// none). A row already paid, no longer stored or of another salesperson is
// passed over. The tally is the total commission of the rows marked (a
// missing amount counts as 0); a tally, or a tally plus the bonus, beyond the
// range of Money refuses the whole sheet.
//
// On any failure nothing is marked paid and the hand-off file keeps its
// former content. Should the file fail after the markings are committed,
// they are taken off again; only if even that fails are they left.
Outcome pay(DealDatabase &database, const QString &dataFilePath, const Sheet &sheet);

} // namespace SheetPayment
