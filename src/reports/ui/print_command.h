#pragma once

#include <functional>

class Form1;
class MainMenu;
class SlipPrinter;

// Attaches the print command to the toolbar button "tbrPrint" (which also
// serves the File menu's "mnuprint") and to the worksheet's PRINT button:
// the commission slip of the deal on the worksheet is shown, then
// `saveAfterPrint` runs, which saves a deal not saved yet. Returns the slip
// printer, owned by the worksheet.
SlipPrinter *installPrintCommand(MainMenu &menu, Form1 &form, std::function<void()> saveAfterPrint);
