#include "store_sql.h"

namespace StoreSql {

QString errorText(const QSqlError &error)
{
    const QString own = error.databaseText();
    return own.isEmpty() ? error.text() : own;
}

QString quoted(const QString &identifier)
{
    QString escaped = identifier;
    escaped.replace(u'"', QStringLiteral("\"\""));
    return u'"' + escaped + u'"';
}

QString columnList(const QStringList &columns)
{
    QStringList quotedColumns;
    for (const QString &column : columns)
        quotedColumns << quoted(column);
    return quotedColumns.join(QStringLiteral(", "));
}

QString insertStatement(const QString &table, const QStringList &columns)
{
    QStringList marks;
    for (qsizetype i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(quoted(table), columnList(columns), marks.join(QStringLiteral(", ")));
}

bool exec(QSqlQuery &query, const QVariantList &values, QString *error)
{
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(int(i), values.at(i));
    if (query.exec())
        return true;
    if (error)
        *error = errorText(query.lastError());
    return false;
}

bool prepare(QSqlQuery &query, const QString &statement, QString *error)
{
    if (query.prepare(statement))
        return true;
    if (error)
        *error = errorText(query.lastError());
    return false;
}

} // namespace StoreSql
