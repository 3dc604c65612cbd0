#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The places the data folder is chosen from at start-up.
struct DataFolderPlaces
{
    QString chosen;           // --data-folder or TARVEX_DATA_FOLDER; empty when neither
    QString executableFolder; // the folder of the running executable
    QString userDataFolder;   // the user's own data folder for Tarvex
};

// The folder that holds the program's files: the database, the settings
// files, the password file and the help file. In production it is chosen by
// choose(); tests hand every window a temporary folder instead.
class ProgramFolder
{
public:
    explicit ProgramFolder(QString path);

    // The places of this run: `chosen` as given, the executable's folder and
    // the user's data folder (QStandardPaths::AppDataLocation). Needs a
    // QCoreApplication with its application name set.
    static DataFolderPlaces placesOfThisRun(const QString &chosen);

    // True when a file can be created in the folder `path` (tried, not guessed
    // from permission bits).
    static bool canWriteIn(const QString &path);

    // True when `path` is the bin folder of an installed Tarvex (a sibling
    // share/tarvex exists): such a folder never holds the program's files.
    static bool isInstalledBinFolder(const QString &path);

    // Chooses the data folder, in this order: the chosen folder, created when
    // missing; the executable's folder when files can be written there and it
    // is not an installed bin folder; the user's data folder, created when
    // missing. A chosen folder that cannot be used is an error of its own:
    // the program does not quietly keep its files elsewhere. On failure
    // returns false and sets `error` to a message naming the folder.
    static bool choose(const DataFolderPlaces &places, ProgramFolder *folder, QString *error,
                       const std::function<bool(const QString &)> &canWrite = &canWriteIn);

    // The program's files (the deal database "Sales Log2.mdb", "PW.txt") that
    // lie in the executable's folder when choose() passed that folder over,
    // because it cannot be written, for `chosen`: to the user they would
    // look lost. Empty when no folder holding them was passed over.
    static QStringList filesPassedOver(const DataFolderPlaces &places,
                                       const ProgramFolder &chosen);

    const QString &path() const { return m_path; }

    // The full path of a file in the folder, joined with "/".
    QString filePath(const QString &fileName) const;

private:
    QString m_path;
};
