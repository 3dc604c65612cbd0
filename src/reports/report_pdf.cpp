#include "reports/report_pdf.h"

#include "reports/report_document.h"
#include "reports/report_painter.h"

#include <QPdfWriter>
#include <QSaveFile>

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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(error, file.errorString());
    {
        QPdfWriter writer(&file);
        writer.setResolution(600);
        writer.setPageLayout(document.pageLayout());
        writer.setCreator(QStringLiteral("Tarvex"));
        if (!ReportPainter::paint(document, writer)) {
            file.cancelWriting();
            return fail(error, QStringLiteral("The report could not be drawn."));
        }
    }
    if (!file.commit())
        return fail(error, file.errorString());
    return true;
}

} // namespace ReportPdf
