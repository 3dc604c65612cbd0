#include "test_server.h"

#include "store/deal_database.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

#include <optional>

namespace {

const char *const kHostVariable = "TARVEX_TEST_PG_HOST";
const char *const kPortVariable = "TARVEX_TEST_PG_PORT";
const char *const kUserVariable = "TARVEX_TEST_PG_USER";
const char *const kDriver = "QPSQL";

// PostgreSQL's code for "database already exists".
const char *const kDuplicateDatabase = "42P04";

// Counts the databases and connections this test program makes.
int nextNumber()
{
    static int counter = 0;
    return ++counter;
}

QString where(const QString &host, int port)
{
    return QStringLiteral("the test server at %1, port %2").arg(host).arg(port);
}

QSqlDatabase addConnection(const QString &connectionName, const QString &database)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QString::fromLatin1(kDriver), connectionName);
    db.setHostName(TestServer::host());
    db.setPort(TestServer::port());
    db.setUserName(TestServer::user());
    db.setDatabaseName(database);
    return db;
}

// Runs one statement on the server's own "postgres" database. Returns the
// error, or nullopt when the statement ran.
std::optional<QSqlError> runOnServer(const QString &statement)
{
    const QString connectionName = QStringLiteral("tarvex_test_server_%1").arg(nextNumber());
    std::optional<QSqlError> error;
    {
        QSqlDatabase db = addConnection(connectionName, QStringLiteral("postgres"));
        if (!db.open()) {
            error = db.lastError();
        } else {
            QSqlQuery query(db);
            if (!query.exec(statement))
                error = query.lastError();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
    return error;
}

QString quoted(const QString &name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}

} // namespace

bool TestServer::available()
{
    return skipReason().isEmpty();
}

bool TestServer::required()
{
    return qEnvironmentVariable("TARVEX_REQUIRE_PG") == QLatin1String("1");
}

QString TestServer::skipReason()
{
    const QString advice = QStringLiteral(
        "; scripts/test.sh starts one, or run `scripts/test_server.sh start DIR` and set the "
        "variables it prints");
    if (qEnvironmentVariableIsEmpty(kHostVariable) || qEnvironmentVariableIsEmpty(kPortVariable))
        return QStringLiteral("no test PostgreSQL server: %1 and %2 are not set")
                   .arg(QLatin1String(kHostVariable), QLatin1String(kPortVariable)) +
               advice;
    if (port() <= 0)
        return QStringLiteral("no test PostgreSQL server: %1 is not a port number: \"%2\"")
                   .arg(QLatin1String(kPortVariable), qEnvironmentVariable(kPortVariable)) +
               advice;
    if (!QSqlDatabase::isDriverAvailable(QString::fromLatin1(kDriver)))
        return QStringLiteral("the Qt PostgreSQL driver is not installed (Debian package "
                              "libqt6sql6-psql)");
    return {};
}

QString TestServer::host()
{
    return qEnvironmentVariable(kHostVariable);
}

int TestServer::port()
{
    bool ok = false;
    const int value = qEnvironmentVariable(kPortVariable).toInt(&ok);
    return ok && value > 0 && value <= 65535 ? value : 0;
}

QString TestServer::user()
{
    return qEnvironmentVariable(kUserVariable);
}

ServerDatabase::ServerDatabase(const QString &prefix)
    : m_host(TestServer::host()), m_port(TestServer::port()), m_user(TestServer::user())
{
    static const QRegularExpression plainName(QStringLiteral("^[a-z_][a-z0-9_]*$"));
    if (!TestServer::available()) {
        m_error = TestServer::skipReason();
    } else if (!plainName.match(prefix).hasMatch()) {
        m_error = QStringLiteral("\"%1\" is not a plain database name prefix").arg(prefix);
    } else {
        // A database left behind by an earlier run of a process with the same
        // id (on a server kept between runs) is not ours: take the next number.
        for (int attempt = 0; attempt < 20; ++attempt) {
            m_name = QStringLiteral("%1%2_%3")
                         .arg(prefix)
                         .arg(QCoreApplication::applicationPid())
                         .arg(nextNumber());
            const std::optional<QSqlError> failure =
                runOnServer(QStringLiteral("CREATE DATABASE %1").arg(quoted(m_name)));
            if (!failure) {
                m_error.clear();
                break;
            }
            m_error = QStringLiteral("database %1 could not be created on %2: %3")
                          .arg(m_name, where(m_host, m_port), failure->text());
            if (failure->nativeErrorCode() != QLatin1String(kDuplicateDatabase))
                break;
        }
    }
    if (!m_error.isEmpty()) {
        m_name.clear();
        ADD_FAILURE() << m_error.toStdString();
    }
}

ServerDatabase::~ServerDatabase()
{
    for (const QString &connectionName : std::as_const(m_connections)) {
        QSqlDatabase::database(connectionName, false).close();
        QSqlDatabase::removeDatabase(connectionName);
    }
    if (m_name.isEmpty())
        return;
    const std::optional<QSqlError> failure =
        runOnServer(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(quoted(m_name)));
    if (failure) {
        ADD_FAILURE() << "database " << m_name.toStdString() << " could not be dropped from "
                      << where(m_host, m_port).toStdString() << ": "
                      << failure->text().toStdString();
    }
}

QSqlDatabase ServerDatabase::connect(const QString &connectionName)
{
    if (!isValid()) {
        ADD_FAILURE() << "no database to connect to: " << m_error.toStdString();
        return {};
    }
    QSqlDatabase db = addConnection(connectionName, m_name);
    m_connections.append(connectionName);
    if (!db.open()) {
        ADD_FAILURE() << "cannot connect to database " << m_name.toStdString() << " on "
                      << where(m_host, m_port).toStdString() << ": "
                      << db.lastError().text().toStdString();
    }
    return db;
}

QByteArray ServerDatabase::databaseConf() const
{
    return QStringLiteral("engine = postgresql\nhost = %1\nport = %2\ndatabase = %3\nuser = %4\n")
        .arg(m_host)
        .arg(m_port)
        .arg(m_name, m_user)
        .toUtf8();
}

std::unique_ptr<DealDatabase> openTestDatabase(StoreEngine::Engine engine, const ProgramFolder &folder,
                                               std::unique_ptr<ServerDatabase> &server)
{
    std::unique_ptr<DealDatabase> database;
    if (engine == StoreEngine::Engine::PostgreSQL) {
        if (!TestServer::available())
            return database;
        server = std::make_unique<ServerDatabase>();
        database = std::make_unique<DealDatabase>(server->settings());
    } else {
        database = std::make_unique<DealDatabase>(folder);
    }
    QString error;
    EXPECT_TRUE(database->open(&error)) << error.toStdString();
    return database;
}
