#include "reports/ui/print_command.h"

#include "admin/ui/main_menu.h"
#include "reports/ui/slip_printer.h"
#include "worksheet/ui/form1.h"

SlipPrinter *installPrintCommand(MainMenu &menu, Form1 &form, std::function<void()> saveAfterPrint)
{
    auto *printer = new SlipPrinter(&form);
    const auto printSlip = [printer, &form, saveAfterPrint = std::move(saveAfterPrint)] {
        printer->print(form.deal());
        if (saveAfterPrint)
            saveAfterPrint();
    };
    menu.setCommand(QStringLiteral("tbrPrint"), printSlip);
    QObject::connect(&form, &Form1::printRequested, printer, printSlip);
    return printer;
}
