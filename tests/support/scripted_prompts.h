#pragma once

#include "common/prompts.h"
#include "test_printers.h"

#include <QList>

#include <deque>
#include <functional>
#include <optional>
#include <variant>

// Prompts for tests: every prompt must have been expected, in order, and is
// checked field by field (text, title, icon, buttons; prompt, title, default)
// with GoogleTest assertions; the queued answer is returned. A prompt nobody
// expected fails the test and is answered Cancel (or No / OK where Cancel is
// not a button). Expectations left over fail the test when the object is
// destroyed or verify() is called.
class ScriptedPrompts : public Prompts
{
public:
    struct Recorded
    {
        enum class Kind { Message, Input, SaveFile } kind;
        Message message;
        Input input;
        SaveFile saveFile;
    };

    ScriptedPrompts() = default;
    ~ScriptedPrompts() override;

    // Expects a message box with exactly these text, title (empty means the
    // application title), icon and buttons; answers `answer`.
    ScriptedPrompts &expectMessage(const QString &text, const QString &title, Icon icon,
                                   Buttons buttons, Answer answer = Answer::Ok);
    // Expects a message box and checks only its text.
    ScriptedPrompts &expectMessageText(const QString &text, Answer answer = Answer::Ok);
    // Expects an input box; answers `answer` (std::nullopt: Cancel).
    ScriptedPrompts &expectInput(const QString &prompt, const QString &title,
                                 const QString &defaultText, std::optional<QString> answer);
    // Expects an input box and checks only its prompt.
    ScriptedPrompts &expectInputPrompt(const QString &prompt, std::optional<QString> answer);
    // Expects a save-file dialog; answers `path` (std::nullopt: Cancel).
    // `check`, when given, looks at the request.
    ScriptedPrompts &expectSaveFile(std::optional<QString> path,
                                    std::function<void(const SaveFile &)> check = {});

    // Fails the test when expected prompts have not appeared; clears them.
    void verify();

    // Every prompt shown so far, in order.
    const QList<Recorded> &recorded() const { return m_recorded; }
    int pendingCount() const { return int(m_expected.size()); }

    std::optional<QString> saveFile(const SaveFile &request) override;

protected:
    Answer showMessage(const Message &message) override;
    std::optional<QString> showInput(const Input &input) override;

private:
    struct ExpectedMessage
    {
        Message message;
        bool textOnly = false;
        Answer answer = Answer::Ok;
    };
    struct ExpectedInput
    {
        Input input;
        bool promptOnly = false;
        std::optional<QString> answer;
    };
    struct ExpectedSaveFile
    {
        std::optional<QString> path;
        std::function<void(const SaveFile &)> check;
    };
    using Expected = std::variant<ExpectedMessage, ExpectedInput, ExpectedSaveFile>;

    std::deque<Expected> m_expected;
    QList<Recorded> m_recorded;
};

// Printable names for assertion messages.
const char *toString(Prompts::Icon icon);
const char *toString(Prompts::Buttons buttons);
