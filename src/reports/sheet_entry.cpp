#include "reports/sheet_entry.h"

#include "common/exact_amount.h"
#include "store/column_value.h"

#include <QRegularExpression>

namespace SheetEntry {

namespace {

// The text as an amount in one of the program's forms, else the number it
// starts with.
ExactReading readingOf(const QString &text)
{
    const ExactReading whole = MoneyText::readExact(text);
    if (whole.isNumber())
        return whole;
    static const QRegularExpression leadingNumber(
        QStringLiteral(R"(^\s*([+-]?(?:\d+(?:\.\d*)?|\.\d+)))"));
    const QRegularExpressionMatch match = leadingNumber.match(text);
    if (!match.hasMatch())
        return {};
    return MoneyText::readExact(match.captured(1));
}

} // namespace

Money amountOf(const QString &text)
{
    const ExactReading reading = readingOf(text);
    if (reading.kind != ExactReading::Kind::Amount)
        return Money();
    return reading.value.toMoney().value_or(Money());
}

bool isTooLarge(const QString &text)
{
    return readingOf(text).kind == ExactReading::Kind::TooLarge;
}

bool isDate(const QString &text)
{
    if (text.trimmed().isEmpty())
        return false;
    const std::optional<QVariant> date = ColumnValue::dateText(text);
    return date && !date->isNull();
}

QDate dateOf(const QString &text)
{
    if (!isDate(text))
        return {};
    return ColumnValue::dateFrom(*ColumnValue::dateText(text));
}

} // namespace SheetEntry
