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
    const std::optional<QList<RecordedSheet>> latest =
        SheetRecords(database.connection()).latestValid(error);
    if (!latest)
        return false;
    if (latest->isEmpty())
        return true;
    const QByteArray &lines = latest->first().lines;
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
