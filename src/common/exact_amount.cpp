#include "common/exact_amount.h"

#include <limits>

namespace {

using Units = ExactAmount::Units;

// The largest magnitude held: 10^20 dollars, so that a handful of amounts can
// be added without leaving 128 bits, and any text beyond it is too large.
constexpr int kMostWholeDigits = 20;
constexpr Units kUnitsPerMoneyUnit = ExactAmount::kScale / Money::kScale;
constexpr Units kUnitsPerCent = ExactAmount::kScale / 100;

std::optional<Money> asMoney(Units moneyUnits)
{
    if (moneyUnits < std::numeric_limits<qint64>::min() ||
        moneyUnits > std::numeric_limits<qint64>::max())
        return std::nullopt;
    return Money::fromUnits(qint64(moneyUnits));
}

std::optional<Money> centsAsMoney(Units cents)
{
    return asMoney(cents * (Money::kScale / 100));
}

Units magnitude(Units value)
{
    return value < 0 ? -value : value;
}

} // namespace

ExactAmount ExactAmount::fromMoney(Money value)
{
    return ExactAmount(Units(value.units()) * kUnitsPerMoneyUnit);
}

std::optional<ExactAmount> ExactAmount::plus(ExactAmount other) const
{
    Units sum = 0;
    if (__builtin_add_overflow(m_units, other.m_units, &sum))
        return std::nullopt;
    return ExactAmount(sum);
}

std::optional<ExactAmount> ExactAmount::minus(ExactAmount other) const
{
    Units difference = 0;
    if (__builtin_sub_overflow(m_units, other.m_units, &difference))
        return std::nullopt;
    return ExactAmount(difference);
}

ExactAmount::Units ExactAmount::divideRounded(Units numerator, Units divisor)
{
    if (divisor < 0) {
        numerator = -numerator;
        divisor = -divisor;
    }
    const Units quotient = numerator / divisor;
    const Units remainder = numerator % divisor;
    if (magnitude(remainder) >= divisor - magnitude(remainder))
        return numerator < 0 ? quotient - 1 : quotient + 1;
    return quotient;
}

std::optional<Money> ExactAmount::toMoney() const
{
    return asMoney(divideRounded(m_units, kUnitsPerMoneyUnit));
}

std::optional<Money> ExactAmount::toCent() const
{
    return centsAsMoney(divideRounded(m_units, kUnitsPerCent));
}

std::optional<Money> percentToCent(Money amount, ExactAmount rate)
{
    // In cents the result is amount.units() x rate.units() / 10^22. The
    // product can pass 128 bits, so the rate is split into whole percent
    // (high) and the rest (low), each product fitting:
    //   result = (g x high) / 10^4 + (g x low) / 10^22.
    const Units g = amount.units();
    const Units high = rate.units() / ExactAmount::kScale;
    const Units low = rate.units() % ExactAmount::kScale;
    // Whole ten-thousandths of a cent; what the division drops is less than
    // one of them. high and low share the sign of the rate, so the dropped
    // part only ever adds to the magnitude, and it cannot lift a remainder
    // below the half cent to it: the whole ten-thousandths decide alone.
    const Units whole = g * high + g * low / ExactAmount::kScale;
    return centsAsMoney(ExactAmount::divideRounded(whole, Money::kScale));
}

namespace MoneyText {

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

int digitOf(QChar c)
{
    return c.unicode() - u'0';
}

// What follows the sign and the dollar sign: digits before the point
// optionally grouped by commas in threes, then a point and decimals.
ExactReading readUnsigned(QStringView text)
{
    qsizetype pos = 0;
    Units units = 0;
    int wholeDigits = 0; // significant digits before the point
    bool anyDigit = false;
    qsizetype groupLength = 0;
    bool grouped = false;
    for (; pos < text.size(); ++pos) {
        const QChar c = text.at(pos);
        if (isDigit(c)) {
            anyDigit = true;
            ++groupLength;
            if (wholeDigits > 0 || c != u'0') {
                // Leading zeros carry no value and do not count against the
                // range; more digits than are held make the number too large.
                if (++wholeDigits <= kMostWholeDigits)
                    units = units * 10 + digitOf(c);
            }
        } else if (c == u',') {
            // A comma needs one to three digits before the first one and
            // exactly three between later ones, and digits after it.
            if (groupLength == 0 || groupLength > 3 || (grouped && groupLength != 3))
                return {};
            grouped = true;
            groupLength = 0;
        } else {
            break;
        }
    }
    if (grouped && groupLength != 3)
        return {};
    int decimals = 0;
    if (pos < text.size() && text.at(pos) == u'.') {
        // Eighteen decimals are kept and any further ones dropped: dropping
        // them moves the value toward zero by less than the last place kept,
        // which never carries a single amount across a half cent or half
        // ten-thousandth.
        for (++pos; pos < text.size() && isDigit(text.at(pos)); ++pos) {
            anyDigit = true;
            if (decimals < ExactAmount::kDecimals) {
                units = units * 10 + digitOf(text.at(pos));
                ++decimals;
            }
        }
    }
    if (pos != text.size() || !anyDigit)
        return {};
    if (wholeDigits > kMostWholeDigits)
        return {ExactReading::Kind::TooLarge, {}};
    for (; decimals < ExactAmount::kDecimals; ++decimals)
        units *= 10;
    return {ExactReading::Kind::Amount, ExactAmount::fromUnits(units)};
}

} // namespace

ExactReading readExact(const QString &input)
{
    QStringView text = QStringView(input).trimmed();
    if (text.isEmpty())
        return {};

    bool parenthesised = false;
    if (text.startsWith(u'(') && text.endsWith(u')')) {
        parenthesised = true;
        text = text.sliced(1, text.size() - 2).trimmed();
    }

    // [sign] [$] [sign]: at most one sign, before or after the dollar sign;
    // none inside accounting parentheses.
    bool negative = parenthesised;
    bool signSeen = false;
    auto takeSign = [&]() -> bool {
        if (!text.startsWith(u'-') && !text.startsWith(u'+'))
            return true;
        if (signSeen || parenthesised)
            return false;
        signSeen = true;
        negative = text.startsWith(u'-');
        text = text.sliced(1);
        return true;
    };
    if (!takeSign())
        return {};
    const bool dollarSign = text.startsWith(u'$');
    if (dollarSign)
        text = text.sliced(1);
    if (!takeSign())
        return {};
    // "$." is how the whole-dollar form writes zero.
    if (dollarSign && text == u".")
        return {ExactReading::Kind::Amount, {}};

    ExactReading reading = readUnsigned(text);
    if (reading.kind != ExactReading::Kind::Amount)
        return reading;
    if (negative)
        reading.value = ExactAmount::fromUnits(-reading.value.units());
    if (!reading.value.toMoney())
        reading.kind = ExactReading::Kind::TooLarge;
    return reading;
}

} // namespace MoneyText
