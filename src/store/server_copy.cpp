#include "server_copy.h"

#include "deal_database.h"
#include "sql_transaction.h"
#include "store_engine.h"
#include "store_schema.h"
#include "store_sql.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <optional>

namespace {

using StoreEngine::Engine;

struct CopiedTable
{
    const char *name;
    const char *key; // the column that orders and identifies its rows
};

// In the order the rows may be written: the deals before the rows that refer
// to them, the sheets before the summary rows that name them.
constexpr CopiedTable kTables[] = {
    {"SalesPersons", "rowid"},    {"PayPlanVersions", "PlanVersionId"},
    {"RecallDeal", "DealId"},     {"DealPlans", "rowid"},
    {"Sheets", "SheetId"},        {"SalesSummary", "rowid"},
    {"SalesLog", "rowid"},        {"Audit", "AuditId"},
    {"Users", "UserId"},          {"Unwinds", "UnwindId"},
    {"Ledger", "EntryId"},        {"Holds", "HoldId"},
    {"PayPlanTiers", "TierId"},   {"PayrollCodes", "rowid"},
};

// Rows written by one INSERT statement.
constexpr int kBatchRows = 100;

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

std::optional<qint64> countOf(QSqlDatabase db, const QString &table, QString *error)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(StoreSql::quoted(table))) ||
        !query.next()) {
        fail(error, QStringLiteral("Could not count the rows of %1: %2")
                        .arg(table, query.lastError().text()));
        return std::nullopt;
    }
    return query.value(0).toLongLong();
}

// Empty: no row in any table but the first salesperson a new database gets.
bool targetIsEmpty(DealDatabase &target, QString *error)
{
    QSqlDatabase db = target.connection();
    const QString salesPersons = QString::fromLatin1(StoreSchema::kSalesPersons);
    for (const CopiedTable &table : kTables) {
        const QString name = QString::fromLatin1(table.name);
        if (name == salesPersons)
            continue;
        const std::optional<qint64> count = countOf(db, name, error);
        if (!count)
            return false;
        if (*count != 0)
            return fail(error, QStringLiteral("%1 already holds rows in %2; deals are copied only "
                                              "into an empty database. Nothing was written.")
                                   .arg(target.describe(), name));
    }
    QSqlQuery names(db);
    if (!names.exec(QStringLiteral("SELECT \"Name\" FROM %1").arg(StoreSql::quoted(salesPersons))))
        return fail(error, QStringLiteral("Could not read the salespeople of %1: %2")
                               .arg(target.describe(), names.lastError().text()));
    int count = 0;
    bool onlyTheFirst = true;
    while (names.next()) {
        ++count;
        onlyTheFirst = onlyTheFirst && names.value(0).toString() ==
                                           QString::fromLatin1(StoreSchema::kFirstSalesPerson);
    }
    if (count > 1 || !onlyTheFirst)
        return fail(error, QStringLiteral("%1 already holds salespeople of its own; deals are "
                                          "copied only into an empty database. Nothing was "
                                          "written.")
                               .arg(target.describe()));
    return true;
}

// The columns copied from `table`, its key among them: the file's rowid is
// hidden, so it is named after the others.
std::optional<QStringList> copiedColumns(DealDatabase &source, DealDatabase &target,
                                         const CopiedTable &table, QString *error)
{
    QSqlDatabase sourceDb = source.connection();
    QSqlDatabase targetDb = target.connection();
    const QString name = QString::fromLatin1(table.name);
    const std::optional<QStringList> fromColumns = StoreEngine::columnsOf(sourceDb, name, error);
    const std::optional<QStringList> toColumns = StoreEngine::columnsOf(targetDb, name, error);
    if (!fromColumns || !toColumns)
        return std::nullopt;
    if (fromColumns->isEmpty() || *fromColumns != *toColumns) {
        fail(error, QStringLiteral("The table %1 of %2 does not match the server's; both must be "
                                   "of this version of Tarvex. Nothing was written.")
                        .arg(name, source.describe()));
        return std::nullopt;
    }
    QStringList columns = *fromColumns;
    if (!columns.contains(QString::fromLatin1(table.key)))
        columns << QString::fromLatin1(table.key);
    return columns;
}

