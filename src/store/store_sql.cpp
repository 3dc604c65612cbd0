#include "store_sql.h"

#include <QVarLengthArray>

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

namespace {

// Whether `value` is the value a statement holds bound already: no value in
// both, or the same whole number or text of the same type. A null text and
// an empty one are different values (NULL and ''). Any other kind of value
// counts as changed.
bool alreadyBound(const QVariant &bound, const QVariant &value)
{
    const QMetaType type = value.metaType();
    if (bound.metaType() != type)
        return false;
    switch (type.id()) {
    case QMetaType::UnknownType:
        return true;
    case QMetaType::QString: {
        const QString &was = *static_cast<const QString *>(bound.constData());
        const QString &is = *static_cast<const QString *>(value.constData());
        return was.isNull() == is.isNull() && was == is;
    }
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Bool:
        return bound == value;
    default:
        return false;
    }
}

// Binds `values`, then `last` when given, and runs the query.
bool run(QSqlQuery &query, const QVariantList &values, const QVariant *last, QString *error)
{
    // A statement keeps its bound values from one run to the next, and
    // binding a value through the driver costs many times more than comparing
    // it: a statement that is run again (the save's, kept prepared) has only
    // the values that changed bound anew.
    const qsizetype count = values.size() + (last ? 1 : 0);
    const auto valueAt = [&](qsizetype i) -> const QVariant & {
        return i < values.size() ? values.at(i) : *last;
    };
    QVarLengthArray<int, 64> changed;
    {
        const QVariantList bound = query.boundValues();
        for (qsizetype i = 0; i < count; ++i) {
            if (i >= bound.size() || !alreadyBound(bound.at(i), valueAt(i)))
                changed.append(int(i));
        }
    } // let go of the bound values before binding, so that they are not copied
    for (const int i : changed)
        query.bindValue(i, valueAt(i));
    if (query.exec())
        return true;
    if (error)
        *error = errorText(query.lastError());
    return false;
}

} // namespace

bool exec(QSqlQuery &query, const QVariantList &values, QString *error)
{
    return run(query, values, nullptr, error);
}

bool exec(QSqlQuery &query, const QVariantList &values, const QVariant &last, QString *error)
{
    return run(query, values, &last, error);
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
