#pragma once

#include "common/permissions.h"

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <functional>
#include <optional>

// The people who sign in, kept in the deal database's "Users" table (on a
// server, shared by every desk). Passwords are checked against their
// Argon2id hashes; a wrong one is counted on the user, and from the fifth in
// a row on the next attempt must wait (LoginBackoff). The last active
// manager can be neither disabled nor given another role.
class UserAccounts
{
public:
    struct User
    {
        qint64 id = 0;
        QString userName;
        Role role = Role::Manager;
        QString salesPerson;
        bool disabled = false;
    };

    struct Attempt
    {
        enum class Outcome {
            SignedIn, // `user` is the user signed in
            Wrong,    // no such active user, or a wrong password
            Wait,     // too many wrong passwords: `wait` seconds still to wait
            Failed,   // the database could not be read or written: `error`
        };
        Outcome outcome = Outcome::Wrong;
        User user;
        qint64 wait = 0;
        QString error;
    };

    // `clock` gives the time a failure is recorded and a wait is measured at.
    explicit UserAccounts(QSqlDatabase db,
                          std::function<QDateTime()> clock = &QDateTime::currentDateTime);

    // Every user, by name.
    std::optional<QList<User>> list(QString *error) const;
    // The one active user when there is exactly one (the password-only
    // login); nullopt otherwise or on a read error.
    std::optional<User> soleActiveUser(QString *error) const;
    std::optional<qint64> count(QString *error) const;

    bool add(const User &user, const QString &password, QString *error);

    // Checks a password; a wrong one is counted, a right one clears the count.
    Attempt signIn(const QString &userName, const QString &password);

    // Sets a new password (a manager's reset, or the user's own change once
    // the old one has been checked).
    bool setPassword(const QString &userName, const QString &password, QString *error);
    // The user's own change: the old password is checked first.
    Attempt changeOwnPassword(const QString &userName, const QString &oldPassword,
                              const QString &newPassword);
    bool setRole(const QString &userName, Role role, const QString &salesPerson, QString *error);
    bool setDisabled(const QString &userName, bool disabled, QString *error);

    static QString lastManagerRefusal();
    static QString takenNameRefusal(const QString &userName);

private:
    std::optional<User> find(const QString &userName, bool *found, int *failures,
                             QDateTime *lastFailure, QString *hash, QString *error) const;
    bool recordFailure(qint64 id, int failures, QString *error);
    std::optional<qint64> idOf(const QString &userName, QString *error) const;
    bool keepsAManager(qint64 id, QString *error) const;

    QSqlDatabase m_db;
    std::function<QDateTime()> m_clock;
};
