#include "admin/login_check.h"

QString FileLoginCheck::saveFailedMessage(const QString &path, const QString &error)
{
    return QStringLiteral("The new password could not be saved in %1:\n%2\n"
                          "The password has not been changed.")
        .arg(path, error);
}

LoginCheck::Outcome FileLoginCheck::check(const QString &, const QString &password)
{
    // Exact: letter case and leading or trailing blanks count.
    Outcome outcome;
    if (password == m_storedPassword) {
        outcome.kind = Outcome::Kind::Right;
        m_signedIn = Access();
    }
    return outcome;
}

QString FileLoginCheck::refusalOf(const QString &password) const
{
    return PasswordFile::canStore(password) ? QString() : PasswordFile::doubleQuoteRefusal();
}

bool FileLoginCheck::store(const QString &, const QString &password, QString *message)
{
    QString error;
    if (m_file.write(password, &error))
        return true;
    *message = saveFailedMessage(m_file.path(), error);
    return false;
}

QString UsersLoginCheck::waitMessage(qint64 seconds)
{
    return seconds == 1 ? QStringLiteral("Too many wrong passwords in a row. "
                                         "Please wait 1 second before trying again.")
                        : QStringLiteral("Too many wrong passwords in a row. "
                                         "Please wait %1 seconds before trying again.")
                              .arg(seconds);
}

QString UsersLoginCheck::unreadableMessage(const QString &error)
{
    return QStringLiteral("The users could not be read from the deal database:\n%1").arg(error);
}

LoginCheck::Outcome UsersLoginCheck::check(const QString &userName, const QString &password)
{
    const UserAccounts::Attempt attempt = m_accounts.signIn(nameOf(userName), password);
    Outcome outcome;
    switch (attempt.outcome) {
    case UserAccounts::Attempt::Outcome::SignedIn:
        outcome.kind = Outcome::Kind::Right;
        m_signedIn = Access(attempt.user.userName, attempt.user.role, attempt.user.salesPerson);
        break;
    case UserAccounts::Attempt::Outcome::Wrong:
        break;
    case UserAccounts::Attempt::Outcome::Wait:
        outcome.kind = Outcome::Kind::Wait;
        outcome.wait = attempt.wait;
        outcome.message = waitMessage(attempt.wait);
        break;
    case UserAccounts::Attempt::Outcome::Failed:
        outcome.kind = Outcome::Kind::Failed;
        outcome.message = unreadableMessage(attempt.error);
        break;
    }
    return outcome;
}

bool UsersLoginCheck::store(const QString &userName, const QString &password, QString *message)
{
    QString error;
    if (m_accounts.setPassword(nameOf(userName), password, &error))
        return true;
    *message = QStringLiteral("The new password could not be saved in the deal database:\n%1\n"
                              "The password has not been changed.")
                   .arg(error);
    return false;
}
