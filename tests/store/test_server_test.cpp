// The tests' own PostgreSQL server: each test gets a database nobody else
// writes to, gone when the test ends, and a run that needs the server fails
// when it is missing instead of passing quietly.
#include "child_test.h"
#include "test_server.h"

#include <QSqlError>
#include <QSqlQuery>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

// Runs one statement; fails the test on error.
QSqlQuery run(const QSqlDatabase &db, const QString &statement)
{
    QSqlQuery query(db);
    EXPECT_TRUE(query.exec(statement))
        << statement.toStdString() << ": " << query.lastError().text().toStdString();
    return query;
}

int countOf(const QSqlDatabase &db, const QString &statement)
{
    QSqlQuery query = run(db, statement);
    EXPECT_TRUE(query.next()) << statement.toStdString();
    return query.value(0).toInt();
}

// How many of the server's databases bear the name.
int databasesNamed(const QSqlDatabase &db, const QString &name)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT count(*) FROM pg_database WHERE datname = ?"));
    query.addBindValue(name);
    EXPECT_TRUE(query.exec()) << query.lastError().text().toStdString();
    EXPECT_TRUE(query.next());
    return query.value(0).toInt();
}

TEST(TestServer, GivesEachTestADatabaseOfItsOwn)
{
    SKIP_WITHOUT_TEST_SERVER();
    ServerDatabase first;
    ServerDatabase second(QStringLiteral("tarvex_other_"));
    ASSERT_TRUE(first.isValid());
    ASSERT_TRUE(second.isValid());
    EXPECT_NE(first.name(), second.name());
    EXPECT_TRUE(first.name().startsWith(QStringLiteral("tarvex_t_"))) << first.name().toStdString();
    EXPECT_TRUE(second.name().startsWith(QStringLiteral("tarvex_other_")));

    const QSqlDatabase one = first.connect(QStringLiteral("first"));
    const QSqlDatabase other = second.connect(QStringLiteral("second"));
    run(one, QStringLiteral("CREATE TABLE SalesPersons (Sales_Person text)"));
    run(one, QStringLiteral("INSERT INTO SalesPersons VALUES ('Zoë Ångström')"));

    EXPECT_EQ(countOf(one, QStringLiteral("SELECT count(*) FROM SalesPersons")), 1);
    QSqlQuery name = run(one, QStringLiteral("SELECT Sales_Person FROM SalesPersons"));
    ASSERT_TRUE(name.next());
    EXPECT_EQ(name.value(0).toString(), QStringLiteral("Zoë Ångström"));
    EXPECT_EQ(countOf(other, QStringLiteral("SELECT count(*) FROM pg_tables "
                                            "WHERE schemaname = 'public'")),
              0);
}

TEST(TestServer, DropsTheDatabaseEvenWithAConnectionStillOpen)
{
    SKIP_WITHOUT_TEST_SERVER();
    ServerDatabase watcher;
    ASSERT_TRUE(watcher.isValid());
    const QSqlDatabase server = watcher.connect(QStringLiteral("watcher"));
    const QString storeConnection = QStringLiteral("the store's own");
    QString name;
    {
        ServerDatabase database;
        ASSERT_TRUE(database.isValid());
        name = database.name();
        // A connection the database knows nothing of, as the store opens its own.
        const ServerSettings settings = database.settings();
        QSqlDatabase store = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), storeConnection);
        store.setHostName(settings.host);
        store.setPort(settings.port);
        store.setUserName(settings.user);
        store.setDatabaseName(settings.database);
        ASSERT_TRUE(store.open()) << store.lastError().text().toStdString();
        run(store, QStringLiteral("CREATE TABLE RecallDeal (Stock_Number text)"));
        EXPECT_EQ(databasesNamed(server, name), 1);
    }
    EXPECT_EQ(databasesNamed(server, name), 0);
    QSqlDatabase::database(storeConnection, false).close();
    QSqlDatabase::removeDatabase(storeConnection);
}

TEST(TestServer, ABadPrefixOrAnUnreachableServerFailsTheTestWithTheReason)
{
    SKIP_WITHOUT_TEST_SERVER();
    EXPECT_NONFATAL_FAILURE(
        {
            const ServerDatabase database(QStringLiteral("x\"; DROP DATABASE postgres; --"));
            EXPECT_FALSE(database.isValid());
            EXPECT_TRUE(database.name().isEmpty());
        },
        "is not a plain database name prefix");

    const QByteArray port = qgetenv("TARVEX_TEST_PG_PORT");
    // The socket folder holds the server's socket only under its own port.
    qputenv("TARVEX_TEST_PG_PORT", QByteArray::number(port.toInt() == 1 ? 2 : 1));
    EXPECT_NONFATAL_FAILURE(
        {
            const ServerDatabase database;
            EXPECT_FALSE(database.isValid());
        },
        "could not be created on the test server at");
    qputenv("TARVEX_TEST_PG_PORT", port);
}

// Run alone in a child process by the test below, without the server's
// variables; in an ordinary run it checks that the server answers.
TEST(TestServer, AnswersWhenItIsThere)
{
    SKIP_WITHOUT_TEST_SERVER();
    ServerDatabase database;
    EXPECT_TRUE(database.isValid());
}

// A child's output for a failure message, its skip marks changed: CTest
// takes a test whose output shows one for skipped, even when it failed.
std::string shown(const ChildEnd &end)
{
    return QByteArray(end.output).replace("[  SKIPPED ]", "[ child skipped ]").toStdString();
}

TEST(TestServer, AMissingServerSkipsUnlessTheRunRequiresIt)
{
    const QString test = QStringLiteral("TestServer.AnswersWhenItIsThere");
    const ChildEnd skipped = runChildTest(test, {{QStringLiteral("TARVEX_TEST_PG_HOST"), {}},
                                                 {QStringLiteral("TARVEX_REQUIRE_PG"), {}}});
    EXPECT_EQ(skipped.exitCode, 0) << shown(skipped);
    EXPECT_TRUE(skipped.output.contains("[  SKIPPED ] TestServer.AnswersWhenItIsThere"))
        << shown(skipped);

    const ChildEnd failed =
        runChildTest(test, {{QStringLiteral("TARVEX_TEST_PG_HOST"), {}},
                            {QStringLiteral("TARVEX_REQUIRE_PG"), QStringLiteral("1")}});
    EXPECT_NE(failed.exitCode, 0) << shown(failed);
    EXPECT_TRUE(failed.output.contains("no test PostgreSQL server: TARVEX_TEST_PG_HOST and "
                                       "TARVEX_TEST_PG_PORT are not set"))
        << shown(failed);
    EXPECT_TRUE(failed.output.contains("[  FAILED  ] TestServer.AnswersWhenItIsThere"))
        << shown(failed);

    const ChildEnd badPort =
        runChildTest(test, {{QStringLiteral("TARVEX_TEST_PG_HOST"), QStringLiteral("/tmp")},
                            {QStringLiteral("TARVEX_TEST_PG_PORT"), QStringLiteral("54x")},
                            {QStringLiteral("TARVEX_REQUIRE_PG"), QStringLiteral("1")}});
    EXPECT_NE(badPort.exitCode, 0) << shown(badPort);
    EXPECT_TRUE(badPort.output.contains("TARVEX_TEST_PG_PORT is not a port number: \"54x\""))
        << shown(badPort);
}

} // namespace
