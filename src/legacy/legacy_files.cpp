#include "legacy_files.h"

#include "legacy_layout.h"

#include "common/durable_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace LegacyFiles {

namespace {

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
            return DurableFile::syncFolder(QFileInfo(keptPath).absolutePath(), error);
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
    return DurableFile::syncFolder(QFileInfo(keptPath).absolutePath(), error);
}

} // namespace LegacyFiles
