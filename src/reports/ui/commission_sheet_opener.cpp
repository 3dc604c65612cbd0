#include "reports/ui/commission_sheet_opener.h"

#include "admin/ui/main_menu.h"
#include "common/program_folder.h"
#include "common/ui/bring_up.h"
#include "reports/ui/form2.h"

#include <QPointer>

#include <memory>

std::function<void()> commissionSheetOpener(MainMenu &menu, DealDatabase &database,
                                            const ProgramFolder &folder, Prompts &prompts,
                                            QWidget *mainWindow)
{
    struct Opened
    {
        QPointer<Form2> form;        // owned by the main window
        std::unique_ptr<Form2> kept; // without a main window, owned here
    };
    auto opened = std::make_shared<Opened>();
    return [opened, &menu, &database, folder, &prompts, mainWindow] {
        QPointer<Form2> &form = opened->form;
        if (!form) {
            form = new Form2(database, folder, prompts, menu.toolBar(), mainWindow);
            if (!mainWindow)
                opened->kept.reset(form);
        } else if (!form->isVisible()) {
            form->Form_Load();
        }
        bringUp(*form);
    };
}
