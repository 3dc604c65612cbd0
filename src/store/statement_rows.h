#pragma once

#include "pg_statement.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <memory>

// A statement run once and its rows read forward, alike on both engines:
// through the driver on a file, on the connection's own handle on a server
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
    // Moves to the next row; false after the last.
    bool next();
    QVariant value(int column) const;

private:
    QSqlDatabase m_db;
    std::unique_ptr<PgStatement> m_server;
    std::unique_ptr<QSqlQuery> m_query;
    int m_row = -1;
};
