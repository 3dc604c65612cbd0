#pragma once

#include "worksheet/setup_files.h"
#include "common/program_folder.h"
#include "common/prompts.h"

#include <QString>

class DealWorksheet;
class MainMenu;

// The Setup commands that change the standing figures and the unit list.
// Each figure is asked for in an input box that always offers the fixed
// default; the answer is in force at once and written to its settings file.
// An empty answer (Cancel or an emptied box) writes nothing and reads the
// stored values back. No command touches the deal on screen. An answer that
// is no number is refused with the worksheet's message and the box comes
// again. A file that cannot be written is reported, and the figure stays as
// it was.
class SetupCommands
{
public:
    SetupCommands(DealWorksheet &form, const ProgramFolder &folder, Prompts &prompts);

    void defaultPack();
    void defaultCommission();
    void defaultWarranty();
    void defaultMini();
    // Appends one description a box until an empty answer, then reloads the
    // figures and the unit list, which then shows the new descriptions.
    void addUnit();
    // Opens the worksheet's unit-removal panel.
    void deleteUnit();

private:
    struct Figure
    {
        QString prompt;
        QString title;
        QString offered;
        QString fileName;
        QString (DealWorksheet::*get)() const;
        void (DealWorksheet::*set)(const QString &);
    };

    void askFigure(const Figure &figure);
    QString ask(const QString &prompt, const QString &title, const QString &offered);
    // Asks until the answer is a number or empty.
    QString askNumber(const QString &prompt, const QString &title, const QString &offered);
    // Writes a figure's file; false, after telling the user, when it failed.
    bool writeFigures(const QString &fileName, const QStringList &values);

    DealWorksheet &m_form;
    Prompts &m_prompts;
    SetupFiles m_files;
};

// Attaches the six Setup commands to the toolbar's Setup drop-down
// (tbrPack, tbrComm, tbrWarranty, tbrMini, tbrAddUnit, tbrDeleteUnit) and so
// to their Setup menu twins. The commands live as long as the menu holds them.
void installSetupCommands(MainMenu &menu, DealWorksheet &form, const ProgramFolder &folder,
                          Prompts &prompts);
