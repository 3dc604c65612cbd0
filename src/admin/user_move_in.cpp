#include "admin/user_move_in.h"

#include "admin/first_password.h"
#include "admin/password_file.h"

namespace UserMoveIn {

namespace {

QString title()
{
    return QStringLiteral("Login");
}

bool stop(Prompts &prompts, const QString &message)
{
    prompts.message(message + QStringLiteral("\n\nTarvex will close."), title(),
                    Prompts::Icon::Critical);
    return false;
}

bool addManager(UserAccounts &accounts, const QString &password, Prompts &prompts)
{
    UserAccounts::User manager;
    manager.userName = QString::fromLatin1(kManager);
    manager.role = Role::Manager;
    QString error;
    if (accounts.add(manager, password, &error))
        return true;
    return stop(prompts,
                QStringLiteral("The manager's login could not be kept in the deal database:\n%1")
                    .arg(error));
}

// A failure leaves the password where it was; the next start tries again.
void replaceWithNote(const PasswordFile &file, Prompts &prompts, const QString &told)
{
    QString error;
    if (file.writeMovedNote(&error)) {
        prompts.message(told, title(), Prompts::Icon::Information);
        return;
    }
    prompts.message(QStringLiteral("%1 still holds the password and could not be replaced:\n%2\n"
                                   "Tarvex will try again at the next start.")
                        .arg(file.path(), error),
                    title(), Prompts::Icon::Warning);
}

} // namespace

QString movedMessage(const QString &passwordFilePath)
{
    return QStringLiteral("Tarvex now has a login per person. The password of %1 is now the "
                          "password of the user \"manager\", kept in the deal database as a "
                          "hash from which it cannot be read back; %1 no longer holds it.\n\n"
                          "Sign in with it as before. Setup > Users… adds the other people.")
        .arg(passwordFilePath);
}

QString leftOverMessage(const QString &passwordFilePath)
{
    return QStringLiteral("%1 held a password, which is no longer used: the logins are kept in "
                          "the deal database. %1 no longer holds it.")
        .arg(passwordFilePath);
}

bool asksFirstPassword(const ProgramFolder &folder)
{
    const PasswordFile::State state = PasswordFile(folder).read().state;
    return state == PasswordFile::State::Missing || state == PasswordFile::State::NoItem;
}

Result ensureUsers(const ProgramFolder &folder, UserAccounts &accounts, Prompts &prompts,
                   std::optional<QString> chosen)
{
    QString error;
    const std::optional<qint64> users = accounts.count(&error);
    if (!users) {
        stop(prompts, QStringLiteral("The users could not be read from the deal database:\n%1")
                          .arg(error));
        return Result::Stop;
    }
    const PasswordFile file(folder);
    const PasswordFile::Reading reading = file.read();
    if (*users > 0) {
        if (reading.state == PasswordFile::State::Holds)
            replaceWithNote(file, prompts, leftOverMessage(file.path()));
        return Result::Ready;
    }
    switch (reading.state) {
    case PasswordFile::State::Holds:
        if (!addManager(accounts, reading.password, prompts))
            return Result::Stop;
        replaceWithNote(file, prompts, movedMessage(file.path()));
        return Result::Ready;
    case PasswordFile::State::Unreadable:
        prompts.message(PasswordFile::unreadableMessage(file.path(), reading.error), title(),
                        Prompts::Icon::Critical);
        return Result::Stop;
    case PasswordFile::State::Missing:
    case PasswordFile::State::NoItem:
    case PasswordFile::State::Moved:
        break;
    }
    if (!chosen)
        chosen = FirstPassword::ask(prompts);
    if (!chosen || !addManager(accounts, *chosen, prompts))
        return Result::Stop;
    // Nothing to tell: the password was never in the file.
    if (reading.state != PasswordFile::State::Moved) {
        QString ignored;
        file.writeMovedNote(&ignored);
    }
    return Result::SignedIn;
}

} // namespace UserMoveIn
