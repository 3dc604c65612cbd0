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

QString stoppedMessage()
{
    return QStringLiteral("It was cancelled; no file was written.");
}

bool write(const ReportDocument &document, const QString &path, QString *error,
           const ReportPainter::Progress &progress)
{
    // Drawn in memory, then put in place all or nothing.
    QBuffer file;
    file.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&file);
        writer.setResolution(600);
        writer.setPageLayout(document.pageLayout());
        writer.setCreator(QStringLiteral("Tarvex"));
        bool stopped = false;
        const auto step = [&progress, &stopped](int done, int total) {
            stopped = progress && !progress(done, total);
            return !stopped;
        };
        if (!ReportPainter::paint(document, writer, step))
            return fail(error, stopped ? stoppedMessage()
                                       : QStringLiteral("The report could not be drawn."));
    }
    file.close();
    return DurableFile::replace(path, file.data(), error);
}

} // namespace ReportPdf
