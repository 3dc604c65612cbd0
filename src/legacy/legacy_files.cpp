#include "legacy_files.h"

#include "legacy_layout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace LegacyFiles {

namespace {

const QString kTemporaryPrefix = QStringLiteral(".Sales Log2.mdb.import-");

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Makes the folder's list of names durable, so a rename survives a power cut.
void syncFolder(const QString &path)
{
    const int fd = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                          O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool sameFile(const QString &a, const QString &b)
{
    struct stat first
    {
    };
    struct stat second
    {
    };
    return ::stat(QFile::encodeName(a).constData(), &first) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool copyInPlace(const QString &from, const QString &to, QString *error)
{
    const QString partial = to + QStringLiteral(".part");
    QFile::remove(partial);
    QFile source(from);
    QFile target(partial);
    bool ok = source.open(QIODevice::ReadOnly) && target.open(QIODevice::WriteOnly);
    while (ok && !source.atEnd()) {
        const QByteArray block = source.read(1 << 16);
        ok = !block.isEmpty() && target.write(block) == block.size();
    }
    ok = ok && target.flush() && ::fsync(target.handle()) == 0;
    target.close();
    // The copy keeps the file's modification time and permissions.
    ok =
        ok && target.setFileTime(QFileInfo(from).lastModified(), QFileDevice::FileModificationTime);
    ok = ok && QFile::setPermissions(partial, QFile::permissions(from));
    // Put in place only when complete, and never over another file.
    ok = ok && QFile::rename(partial, to);
    QFile::remove(partial);
    if (!ok && error)
        *error = QStringLiteral("a copy of the Access file could not be made as \"%1\"")
                     .arg(QDir::toNativeSeparators(to));
    return ok;
}

} // namespace

QString temporaryPath(const ProgramFolder &folder)
{
    for (;;) {
        const QString path = folder.filePath(
            kTemporaryPrefix + QString::number(QRandomGenerator::global()->generate(), 36));
        if (!QFileInfo::exists(path))
            return path;
    }
}

void removeLeftovers(const ProgramFolder &folder)
{
    // The store builds a new file under a hidden name of its own beside the
    // one it was given, so both forms are looked for.
    const QDir dir(folder.path());
    const QStringList patterns = {kTemporaryPrefix + u'*', u'.' + kTemporaryPrefix + u'*'};
    for (const QString &name : dir.entryList(patterns, QDir::Files | QDir::Hidden | QDir::System))
        QFile::remove(dir.filePath(name));
}

void removeDatabaseFiles(const QString &path)
{
    for (const char *suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(path + QString::fromLatin1(suffix));
}

QString freeKeptPath(const ProgramFolder &folder, const QString &accessPath)
{
    for (int number = 1;; ++number) {
        const QString name = number == 1 ? QString::fromLatin1(LegacyLayout::kKeptFileName)
                                         : QStringLiteral("Sales Log2 (Access %1).mdb").arg(number);
        const QString path = folder.filePath(name);
        if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
            return path;
        if (sameFile(path, accessPath) && !QFileInfo(path).isSymLink())
            return path;
    }
}

bool keep(const QString &accessPath, const QString &keptPath, QString *error)
{
    if (::link(QFile::encodeName(accessPath).constData(),
               QFile::encodeName(keptPath).constData()) != 0) {
        // Given already by an import stopped just after giving it.
        if (errno == EEXIST && sameFile(accessPath, keptPath) && !QFileInfo(keptPath).isSymLink()) {
            syncFolder(keptPath);
            return true;
        }
        if (errno == EEXIST) {
            if (error)
                *error = QStringLiteral("\"%1\" is already taken")
                             .arg(QDir::toNativeSeparators(keptPath));
            return false;
        }
        // A disk without hard links (a memory stick, a network share).
        if (!copyInPlace(accessPath, keptPath, error))
            return false;
    }
    syncFolder(keptPath);
    return true;
}

bool replace(const QString &from, const QString &to, QString *error)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0) {
        if (error)
            *error = QStringLiteral("\"%1\" could not be put in place: %2")
                         .arg(QDir::toNativeSeparators(to), systemError());
        return false;
    }
    syncFolder(to);
    return true;
}

} // namespace LegacyFiles
