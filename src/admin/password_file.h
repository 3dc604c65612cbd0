#pragma once

#include "common/program_folder.h"

#include <QString>

// The one password of an installation before users, kept in PW.txt in the
// program folder as a single quoted item on one line ("secret" CR LF), in
// plain text. The stored password is the first item of the file; it may be
// empty. Once the password has moved into the deal database, PW.txt holds
// only a note saying so.
class PasswordFile
{
public:
    // What reading the file found.
    enum class State {
        Missing,    // there is no PW.txt
        NoItem,     // PW.txt exists but holds no item (empty or blank lines)
        Unreadable, // PW.txt exists but cannot be read; `error` says why
        Holds,      // PW.txt holds a password (possibly empty) in `password`
        Moved,      // PW.txt holds only the note that the passwords are in the database
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

    // Replaces the file, all or nothing, with a line saying that the
    // passwords now live in the deal database; it holds no password.
    bool writeMovedNote(QString *error = nullptr) const;
    static QByteArray movedNote();

    // True when `password` can be stored (it holds no double quote).
    static bool canStore(const QString &password);

    // The message shown when PW.txt cannot be read; `error` is the reason.
    static QString unreadableMessage(const QString &path, const QString &error);

    // The message for a password that cannot be stored.
    static QString doubleQuoteRefusal();

private:
    QString m_path;
};
