#pragma once

#include "store_engine.h"

#include <QList>
#include <QString>

// Tables described once and made on either engine: each column's kind
// becomes the engine's own type (StoreEngine::columnDeclaration).
namespace StoreLayout {

struct Column
{
    const char *name;
    StoreEngine::ColumnKind kind;
};

struct Table
{
    const char *name;
    QList<Column> columns;
};

// CREATE TABLE with the columns in their order; on the server a table none
// of whose columns is a Key ends with the row number SQLite keeps hidden.
QString createStatement(StoreEngine::Engine engine, const Table &table);

// ALTER TABLE ... ADD COLUMN.
QString addColumnStatement(StoreEngine::Engine engine, const char *table, const Column &column);

// CREATE INDEX "name" ON "table"(columns), `columns` already quoted.
QString indexStatement(const char *name, const char *table, const QString &columns);

} // namespace StoreLayout
