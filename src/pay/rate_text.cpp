#include "pay/rate_text.h"

#include "common/money_format.h"

namespace {
const QLatin1StringView kFlat("flat");
}

namespace RateText {

QString ofPercent(Money percent)
{
    return MoneyFormat::plain(percent) + u'%';
}

QString ofFlat(Money amount)
{
    return MoneyFormat::dollars(amount) + u' ' + kFlat;
}

std::optional<Money> flatAmount(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (!trimmed.endsWith(kFlat, Qt::CaseInsensitive))
        return std::nullopt;
    return MoneyText::parse(trimmed.chopped(kFlat.size()).trimmed());
}

} // namespace RateText
