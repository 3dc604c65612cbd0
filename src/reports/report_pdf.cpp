#include "reports/report_pdf.h"

#include "reports/report_document.h"
#include "reports/report_painter.h"

#include "common/durable_file.h"

#include <QBuffer>
#include <QPdfWriter>

namespace ReportPdf {

namespace {

bool fail(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return false;
}

} // namespace

bool write(const ReportDocument &document, const QString &path, QString *error)
{
    // Drawn in memory, then put in place all or nothing.
    QBuffer file;
    file.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&file);
        writer.setResolution(600);
        writer.setPageLayout(document.pageLayout());
        writer.setCreator(QStringLiteral("Tarvex"));
        if (!ReportPainter::paint(document, writer))
            return fail(error, QStringLiteral("The report could not be drawn."));
    }
    file.close();
    return DurableFile::replace(path, file.data(), error);
}

} // namespace ReportPdf