QString insertStatement(const QString &table, const QStringList &columns, int rows)
{
    QStringList quotedColumns;
    for (const QString &column : columns)
        quotedColumns << StoreSql::quoted(column);
    QStringList marks(columns.size(), QStringLiteral("?"));
    const QString row = u'(' + marks.join(QStringLiteral(", ")) + u')';
    QStringList values(rows, row);
    return QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
        .arg(StoreSql::quoted(table), quotedColumns.join(QStringLiteral(", ")),
             values.join(QStringLiteral(", ")));
}

// Writes the rows held in `values` (whole rows, `columns` wide) with one
// statement prepared for that many rows.
bool writeBatch(QSqlDatabase db, std::optional<QSqlQuery> &statement, int &preparedRows,
                const QString &table, const QStringList &columns, const QVariantList &values,
                QString *error)
{
    const int rows = int(values.size() / columns.size());
    if (!statement || preparedRows != rows) {
        statement.emplace(db);
        if (!statement->prepare(insertStatement(table, columns, rows)))
            return fail(error, QStringLiteral("Could not write %1: %2")
                                   .arg(table, statement->lastError().text()));
        preparedRows = rows;
    }
    for (const QVariant &value : values)
        statement->addBindValue(value);
    if (!statement->exec())
        return fail(error, QStringLiteral("Could not write %1: %2")
                               .arg(table, statement->lastError().text()));
    return true;
}

// The rows copied of all the tables, told as each batch is written.
struct RowsTold
{
    const ServerCopy::Progress &progress;
    qint64 total = 0;
    qint64 done = 0;

    // False when the copy is to stop.
    bool add(qint64 rows)
    {
        done += rows;
        return !progress || progress(done, total);
    }
};

bool cancelled(QString *error)
{
    return fail(error, QStringLiteral("The copy was cancelled. Nothing was written."));
}

std::optional<qint64> copyTable(DealDatabase &source, DealDatabase &target,
                                const CopiedTable &table, RowsTold &told, QString *error)
{
    const std::optional<QStringList> columns = copiedColumns(source, target, table, error);
    if (!columns)
        return std::nullopt;
    const QString name = QString::fromLatin1(table.name);
    QStringList quotedColumns;
    for (const QString &column : *columns)
        quotedColumns << StoreSql::quoted(column);
    QSqlQuery read(source.connection());
    read.setForwardOnly(true);
    if (!read.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                       .arg(quotedColumns.join(QStringLiteral(", ")), StoreSql::quoted(name),
                            StoreSql::quoted(QString::fromLatin1(table.key))))) {
        fail(error, QStringLiteral("Could not read %1 of %2: %3")
                        .arg(name, source.describe(), read.lastError().text()));
        return std::nullopt;
    }
    std::optional<QSqlQuery> statement;
    int preparedRows = 0;
    QVariantList values;
    qint64 copied = 0;
    const int width = int(columns->size());
    while (read.next()) {
        for (int i = 0; i < width; ++i)
            values << read.value(i);
        ++copied;
        if (values.size() == qsizetype(width) * kBatchRows) {
            if (!writeBatch(target.connection(), statement, preparedRows, name, *columns, values,
                            error))
                return std::nullopt;
            values.clear();
            if (!told.add(kBatchRows)) {
                cancelled(error);
                return std::nullopt;
            }
        }
    }
    if (read.lastError().isValid()) {
        fail(error, QStringLiteral("Could not read %1 of %2: %3")
                        .arg(name, source.describe(), read.lastError().text()));
        return std::nullopt;
    }
    if (!values.isEmpty() &&
        !writeBatch(target.connection(), statement, preparedRows, name, *columns, values, error))
        return std::nullopt;
    if (!values.isEmpty() && !told.add(values.size() / width)) {
        cancelled(error);
        return std::nullopt;
    }
    return copied;
}

