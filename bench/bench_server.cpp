#include "bench_server.h"

#include "raw_postgres.h"
#include "raw_sqlite.h"

#include "store/deal_database.h"
#include "store/store_engine.h"
#include "store/store_schema.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <cstdio>

namespace {

const char *const kFilling = "tarvex_bench_filling";
// The tables the generated deals fill; the server's own rows of the others
// (its first salesperson) stay as made.
const char *const kFilledTables[] = {StoreSchema::kRecallDeal, StoreSchema::kSalesSummary,
                                     StoreSchema::kSalesLog};

std::vector<std::string> serverColumns(RawPostgres::Connection &db, const std::string &table)
{
    db.prepare("columns", "SELECT column_name FROM information_schema.columns WHERE "
                          "table_schema = current_schema() AND table_name = ? "
                          "ORDER BY ordinal_position");
    const RawPostgres::Result result = db.run("columns", {table});
    db.exec("DEALLOCATE columns");
    std::vector<std::string> columns;
    for (int row = 0; row < result.rows(); ++row)
        columns.emplace_back(PQgetvalue(result.get(), row, 0));
    return columns;
}

void copyTable(RawDatabase &from, RawPostgres::Connection &to, const std::string &table)
{
    // The server's rowid takes the file's, so that both hold the same rows
    // under the same numbers.
    const std::vector<std::string> columns = serverColumns(to, table);
    std::string select = "SELECT ";
    for (size_t i = 0; i < columns.size(); ++i)
        select += (i ? ", \"" : "\"") + columns[i] + '"';
    RawStatement read(from.get(), select + " FROM \"" + table + "\"");
    to.beginCopy(table, columns);
    std::string line;
    while (read.step()) {
        line.clear();
        for (int i = 0; i < int(columns.size()); ++i) {
            if (i)
                line += '\t';
            const bool null = sqlite3_column_type(read.get(), i) == SQLITE_NULL;
            line += RawPostgres::copyField(
                null ? std::nullopt
                     : std::optional<std::string>(
                           reinterpret_cast<const char *>(sqlite3_column_text(read.get(), i))));
        }
        line += '\n';
        to.put(line);
    }
    to.endCopy();
}

} // namespace

BenchServer::BenchServer(const QString &script, const QString &folder)
    : m_script(script), m_folder(folder)
{
    const bool kept = QFile::exists(folder + QStringLiteral("/data/PG_VERSION"));
    if (!kept)
        runScript(QStringLiteral("stop")); // a half-made folder goes first
    const QString exports = runScript(kept ? QStringLiteral("resume") : QStringLiteral("start"));
    const auto value = [&](const char *name) {
        const QRegularExpression line(QStringLiteral("^export %1=(\\S+)$").arg(QLatin1String(name)),
                                      QRegularExpression::MultilineOption);
        const QRegularExpressionMatch match = line.match(exports);
        if (!match.hasMatch())
            qFatal("the test server printed no %s", name);
        return match.captured(1);
    };
    m_server.host = value("TARVEX_TEST_PG_HOST");
    m_server.port = value("TARVEX_TEST_PG_PORT").toInt();
    m_server.user = value("TARVEX_TEST_PG_USER");
}

BenchServer::~BenchServer()
{
    runScript(QStringLiteral("pause"));
}

QString BenchServer::runScript(const QString &command) const
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral("bash"), {m_script, command, m_folder});
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        qFatal("%s %s %s failed", qPrintable(m_script), qPrintable(command), qPrintable(m_folder));
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

ServerSettings BenchServer::settings(const QString &database) const
{
    ServerSettings settings = m_server;
    settings.database = database;
    return settings;
}

std::string BenchServer::options(const QString &database) const
{
    return QStringLiteral("host='%1' port=%2 user='%3' dbname='%4'")
        .arg(m_server.host)
        .arg(m_server.port)
        .arg(m_server.user, database)
        .toStdString();
}

void BenchServer::ensureDatabase(const QString &sqlitePath) const
{
    RawPostgres::Connection admin(options(QStringLiteral("postgres")));
    admin.prepare("exists", "SELECT 1 FROM pg_database WHERE datname = ?");
    if (admin.run("exists", {kDatabase}).rows() > 0)
        return;
    std::fprintf(stderr, "filling the server's %s from %s ...\n", kDatabase,
                 qPrintable(sqlitePath));
    QElapsedTimer timer;
    timer.start();
    admin.exec(std::string("DROP DATABASE IF EXISTS ") + kFilling);
    admin.exec(std::string("CREATE DATABASE ") + kFilling);
    {
        // The program makes its own tables, indexes and triggers.
        DealDatabase made(settings(QString::fromLatin1(kFilling)));
        QString error;
        if (!made.open(&error))
            qFatal("%s", qPrintable(error));
    }
    {
        using namespace StoreEngine;
        RawPostgres::Connection db(options(QString::fromLatin1(kFilling)));
        RawDatabase from(QFile::encodeName(sqlitePath).toStdString());
        db.exec("BEGIN");
        // Neither the deal count's trigger nor the references are checked
        // row by row: the rows come whole from a deal database, and the
        // count and the indexes are made once, after.
        db.exec("SET LOCAL session_replication_role = replica");
        // The search table and its trigger are made again, whole, after the copy.
        db.exec(std::string("DROP TABLE \"") + kCustomerSearch + '"');
        db.exec("DROP FUNCTION \"RecallDeal_CustomerSearch\"() CASCADE");
        db.exec(std::string("DROP INDEX \"") + kUnpaidIndex + '"');
        for (const char *table : kFilledTables)
            copyTable(from, db, table);
        for (const QString &statement : customerSearchStatements(Engine::PostgreSQL))
            db.exec(statement.toStdString());
        db.exec(unpaidIndexStatement().toStdString());
        db.exec(std::string("UPDATE \"") + kDealCount + "\" SET \"" + kDealCountColumn +
                "\" = (SELECT count(*) FROM \"RecallDeal\")");
        // The identities given next follow the copied ones.
        for (const auto &[table, key] : {std::pair{"RecallDeal", "DealId"},
                                         std::pair{"SalesSummary", "rowid"},
                                         std::pair{"SalesLog", "rowid"}})
            db.exec(std::string("SELECT setval(pg_get_serial_sequence('\"") + table + "\"', '" +
                    key + "'), (SELECT max(\"" + key + "\") FROM \"" + table + "\"))");
        db.exec("COMMIT");
        db.exec("ANALYZE");
    }
    admin.exec(std::string("ALTER DATABASE ") + kFilling + " RENAME TO " + kDatabase);
    std::fprintf(stderr, "filled in %.0f s\n", timer.elapsed() / 1000.0);
}
