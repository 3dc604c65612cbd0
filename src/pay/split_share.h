#pragma once

#include "common/money.h"

#include <QString>

#include <optional>
#include <utility>

// How a split deal is shared between its two salespeople: the first
// salesperson's share in whole percent (1 to 99; 50 unless typed), the
// partner the rest. Every figure is shared in whole cents, the first
// salesperson's row taking the cent that does not divide, so that the two
// rows always add up to the deal's figure.
namespace SplitShare {

inline constexpr int kEven = 50;

// The share typed: blanks around it allowed, empty is 50; std::nullopt for
// anything but a whole number from 1 to 99.
std::optional<int> parse(const QString &text);
// The message for a share that parse() refuses.
QString refusedMessage(const QString &text);

// The first salesperson's part of `amount` and the partner's, in cents.
std::pair<Money, Money> divide(Money amount, int share);
// The unit counts of the two rows: 0.6 and 0.4 for a share of 60.
std::pair<Money, Money> unitCounts(int share);
// The share a first row's unit count stands for (0.6 gives 60); 50 for a
// count that is no whole percent strictly between 0 and 1.
int ofUnitCount(Money unitCount);

} // namespace SplitShare
