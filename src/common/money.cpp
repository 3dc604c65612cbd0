#include "money.h"

#include <limits>

namespace {

using Wide = __int128;

constexpr qint64 kMax = std::numeric_limits<qint64>::max();
constexpr qint64 kMin = std::numeric_limits<qint64>::min();

bool fits(Wide value)
{
    return value >= Wide(kMin) && value <= Wide(kMax);
}

// Divides with rounding half away from zero.
Wide divideRounded(Wide numerator, Wide divisor)
{
    if (divisor < 0) {
        numerator = -numerator;
        divisor = -divisor;
    }
    const Wide quotient = numerator / divisor;
    const Wide remainder = numerator % divisor;
    const Wide twice = (remainder < 0 ? -remainder : remainder) * 2;
    if (twice >= divisor)
        return numerator < 0 ? quotient - 1 : quotient + 1;
    return quotient;
}

} // namespace

Money Money::roundedTo(qint64 step) const
{
    return Money(qint64(divideRounded(m_units, step) * step));
}

std::optional<Money> Money::checkedAdd(Money other) const
{
    const Wide sum = Wide(m_units) + other.m_units;
    if (!fits(sum))
        return std::nullopt;
    return Money(qint64(sum));
}

std::optional<Money> Money::checkedSubtract(Money other) const
{
    const Wide difference = Wide(m_units) - other.m_units;
    if (!fits(difference))
        return std::nullopt;
    return Money(qint64(difference));
}

std::optional<Money> Money::checkedMultiply(Money factor) const
{
    const Wide product = divideRounded(Wide(m_units) * factor.m_units, kScale);
    if (!fits(product))
        return std::nullopt;
    return Money(qint64(product));
}

std::optional<Money> Money::checkedDivide(qint64 divisor) const
{
    if (divisor == 0)
        return std::nullopt;
    const Wide quotient = divideRounded(m_units, divisor);
    if (!fits(quotient))
        return std::nullopt;
    return Money(qint64(quotient));
}

std::optional<Money> Money::checkedMultiplyDivide(Money factor, qint64 divisor) const
{
    if (divisor == 0)
        return std::nullopt;
    const Wide result = divideRounded(Wide(m_units) * factor.m_units, Wide(kScale) * divisor);
    if (!fits(result))
        return std::nullopt;
    return Money(qint64(result));
}

Money Money::operator+(Money other) const
{
    const auto sum = checkedAdd(other);
    Q_ASSERT(sum);
    return sum.value_or(Money());
}

Money Money::operator-(Money other) const
{
    const auto difference = checkedSubtract(other);
    Q_ASSERT(difference);
    return difference.value_or(Money());
}

Money Money::multipliedBy(Money factor) const
{
    const auto product = checkedMultiply(factor);
    Q_ASSERT(product);
    return product.value_or(Money());
}

Money Money::dividedBy(qint64 divisor) const
{
    const auto quotient = checkedDivide(divisor);
    Q_ASSERT(quotient);
    return quotient.value_or(Money());
}

namespace MoneyText {

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Reads the integer part, digits optionally grouped by commas in threes.
// Returns false on a misplaced comma.
bool readIntegerDigits(const QString &text, qsizetype &pos, QString &digits)
{
    qsizetype groupLength = 0;
    bool grouped = false;
    while (pos < text.size()) {
        const QChar c = text.at(pos);
        if (isDigit(c)) {
            digits.append(c);
            ++groupLength;
        } else if (c == u',') {
            // A comma needs one to three digits before the first one and
            // exactly three between later ones, and digits after it.
            if (groupLength == 0 || groupLength > 3 || (grouped && groupLength != 3))
                return false;
            grouped = true;
            groupLength = 0;
        } else {
            break;
        }
        ++pos;
    }
    if (grouped && groupLength != 3)
        return false;
    return true;
}

std::optional<Money> parseUnsigned(const QString &text)
{
    // text holds what follows the sign and dollar sign.
    qsizetype pos = 0;
    QString whole;
    if (!readIntegerDigits(text, pos, whole))
        return std::nullopt;
    QString fraction;
    if (pos < text.size() && text.at(pos) == u'.') {
        ++pos;
        while (pos < text.size() && isDigit(text.at(pos)))
            fraction.append(text.at(pos++));
    }
    if (pos != text.size())
        return std::nullopt;
    if (whole.isEmpty() && fraction.isEmpty())
        return std::nullopt;

    // Leading zeros carry no value; strip them so length limits the magnitude.
    qsizetype firstNonZero = 0;
    while (firstNonZero < whole.size() && whole.at(firstNonZero) == u'0')
        ++firstNonZero;
    whole = whole.mid(firstNonZero);
    if (whole.size() > 15) // 10^15 dollars is beyond the range already
        return std::nullopt;

    Wide units = 0;
    for (QChar c : std::as_const(whole))
        units = units * 10 + (c.unicode() - u'0');
    units *= Money::kScale;

    // Four decimals are kept exactly; a fifth decides the rounding.
    Wide fractionUnits = 0;
    for (int i = 0; i < 4; ++i) {
        fractionUnits *= 10;
        if (i < fraction.size())
            fractionUnits += fraction.at(i).unicode() - u'0';
    }
    units += fractionUnits;
    if (fraction.size() > 4 && fraction.at(4) >= u'5')
        units += 1;
    if (units > Wide(kMax))
        return std::nullopt;
    return Money::fromUnits(qint64(units));
}

} // namespace

std::optional<Money> parse(const QString &input)
{
    QString text = input.trimmed();
    if (text.isEmpty())
        return std::nullopt;

    bool parenthesised = false;
    if (text.startsWith(u'(') && text.endsWith(u')')) {
        parenthesised = true;
        text = text.mid(1, text.size() - 2).trimmed();
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
        text = text.mid(1);
        return true;
    };
    if (!takeSign())
        return std::nullopt;
    const bool dollarSign = text.startsWith(u'$');
    if (dollarSign)
        text = text.mid(1);
    if (!takeSign())
        return std::nullopt;
    // "$." is how the whole-dollar form writes zero.
    if (dollarSign && text == u".")
        return Money();

    const auto magnitude = parseUnsigned(text);
    if (!magnitude)
        return std::nullopt;
    return negative ? -*magnitude : *magnitude;
}

bool isNumber(const QString &text)
{
    return parse(text).has_value();
}

Money readAmount(const QString &text)
{
    return parse(text).value_or(Money());
}

Money readPercent(const QString &text)
{
    const qsizetype percent = text.indexOf(u'%');
    return readAmount(percent < 0 ? text : text.left(percent));
}

} // namespace MoneyText
