#pragma once

#include "common/prompts.h"

class QWidget;

// The prompts as ordinary Qt dialogs: QMessageBox, QInputDialog and a
// non-native QFileDialog, so a person, an accessibility tool and an automated
// driver all see standard dialogs with stable object names.
class WidgetPrompts : public Prompts
{
public:
    explicit WidgetPrompts(QWidget *parent = nullptr);

    // The window the dialogs are centred on; may change as windows come and go.
    void setParentWidget(QWidget *parent) { m_parent = parent; }

    std::optional<QString> saveFile(const SaveFile &request) override;

protected:
    Answer showMessage(const Message &message) override;
    std::optional<QString> showInput(const Input &input) override;

private:
    QWidget *m_parent;
};
