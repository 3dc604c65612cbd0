#pragma once

#include <QString>

// The folder that holds the program's files: the database, the settings
// files, the password file and the help file. In production it is the
// executable's folder; tests hand every window a temporary folder instead.
class ProgramFolder
{
public:
    explicit ProgramFolder(QString path);

    // The executable's folder. Needs a QCoreApplication.
    static ProgramFolder ofExecutable();

    const QString &path() const { return m_path; }

    // The full path of a file in the folder, joined with "/".
    QString filePath(const QString &fileName) const;

private:
    QString m_path;
};
