#include "pay/sheet_statement.h"

#include <algorithm>

namespace SheetStatement {

namespace {

int monthOf(const QDate &date)
{
    return date.year() * 12 + date.month();
}

} // namespace

Settlement settle(const Input &input)
{
    Settlement settlement;
    settlement.carriedIn = input.carried.isNegative() ? Money() : input.carried;
    QList<OpenDraw> draws = input.draws;
    std::sort(draws.begin(), draws.end(), [](const OpenDraw &a, const OpenDraw &b) {
        return a.paidOn != b.paidOn ? a.paidOn < b.paidOn : a.id < b.id;
    });
    Money available = input.earned - settlement.carriedIn;
    for (const OpenDraw &draw : draws) {
        if (draw.open.isZero() || draw.open.isNegative() || draw.paidOn > input.on)
            continue;
        if (!draw.recoverable && monthOf(draw.paidOn) < monthOf(input.on)) {
            settlement.writtenOff << DrawLine{draw.id, draw.open};
            continue;
        }
        if (available.isNegative() || available.isZero())
            continue;
        const Money taken = std::min(draw.open, available);
        settlement.recovered << DrawLine{draw.id, taken};
        settlement.recoveredTotal += taken;
        available -= taken;
    }
    settlement.net = input.earned - settlement.carriedIn - settlement.recoveredTotal;
    return settlement;
}

} // namespace SheetStatement
