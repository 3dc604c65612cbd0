#pragma once

#include "scripted_prompts.h"
#include "temp_program_folder.h"
#include "worksheet/ui/deal_worksheet.h"

#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <memory>

// A worksheet window on a fresh program folder with scripted prompts. Write
// settings files into `dir` before calling start().
class DealWorksheetTest : public ::testing::Test
{
protected:
    // Creates the window and runs its start-up.
    DealWorksheet &start();
    // Shows the window and makes it the active one, so focus moves are real.
    void showActive();
    // Makes another window the active one, then this window again.
    void activateAnotherWindowAndReturn();
    // Moves the focus from wherever it is to `next`, as the Tab key does, and
    // lets the check of the field left run.
    static void moveFocusTo(QWidget *next);
    // The widget holding the focus, or the documented control it belongs to.
    QWidget *focusedControl() const;

    template <class T = QWidget> T *control(const QString &name) const
    {
        T *found = form->findChild<T *>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QLineEdit *line(const QString &name) const { return control<QLineEdit>(name); }
    QComboBox *combo(const QString &name) const { return control<QComboBox>(name); }
    QString text(const QString &name) const;

    void writeSetting(const QString &file, const QByteArray &bytes) { dir.writeBytes(file, bytes); }

    TempProgramFolder dir;
    ScriptedPrompts prompts;
    std::unique_ptr<DealWorksheet> form;
};
