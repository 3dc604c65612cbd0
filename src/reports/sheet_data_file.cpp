#include "reports/sheet_data_file.h"

#include "common/durable_file.h"
#include "store/deal_database.h"
#include "store/sheet_records.h"

#include <QFile>
#include <QFileInfo>

namespace SheetDataFile {

bool restore(DealDatabase &database, const QString &path, QString *error)
{
    DurableFile::removeStaleTemporaries(QFileInfo(path).absolutePath());
    const SheetRecords sheets(database.connection());
    const SheetDesk desk = SheetDesk::of(path);
    const std::optional<QList<RecordedSheet>> latest = sheets.latestValid(desk, error);
    if (!latest)
        return false;
    // With every recorded sheet voided no deal is paid: the file is empty,
    // as a sheet paying nothing leaves it.
    QByteArray lines;
    if (!latest->isEmpty()) {
        lines = latest->first().lines;
    } else {
        const std::optional<bool> any = sheets.anyRecorded(desk, error);
        if (!any)
            return false;
        if (!*any)
            return true;
    }
    QFile file(path);
    if (file.open(QIODevice::ReadOnly) && file.readAll() == lines)
        return true;
    file.close();
    return DurableFile::replace(path, lines, error);
}

QString notRestoredMessage(const QString &reason)
{
    return QStringLiteral("data.txt could not be written: %1. It will be written again at the "
                          "next start.")
        .arg(reason);
}

QString notWrittenMessage(const QString &reason)
{
    return QStringLiteral("The sheet was recorded and the deals are paid; ") +
           notRestoredMessage(reason);
}

} // namespace SheetDataFile
