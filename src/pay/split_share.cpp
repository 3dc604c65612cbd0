#include "pay/split_share.h"

namespace SplitShare {

std::optional<int> parse(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return kEven;
    bool ok = false;
    const int share = trimmed.toInt(&ok);
    // Digits only: no sign, no point, no percent sign.
    for (const QChar c : trimmed) {
        if (!c.isDigit() || c.unicode() > 0x7f)
            return std::nullopt;
    }
    if (!ok || share < 1 || share > 99)
        return std::nullopt;
    return share;
}

QString refusedMessage(const QString &text)
{
    return QStringLiteral("The share \"%1\" is not a whole percent from 1 to 99.").arg(text);
}

std::pair<Money, Money> divide(Money amount, int share)
{
    const Money whole = amount.roundedToCent();
    const Money first = whole.multipliedBy(Money::dollars(share)).dividedBy(100).roundedToCent();
    return {first, whole - first};
}

std::pair<Money, Money> unitCounts(int share)
{
    const Money first = Money::fromUnits(Money::kScale * share / 100);
    return {first, Money::dollars(1) - first};
}

int ofUnitCount(Money unitCount)
{
    const qint64 units = unitCount.units();
    if (units <= 0 || units >= Money::kScale || units % (Money::kScale / 100) != 0)
        return kEven;
    return int(units / (Money::kScale / 100));
}

} // namespace SplitShare
