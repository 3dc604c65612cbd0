#include "durable_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <limits>
#include <mutex>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kMarker = QStringLiteral(".tarvex-tmp-");

std::mutex g_seamMutex;
DurableFile::FailureSeam g_seam;

// The errno injected for `step` by a test, else 0.
int injected(DurableFile::Step step)
{
    std::lock_guard lock(g_seamMutex);
    return g_seam ? g_seam(step) : 0;
}

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

QString reason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// What was being done at a step, for the message.
QString doing(DurableFile::Step which)
{
    switch (which) {
    case DurableFile::Step::Create:
        return QStringLiteral("creating the new file");
    case DurableFile::Step::Write:
        return QStringLiteral("writing the new file");
    case DurableFile::Step::Sync:
        return QStringLiteral("syncing the new file to the disk");
    case DurableFile::Step::Close:
        return QStringLiteral("closing the new file");
    case DurableFile::Step::Rename:
        return QStringLiteral("putting the new file in place");
    case DurableFile::Step::SyncFolder:
        return QStringLiteral("syncing the folder to the disk");
    }
    return QString();
}

// Runs one step: the injected failure when there is one, else `action`,
// which returns false with errno set on failure.
template<typename Action>
bool step(DurableFile::Step which, QString *error, Action action)
{
    int code = injected(which);
    if (code == 0 && !action())
        code = errno;
    if (code == 0)
        return true;
    if (error)
        *error = QStringLiteral("%1 (%2)").arg(reason(code), doing(which));
    return false;
}

// Closes `fd` in any case (a failure injected at the close still releases
// it), then reports the close as a step.
bool closeStep(int fd, QString *error)
{
    // A close interrupted by a signal has still released the descriptor.
    const bool closed = ::close(fd) == 0 || errno == EINTR;
    const int code = errno;
    return step(DurableFile::Step::Close, error, [&] {
        errno = code;
        return closed;
    });
}

bool syncFile(const QString &path, QString *error)
{
    int fd = -1;
    const bool opened = step(DurableFile::Step::Sync, error, [&] {
        fd = ::open(nativePath(path).constData(), O_RDONLY | O_CLOEXEC);
        return fd >= 0;
    });
    if (!opened)
        return false;
    const bool synced = step(DurableFile::Step::Sync, error, [&] { return ::fsync(fd) == 0; });
    const bool closed = closeStep(fd, synced ? error : nullptr);
    return synced && closed;
}

bool syncFolderOf(const QString &folder, QString *error)
{
    return step(DurableFile::Step::SyncFolder, error, [&] {
        const int fd = ::open(nativePath(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return false;
        // A file system that cannot sync a folder (EINVAL) has nothing more to do.
        const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
        const int saved = errno;
        ::close(fd);
        errno = saved;
        return ok;
    });
}

bool renameOver(const QString &from, const QString &to, QString *error)
{
    return step(DurableFile::Step::Rename, error, [&] {
        return ::rename(nativePath(from).constData(), nativePath(to).constData()) == 0;
    });
}

bool processRuns(qint64 pid)
{
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max())
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

} // namespace

DurableFile::DurableFile(QString targetPath) : m_target(std::move(targetPath))
{
    // A file kept elsewhere through a link is written where it lies; the link stays.
    const QFileInfo target(m_target);
    if (target.isSymLink() && target.exists())
        m_target = target.canonicalFilePath();
}

DurableFile::~DurableFile()
{
    discard();
}

void DurableFile::setFailureSeam(FailureSeam seam)
{
    std::lock_guard lock(g_seamMutex);
    g_seam = std::move(seam);
}

bool DurableFile::makePrivate(const QString &path, QString *error)
{
    struct stat info {};
    if (::stat(nativePath(path).constData(), &info) == 0 &&
        ::chmod(nativePath(path).constData(),
                S_ISDIR(info.st_mode) ? kNewFolderMode : kNewFileMode) == 0)
        return true;
    if (error)
        *error = reason(errno);
    return false;
}

bool DurableFile::narrowPermissions(const QString &path, const QString &modelPath,
                                    QString *error)
{
    struct stat file {};
    struct stat model {};
    if (::stat(nativePath(path).constData(), &file) == 0 &&
        ::stat(nativePath(modelPath).constData(), &model) == 0 &&
        ::chmod(nativePath(path).constData(), (file.st_mode & 07777) & (model.st_mode & 0777)) == 0)
        return true;
    if (error)
        *error = reason(errno);
    return false;
}

QString DurableFile::temporaryPathFor(const QString &targetPath)
{
    const QFileInfo target(targetPath);
    return target.absolutePath() + QStringLiteral("/.") + target.fileName() + kMarker +
           QString::number(::getpid()) + u'-' +
           QString::number(QRandomGenerator::global()->generate64(), 36);
}

bool DurableFile::isTemporaryName(const QString &fileName)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\..+\\.tarvex-tmp-\\d+-[0-9a-z]+(-journal|-wal|-shm)?$"));
    return pattern.match(fileName).hasMatch();
}

