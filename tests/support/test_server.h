#pragma once

#include "store/server_settings.h"
#include "store/store_engine.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <memory>

class DealDatabase;
class ProgramFolder;

// The PostgreSQL server started for a test run by scripts/test.sh (through
// scripts/test_server.sh), known from the variables it exports:
// TARVEX_TEST_PG_HOST (the server's socket folder, or a host name),
// TARVEX_TEST_PG_PORT and TARVEX_TEST_PG_USER. With TARVEX_REQUIRE_PG=1 a run
// without them is a failure, not a reason to skip.
class TestServer
{
public:
    // True when the host and a port are given.
    static bool available();
    // True when TARVEX_REQUIRE_PG is 1.
    static bool required();
    // Why the server's tests cannot run here; empty when they can.
    static QString skipReason();

    static QString host();
    static int port();
    // The login to use; empty for the user's own.
    static QString user();
};

// Skips the running test when there is no test server, or fails it when the
// run requires one. For a test body or a fixture's SetUp().
#define SKIP_WITHOUT_TEST_SERVER()                                                                 \
    do {                                                                                           \
        if (!TestServer::available()) {                                                            \
            if (TestServer::required())                                                            \
                FAIL() << TestServer::skipReason().toStdString();                                  \
            GTEST_SKIP() << TestServer::skipReason().toStdString();                                \
        }                                                                                          \
    } while (false)

// A database of one test's own on the test server: created empty under a name
// made of a prefix, the process id and a counter, so that tests running side
// by side never meet, and dropped, even with connections still open to it,
// when this goes out of scope. A failure to create it fails the test.
class ServerDatabase
{
public:
    // `prefix`: lower-case letters, digits and underscores.
    explicit ServerDatabase(const QString &prefix = QStringLiteral("tarvex_t_"));
    ~ServerDatabase();
    ServerDatabase(const ServerDatabase &) = delete;
    ServerDatabase &operator=(const ServerDatabase &) = delete;

    bool isValid() const { return m_error.isEmpty(); }
    // Why the database could not be made; empty when it was.
    QString error() const { return m_error; }

    QString name() const { return m_name; }
    QString host() const { return m_host; }
    int port() const { return m_port; }
    QString user() const { return m_user; }
    // The server and this database, as a database.conf would name them.
    ServerSettings settings() const { return {m_host, m_port, m_name, m_user}; }
    // The text of a database.conf that names this database.
    QByteArray databaseConf() const;

    // A new connection to this database, opened; the test fails when it
    // cannot be opened. Closed and removed when this goes out of scope.
    QSqlDatabase connect(const QString &connectionName);

private:
    QString m_name;
    QString m_host;
    int m_port = 0;
    QString m_user;
    QString m_error;
    QStringList m_connections;
};

// A test's deal database on `engine`, opened (the test fails when it cannot
// be): the SQLite file in `folder`, or a fresh database of the test server,
// kept in `server`. Null on the server when there is no test server: the
// test is to skip (SKIP_WITHOUT_TEST_SERVER).
std::unique_ptr<DealDatabase> openTestDatabase(StoreEngine::Engine engine, const ProgramFolder &folder,
                                               std::unique_ptr<ServerDatabase> &server);
