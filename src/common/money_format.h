#pragma once

#include "money.h"

#include <QDate>
#include <QString>

// Every display form and report picture the program writes amounts and dates
// in. All amounts are rounded half away from zero (see Money). Like the
// reader in money.h, these write the United States form whatever the
// desktop's regional settings are.
namespace MoneyFormat {

// "$###.00" and "$####.00": dollar sign, whole dollars without separators
// (nothing when 0), point, two decimals; a negative value has a leading
// minus sign. 0 -> "$.00", 1234.5 -> "$1234.50", -12.5 -> "-$12.50".
QString dollars(Money value);

// Plain decimal text with two decimals, no dollar sign or separators, as a
// spreadsheet reads it: 437.5 -> "437.50", -12.5 -> "-12.50", 0 -> "0.00".
QString cents(Money value);

// "$###.": whole dollars with a trailing point. 2469.4 -> "$2469.".
QString wholeDollarsWithPoint(Money value);

// The named "Currency" format: "$1,250.00", negative "-$1,250.00".
QString currency(Money value);

// Report pictures.
QString picture(Money value, const QString &picture);
QString dollarsGrouped(Money value);      // "$#,##0.00" -> "$1,250.00", "$0.00"
QString grouped(Money value);             // "#,##0.00"  -> "1,250.00"
QString wholeDollarsGrouped(Money value); // "$#,##0"    -> "$1,250"
QString percent(Money ratio);             // "0%": 0.3 -> "30%"

// Plain decimal text without trailing zeros: 1250, 1250.5, 437.5, -12.5, 0.
QString plain(Money value);

} // namespace MoneyFormat

namespace DateFormat {

// Date pictures: "MM/DD/YY" and "mm/dd/yy" (03/07/05), "mm/dd/yyyy"
// (03/07/2005), "m/d/yy" (3/7/05), "YYYY" (2005). Unknown pictures give the
// ISO form.
QString picture(const QDate &date, const QString &picture);

} // namespace DateFormat
