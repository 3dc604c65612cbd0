#pragma once

#include "reports/report_rows.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <optional>

// The hand-off file "data.txt" in the program folder: the deals one
// commission sheet pays, written by the sheet window and read by the sheet
// report.
//
// One line per deal, no header, an empty file when nothing is paid. A line
// holds the eight values of fieldNames() separated by commas without spaces
// and ends with CR LF. Text is written in double quotes, a double quote
// inside it doubled ("AB ""RED"" CO"); an amount is written plain, with a
// period, no separators and no trailing zeros (1500, 437.5); a missing value
// is written #NULL#.
namespace CommissionDataFile {

inline constexpr const char *kFileName = "data.txt";

// Customer_Name, Stock_Number, TCU, Payable_Gross, Commission, Spiff,
// Warranty, TotalCommission.
const QStringList &fieldNames();

// The lines of the file. Each value is a QString (text), a Money (amount) or
// null; a deal's list holds the values in fieldNames() order.
QByteArray encode(const QList<QVariantList> &deals);

// The file's values, eight to a deal in fieldNames() order, each kept as its
// text (quotes removed, doubled quotes made single again); #NULL# is a null
// value. A line cut short gets null for its missing values.
QList<ReportRow> decode(const QByteArray &bytes);

// The same values as rows for a report, held column by column.
ReportRows decodeRows(const QByteArray &bytes);

// Reads and decodes the file; std::nullopt, with the reason in `error`, when
// it cannot be read.
std::optional<ReportRows> read(const QString &path, QString *error);

} // namespace CommissionDataFile