// The server's rows counted again, and its deal count, against what was read.
bool checkCounts(DealDatabase &source, DealDatabase &target, QString *error)
{
    for (const CopiedTable &table : kTables) {
        const QString name = QString::fromLatin1(table.name);
        const std::optional<qint64> from = countOf(source.connection(), name, error);
        const std::optional<qint64> to = countOf(target.connection(), name, error);
        if (!from || !to)
            return false;
        if (*from != *to)
            return fail(error, QStringLiteral("%1 holds %2 rows of %3 after the copy instead of "
                                              "%4. Nothing was written.")
                                   .arg(target.describe())
                                   .arg(*to)
                                   .arg(name)
                                   .arg(*from));
    }
    QSqlQuery dealCount(target.connection());
    if (!dealCount.exec(StoreEngine::dealCountQuery()) || !dealCount.next())
        return fail(error, QStringLiteral("Could not read the deal count of %1: %2")
                               .arg(target.describe(), dealCount.lastError().text()));
    const std::optional<qint64> deals =
        countOf(target.connection(), QStringLiteral("RecallDeal"), error);
    if (!deals)
        return false;
    if (dealCount.value(0).toLongLong() != *deals)
        return fail(error, QStringLiteral("The deal count of %1 is %2 after the copy instead of "
                                          "%3. Nothing was written.")
                               .arg(target.describe())
                               .arg(dealCount.value(0).toLongLong())
                               .arg(*deals));
    return true;
}

} // namespace

namespace ServerCopy {

bool run(DealDatabase &source, DealDatabase &target, QString *report, QString *error,
         const Progress &progress)
{
    if (source.engine() != Engine::SQLite || target.engine() != Engine::PostgreSQL)
        return fail(error, QStringLiteral("Deals are copied from a desk's database file to a "
                                          "server."));
    if (!source.isOpen() || !target.isOpen())
        return fail(error, QStringLiteral("Both databases must be open to copy the deals."));

    QSqlDatabase targetDb = target.connection();
    QStringList tableNames;
    for (const CopiedTable &table : kTables)
        tableNames << QString::fromLatin1(table.name);

    // The file is read in one read transaction, so that every table is read
    // as it stood at one moment even while a window of this desk saves.
    QSqlDatabase sourceDb = source.connection();
    if (!sourceDb.transaction())
        return fail(error, QStringLiteral("Could not read %1: %2")
                               .arg(source.describe(), sourceDb.lastError().text()));
    const std::unique_ptr<QSqlDatabase, void (*)(QSqlDatabase *)> endRead(
        &sourceDb, [](QSqlDatabase *db) { db->rollback(); });

    SqlTransaction transaction(targetDb);
    QString why;
    // Other desks may read but not write while the rows are copied, so that
    // the database found empty stays empty until the copy is committed.
    if (!transaction.begin(&why) ||
        !StoreEngine::run(targetDb, StoreEngine::lockAgainstWrites(tableNames), &why))
        return fail(error, QStringLiteral("Could not begin the copy on %1: %2")
                               .arg(target.describe(), why));
    if (!targetIsEmpty(target, error))
        return false;
    if (!StoreEngine::run(targetDb, QStringLiteral("DELETE FROM \"SalesPersons\""), &why))
        return fail(error, QStringLiteral("Could not clear the salespeople of %1: %2")
                               .arg(target.describe(), why));

    RowsTold told{progress};
    for (const CopiedTable &table : kTables) {
        const std::optional<qint64> rows =
            countOf(sourceDb, QString::fromLatin1(table.name), error);
        if (!rows)
            return false;
        told.total += *rows;
    }
    if (!told.add(0))
        return cancelled(error);
    QStringList lines;
    for (const CopiedTable &table : kTables) {
        const std::optional<qint64> copied = copyTable(source, target, table, told, error);
        if (!copied)
            return false;
        lines << QStringLiteral("  %1: %2 rows").arg(QString::fromLatin1(table.name)).arg(*copied);
        // A deal, sheet or audit key the file once gave, also to a row
        // deleted since, is never given again on the server.
        const std::optional<qint64> given =
            StoreEngine::largestKeyGiven(sourceDb, QString::fromLatin1(table.name), &why);
        QSqlQuery restart(targetDb);
        if (!given ||
            !StoreSql::prepare(restart,
                               StoreEngine::identityPastLargest(QString::fromLatin1(table.name),
                                                                QString::fromLatin1(table.key)),
                               &why) ||
            !StoreSql::exec(restart, {*given}, &why))
            return fail(error, QStringLiteral("Could not set the next key of %1: %2")
                                   .arg(QString::fromLatin1(table.name), why));
    }
    if (!checkCounts(source, target, error))
        return false;
    if (!transaction.commit(&why))
        return fail(error, QStringLiteral("Could not commit the copy on %1: %2")
                               .arg(target.describe(), why));
    if (report)
        *report = QStringLiteral("Copied %1 to %2:\n")
                      .arg(source.describe(), target.describe()) +
                  lines.join(u'\n') + u'\n';
    return true;
}

} // namespace ServerCopy
