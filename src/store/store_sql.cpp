#include "store_sql.h"

namespace StoreSql {

namespace {

thread_local Fault t_lastFault = Fault::None;

// SQLite's primary result codes that say the store, not the data, failed.
constexpr int kPerm = 3;
constexpr int kBusy = 5;
constexpr int kLocked = 6;
constexpr int kNoMem = 7;
constexpr int kReadOnly = 8;
constexpr int kIoErr = 10;
constexpr int kCorrupt = 11;
constexpr int kFull = 13;
constexpr int kCantOpen = 14;
constexpr int kProtocol = 15;
constexpr int kNotADb = 26;

} // namespace

Fault faultOf(const QSqlError &error)
{
    if (error.type() == QSqlError::NoError)
        return Fault::None;
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    if (!ok)
        return Fault::Data;
    // An extended code holds its primary code in its low byte.
    switch (code & 0xff) {
    case kFull:
        return Fault::DiskFull;
    case kReadOnly:
    case kPerm:
    case kCantOpen:
        return Fault::ReadOnly;
    case kBusy:
    case kLocked:
    case kNoMem:
    case kIoErr:
    case kCorrupt:
    case kProtocol:
    case kNotADb:
        return Fault::Store;
    default:
        return Fault::Data;
    }
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
