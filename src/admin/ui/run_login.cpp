#include "admin/ui/run_login.h"

#include "admin/first_password.h"
#include "admin/password_file.h"
#include "admin/last_user_file.h"
#include "admin/ui/login_window.h"
#include "admin/user_move_in.h"

QString unreadablePasswordMessage(const QString &path, const QString &error)
{
    return PasswordFile::unreadableMessage(path, error);
}

bool runLogin(const ProgramFolder &folder, Prompts &prompts, QWidget *parent)
{
    const PasswordFile file(folder);
    const PasswordFile::Reading reading = file.read();
    switch (reading.state) {
    case PasswordFile::State::Missing:
    case PasswordFile::State::NoItem:
        return FirstPassword::choose(file, prompts);
    case PasswordFile::State::Unreadable:
        prompts.message(unreadablePasswordMessage(file.path(), reading.error),
                        QStringLiteral("Login"), Prompts::Icon::Critical);
        return false;
    case PasswordFile::State::Moved:
        // The passwords are the database's: signInUser() checks them.
        return false;
    case PasswordFile::State::Holds:
        break;
    }
    LoginWindow window(reading.password, file, prompts, parent);
    window.exec();
    return window.loggedIn();
}

std::optional<Access> signInUser(const ProgramFolder &folder, UserAccounts &accounts,
                                 Prompts &prompts, std::optional<QString> chosen, QWidget *parent)
{
    switch (UserMoveIn::ensureUsers(folder, accounts, prompts, std::move(chosen))) {
    case UserMoveIn::Result::Stop:
        return std::nullopt;
    case UserMoveIn::Result::SignedIn:
        return Access(QString::fromLatin1(UserMoveIn::kManager), Role::Manager);
    case UserMoveIn::Result::Ready:
        break;
    }
    QString error;
    const std::optional<qint64> users = accounts.count(&error);
    std::optional<UserAccounts::User> sole = users ? accounts.soleActiveUser(&error) : std::nullopt;
    if (!error.isEmpty()) {
        prompts.message(UsersLoginCheck::unreadableMessage(error) +
                            QStringLiteral("\n\nTarvex will close."),
                        QStringLiteral("Login"), Prompts::Icon::Critical);
        return std::nullopt;
    }
    const bool asksName = !sole;
    const LastUserFile lastUser(folder);
    LoginWindow window(std::make_unique<UsersLoginCheck>(accounts, std::move(sole)),
                       lastUser.read(), prompts, parent);
    window.exec();
    if (!window.loggedIn() || !window.signedIn())
        return std::nullopt;
    if (asksName)
        lastUser.write(window.signedIn()->userName());
    return window.signedIn();
}
