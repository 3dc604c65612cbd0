#include "store_sql.h"

#include "store_engine.h"

namespace StoreSql {

namespace {

thread_local Fault t_lastFault = Fault::None;

} // namespace

Fault faultOf(const QSqlError &error)
{
    return StoreEngine::faultOf(error);
}

FaultWatch::FaultWatch()
{
    t_lastFault = Fault::None;
}

Fault FaultWatch::fault() const
{
    return t_lastFault;
}

QString errorText(const QSqlError &error)
{
    t_lastFault = faultOf(error);
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

QString insertReturning(const QString &table, const QStringList &columns, const QString &key)
{
    return insertStatement(table, columns) + QStringLiteral(" RETURNING ") + quoted(key);
}

std::optional<qint64> insertedKey(QSqlQuery &query, const QVariantList &values, QString *error)
{
    if (!exec(query, values, error))
        return std::nullopt;
    const bool returned = query.next();
    const qint64 key = query.value(0).toLongLong();
    query.finish();
    if (!returned) {
        if (error)
            *error = QStringLiteral("the database gave the new row no key");
        return std::nullopt;
    }
    return key;
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
