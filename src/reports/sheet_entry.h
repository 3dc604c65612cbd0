#pragma once

#include "common/money.h"

#include <QDate>
#include <QString>

// How the commission sheet reads what the user types into its input boxes.
namespace SheetEntry {

// The value of an amount text such as the bonus: an amount in any of the
// program's forms ($100, 1,000.50, 100) counts at its value; other text counts
// as the number it starts with ("100 cash" is 100); text without a leading
// number, and the empty text, count as 0.
Money amountOf(const QString &text);

// Whether the amount read as amountOf() reads it is a number beyond the range
// of Money (99999999999999999999): such an amount is refused, not counted as 0.
bool isTooLarge(const QString &text);

// Whether the text is a date of the calendar: MM/DD/YYYY, M/D/YY (00-29 in
// this century, 30-99 in the last) or YYYY-MM-DD. "MM/DD/YYYY", "13/01/2025"
// and the empty text are not.
bool isDate(const QString &text);
// The date such a text names; an invalid date for any other text.
QDate dateOf(const QString &text);

} // namespace SheetEntry
