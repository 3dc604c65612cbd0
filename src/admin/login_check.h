#pragma once

#include "admin/password_file.h"
#include "common/permissions.h"
#include "store/user_accounts.h"

#include <QString>

#include <optional>

// What the login window checks a typed password against and where a changed
// password goes: PW.txt's one password (an installation before users), or
// the users of the deal database. With only one active user the window asks
// no user name and checks that user's password.
class LoginCheck
{
public:
    struct Outcome
    {
        enum class Kind { Right, Wrong, Wait, Failed };
        Kind kind = Kind::Wrong;
        qint64 wait = 0; // seconds, for Wait
        QString message; // the whole text to show, for Failed
    };

    virtual ~LoginCheck() = default;

    // True when the window asks who is signing in.
    virtual bool asksUserName() const { return false; }
    virtual Outcome check(const QString &userName, const QString &password) = 0;
    // True when a new password is asked twice, masked; false when once, in
    // plain view (PW.txt's change, as it always was).
    virtual bool confirmsNewPassword() const { return true; }
    // Why `password` cannot be stored; empty when it can.
    virtual QString refusalOf(const QString & /*password*/) const { return {}; }
    // Stores the new password of the user whose password was just checked;
    // false with the whole text to show in `message`.
    virtual bool store(const QString &userName, const QString &password, QString *message) = 0;

    // Who signed in, after a Right check.
    const std::optional<Access> &signedIn() const { return m_signedIn; }

protected:
    std::optional<Access> m_signedIn;
};

// PW.txt's password, compared exactly; a change rewrites PW.txt. Whoever
// knows it is the manager.
class FileLoginCheck : public LoginCheck
{
public:
    FileLoginCheck(QString storedPassword, PasswordFile file)
        : m_storedPassword(std::move(storedPassword)), m_file(std::move(file))
    {
    }
    Outcome check(const QString &userName, const QString &password) override;
    bool confirmsNewPassword() const override { return false; }
    QString refusalOf(const QString &password) const override;
    bool store(const QString &userName, const QString &password, QString *message) override;

    static QString saveFailedMessage(const QString &path, const QString &error);

private:
    QString m_storedPassword;
    PasswordFile m_file;
};

// The users of the deal database; a wrong password counts against the user
// and the fifth in a row makes the next attempt wait.
class UsersLoginCheck : public LoginCheck
{
public:
    // `sole` is the one active user when there is only one.
    UsersLoginCheck(UserAccounts &accounts, std::optional<UserAccounts::User> sole)
        : m_accounts(accounts), m_sole(std::move(sole))
    {
    }
    bool asksUserName() const override { return !m_sole; }
    Outcome check(const QString &userName, const QString &password) override;
    bool store(const QString &userName, const QString &password, QString *message) override;

    static QString waitMessage(qint64 seconds);
    static QString unreadableMessage(const QString &error);

private:
    QString nameOf(const QString &typed) const { return m_sole ? m_sole->userName : typed; }

    UserAccounts &m_accounts;
    std::optional<UserAccounts::User> m_sole;
};
