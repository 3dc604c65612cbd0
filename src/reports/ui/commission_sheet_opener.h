#pragma once

#include <functional>

class DealDatabase;
class ProgramFolder;
class Prompts;
class QToolBar;
class QWidget;

// The command that opens the commission sheet window CommissionSheetWindow: the one window,
// made on first use as a window of `mainWindow` (so it goes with it) and
// kept. Opening it after it was closed loads it afresh; opening it while it
// is open brings it to the front. The window disables the main toolbar
// while it is open.
//
// `database`, `prompts` and `mainToolBar` must outlive `mainWindow`.
std::function<void()> commissionSheetOpener(QToolBar *mainToolBar, DealDatabase &database,
                                            const ProgramFolder &folder, Prompts &prompts,
                                            QWidget *mainWindow);
