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

} // namespace ReportRead
