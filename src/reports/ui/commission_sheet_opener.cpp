#include "reports/ui/commission_sheet_opener.h"

#include "common/program_folder.h"
#include "common/ui/bring_up.h"
#include "reports/ui/commission_sheet_window.h"

#include <QPointer>

#include <memory>

std::function<void()> commissionSheetOpener(QToolBar *mainToolBar, DealDatabase &database,
                                            const ProgramFolder &folder, Prompts &prompts,
                                            QWidget *mainWindow)
{
    struct Opened
    {
        QPointer<CommissionSheetWindow> form;        // owned by the main window
        std::unique_ptr<CommissionSheetWindow> kept; // without a main window, owned here
    };
    auto opened = std::make_shared<Opened>();
    return [opened, mainToolBar, &database, folder, &prompts, mainWindow] {
        QPointer<CommissionSheetWindow> &form = opened->form;
        if (!form) {
            form = new CommissionSheetWindow(database, folder, prompts, mainToolBar, mainWindow);
            if (!mainWindow)
                opened->kept.reset(form);
        } else if (!form->isVisible()) {
            form->Form_Load();
        }
        bringUp(*form);
    };
}
