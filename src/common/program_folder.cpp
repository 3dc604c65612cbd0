#include "program_folder.h"

#include "durable_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {

QString unusableMessage(const QString &path, const QString &reason)
{
    return QStringLiteral("Tarvex cannot keep its files in the folder\n%1\n\n%2")
        .arg(QDir::toNativeSeparators(path), reason);
}

// Creates the folder when missing and checks that files can be written in it.
bool makeUsable(const QString &path, const std::function<bool(const QString &)> &canWrite,
                QString *error)
{
    const QFileInfo info(path);
    const bool existed = info.exists();
    if (existed && !info.isDir()) {
        *error = unusableMessage(path, QStringLiteral("A file of that name is in the way."));
        return false;
    }
    if (!existed && !QDir().mkpath(path)) {
        *error = unusableMessage(path, QStringLiteral("The folder could not be created."));
        return false;
    }
    // A folder made for the program's files is the user's alone; a folder
    // that was there keeps its permissions.
    if (!existed && !DurableFile::makePrivate(path)) {
        *error = unusableMessage(path, QStringLiteral("Its permissions could not be set."));
        return false;
    }
    if (!canWrite(path)) {
        *error = unusableMessage(path, QStringLiteral("Files cannot be written in it."));
        return false;
    }
    return true;
}

} // namespace

ProgramFolder::ProgramFolder(QString path) : m_path(QDir::fromNativeSeparators(std::move(path)))
{
    while (m_path.size() > 1 && m_path.endsWith(u'/'))
        m_path.chop(1);
}

DataFolderPlaces ProgramFolder::placesOfThisRun(const QString &chosen)
{
    return {chosen, QCoreApplication::applicationDirPath(),
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)};
}

bool ProgramFolder::canWriteIn(const QString &path)
{
    if (!QFileInfo(path).isDir())
        return false;
    QTemporaryFile probe(QDir(path).filePath(QStringLiteral(".tarvex-write-test-XXXXXX")));
    return probe.open();
}

bool ProgramFolder::isInstalledBinFolder(const QString &path)
{
    const QDir bin(path);
    return bin.dirName() == u"bin" && QFileInfo(bin.filePath(QStringLiteral("../share/tarvex"))).isDir();
}

bool ProgramFolder::choose(const DataFolderPlaces &places, ProgramFolder *folder, QString *error,
                           const std::function<bool(const QString &)> &canWrite)
{
    QString path;
    if (!places.chosen.isEmpty()) {
        path = QDir(places.chosen).absolutePath();
    } else if (!places.executableFolder.isEmpty() && !isInstalledBinFolder(places.executableFolder)
               && canWrite(places.executableFolder)) {
        *folder = ProgramFolder(places.executableFolder);
        return true;
    } else {
        path = places.userDataFolder;
        if (path.isEmpty()) {
            *error = QStringLiteral("Tarvex cannot keep its files: there is no folder for "
                                    "them in this user's home.");
            return false;
        }
    }
    if (!makeUsable(path, canWrite, error))
        return false;
    *folder = ProgramFolder(path);
    return true;
}

QStringList ProgramFolder::filesPassedOver(const DataFolderPlaces &places,
                                           const ProgramFolder &chosen)
{
    if (!places.chosen.isEmpty() || places.executableFolder.isEmpty() ||
        isInstalledBinFolder(places.executableFolder) ||
        ProgramFolder(places.executableFolder).path() == chosen.path())
        return {};
    QStringList files;
    for (const QString &name : {QStringLiteral("Sales Log2.mdb"), QStringLiteral("PW.txt")}) {
        if (QFileInfo::exists(QDir(places.executableFolder).filePath(name)))
            files << name;
    }
    return files;
}

QString ProgramFolder::filePath(const QString &fileName) const
{
    return m_path + u'/' + fileName;
}
