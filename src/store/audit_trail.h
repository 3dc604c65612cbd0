#pragma once

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <optional>

class SqliteStatement;

// The audit trail: one row for every change to the deals and sheets, written
// in the change's own transaction so that a change that fails leaves no trace
// and a change that is kept always has one.
//
// Before and After hold the values concerned as "Column: value" lines, money
// as its plain number; an empty value shows as nothing after the colon.
namespace AuditTrail {

struct Entry
{
    QString action;    // "Deal saved", "Row changed", "Sheet paid", ...
    QString tableName; // the table of the row concerned
    QVariant rowKey;   // its rowid, deal identity or sheet identity
    QVariant dealId;
    QVariant sheetId;
    QString stockNumber;
    QString salesPerson;
    QString before;
    QString after;
    QString userName; // who was signed in; empty for entries older than users
};

struct Record
{
    qint64 id = 0;
    QString at; // local time, "YYYY-MM-DD HH:MM:SS"
    Entry entry;
};

struct Filter
{
    QString stockNumber; // the whole stock number, any letter case; empty for all
    QString salesPerson; // any part of the name, any letter case; empty for all
    QDate from;          // invalid for no lower bound
    QDate to;            // invalid for no upper bound; the whole day counts
    QString userName;    // the whole user name, any letter case; empty for all
    QString action;      // one of actions(), exactly; empty for all
    int limit = 1000;    // newest first, at most this many
};

// Every action the program writes to the trail ("Chargeback", "Deal saved",
// "Sheet paid", ...), in alphabetical order.
const QStringList &actions();

// The user signed in on a connection, named on every entry written through
// it (an entry that names none of its own); empty to sign out.
void setUser(const QSqlDatabase &db, const QString &userName);
QString userOf(const QSqlDatabase &db);

// Writes an entry stamped with the current local time, naming the
// connection's user. Runs inside the caller's transaction.
bool write(QSqlDatabase db, const Entry &entry, QString *error);
// Writes many entries of one change, in order, all stamped with the current
// local time: through one prepared statement on a file, many rows to a
// statement on a server. Runs inside the caller's transaction.
bool writeAll(QSqlDatabase db, const QList<Entry> &entries, QString *error);
// The same into `insert`, a statement prepared from insertStatement() (kept
// prepared by the caller when entries are written often).
QString insertStatement();
// The columns insertStatement() fills, in its order.
QStringList rowColumns();
bool write(QSqlQuery &insert, const Entry &entry, QString *error);
// The same on a file, bound on the connection's own handle.
bool write(SqliteStatement &insert, const Entry &entry, QString *error);

// The entries meeting the filter, newest first.
std::optional<QList<Record>> read(QSqlDatabase db, const Filter &filter, QString *error);

// The columns of one table as the trail describes them, worked out once, for
// a table whose rows are described at every write (a deal's RecallDeal row).
// A value shows as its text: ten-thousandths of the money columns as plain
// numbers, yes/no columns as Yes or No, an empty value as nothing.
class Description
{
public:
    explicit Description(const QStringList &columns);

    // "Column: value" lines of every column with a value (all of them with
    // `withEmpty`), `values` given in the order of the columns.
    QString of(const QVariantList &values, bool withEmpty = false) const;

    // The columns whose value differs, described on each side.
    void ofChanges(const QVariantList &before, const QVariantList &after, QString *beforeText,
                   QString *afterText) const;

private:
    enum class Kind { YesNo, Number, Other };
    struct Column
    {
        QString label; // "Name: "
        Kind kind;
    };

    static QString valueText(Kind kind, const QVariant &value);

    QList<Column> m_columns;
};

// The same for columns described once.
QString describe(const QStringList &columns, const QVariantList &values, bool withEmpty = false);
void describeChanges(const QStringList &columns, const QVariantList &before,
                     const QVariantList &after, QString *beforeText, QString *afterText);

} // namespace AuditTrail
