#pragma once

#include "pg_statement.h"
#include "sqlite_statement.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <memory>

// A statement run once and its rows read forward, alike on both engines:
// on the connection's own handle on a file (SqliteStatement), where the
// driver would copy every row's values before any is asked for; and on a server
// (PgStatement), where the driver would prepare the statement, send its
// values inside its text and let it go again, three trips to the server
// instead of one. Values and failures are those of the driver.
class StatementRows
{
public:
    explicit StatementRows(const QSqlDatabase &db);
    ~StatementRows();
    StatementRows(const StatementRows &) = delete;
    StatementRows &operator=(const StatementRows &) = delete;

    // Runs `statement` ("?" marks) with `values`; on failure `error` holds
    // the database's message.
    bool run(const QString &statement, const QVariantList &values, QString *error);
    // Moves to the next row; false after the last, or when the database
    // failed to give it (`failure()` then says why).
    bool next();
    const QString &failure() const { return m_failure; }
    QVariant value(int column) const;
    // The same without a QVariant on a file, for rows read by the hundred
    // thousand: whether the value is null, a whole number (0 for null), and a
    // text's UTF-8 bytes (valid until the next call).
    bool isNull(int column) const;
    qint64 integer(int column) const;
    QByteArrayView utf8(int column);

private:
    QSqlDatabase m_db;
    std::unique_ptr<PgStatement> m_server;
    std::unique_ptr<QSqlQuery> m_query;
    std::unique_ptr<SqliteStatement> m_file;
    bool m_started = false; // the file's statement stands on its first row
    QString m_failure;
    QByteArray m_text; // utf8()'s bytes but on a file
    int m_row = -1;
};
