#include "money.h"

#include "common/exact_amount.h"

#include <limits>

namespace {

using Wide = ExactAmount::Units;

constexpr qint64 kMax = std::numeric_limits<qint64>::max();
constexpr qint64 kMin = std::numeric_limits<qint64>::min();

bool fits(Wide value)
{
    return value >= Wide(kMin) && value <= Wide(kMax);
}

Wide divideRounded(Wide numerator, Wide divisor)
{
    return ExactAmount::divideRounded(numerator, divisor);
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

std::optional<Money> parse(const QString &text)
{
    const ExactReading reading = readExact(text);
    if (reading.kind != ExactReading::Kind::Amount)
        return std::nullopt;
    return reading.value.toMoney();
}

bool isNumber(const QString &text)
{
    return parse(text).has_value();
}

Money readAmount(const QString &text)
{
    return parse(text).value_or(Money());
}

QString percentNumber(const QString &text)
{
    const qsizetype percent = text.indexOf(u'%');
    return percent < 0 ? text : text.left(percent);
}

Money readPercent(const QString &text)
{
    return readAmount(percentNumber(text));
}

} // namespace MoneyText
