#pragma once

#include "common/program_folder.h"
#include "server_settings.h"
#include "store_engine.h"

#include <QSqlDatabase>
#include <QString>

#include <functional>
#include <map>
#include <memory>

class DealRowWriter;
class QSqlQuery;
class SqliteStatement;

// The deal database file and this object's own connection to it.
//
// open() creates the file, with its tables and first salesperson, when it is
// missing; an existing file is used only when it is a deal database of this
// program. Anything else (a file of another program, a text file, a damaged
// file, an SQLite file without the deal tables, a file of a newer version)
// gives an error naming the file and is left exactly as it was. A file of an
// older version is upgraded in place, after a copy of it is made beside it;
// when the upgrade fails the file keeps its old version, unchanged.
//
// On a PostgreSQL server (ServerSettings) the same tables live in a database
// several desks share: an empty database gets the tables, an older layout is
// upgraded in one transaction under a lock, so that two desks starting at
// once do not both build it; a database holding tables of another program,
// or a server that cannot be reached or refuses the login, gives an error
// naming host and database and is left untouched.
//
// Each object has a connection of its own, under a unique name, removed when
// the object is destroyed. Statements made on connection() must be gone by
// then.
class DealDatabase
{
public:
    static constexpr const char *kFileName = "Sales Log2.mdb";

    // The database file of a program folder.
    static QString pathIn(const ProgramFolder &folder);

    explicit DealDatabase(const ProgramFolder &folder);
    explicit DealDatabase(QString filePath);
    explicit DealDatabase(const ServerSettings &server);
    ~DealDatabase();

    DealDatabase(const DealDatabase &) = delete;
    DealDatabase &operator=(const DealDatabase &) = delete;

    // Opens (and if need be creates) the file. False, with a message naming
    // the file in `error`, when it cannot be used.
    bool open(QString *error);
    bool isOpen() const;
    // Open, or a connection to the server that was lost and is opened again
    // at the next transact() or reading().
    bool usable() const { return isOpen() || lostConnection(); }

    // The SQLite file; empty on a server.
    const QString &filePath() const { return m_filePath; }
    StoreEngine::Engine engine() const { return m_engine; }
    // The server and database; empty for a file.
    const ServerSettings &server() const { return m_server; }
    // The file's path, or "the database "x" on host", for messages.
    QString describe() const;
    QSqlDatabase connection() const { return m_db; }

    // After an open() that upgraded the file: what was done and where the
    // copy of the old file lies, for the user. Empty otherwise.
    const QString &upgradeNote() const { return m_upgradeNote; }

    // Runs `attempt`: one whole write transaction, begun and committed by
    // it, true when committed, with its reason in `error` when not. It is run
    // again from the start, kAttempts times at most in all, when the server
    // broke it off in a deadlock or a serialization failure with another
    // desk, and when the connection to the server was lost (it is opened
    // again first). A commit whose answer was lost with the connection is
    // asked after, never guessed: made counts as done and is not run again.
    // When it still fails for one of these, `error` says so in the
    // program's words, to follow "was not saved: " and the like; lastFault()
    // tells the kind of the last failure.
    static constexpr int kAttempts = 4;
    // After a conflict, the next attempt waits this long times the attempts
    // made, and up to as long again at random.
    static constexpr int kConflictPauseMs = 10;
    bool transact(const std::function<bool()> &attempt, QString *error);
    // Runs `read`, a read that is true when it succeeded, once more on a
    // connection opened again when the connection to the server was lost.
    // When the connection cannot be opened again, `error` says so (a read
    // that did not run leaves no reason of its own).
    bool reading(const std::function<bool()> &read, QString *error);
    StoreSql::Fault lastFault() const { return m_lastFault; }
    // Opens again a connection to the server that was lost, telling the
    // user once (setConnectionNotice); true when it is open.
    bool ensureOpen(QString *error);
    // What tells the user that the connection to the server was lost and is
    // being restored; called once for each loss.
    void setConnectionNotice(std::function<void(const QString &)> notice);
    static QString connectionLostNotice();

    // A statement prepared once on this connection and kept until it closes;
    // nullptr, with the reason in `error`, when it cannot be prepared. A
    // caller that reads rows from it calls finish() when done.
    QSqlQuery *prepared(const QString &statement, QString *error);
    // The same on a file, bound straight on the SQLite connection's handle
    // (SqliteStatement), for statements run for every row or deal; nullptr,
    // with the reason in `error`, when it cannot be prepared or the database
    // is on a server.
    SqliteStatement *sqlitePrepared(const QString &statement, QString *error);
    // The writer of deal rows on this connection, its statements prepared once.
    DealRowWriter &rowWriter();

private:
    bool openFile(QString *error);
    bool openServer(QString *error);
    bool createFile(QString *error) const;
    bool fail(QString *error, const QString &message);
    bool upgradeIfOlder(QString *error);
    bool lostConnection() const;
    enum class Fate { Made, NotMade, Unknown };
    Fate fateOf(qint64 transactionNumber, QString *error);

    QString m_filePath;
    ServerSettings m_server;
    StoreEngine::Engine m_engine = StoreEngine::Engine::SQLite;
    QString m_connectionName;
    QSqlDatabase m_db;
    QString m_upgradeNote;
    std::map<QString, std::unique_ptr<QSqlQuery>> m_statements;
    std::map<QString, std::unique_ptr<SqliteStatement>> m_sqliteStatements;
    std::unique_ptr<DealRowWriter> m_rowWriter;
    bool m_everOpened = false;
    bool m_lossTold = false;
    StoreSql::Fault m_lastFault = StoreSql::Fault::None;
    std::function<void(const QString &)> m_connectionNotice;
};

// A statement from DealDatabase::prepared(), finished when it goes out of
// scope, so that no read is left open on the connection.
class CachedQuery
{
public:
    CachedQuery(DealDatabase &database, const QString &statement, QString *error)
        : m_query(database.prepared(statement, error))
    {
    }
    ~CachedQuery();
    CachedQuery(const CachedQuery &) = delete;
    CachedQuery &operator=(const CachedQuery &) = delete;

    explicit operator bool() const { return m_query != nullptr; }
    QSqlQuery &operator*() const { return *m_query; }
    QSqlQuery *operator->() const { return m_query; }

private:
    QSqlQuery *m_query;
};
