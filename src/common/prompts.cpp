#include "prompts.h"

Prompts::Answer Prompts::message(Message request)
{
    if (request.title.isEmpty())
        request.title = applicationTitle();
    return showMessage(request);
}

Prompts::Answer Prompts::message(const QString &text, const QString &title, Icon icon,
                                 Buttons buttons)
{
    return message(Message{text, title, icon, buttons});
}

std::optional<QString> Prompts::input(Input request)
{
    if (request.title.isEmpty())
        request.title = applicationTitle();
    return showInput(request);
}

std::optional<QString> Prompts::input(const QString &prompt, const QString &title,
                                      const QString &defaultText)
{
    return input(Input{prompt, title, defaultText, Echo::Normal});
}
