#include "scripted_prompts.h"

#include <gtest/gtest.h>

const char *toString(Prompts::Icon icon)
{
    switch (icon) {
    case Prompts::Icon::None: return "None";
    case Prompts::Icon::Information: return "Information";
    case Prompts::Icon::Warning: return "Warning";
    case Prompts::Icon::Critical: return "Critical";
    case Prompts::Icon::Question: return "Question";
    }
    return "?";
}

const char *toString(Prompts::Buttons buttons)
{
    switch (buttons) {
    case Prompts::Buttons::Ok: return "Ok";
    case Prompts::Buttons::OkCancel: return "OkCancel";
    case Prompts::Buttons::YesNo: return "YesNo";
    case Prompts::Buttons::YesNoCancel: return "YesNoCancel";
    }
    return "?";
}

ScriptedPrompts::~ScriptedPrompts()
{
    verify();
}

ScriptedPrompts &ScriptedPrompts::expectMessage(const QString &text, const QString &title,
                                                Icon icon, Buttons buttons, Answer answer)
{
    const QString shownTitle = title.isEmpty() ? applicationTitle() : title;
    m_expected.push_back(ExpectedMessage{Message{text, shownTitle, icon, buttons}, false, answer});
    return *this;
}

ScriptedPrompts &ScriptedPrompts::expectMessageText(const QString &text, Answer answer)
{
    m_expected.push_back(ExpectedMessage{Message{text, {}, Icon::None, Buttons::Ok}, true, answer});
    return *this;
}

ScriptedPrompts &ScriptedPrompts::expectInput(const QString &prompt, const QString &title,
                                              const QString &defaultText,
                                              std::optional<QString> answer)
{
    const QString shownTitle = title.isEmpty() ? applicationTitle() : title;
    m_expected.push_back(
        ExpectedInput{Input{prompt, shownTitle, defaultText, Echo::Normal}, false, answer});
    return *this;
}

ScriptedPrompts &ScriptedPrompts::expectInputPrompt(const QString &prompt,
                                                    std::optional<QString> answer)
{
    m_expected.push_back(ExpectedInput{Input{prompt, {}, {}, Echo::Normal}, true, answer});
    return *this;
}

ScriptedPrompts &ScriptedPrompts::expectSaveFile(std::optional<QString> path,
                                                 std::function<void(const SaveFile &)> check)
{
    m_expected.push_back(ExpectedSaveFile{std::move(path), std::move(check)});
    return *this;
}

void ScriptedPrompts::verify()
{
    for (const Expected &left : m_expected) {
        if (const auto *m = std::get_if<ExpectedMessage>(&left))
            ADD_FAILURE() << "Expected message box did not appear: \""
                          << m->message.text.toStdString() << "\"";
        else if (const auto *i = std::get_if<ExpectedInput>(&left))
            ADD_FAILURE() << "Expected input box did not appear: \""
                          << i->input.prompt.toStdString() << "\"";
        else
            ADD_FAILURE() << "Expected save-file dialog did not appear";
    }
    m_expected.clear();
}

Prompts::Answer ScriptedPrompts::showMessage(const Message &message)
{
    Recorded record{Recorded::Kind::Message, message, {}, {}};
    m_recorded.append(record);
    const Answer fallback = message.buttons == Buttons::Ok       ? Answer::Ok
                            : message.buttons == Buttons::YesNo ? Answer::No
                                                                : Answer::Cancel;
    if (m_expected.empty() || !std::holds_alternative<ExpectedMessage>(m_expected.front())) {
        ADD_FAILURE() << "Unexpected message box: \"" << message.text.toStdString()
                      << "\" title \"" << message.title.toStdString() << "\"";
        return fallback;
    }
    const ExpectedMessage expected = std::get<ExpectedMessage>(m_expected.front());
    m_expected.pop_front();
    EXPECT_EQ(message.text.toStdString(), expected.message.text.toStdString());
    if (!expected.textOnly) {
        EXPECT_EQ(message.title.toStdString(), expected.message.title.toStdString())
            << "title of \"" << message.text.toStdString() << "\"";
        EXPECT_STREQ(toString(message.icon), toString(expected.message.icon))
            << "icon of \"" << message.text.toStdString() << "\"";
        EXPECT_STREQ(toString(message.buttons), toString(expected.message.buttons))
            << "buttons of \"" << message.text.toStdString() << "\"";
    }
    return expected.answer;
}

std::optional<QString> ScriptedPrompts::showInput(const Input &input)
{
    m_recorded.append(Recorded{Recorded::Kind::Input, {}, input, {}});
    if (m_expected.empty() || !std::holds_alternative<ExpectedInput>(m_expected.front())) {
        ADD_FAILURE() << "Unexpected input box: \"" << input.prompt.toStdString() << "\"";
        return std::nullopt;
    }
    const ExpectedInput expected = std::get<ExpectedInput>(m_expected.front());
    m_expected.pop_front();
    EXPECT_EQ(input.prompt.toStdString(), expected.input.prompt.toStdString());
    if (!expected.promptOnly) {
        EXPECT_EQ(input.title.toStdString(), expected.input.title.toStdString());
        EXPECT_EQ(input.defaultText.toStdString(), expected.input.defaultText.toStdString());
    }
    return expected.answer;
}

std::optional<QString> ScriptedPrompts::saveFile(const SaveFile &request)
{
    m_recorded.append(Recorded{Recorded::Kind::SaveFile, {}, {}, request});
    if (m_expected.empty() || !std::holds_alternative<ExpectedSaveFile>(m_expected.front())) {
        ADD_FAILURE() << "Unexpected save-file dialog";
        return std::nullopt;
    }
    const ExpectedSaveFile expected = std::get<ExpectedSaveFile>(m_expected.front());
    m_expected.pop_front();
    if (expected.check)
        expected.check(request);
    return expected.path;
}
