#include "worksheet_state.h"

std::optional<StateControls> controlsForState(WorksheetState state)
{
    const QString print = QStringLiteral("Print");
    const QString save = QStringLiteral("Save");
    const QString update = QStringLiteral("Update");
    switch (state) {
    case WorksheetState::NewDeal:
        return StateControls{print, true, save, true, false, false};
    case WorksheetState::Saved:
        return std::nullopt;
    case WorksheetState::Recalled:
        return StateControls{update, true, update, true, true, false};
    case WorksheetState::RecalledAndPaid:
        return StateControls{print, false, save, false, false, true};
    }
    return std::nullopt;
}
