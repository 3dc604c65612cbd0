#include "widget_prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace {

QMessageBox::Icon toIcon(Prompts::Icon icon)
{
    switch (icon) {
    case Prompts::Icon::None: return QMessageBox::NoIcon;
    case Prompts::Icon::Information: return QMessageBox::Information;
    case Prompts::Icon::Warning: return QMessageBox::Warning;
    case Prompts::Icon::Critical: return QMessageBox::Critical;
    case Prompts::Icon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toButtons(Prompts::Buttons buttons)
{
    switch (buttons) {
    case Prompts::Buttons::Ok: return QMessageBox::Ok;
    case Prompts::Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case Prompts::Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case Prompts::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

} // namespace

WidgetPrompts::WidgetPrompts(QWidget *parent) : m_parent(parent) {}

Prompts::Answer WidgetPrompts::showMessage(const Message &message)
{
    QWidget *parent = m_parent ? m_parent : QApplication::activeWindow();
    QMessageBox box(toIcon(message.icon), message.title, message.text,
                    toButtons(message.buttons), parent);
    box.setObjectName(QStringLiteral("msgBox"));
    if (message.buttons == Buttons::YesNo || message.buttons == Buttons::YesNoCancel)
        box.setDefaultButton(QMessageBox::Yes);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Ok: return Answer::Ok;
    default:
        // Escape or the frame's close button on a box with a single OK
        // button still means the box was acknowledged.
        return message.buttons == Buttons::Ok ? Answer::Ok
               : message.buttons == Buttons::YesNo ? Answer::No
                                                   : Answer::Cancel;
    }
}

std::optional<QString> WidgetPrompts::showInput(const Input &input)
{
    QWidget *parent = m_parent ? m_parent : QApplication::activeWindow();
    QInputDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("inputBox"));
    dialog.setWindowTitle(input.title);
    dialog.setLabelText(input.prompt);
    dialog.setTextValue(input.defaultText);
    dialog.setTextEchoMode(input.echo == Echo::Password ? QLineEdit::Password
                                                        : QLineEdit::Normal);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

std::optional<QString> WidgetPrompts::saveFile(const SaveFile &request)
{
    QWidget *parent = m_parent ? m_parent : QApplication::activeWindow();
    QFileDialog dialog(parent, request.title);
    dialog.setObjectName(QStringLiteral("CommonDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(request.nameFilters);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.initialPath.isEmpty())
        dialog.selectFile(request.initialPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}
