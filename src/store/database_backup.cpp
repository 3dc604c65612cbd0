#include "database_backup.h"

#include "deal_database.h"
#include "store_sql.h"

#include "common/durable_file.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>
#include <QFile>

#include <filesystem>
#include <system_error>

namespace DatabaseBackup {

namespace {

std::filesystem::path fsPath(const QString &path)
{
    return std::filesystem::path(path.toStdU16String());
}

// Whether two paths name the same file: through links and any spelling when
// both exist, else by their cleaned absolute paths.
bool sameFile(const QString &a, const QString &b)
{
    std::error_code ec;
    if (std::filesystem::equivalent(fsPath(a), fsPath(b), ec))
        return true;
    const QString ca = QFileInfo(a).canonicalFilePath();
    const QString cb = QFileInfo(b).canonicalFilePath();
    if (!ca.isEmpty() && ca == cb)
        return true;
    // A target that does not exist yet: its folder resolved, plus its name.
    const QFileInfo ia(a);
    const QFileInfo ib(b);
    const QString folderA = QFileInfo(ia.absolutePath()).canonicalFilePath();
    const QString folderB = QFileInfo(ib.absolutePath()).canonicalFilePath();
    return !folderA.isEmpty() && folderA == folderB && ia.fileName() == ib.fileName();
}

bool refused(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

} // namespace

bool copyTo(const DealDatabase &live, const QString &targetPath, QString *error)
{
    const QString target = QDir::toNativeSeparators(targetPath);
    if (!live.isOpen())
        return refused(error, QStringLiteral("The deal database is not open, so no backup "
                                             "was made."));
    if (targetPath.isEmpty())
        return refused(error, QStringLiteral("No file was named for the backup."));
    const QString livePath = live.filePath();
    for (const QString &suffix :
         {QString(), QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral("-journal")}) {
        if (sameFile(targetPath, livePath + suffix))
            return refused(error,
                           QStringLiteral("\"%1\" is the deal database in use; a backup cannot "
                                          "be written over it. Choose another file name.")
                               .arg(target));
    }
    const QFileInfo targetInfo(targetPath);
    if (targetInfo.exists() && !targetInfo.isFile())
        return refused(error, QStringLiteral("\"%1\" is not a file.").arg(target));

    // Copies left by a backup that was cut short are of no use to anyone.
    DurableFile::removeStaleTemporaries(targetInfo.absolutePath());

    // The empty copy is made here, so it gets the user's umask like any new file.
    const QString temporary = DurableFile::temporaryPathFor(targetPath);
    QFile empty(temporary);
    if (!empty.open(QIODevice::NewOnly))
        return refused(error, QStringLiteral("The backup \"%1\" could not be written: %2")
                                  .arg(target, empty.errorString()));
    empty.close();
    const auto removeTemporary = [&] {
        QFile::remove(temporary);
        QFile::remove(temporary + QStringLiteral("-journal"));
    };

    // VACUUM INTO writes a consistent snapshot into an empty file.
    QSqlQuery vacuum(live.connection());
    vacuum.prepare(QStringLiteral("VACUUM INTO ?"));
    vacuum.addBindValue(temporary);
    if (!vacuum.exec()) {
        const QString why = StoreSql::errorText(vacuum.lastError());
        removeTemporary();
        return refused(error, QStringLiteral("The backup \"%1\" could not be written: %2")
                                  .arg(target, why));
    }

    // The copy is never readable more widely than the database it copies.
    QString why;
    if (!DurableFile::narrowPermissions(temporary, livePath, &why)) {
        removeTemporary();
        return refused(error, QStringLiteral("The backup \"%1\" could not be written: %2")
                                  .arg(target, why));
    }
    // On the disk before it takes the backup's name, and the name on the disk too.
    if (!DurableFile::putInPlace(temporary, targetPath, &why))
        return refused(error, QStringLiteral("The backup \"%1\" could not be put in place: %2")
                                  .arg(target, why));
    return true;
}

} // namespace DatabaseBackup
