#pragma once

#include <QSqlDatabase>
#include <QString>

#include <optional>

class DealDatabase;

// One write transaction on a connection. On a file it takes the write lock
// at once (BEGIN IMMEDIATE), so a transaction that has begun cannot fail
// later for want of the lock; on a server rows are locked as they are
// written (StoreEngine::beginWrite). It is rolled back when it goes out of scope without
// a successful commit: a failed operation leaves the database as it was.
class SqlTransaction
{
public:
    explicit SqlTransaction(QSqlDatabase db);
    // The same on the database's own connection, its BEGIN and COMMIT kept
    // prepared on a file (for a transaction run for every deal saved).
    explicit SqlTransaction(DealDatabase &database);
    ~SqlTransaction();

    SqlTransaction(const SqlTransaction &) = delete;
    SqlTransaction &operator=(const SqlTransaction &) = delete;

    bool begin(QString *error);
    bool commit(QString *error);

    // On a server, when the last commit on this thread failed without an
    // answer (the connection was lost on the way): the transaction's number,
    // whose fate the server can be asked once it is reached again
    // (DealDatabase::transact). std::nullopt after any other outcome, and for
    // a transaction that wrote nothing.
    static std::optional<qint64> commitInDoubt();

private:
    bool run(const QString &statement, QString *error);

    QSqlDatabase m_db;
    DealDatabase *m_database = nullptr; // keeps the statements on a file
    bool m_open = false;
};