int DurableFile::removeStaleTemporaries(const QString &folderPath)
{
    static const QRegularExpression process(QStringLiteral("\\.tarvex-tmp-(\\d+)-"));
    const QDir folder(folderPath);
    int removed = 0;
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        if (!isTemporaryName(name))
            continue;
        const qint64 pid = process.match(name).captured(1).toLongLong();
        if (pid == ::getpid() || processRuns(pid))
            continue; // still being written
        if (QFile::remove(folder.filePath(name)))
            ++removed;
    }
    return removed;
}

bool DurableFile::write(const QByteArray &bytes)
{
    discard();
    m_error.clear();
    // A replaced file keeps its permissions; a new one is the user's alone,
    // whatever the umask: the program's files hold the password and the pay.
    struct stat existing {};
    const bool replacing = ::stat(nativePath(m_target).constData(), &existing) == 0;

    int fd = -1;
    QString temporary;
    const bool created = step(Step::Create, &m_error, [&] {
        // Only a file is replaced, and not one the user made read-only.
        if (replacing && S_ISDIR(existing.st_mode)) {
            errno = EISDIR;
            return false;
        }
        if (replacing && ::access(nativePath(m_target).constData(), W_OK) != 0)
            return false;
        for (int attempt = 0; attempt < 8; ++attempt) {
            temporary = temporaryPathFor(m_target);
            fd = ::open(nativePath(temporary).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                        kNewFileMode);
            if (fd >= 0 || errno != EEXIST)
                break;
        }
        return fd >= 0;
    });
    if (!created)
        return false;
    m_temporary = temporary;

    bool ok = true;
    if (replacing)
        ok = step(Step::Create, &m_error,
                  [&] { return ::fchmod(fd, existing.st_mode & 07777) == 0; });
    qsizetype done = 0;
    while (ok && done < bytes.size()) {
        ssize_t count = -1;
        ok = step(Step::Write, &m_error, [&] {
            count = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
            if (count < 0 && errno == EINTR)
                count = 0; // interrupted before writing: try again
            return count >= 0;
        });
        if (ok)
            done += count;
    }
    if (ok && bytes.isEmpty())
        ok = step(Step::Write, &m_error, [] { return true; });
    if (ok)
        ok = step(Step::Sync, &m_error, [&] { return ::fsync(fd) == 0; });
    const bool closed = closeStep(fd, ok ? &m_error : nullptr);
    if (!ok || !closed) {
        discard();
        return false;
    }
    m_written = true;
    return true;
}

bool DurableFile::commit()
{
    if (!m_written) {
        if (m_error.isEmpty())
            m_error = QStringLiteral("Nothing was written.");
        return false;
    }
    if (!renameOver(m_temporary, m_target, &m_error)) {
        discard();
        return false;
    }
    m_written = false;
    m_temporary.clear();
    // The new content is under its name; only the name may not be on the disk yet.
    return syncFolderOf(QFileInfo(m_target).absolutePath(), &m_error);
}

void DurableFile::discard()
{
    if (!m_temporary.isEmpty())
        ::unlink(nativePath(m_temporary).constData());
    m_temporary.clear();
    m_written = false;
}

bool DurableFile::replace(const QString &targetPath, const QByteArray &bytes, QString *error)
{
    DurableFile file(targetPath);
    if (file.write(bytes) && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

bool DurableFile::putInPlace(const QString &temporaryPath, const QString &targetPath,
                             QString *error)
{
    QString why;
    if (!syncFile(temporaryPath, &why) || !renameOver(temporaryPath, targetPath, &why)) {
        QFile::remove(temporaryPath);
        if (error)
            *error = why;
        return false;
    }
    if (!syncFolderOf(QFileInfo(targetPath).absolutePath(), &why)) {
        if (error)
            *error = why;
        return false;
    }
    return true;
}

bool DurableFile::syncFolder(const QString &folderPath, QString *error)
{
    return syncFolderOf(folderPath, error);
}
