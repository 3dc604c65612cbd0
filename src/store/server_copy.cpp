#include "server_copy.h"

#include "deal_database.h"
#include "sql_transaction.h"
#include "store_engine.h"
#include "store_location.h"
#include "store_sql.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>

namespace ServerCopy {

namespace {

struct Table
{
    const char *name;
    const char *key; // the identity kept: the table's own, or its row number
};

// In the order their references need: deals before their rows, sheets
// before the rows they paid.
constexpr Table kTables[] = {
    {"SalesPersons", "rowid"}, {"RecallDeal", "DealId"}, {"Sheets", "SheetId"},
    {"SalesSummary", "rowid"}, {"SalesLog", "rowid"},    {"Audit", "AuditId"},
};

std::optional<qint64> countOf(DealDatabase &database, const char *table, QString *error)
{
    QSqlQuery query(database.connection());
    if (!StoreSql::prepare(query,
                           QStringLiteral("SELECT count(*) FROM %1")
                               .arg(StoreSql::quoted(QString::fromLatin1(table))),
                           error) ||
        !StoreSql::exec(query, {}, error) || !query.next())
        return std::nullopt;
    return query.value(0).toLongLong();
}

bool failed(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

// Whether the server database holds nothing but what a new one starts with:
// no row anywhere, the roster's first name apart.
bool isEmpty(DealDatabase &target, QString *error, bool *empty)
{
    *empty = true;
    for (const Table &table : kTables) {
        const std::optional<qint64> count = countOf(target, table.name, error);
        if (!count)
            return false;
        const qint64 allowed = QLatin1String(table.name) == QLatin1String("SalesPersons") ? 1 : 0;
        *empty = *empty && *count <= allowed;
    }
    return true;
}

// Copies one table's rows, keys included; the number copied.
std::optional<qint64> copyTable(DealDatabase &source, DealDatabase &target, const Table &table,
                                QString *error)
{
    QSqlDatabase to = target.connection();
    const QString name = QString::fromLatin1(table.name);
    const std::optional<QStringList> present = StoreEngine::columnsOf(to, name, error);
    if (!present)
        return std::nullopt;
    QStringList columns = *present;
    if (!columns.contains(QString::fromLatin1(table.key)))
        columns.prepend(QString::fromLatin1(table.key));
    QSqlQuery read(source.connection());
    read.setForwardOnly(true);
    QSqlQuery write(to);
    if (!StoreSql::prepare(read,
                           QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                               .arg(StoreSql::columnList(columns), StoreSql::quoted(name),
                                    StoreSql::quoted(QString::fromLatin1(table.key))),
                           error) ||
        !StoreSql::exec(read, {}, error) ||
        !StoreSql::prepare(write, StoreSql::insertStatement(name, columns), error))
        return std::nullopt;
    qint64 copied = 0;
    QVariantList values;
    while (read.next()) {
        values.clear();
        for (int i = 0; i < columns.size(); ++i)
            values << read.value(i);
        if (!StoreSql::exec(write, values, error))
            return std::nullopt;
        ++copied;
    }
    if (read.lastError().isValid())
        return failed(error, StoreSql::errorText(read.lastError())), std::nullopt;
    return copied;
}

} // namespace

bool copy(DealDatabase &source, DealDatabase &target, QString *report, QString *error)
{
    if (source.engine() != StoreEngine::Engine::SQLite ||
        target.engine() != StoreEngine::Engine::PostgreSQL)
        return failed(error, QStringLiteral("Deals are copied from a file to a server."));
    QString why;
    bool empty = false;
    if (!isEmpty(target, &why, &empty))
        return failed(error, QStringLiteral("Nothing was copied: %1").arg(why));
    if (!empty)
        return failed(error, QStringLiteral("Nothing was copied: the database %1 already holds deals, sheets "
                                            "or salespeople; deals are copied only into a "
                                            "database that holds none.")
                                 .arg(target.describe()));
    QSqlDatabase to = target.connection();
    SqlTransaction transaction(to);
    QStringList lines;
    const auto fail = [&](const QString &reason) {
        return failed(error, QStringLiteral("Nothing was copied: %1").arg(reason));
    };
    if (!transaction.begin(&why) ||
        !StoreEngine::run(to, QStringLiteral("DELETE FROM \"SalesPersons\""), &why))
        return fail(why);
    for (const Table &table : kTables) {
        const std::optional<qint64> copied = copyTable(source, target, table, &why);
        const std::optional<qint64> inSource = copied ? countOf(source, table.name, &why)
                                                      : std::nullopt;
        const std::optional<qint64> onServer = inSource ? countOf(target, table.name, &why)
                                                        : std::nullopt;
        if (!onServer)
            return fail(why);
        if (*copied != *inSource || *onServer != *inSource)
            return fail(QStringLiteral("the table %1 holds %2 rows, but %3 reached the server")
                            .arg(QString::fromLatin1(table.name))
                            .arg(*inSource)
                            .arg(*onServer));
        // A deal, sheet or audit key once given in the file, also to a row
        // deleted since, is never given again on the server.
        QSqlDatabase from = source.connection();
        const std::optional<qint64> given =
            StoreEngine::largestKeyGiven(from, QString::fromLatin1(table.name), &why);
        QSqlQuery restart(to);
        if (!given ||
            !StoreSql::prepare(restart,
                               StoreEngine::identityRestartStatement(
                                   QString::fromLatin1(table.name), QString::fromLatin1(table.key)),
                               &why) ||
            !StoreSql::exec(restart, {*given}, &why))
            return fail(why);
        lines << QStringLiteral("%1: %2 rows").arg(QString::fromLatin1(table.name)).arg(*copied);
    }
    // The deal count and the customer search follow the copied deals.
    QSqlQuery check(to);
    if (!StoreSql::prepare(check,
                           QStringLiteral("SELECT (SELECT %1 FROM %2), (SELECT count(*) FROM "
                                          "\"RecallDeal\"), (SELECT count(*) FROM %3)")
                               .arg(StoreSql::quoted(QString::fromLatin1(
                                        StoreEngine::kDealCountColumn)),
                                    StoreSql::quoted(QString::fromLatin1(StoreEngine::kDealCount)),
                                    StoreSql::quoted(
                                        QString::fromLatin1(StoreEngine::kCustomerSearch))),
                           &why) ||
        !StoreSql::exec(check, {}, &why) || !check.next())
        return fail(why);
    const qint64 deals = check.value(1).toLongLong();
    if (check.value(0).toLongLong() != deals || check.value(2).toLongLong() != deals)
        return fail(QStringLiteral("the server's deal count or customer search does not match "
                                   "its %1 deals")
                        .arg(deals));
    check.finish();
    if (!transaction.commit(&why))
        return fail(why);
    if (report)
        *report = QStringLiteral("Copied \"%1\" to %2:\n")
                      .arg(QDir::toNativeSeparators(source.filePath()), target.describe()) +
                  lines.join(u'\n') + u'\n';
    return true;
}

int runCommand(const ProgramFolder &folder, QTextStream &out, QTextStream &err)
{
    QString error;
    const std::optional<StoreLocation> location = StoreLocation::of(folder, &error);
    if (!location) {
        err << error << '\n';
        return 1;
    }
    if (location->engine != StoreEngine::Engine::PostgreSQL) {
        err << QStringLiteral("The data folder's %1 names no PostgreSQL server to copy the deals "
                              "to.\n")
                   .arg(QString::fromLatin1(StoreLocation::kConfigFile));
        return 2;
    }
    const QString file = DealDatabase::pathIn(folder);
    if (!QFileInfo(file).isFile()) {
        err << QStringLiteral("There is no deal database \"%1\" to copy.\n")
                   .arg(QDir::toNativeSeparators(file));
        return 1;
    }
    DealDatabase source(file);
    DealDatabase target(location->server);
    QString report;
    if (!source.open(&error) || !target.open(&error) ||
        !copy(source, target, &report, &error)) {
        err << error << '\n';
        return 1;
    }
    out << report;
    return 0;
}

} // namespace ServerCopy
