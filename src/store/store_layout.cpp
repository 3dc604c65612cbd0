#include "store_layout.h"

#include "store_sql.h"

#include <QStringList>

namespace StoreLayout {

namespace {

QString quoted(const char *name)
{
    return StoreSql::quoted(QString::fromLatin1(name));
}

} // namespace

QString createStatement(StoreEngine::Engine engine, const Table &table)
{
    QStringList parts;
    bool keyed = false;
    for (const Column &column : table.columns) {
        parts << StoreEngine::columnDeclaration(engine, quoted(column.name), column.kind);
        keyed = keyed || column.kind == StoreEngine::ColumnKind::Key;
    }
    if (const QString rowKey = StoreEngine::rowKeyColumn(engine); !keyed && !rowKey.isEmpty())
        parts << rowKey;
    return QStringLiteral("CREATE TABLE ") + quoted(table.name) + QStringLiteral(" (\n    ") +
           parts.join(QStringLiteral(",\n    ")) + QStringLiteral("\n)") +
           StoreEngine::tableOptions(engine);
}

QString addColumnStatement(StoreEngine::Engine engine, const char *table, const Column &column)
{
    return QStringLiteral("ALTER TABLE %1 ADD COLUMN %2")
        .arg(quoted(table),
             StoreEngine::columnDeclaration(engine, quoted(column.name), column.kind));
}

QString indexStatement(const char *name, const char *table, const QString &columns)
{
    return QStringLiteral("CREATE INDEX %1 ON %2(%3)").arg(quoted(name), quoted(table), columns);
}

} // namespace StoreLayout
