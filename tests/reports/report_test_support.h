#pragma once

#include "reports/report_document.h"
#include "test_printers.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <ostream>

// Reading a laid-out report the way a test reads a printout.
namespace ReportRead {

// The placed text of `control`, or std::nullopt when it was not placed
// (hidden). The first placement when it was placed more than once.
std::optional<QString> textOf(const ReportDocument &document, const QString &control);
// Every placement of `control`, in order.
QList<PlacedText> placementsOf(const ReportDocument &document, const QString &control);
// The names of the lines placed on page `index` (from 0).
QStringList linesOn(const ReportDocument &document, int index);

// What would not read well on paper: every placed text that does not fit its
// box at the size it prints (it would be cut), and every two texts of one
// line whose printed extents run into each other. Empty when the pages read
// cleanly.
QStringList printingFaults(const ReportDocument &document);

// The rows of a comma-separated file as a spreadsheet reads them: quoted
// values unquoted (doubled quotes single), lines ended by CR LF. The file
// must start with the UTF-8 byte-order mark; std::nullopt when it does not.
std::optional<QList<QStringList>> csvRows(const QByteArray &file);

} // namespace ReportRead
