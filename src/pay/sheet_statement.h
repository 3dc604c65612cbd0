#pragma once

#include "common/money.h"

#include <QDate>
#include <QList>

// What a commission sheet pays once the deals and chargebacks are added up:
// the negative net of earlier sheets is deducted first, then draws are
// settled, and what is left is the net pay. Pure arithmetic on values; the
// store gives it the open balances and records what it decides.
namespace SheetStatement {

// A draw paid to the salesperson and what the sheets have not yet recovered
// or written off of it.
struct OpenDraw
{
    qint64 id = 0;
    QDate paidOn;
    Money open;
    bool recoverable = true;
};

struct Input
{
    Money earned;             // the deal lines less the chargebacks, plus the bonus
    Money carried;            // negative net pay of earlier sheets not yet deducted
    QList<OpenDraw> draws;    // in any order
    QDate on;                 // the sheet's date
};

// An amount taken from one draw.
struct DrawLine
{
    qint64 drawId = 0;
    Money amount;

    bool operator==(const DrawLine &) const = default;
};

struct Settlement
{
    Money carriedIn;             // the earlier negative net deducted now
    QList<DrawLine> recovered;   // deducted from the pay, oldest draw first
    QList<DrawLine> writtenOff;  // a past month's draw not recoverable, dropped
    Money recoveredTotal;
    Money net;                   // earned - carriedIn - recoveredTotal; may be negative

    // Whether the sheet deducts or writes off anything: a sheet that does
    // not prints as a sheet always printed.
    bool touchesBalances() const
    {
        return !carriedIn.isZero() || !recovered.isEmpty() || !writtenOff.isEmpty();
    }
};

// Settles a sheet:
// - the whole carried amount is deducted;
// - a draw that is not recoverable and was paid in a month before the
//   sheet's month is written off for what is still open of it, and not
//   carried;
// - the other draws paid on or before the sheet's date are recovered oldest
//   first, from what the sheet still pays after the carried amount, never
//   taking the pay below zero; what is not recovered stays open.
Settlement settle(const Input &input);

} // namespace SheetStatement
