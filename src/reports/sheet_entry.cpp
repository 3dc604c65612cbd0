#include "reports/sheet_entry.h"

#include "store/column_value.h"

#include <QRegularExpression>

namespace SheetEntry {

Money amountOf(const QString &text)
{
    if (const std::optional<Money> amount = MoneyText::parse(text))
        return *amount;
    static const QRegularExpression leadingNumber(
        QStringLiteral(R"(^\s*([+-]?(?:\d+(?:\.\d*)?|\.\d+)))"));
    const QRegularExpressionMatch match = leadingNumber.match(text);
    if (!match.hasMatch())
        return Money();
    return MoneyText::parse(match.captured(1)).value_or(Money());
}

bool isDate(const QString &text)
{
    if (text.trimmed().isEmpty())
        return false;
    const std::optional<QVariant> date = ColumnValue::dateText(text);
    return date && !date->isNull();
}

} // namespace SheetEntry
