#include "database_backup.h"

#include "deal_database.h"
#include "store_sql.h"

#include "common/durable_file.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QFile>

#include <sqlite3.h>

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

// While it is installed, SQLite calls it back every few thousand steps of
// the copy: it tells how far the copy has come (the temporary file's size in
// pages of the database's page count) and stops the copy when told to.
class CopyProgress
{
public:
    CopyProgress(const QSqlDatabase &db, const QString &temporary,
                 const DatabaseBackup::Progress &progress)
        : m_temporary(temporary), m_progress(progress)
    {
        if (!m_progress)
            return;
        const QVariant handle = db.driver()->handle();
        if (qstrcmp(handle.typeName(), "sqlite3*") != 0)
            return;
        m_handle = *static_cast<sqlite3 *const *>(handle.constData());
        QSqlQuery pages(db);
        if (pages.exec(QStringLiteral("PRAGMA page_count")) && pages.next())
            m_total = pages.value(0).toLongLong();
        QSqlQuery size(db);
        if (size.exec(QStringLiteral("PRAGMA page_size")) && size.next())
            m_pageSize = qMax<qint64>(1, size.value(0).toLongLong());
        m_progress(0, m_total);
        sqlite3_progress_handler(m_handle, kSteps, &CopyProgress::call, this);
    }
    ~CopyProgress()
    {
        if (m_handle)
            sqlite3_progress_handler(m_handle, 0, nullptr, nullptr);
    }
    Q_DISABLE_COPY_MOVE(CopyProgress)

    bool stopped() const { return m_stopped; }
    // The copy is complete: the whole count is told.
    void finished()
    {
        if (m_handle)
            m_progress(m_total, m_total);
    }

private:
    static constexpr int kSteps = 20000;

    static int call(void *self) { return static_cast<CopyProgress *>(self)->tell() ? 0 : 1; }
    bool tell()
    {
        const qint64 done = qMin(m_total, QFileInfo(m_temporary).size() / m_pageSize);
        m_stopped = !m_progress(done, m_total);
        return !m_stopped;
    }

    QString m_temporary;
    const DatabaseBackup::Progress &m_progress;
    sqlite3 *m_handle = nullptr;
    qint64 m_total = 0;
    qint64 m_pageSize = 4096;
    bool m_stopped = false;
};

} // namespace

bool copyTo(const DealDatabase &live, const QString &targetPath, QString *error,
            const Progress &progress)
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
    {
        CopyProgress told(live.connection(), temporary, progress);
        const bool copied = vacuum.exec();
        if (!copied || told.stopped()) {
            const QString why = told.stopped() ? QString()
                                               : StoreSql::errorText(vacuum.lastError());
            removeTemporary();
            if (told.stopped())
                return refused(error, QStringLiteral("The backup was cancelled; \"%1\" was "
                                                     "not written.")
                                          .arg(target));
            return refused(error, QStringLiteral("The backup \"%1\" could not be written: %2")
                                      .arg(target, why));
        }
        told.finished();
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
