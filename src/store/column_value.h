#pragma once

#include "common/money.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

#include <optional>

// The one place where worksheet text becomes a column value and a column
// value becomes worksheet text again.
//
// Into a column: empty text is NULL in every kind of column; money is read in
// any of the worksheet's forms ($1250.00, $.00, -$12.50, 1,250.50, 1250.5) and
// stored as INTEGER ten-thousandths; dates are stored as ISO text; yes/no as
// 0/1. A text that is not a value of its column gives std::nullopt, and the
// caller refuses the whole write.
//
// Out of a column: NULL is empty text; money is its plain number (1250,
// 1250.5); a year is its digits.
namespace ColumnValue {

// Text columns: the text as it is; empty is NULL.
QVariant text(const QString &text);

// Money columns.
std::optional<QVariant> money(const QString &text);
QVariant money(Money amount);

// Date columns. An invalid date is NULL.
QVariant date(const QDate &date);
// A date as a date column holds it: YYYY-MM-DD.
QString isoDate(const QDate &date);
// A moment as the audit trail's time column holds it: YYYY-MM-DD HH:MM:SS.
QString stamp(const QDateTime &moment);
// Date text as the worksheet writes it: MM/DD/YY, MM/DD/YYYY or ISO. A
// two-digit year is 2000-2029 for 00-29 and 1930-1999 for 30-99.
std::optional<QVariant> dateText(const QString &text);

// The year column: the digits at the start of the text; 0 when there are
// none (empty text included).
QVariant year(const QString &text);

// Yes/no columns: 1 or 0.
QVariant yesNo(bool value);

// The unit count, a fraction of a unit in ten-thousandths like money.
QVariant unitCount(Money count);

// A stored value as its text, as QVariant::toString() gives it, without the
// library's general conversion for the kinds the columns hold (texts, whole
// numbers, dates): a thousand rows' values are turned into text each time a
// sheet is paid.
QString storedText(const QVariant &value);
// The same appended to `to`.
void appendStoredText(QString &to, const QVariant &value);

// Back to worksheet text.
QString textFrom(const QVariant &value);
QString moneyTextFrom(const QVariant &value);
std::optional<Money> moneyFrom(const QVariant &value);
QDate dateFrom(const QVariant &value);
QString yearTextFrom(const QVariant &value);
bool yesNoFrom(const QVariant &value);

} // namespace ColumnValue
