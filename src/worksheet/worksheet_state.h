#pragma once

#include <QString>

#include <optional>

// The four states of the deal worksheet and what each one shows on the print
// button, the toolbar's save button, the delete button and the paid warning.
enum class WorksheetState {
    NewDeal,         // start-up, Clear
    Saved,           // a successful save; the buttons stay as they were
    Recalled,        // a recalled deal that may be corrected or deleted
    RecalledAndPaid, // a recalled deal already paid: no print, no save
};

struct StateControls
{
    QString printCaption; // Command2
    bool printEnabled = true;
    QString saveCaption; // the toolbar's save button
    bool saveEnabled = true;
    bool deleteVisible = false;  // cmdDeleteRecall
    bool warningVisible = false; // lblWarn
};

// What the state shows; std::nullopt for Saved, which leaves the controls as
// they are.
std::optional<StateControls> controlsForState(WorksheetState state);
