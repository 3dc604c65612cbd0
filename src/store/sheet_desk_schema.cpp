#include "sheet_desk_schema.h"

#include "sheet_schema.h"
#include "store_layout.h"

namespace SheetDeskSchema {

QStringList statements(StoreEngine::Engine engine)
{
    using StoreEngine::ColumnKind;
    return {
        StoreLayout::addColumnStatement(engine, SheetSchema::kSheets,
                                        {kDeskName, ColumnKind::PlainText}),
        StoreLayout::addColumnStatement(engine, SheetSchema::kSheets,
                                        {kDeskFolder, ColumnKind::PlainText}),
    };
}

} // namespace SheetDeskSchema
