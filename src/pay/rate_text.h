#pragma once

#include "common/money.h"

#include <QString>

#include <optional>

// The worksheet's commission rate field holds a percent of the payable gross
// ("30%", "27.5%") or, for a plan that pays a flat amount a deal, that
// amount followed by "flat" ("$250.00 flat"). The text is what the deal keeps
// and the slip prints.
namespace RateText {

// "27.5%": the percent as a plain number, without trailing zeros.
QString ofPercent(Money percent);
// "$250.00 flat".
QString ofFlat(Money amount);
// The amount of a flat rate text, in any letter case ("250 FLAT"); std::nullopt
// for every other text, which reads as a percent.
std::optional<Money> flatAmount(const QString &text);

} // namespace RateText
