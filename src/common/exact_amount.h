#pragma once

#include "common/money.h"

#include <QString>

#include <compare>
#include <optional>

// An amount carried through a calculation before it is rounded: a signed
// 128-bit count of 10^-18 dollars. Amounts as typed are held at their value
// (to eighteen decimal places, far beyond anything a deal is typed with), so a
// sum of several of them is exact and is rounded once, to the precision it is
// kept or shown in. Money stays the form every amount is kept in; this type
// only lives for the length of a calculation.
class ExactAmount
{
public:
    using Units = __int128;
    static constexpr int kDecimals = 18;
    static constexpr Units kScale = Units(1'000'000'000'000'000'000LL); // units per dollar

    constexpr ExactAmount() = default;
    static ExactAmount fromMoney(Money value);
    static constexpr ExactAmount fromUnits(Units units) { return ExactAmount(units); }

    constexpr Units units() const { return m_units; }

    // std::nullopt when the sum leaves the 128-bit range.
    std::optional<ExactAmount> plus(ExactAmount other) const;
    std::optional<ExactAmount> minus(ExactAmount other) const;

    // Rounded once, half away from zero, to four places (the kept form) or to
    // the cent (the shown form); std::nullopt beyond the range of Money.
    std::optional<Money> toMoney() const;
    std::optional<Money> toCent() const;

    constexpr auto operator<=>(const ExactAmount &) const = default;

    // numerator / divisor, rounded half away from zero (divisor not 0).
    static Units divideRounded(Units numerator, Units divisor);

private:
    constexpr explicit ExactAmount(Units units) : m_units(units) {}

    Units m_units = 0;
};

// amount x rate / 100, the exact product rounded once to the cent, half away
// from zero; std::nullopt beyond the range of Money. `rate` must itself be an
// amount Money can hold once rounded (ExactReading::Kind::Amount).
std::optional<Money> percentToCent(Money amount, ExactAmount rate);

// What a text says as an amount.
struct ExactReading
{
    enum class Kind {
        NotANumber, // empty, or not in any of the forms of MoneyText
        TooLarge,   // a number, but beyond the range of Money even rounded to four places
        Amount,     // a number Money can hold once rounded to four places
    };
    Kind kind = Kind::NotANumber;
    ExactAmount value; // Amount only

    bool isNumber() const { return kind != Kind::NotANumber; }
};

namespace MoneyText {

// The text read in the forms described beside MoneyText::parse, at its value
// to eighteen decimal places (further digits are dropped; rounding one amount
// read so is still exact).
ExactReading readExact(const QString &text);

} // namespace MoneyText
