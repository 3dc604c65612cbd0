#pragma once

#include "common/program_folder.h"

#include <QString>

// The user who last signed in on this computer, offered in the login
// window's user name box next time: "LastUser.txt" in the data folder, one
// quoted item. It holds a name only, never a password.
class LastUserFile
{
public:
    explicit LastUserFile(const ProgramFolder &folder);

    static QString fileName() { return QStringLiteral("LastUser.txt"); }

    // The name, or empty when there is none or it cannot be read.
    QString read() const;
    // Keeps `userName`; a failure only means the box starts empty next time.
    bool write(const QString &userName) const;

private:
    QString m_path;
};
