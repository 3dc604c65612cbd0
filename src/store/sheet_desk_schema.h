#pragma once

#include "store_engine.h"

#include <QStringList>

// The desk that printed each commission sheet: "Sheets"."DeskName" (the
// computer's name) and "Sheets"."DeskFolder" (the data folder whose data.txt
// the sheet wrote), so that with several desks on one server each desk's
// data.txt follows the sheets printed there. NULL for sheets recorded before.
namespace SheetDeskSchema {

inline constexpr const char *kDeskName = "DeskName";
inline constexpr const char *kDeskFolder = "DeskFolder";

// The statements of the step that adds the two columns to "Sheets".
QStringList statements(StoreEngine::Engine engine);

} // namespace SheetDeskSchema
