#pragma once

#include "common/money.h"

#include <QString>
#include <QVariant>

#include <optional>

// How a value taken from data prints through a field's output format.
//
// Pictures: the amount pictures of MoneyFormat ("$#,##0.00", "#,##0.00",
// "$#,##0", "0%", "$###.00", ...) and the date pictures of DateFormat
// ("mm/dd/yy", "mm/dd/yyyy", "m/d/yy"). A value the picture cannot take (text
// that is not a number under an amount picture, not a date under a date
// picture) prints as its text, unchanged. Null prints empty.
namespace ReportValue {

// The value as an amount: Money, whole numbers, and text in any of the
// program's number forms ($1,250.00, 1250.5); std::nullopt for anything else.
std::optional<Money> amount(const QVariant &value);

QString format(const QVariant &value, const QString &picture);
QString format(Money value, const QString &picture);

} // namespace ReportValue
