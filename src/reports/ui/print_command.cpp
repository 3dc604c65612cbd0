#include "reports/ui/print_command.h"

#include "reports/ui/slip_printer.h"
#include "worksheet/ui/deal_worksheet.h"

PrintCommand makePrintCommand(DealWorksheet &form, std::function<void()> saveAfterPrint)
{
    auto *printer = new SlipPrinter(&form);
    const auto printSlip = [printer, &form, saveAfterPrint = std::move(saveAfterPrint)] {
        printer->print(form.deal());
        if (saveAfterPrint)
            saveAfterPrint();
    };
    QObject::connect(&form, &DealWorksheet::printRequested, printer, printSlip);
    return {printer, printSlip};
}
