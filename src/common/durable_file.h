#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Puts a file in place so that it is either wholly there or not changed at
// all, and says so truthfully. Every file the program writes goes through it.
//
// The new content is written under a temporary name beside the file, every
// write checked, then synced to the disk and closed; only then is it renamed
// over the file, and the folder is synced so that the new name itself is on
// the disk. A failure at any step removes the temporary file and leaves the
// old file as it was. A buffered write that "succeeds" on a full disk is
// caught by the sync.
//
// A new file is the user's alone (mode 0600, whatever the umask); a file that
// is replaced keeps its permissions, and one that the user may not write is not replaced. A
// link to a file is followed: the file it names is replaced.
//
// Temporary names are ".<name>.tarvex-tmp-<process>-<n>", so one left behind
// by a program that was killed can be recognised and removed later
// (removeStaleTemporaries).
class DurableFile
{
public:
    // The mode of every file the program creates, and of the folder it makes
    // for them: readable by the user alone.
    static constexpr unsigned kNewFileMode = 0600;
    static constexpr unsigned kNewFolderMode = 0700;
    // Makes the file or folder at `path` the user's alone (kNewFileMode, or
    // kNewFolderMode for a folder); false, with the reason, when it cannot.
    static bool makePrivate(const QString &path, QString *error = nullptr);

    // The steps at which a write can fail, in order.
    enum class Step { Create, Write, Sync, Close, Rename, SyncFolder };

    explicit DurableFile(QString targetPath);
    ~DurableFile(); // removes a temporary file not put in place
    DurableFile(const DurableFile &) = delete;
    DurableFile &operator=(const DurableFile &) = delete;

    // Writes `bytes` under the temporary name, synced and closed. False with
    // errorString() set on failure; nothing then remains.
    bool write(const QByteArray &bytes);
    // Renames the written temporary over the target and syncs the folder.
    bool commit();
    // Removes the written temporary; the target is not touched.
    void discard();

    const QString &errorString() const { return m_error; }

    // write() and commit() together.
    static bool replace(const QString &targetPath, const QByteArray &bytes,
                        QString *error = nullptr);

    // For a file another writer has made complete under a temporary name (a
    // database copy): syncs it, renames it over the target and syncs the
    // folder. The temporary is removed on failure.
    static bool putInPlace(const QString &temporaryPath, const QString &targetPath,
                           QString *error = nullptr);

    // Syncs the folder's list of names, so that a rename or a new link in it
    // survives a power cut.
    static bool syncFolder(const QString &folderPath, QString *error = nullptr);
    // A fresh temporary name beside `targetPath` (the file is not created).
    static QString temporaryPathFor(const QString &targetPath);
    // True for a name made by temporaryPathFor, with or without a database
    // journal's suffix (-journal, -wal, -shm).
    static bool isTemporaryName(const QString &fileName);
    // Removes from `folderPath` the temporary files of this program whose
    // process no longer runs. Returns how many were removed.
    static int removeStaleTemporaries(const QString &folderPath);

    // Takes from the file at `path` every permission that the file at
    // `modelPath` lacks, so it is never readable more widely than the model.
    static bool narrowPermissions(const QString &path, const QString &modelPath,
                                  QString *error = nullptr);

    // For tests: called before each step; a non-zero return is taken as the
    // step's errno and the step fails with it. An empty function clears it.
    using FailureSeam = std::function<int(Step)>;
    static void setFailureSeam(FailureSeam seam);

private:
    QString m_target;
    QString m_temporary;
    QString m_error;
    bool m_written = false;
};
