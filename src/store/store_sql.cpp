#include "store_sql.h"

#include "store_engine.h"

#include <QVarLengthArray>

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

QString oneLine(const QString &text)
{
    return text.simplified();
}

QString errorText(const QSqlError &error)
{
    t_lastFault = faultOf(error);
    QString text = oneLine(error.databaseText());
    if (text.isEmpty())
        text = oneLine(error.text());
    // A statement on a connection that is no longer open fails without a
    // word from the database.
    if (text.isEmpty())
        text = QStringLiteral("the database gave no reason (the connection to it may have "
                              "been lost)");
    return text;
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

bool prepare(QSqlQuery &query, const QString &statement, QString *error)
{
    if (query.prepare(statement))
        return true;
    if (error)
        *error = errorText(query.lastError());
    return false;
}

} // namespace StoreSql
