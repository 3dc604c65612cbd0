#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class ProgramFolder;

// What the command line asks of this run. Options:
//   --help, --version                    print and end
//   --data-folder DIR                    the folder of the program's files
//                                        (TARVEX_DATA_FOLDER when not given)
//   --import-legacy FILE                 import an older installation's Access
//                                        database into the data folder and end
//   --copy-to-server                     copy every row of the data folder's
//                                        database file into the empty server
//                                        database its database.conf names, and end
//   --prepare-data-folder                choose the data folder, create the
//                                        settings files and the database in it,
//                                        print its path and end (no login; used
//                                        by the install test)
// Qt's own options (-platform, -style, ...) are left to Qt. At most one of the
// three actions is given. The data folder is refused when it holds only
// blanks or starts with ~; a relative one is taken from the current folder.
struct CommandLine
{
    enum class Action { Run, PrintAndEnd, Fail };

    Action action = Action::Run;
    QString output;    // what to print before ending: help or version to stdout, an error to stderr
    int exitCode = 0;  // for PrintAndEnd and Fail
    QString dataFolder; // absolute; empty for the folder the data-folder rule chooses
    QString notice;     // for stderr before the run: the folder a relative path names
    bool prepareDataFolder = false;
    QString importLegacy; // the Access file to import; empty for none
    bool copyToServer = false;

    // Reads `arguments` (the program name first). `environmentDataFolder` is
    // TARVEX_DATA_FOLDER; --data-folder wins over it. An unknown option, a
    // stray argument, two actions or a data folder refused gives the reason,
    // the usage and exit code 2.
    static CommandLine parse(const QStringList &arguments, const QString &environmentDataFolder);
};

// --copy-to-server: copies the folder's database file into the server
// database its database.conf names. The report goes to `output`, a failure to
// `error`; `progress` is told of the rows copied. Returns the exit code: 0
// when copied, 1 when the copy failed, 2 when database.conf names no server
// or the file is missing.
int runCopyToServer(const ProgramFolder &folder, QString *output, QString *error,
                    const std::function<bool(qint64 done, qint64 total)> &progress = {});
