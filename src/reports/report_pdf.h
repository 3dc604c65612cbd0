#pragma once

#include <QString>

class ReportDocument;

// Writes a laid-out report to a PDF file, all or nothing: the file is
// replaced only once the whole document has been written.
namespace ReportPdf {

// False, with the reason in `error`, when the file could not be written.
bool write(const ReportDocument &document, const QString &path, QString *error = nullptr);

} // namespace ReportPdf
