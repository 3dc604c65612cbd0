#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Every modal question the program asks goes through this interface: message
// boxes, input boxes and the save-file dialog. The program uses the widget
// implementation; tests use a scripted one that checks each prompt and
// answers from a queue.
class Prompts
{
public:
    enum class Icon { None, Information, Warning, Critical, Question };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };
    enum class Echo { Normal, Password };

    struct Message
    {
        QString text;
        QString title;
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
    };

    struct Input
    {
        QString prompt;
        QString title;
        QString defaultText;
        Echo echo = Echo::Normal;
    };

    struct SaveFile
    {
        QString title;
        QString initialPath;
        QStringList nameFilters;   // Qt form: "Database Files (*.mdb)"
        QString defaultSuffix;     // without the point: "mdb"
        bool confirmOverwrite = true;
    };

    // The title of a message box or input box that has none of its own.
    static QString applicationTitle() { return QStringLiteral("Tarvex"); }

    virtual ~Prompts() = default;

    // Shows a message box and returns the button pressed. An empty title
    // shows the application title.
    Answer message(Message message);
    Answer message(const QString &text, const QString &title = {}, Icon icon = Icon::None,
                   Buttons buttons = Buttons::Ok);

    // Shows an input box; the text typed, or std::nullopt for Cancel.
    std::optional<QString> input(Input input);
    std::optional<QString> input(const QString &prompt, const QString &title = {},
                                 const QString &defaultText = {});

    // Shows a save-file dialog; the chosen path, or std::nullopt for Cancel.
    virtual std::optional<QString> saveFile(const SaveFile &request) = 0;

protected:
    virtual Answer showMessage(const Message &message) = 0;
    virtual std::optional<QString> showInput(const Input &input) = 0;
};
