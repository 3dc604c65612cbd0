#pragma once

#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <optional>

// Small helpers for the store's statements. Only the store's own constant
// table and column names are ever put into SQL text; every value is bound.
namespace StoreSql {

// "Name" quoted as an SQL identifier.
QString quoted(const QString &identifier);

// "a", "b", "c"
QString columnList(const QStringList &columns);

// INSERT INTO "table" ("a", "b") VALUES (?, ?)
QString insertStatement(const QString &table, const QStringList &columns);

// INSERT INTO "table" ("a", "b") VALUES (?, ?) RETURNING "key": the
// identity the engine gave the new row, read by insertedKey().
QString insertReturning(const QString &table, const QStringList &columns, const QString &key);

// What kind of failure a statement met: a fault of the data written, or of
// the store itself (its disk is full, it cannot be written, another failure).
// On a server shared by several desks also: another desk's transaction met
// this one in a deadlock or a serialization failure and the server broke
// this one off (Conflict: run again from the start, it may well succeed),
// another desk held the rows wanted for longer than this desk waits
// (LockWait), or the connection to the server was lost (Connection).
enum class Fault { None, Data, DiskFull, ReadOnly, Store, Conflict, LockWait, Connection };

// The kind of an error, by the database's own error code.
Fault faultOf(const QSqlError &error);

// The database's own words for an error ("file is not a database"), or
// Qt's when the database gave none, on one line (a server's DETAIL and HINT
// lines follow its message after a space), never empty. Also notes the
// error's fault for the FaultWatch of this thread.
QString errorText(const QSqlError &error);

// The fault of the last failed statement since the watch began, on this
// thread: every failure passes through errorText.
class FaultWatch
{
public:
    FaultWatch();
    Fault fault() const;
};

// `text` on one line: line breaks and runs of white space become one space.
QString oneLine(const QString &text);

// Binds `values` in order and runs the prepared query; on failure `error`
// holds the database's message.
bool exec(QSqlQuery &query, const QVariantList &values, QString *error);
// The same with `last` bound after `values` (a row's values and the key
// that closes it), without building one list of them all.
bool exec(QSqlQuery &query, const QVariantList &values, const QVariant &last, QString *error);

// Runs a prepared insertReturning() statement and gives the new row's key.
std::optional<qint64> insertedKey(QSqlQuery &query, const QVariantList &values, QString *error);

// Prepares `statement` on `query`; on failure `error` holds the message.
bool prepare(QSqlQuery &query, const QString &statement, QString *error);

} // namespace StoreSql
