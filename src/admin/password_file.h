#pragma once

#include "common/program_folder.h"

#include <QString>

// The one password of the installation, kept in PW.txt in the program folder
// as a single quoted item on one line ("secret" CR LF), in plain text. The
// stored password is the first item of the file; it may be empty.
class PasswordFile
{
public:
    // What reading the file found.
    enum class State {
        Missing,    // there is no PW.txt
        NoItem,     // PW.txt exists but holds no item (empty or blank lines)
        Unreadable, // PW.txt exists but cannot be read; `error` says why
        Holds,      // PW.txt holds a password (possibly empty) in `password`
    };

    struct Reading
    {
        State state = State::Missing;
        QString password;
        QString error;
    };

    explicit PasswordFile(const ProgramFolder &folder);

    static QString fileName() { return QStringLiteral("PW.txt"); }
    const QString &path() const { return m_path; }

    Reading read() const;

    // Replaces the file with `password`, all or nothing. Returns false, with
    // `error` set and the old file untouched, when the password holds a double
    // quote (the file format cannot keep one) or the file cannot be written.
    bool write(const QString &password, QString *error = nullptr) const;

    // True when `password` can be stored (it holds no double quote).
    static bool canStore(const QString &password);

    // The message for a password that cannot be stored.
    static QString doubleQuoteRefusal();

private:
    QString m_path;
};
