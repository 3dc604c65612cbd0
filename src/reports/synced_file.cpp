#include "reports/synced_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace SyncedFile {

namespace {

// The temporary name beside `info`: ".data.txt.XXXXXX".
QString temporaryPattern(const QFileInfo &info)
{
    return QStringLiteral(".") + info.fileName() + QStringLiteral(".XXXXXX");
}

QString reason(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

bool failed(QString *error, int code)
{
    if (error)
        *error = reason(code);
    return false;
}

bool writeAll(int fd, const QByteArray &bytes, const Hooks &hooks, QString *error)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const long written = hooks.write ? hooks.write(fd, data, static_cast<unsigned long>(left))
                                         : long(::write(fd, data, size_t(left)));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return failed(error, errno);
        }
        if (written == 0) // nothing taken and no reason given: the disk is full
            return failed(error, ENOSPC);
        data += written;
        left -= written;
    }
    return true;
}

void reach(const Hooks &hooks, Stage stage)
{
    if (hooks.reached)
        hooks.reached(stage);
}

} // namespace

bool replace(const QString &path, const QByteArray &bytes, QString *error, const Hooks &hooks)
{
    const QFileInfo info(path);
    const QByteArray target = QFile::encodeName(info.absoluteFilePath());
    QByteArray temporary = QFile::encodeName(info.absolutePath() + u'/' + temporaryPattern(info));
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return failed(error, errno);
    const auto discard = [&](int code) {
        ::unlink(temporary.constData());
        return failed(error, code);
    };
    // The file keeps the permissions an ordinary new file would have.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    if (!writeAll(fd, bytes, hooks, error)) {
        ::close(fd);
        ::unlink(temporary.constData());
        return false;
    }
    reach(hooks, Stage::Written);
    if (::fsync(fd) != 0) {
        const int code = errno;
        ::close(fd);
        return discard(code);
    }
    if (::close(fd) != 0)
        return discard(errno);
    reach(hooks, Stage::Synced);
    if (::rename(temporary.constData(), target.constData()) != 0)
        return discard(errno);
    reach(hooks, Stage::Renamed);
    // The new name is on the disk only once the folder is synced.
    const int folder = ::open(QFile::encodeName(info.absolutePath()).constData(), O_RDONLY);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

void removeLeftovers(const QString &path)
{
    const QFileInfo info(path);
    const QString pattern = QStringLiteral(".") + info.fileName() + QStringLiteral(".??????");
    QDir folder = info.absoluteDir();
    for (const QString &name :
         folder.entryList({pattern}, QDir::Files | QDir::Hidden | QDir::System))
        folder.remove(name);
}

} // namespace SyncedFile
