#include "deal_locks.h"

#include "pg_statement.h"
#include "sql_transaction.h"
#include "store_engine.h"
#include "store_sql.h"

#include <QSqlQuery>

#include <algorithm>

namespace DealLocks {

namespace {

using StoreEngine::Engine;

// Rows are named in groups of this many bound values.
constexpr qsizetype kGroup = 500;

bool onServer(const QSqlDatabase &db)
{
    return StoreEngine::engineOf(db) == Engine::PostgreSQL;
}

QString marks(qsizetype count)
{
    QStringList list;
    for (qsizetype i = 0; i < count; ++i)
        list << QStringLiteral("?");
    return list.join(QStringLiteral(", "));
}

// Runs `statement` with `values` and gives the first column of its rows.
std::optional<QList<qint64>> keys(QSqlDatabase db, const QString &statement,
                                  const QVariantList &values, QString *error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!StoreSql::prepare(query, statement, error) || !StoreSql::exec(query, values, error))
        return std::nullopt;
    QList<qint64> found;
    while (query.next())
        found << query.value(0).toLongLong();
    return found;
}

// The rowids, sorted, in groups of bound values.
QList<QVariantList> groupsOf(QList<qint64> rowIds)
{
    std::sort(rowIds.begin(), rowIds.end());
    rowIds.erase(std::unique(rowIds.begin(), rowIds.end()), rowIds.end());
    QList<QVariantList> groups;
    for (qsizetype i = 0; i < rowIds.size(); ++i) {
        if (i % kGroup == 0)
            groups << QVariantList();
        groups.last() << rowIds.at(i);
    }
    return groups;
}

const QString kDealKeysOf = QStringLiteral(
    "SELECT \"DealId\" FROM \"RecallDeal\" WHERE \"DealId\" IN (SELECT \"DealId\" FROM "
    "\"SalesSummary\" WHERE %1) ORDER BY \"DealId\"");

} // namespace

bool forPaying(QSqlDatabase db, const QList<qint64> &rowIds, QString *error)
{
    if (!onServer(db))
        return true;
    if (!StoreEngine::run(db,
                          QStringLiteral("SET LOCAL lock_timeout = '%1ms'")
                              .arg(kSheetWaitMilliseconds),
                          error))
        return false;
    // All deals' keys before any row: a deal's key comes before its rows.
    // The whole list goes as one array value, on the connection's own handle.
    const std::vector<PgStatement::Value> rows{PgStatement::arrayOf(rowIds)};
    PgStatement lock(db);
    return lock.run(kDealKeysOf.arg(QStringLiteral("rowid = ANY(?)")) +
                        StoreEngine::lockDealKeys(Engine::PostgreSQL),
                    rows, error) &&
           lock.run(QStringLiteral("SELECT rowid FROM \"SalesSummary\" WHERE rowid = ANY(?) "
                                   "ORDER BY rowid%1")
                        .arg(StoreEngine::lockRows(Engine::PostgreSQL)),
                    rows, error);
}

bool forVoiding(QSqlDatabase db, qint64 sheetId, QString *error)
{
    if (!onServer(db))
        return true;
    const QString rowsOfSheet = QStringLiteral("\"SheetId\" = ?");
    return keys(db, kDealKeysOf.arg(rowsOfSheet) + StoreEngine::lockDealKeys(Engine::PostgreSQL),
                {sheetId}, error) &&
           keys(db,
                QStringLiteral("SELECT rowid FROM \"SalesSummary\" WHERE %1 ORDER BY rowid%2")
                    .arg(rowsOfSheet, StoreEngine::lockRows(Engine::PostgreSQL)),
                {sheetId}, error) &&
           keys(db,
                QStringLiteral("SELECT \"SheetId\" FROM \"Sheets\" WHERE \"SheetId\" = ?%1")
                    .arg(StoreEngine::lockRows(Engine::PostgreSQL)),
                {sheetId}, error);
}

QList<qint64> heldElsewhere(QSqlDatabase db, const QList<qint64> &rowIds, QString *error)
{
    if (!onServer(db))
        return {};
    SqlTransaction transaction(db);
    if (!transaction.begin(error))
        return {};
    QList<qint64> free;
    for (const QVariantList &group : groupsOf(rowIds)) {
        const auto got = keys(db,
                              QStringLiteral("SELECT rowid FROM \"SalesSummary\" WHERE rowid IN "
                                             "(%1) FOR UPDATE SKIP LOCKED")
                                  .arg(marks(group.size())),
                              group, error);
        if (!got)
            return {};
        free << *got;
    }
    QList<qint64> held;
    for (const qint64 rowId : rowIds) {
        if (!free.contains(rowId))
            held << rowId;
    }
    return held; // the locks taken to look go with the rollback
}

} // namespace DealLocks
