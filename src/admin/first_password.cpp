#include "admin/first_password.h"

namespace FirstPassword {

QString choosePrompt()
{
    return QStringLiteral("No password has been set for Tarvex yet.\n"
                          "Enter the password that will protect the program from now on:");
}

QString confirmPrompt()
{
    return QStringLiteral("Enter the same password again to confirm it:");
}

QString mismatchMessage()
{
    return QStringLiteral("The two passwords are not the same. Please enter the password again.");
}

QString title()
{
    return QStringLiteral("Login");
}

std::optional<QString> ask(Prompts &prompts)
{
    using Echo = Prompts::Echo;
    for (;;) {
        const auto first = prompts.input({choosePrompt(), title(), {}, Echo::Password});
        if (!first)
            return std::nullopt;
        if (!PasswordFile::canStore(*first)) {
            prompts.message(PasswordFile::doubleQuoteRefusal(), title(), Prompts::Icon::Warning);
            continue;
        }
        const auto second = prompts.input({confirmPrompt(), title(), {}, Echo::Password});
        if (!second)
            return std::nullopt;
        if (*second != *first) {
            prompts.message(mismatchMessage(), title(), Prompts::Icon::Warning);
            continue;
        }
        return first;
    }
}

bool choose(const PasswordFile &file, Prompts &prompts)
{
    const std::optional<QString> password = ask(prompts);
    if (!password)
        return false;
    QString error;
    if (!file.write(*password, &error)) {
        prompts.message(QStringLiteral("The password could not be saved in %1:\n%2\n\n"
                                       "Tarvex will close.")
                            .arg(file.path(), error),
                        title(), Prompts::Icon::Critical);
        return false;
    }
    return true;
}

} // namespace FirstPassword
