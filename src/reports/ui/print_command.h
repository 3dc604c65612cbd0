#pragma once

#include <functional>

class DealWorksheet;
class SlipPrinter;

// The print command: the commission slip of the deal on the worksheet is
// shown, then `saveAfterPrint` runs, which saves a deal not saved yet. The
// worksheet's PRINT button runs it at once; `run` is for the menu and toolbar
// entries that print ("tbrPrint", "mnuprint").
struct PrintCommand
{
    SlipPrinter *printer = nullptr; // owned by the worksheet
    std::function<void()> run;
};

PrintCommand makePrintCommand(DealWorksheet &form, std::function<void()> saveAfterPrint);
