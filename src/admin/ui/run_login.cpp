#include "admin/ui/run_login.h"

#include "admin/first_password.h"
#include "admin/password_file.h"
#include "admin/ui/login_window.h"

QString unreadablePasswordMessage(const QString &path, const QString &error)
{
    return QStringLiteral("The password file %1 could not be read:\n%2\n\n"
                          "Tarvex cannot check the password and will close.")
        .arg(path, error);
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
    case PasswordFile::State::Holds:
        break;
    }
    LoginWindow window(reading.password, file, prompts, parent);
    window.exec();
    return window.loggedIn();
}
