#pragma once

#include "reports/report_painter.h"

#include <QString>

class ReportDocument;

// Writes a laid-out report to a PDF file, all or nothing: the file is
// replaced only once the whole document has been written.
namespace ReportPdf {

// False, with the reason in `error`, when the file could not be written.
// `progress` is told of each page drawn and may stop the writing: the file
// is then left as it was, and `error` says it was stopped.
bool write(const ReportDocument &document, const QString &path, QString *error = nullptr,
           const ReportPainter::Progress &progress = {});

// What `error` holds when `progress` stopped the writing.
QString stoppedMessage();

} // namespace ReportPdf
