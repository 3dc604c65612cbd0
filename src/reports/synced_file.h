#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Replaces a file all or nothing, and durably: the new content is written
// beside the file under a temporary name, every write and the close are
// checked, the content is synced to the disk, and only then does it take the
// file's name (and the folder entry is synced too). A failure at any step
// leaves the file as it was and removes the temporary file.
namespace SyncedFile {

enum class Stage { Written, Synced, Renamed };

struct Hooks
{
    // Stands in for the system's write(); tests give one that fails as a
    // full disk does.
    std::function<long(int fd, const char *data, unsigned long size)> write;
    // Told as each stage is passed.
    std::function<void(Stage)> reached;
};

// False, with the system's reason in `error` ("No space left on device"),
// when the file could not be replaced.
bool replace(const QString &path, const QByteArray &bytes, QString *error, const Hooks &hooks = {});

// Removes temporary files that a replace of `path` stopped short of renaming
// (the program was killed or the power failed in between).
void removeLeftovers(const QString &path);

} // namespace SyncedFile
