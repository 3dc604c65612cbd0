#pragma once

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>
#include <vector>

struct pg_conn;
struct pg_result;

// A statement sent on a server connection's own handle (the driver's libpq
// connection), for the statements that carry a whole sheet's rows. Through
// the driver, every value is written into the statement's text as a quoted
// literal and read back by the server's parser, each statement prepared and
// let go of again; here the values travel apart from the statement as its
// parameters, and the rows of the audit trail as COPY data, in one trip.
//
// A failure is reported as the driver reports it (the server's words, its
// SQLSTATE in brackets), so that StoreSql::FaultWatch and the retries of
// DealDatabase::transact tell a deadlock, a lock wait or a lost connection
// alike. Runs inside whatever the connection is in (the caller's
// transaction); the session's settings (UTF-8, ISO dates) are the driver's.
class PgStatement
{
public:
    using Value = std::optional<QByteArray>; // UTF-8 text; std::nullopt for NULL

    // The connection's handle: none unless it is an open PostgreSQL connection.
    static pg_conn *handleOf(const QSqlDatabase &db);

    explicit PgStatement(const QSqlDatabase &db);
    ~PgStatement();
    PgStatement(const PgStatement &) = delete;
    PgStatement &operator=(const PgStatement &) = delete;

    // Runs `statement`, written with "?" marks, with `values` in their order.
    // The rows it gives are kept until the next run.
    bool run(const QString &statement, const std::vector<Value> &values, QString *error);
    // The same with the store's kinds of values: none, whole numbers (yes/no
    // as 1 or 0), texts; others as their text.
    bool run(const QString &statement, const QVariantList &values, QString *error);
    static Value valueOf(const QVariant &value);
    int rows() const;
    // A column of a row given, as the driver reads it: BIGINT as a qint64
    // when negative and an unsigned number otherwise, smaller integers as
    // int, DATE as a QDate, text as a QString, NULL as a null value of the
    // column's kind.
    QVariant value(int row, int column) const;

    // COPY table (columns) FROM STDIN with `rows`: rows of COPY's text format
    // (appendCopyField() values separated by tabs, each row ending in a line
    // break), sent as UTF-8.
    bool copyIn(const QString &table, const QStringList &columns, const QString &rows,
                QString *error);
    // Appends `value` to `rows` as a field of COPY's text format: its text
    // with backslash, tab, line break and carriage return escaped; no value
    // (or a null text) as \N.
    static void appendCopyField(QString &rows, const QVariant &value);

    // The rows' identities as one array value of the server ("{1,2,3}").
    static QByteArray arrayOf(const QList<qint64> &ids);

private:
    bool fail(QString *error);
    void clear();

    pg_conn *m_conn = nullptr;
    pg_result *m_result = nullptr;
};
