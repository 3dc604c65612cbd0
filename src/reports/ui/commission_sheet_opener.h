#pragma once

#include <functional>

class DealDatabase;
class MainMenu;
class ProgramFolder;
class Prompts;
class QWidget;

// The command that opens the commission sheet window Form2: the one window,
// made on first use as a window of `mainWindow` (so it goes with it) and
// kept. Opening it after it was closed loads it afresh; opening it while it
// is open brings it to the front. The window disables the menu's toolbar
// while it is open.
//
// `database`, `prompts` and `menu` must outlive `mainWindow`.
std::function<void()> commissionSheetOpener(MainMenu &menu, DealDatabase &database,
                                            const ProgramFolder &folder, Prompts &prompts,
                                            QWidget *mainWindow);
