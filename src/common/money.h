#pragma once

#include <QString>
#include <QtGlobal>

#include <compare>
#include <optional>

// An amount of money in fixed point: a signed 64-bit count of ten-thousandths
// of a dollar (four decimal places), so every amount the program handles is
// exact. There is no conversion from or to floating point.
//
// Rounding rule, used everywhere in the program: half away from zero
// (2.345 -> 2.35, -2.345 -> -2.35). Products and quotients are rounded to
// four places by that rule; amounts are shown rounded to the cent by it.
//
// Arithmetic that would leave the 64-bit range is a programming error for the
// amounts of a car deal; the checked operations below report it instead of
// wrapping, and the text readers refuse any amount that does not fit.
class Money
{
public:
    static constexpr qint64 kScale = 10000; // units per dollar

    constexpr Money() = default;

    // Whole dollars.
    static constexpr Money dollars(qint64 whole) { return Money(whole * kScale); }
    // Ten-thousandths of a dollar.
    static constexpr Money fromUnits(qint64 units) { return Money(units); }
    // Cents.
    static constexpr Money fromCents(qint64 cents) { return Money(cents * 100); }

    constexpr qint64 units() const { return m_units; }
    constexpr bool isZero() const { return m_units == 0; }
    constexpr bool isNegative() const { return m_units < 0; }

    // Rounded to the cent, half away from zero.
    Money roundedToCent() const { return roundedTo(100); }
    // Rounded to whole dollars, half away from zero.
    Money roundedToDollar() const { return roundedTo(kScale); }

    // Checked arithmetic: std::nullopt when the result leaves the range.
    std::optional<Money> checkedAdd(Money other) const;
    std::optional<Money> checkedSubtract(Money other) const;
    // Multiplies by a factor that is itself a four-decimal number (a rate such
    // as 30 or 0.5), rounding the product to four places.
    std::optional<Money> checkedMultiply(Money factor) const;
    // Divides by a whole number, rounding the quotient to four places.
    std::optional<Money> checkedDivide(qint64 divisor) const;
    // Multiplies by a four-decimal factor and divides by a whole number,
    // rounding once at the end (a percentage: amount x 30 / 100).
    std::optional<Money> checkedMultiplyDivide(Money factor, qint64 divisor) const;

    // Unchecked forms for the sums of a deal, whose amounts are far from the
    // limits; they assert in debug builds.
    Money operator+(Money other) const;
    Money operator-(Money other) const;
    Money operator-() const { return Money(-m_units); }
    Money &operator+=(Money other) { return *this = *this + other; }
    Money &operator-=(Money other) { return *this = *this - other; }
    Money multipliedBy(Money factor) const;
    Money dividedBy(qint64 divisor) const;

    constexpr auto operator<=>(const Money &) const = default;

private:
    constexpr explicit Money(qint64 units) : m_units(units) {}
    Money roundedTo(qint64 step) const;

    qint64 m_units = 0;
};

// Text in. The program reads amounts in the United States form only: dollar
// sign "$", thousands separator "," and decimal point ".", whatever the
// desktop's regional settings say. The dealership's forms, the program's own
// display formats and its stored files all use that form, so a fixed form is
// the one that reads back everything the program writes.
//
// A text is a number when, after surrounding blanks, it is
//   [sign] [$] [sign] digits [. digits]      or   [sign] [$] . digits
// with digits before the point optionally grouped by commas in threes
// (1,250.50), or the same in accounting parentheses ((12.50), ($1,250.00)).
// A trailing point is allowed ($2469.). More than four decimals are rounded
// (once, from the value as typed). 12a, a lone "-", "$", ".", 1.2.3, 1,25 are
// not numbers, and parse() refuses anything beyond the range of Money, down
// to -922337203685477.5808 and up to 922337203685477.5807 inclusive; the
// calculation tells those apart through MoneyText::readExact (exact_amount.h).
namespace MoneyText {

// The value of the text, or std::nullopt when the text is not a number.
// The empty text is not a number.
std::optional<Money> parse(const QString &text);

// True when parse() gives a value.
bool isNumber(const QString &text);

// An amount field read as a number: empty is 0, a number counts at its value,
// and text that is not a number counts as 0.
Money readAmount(const QString &text);

// The number at the start of a percentage such as "30%" or "30 %"; the text
// is read as a whole when it holds no "%". Not a number counts as 0.
Money readPercent(const QString &text);
// The part of a percentage text that holds its number ("30 " of "30 %").
QString percentNumber(const QString &text);

} // namespace MoneyText
