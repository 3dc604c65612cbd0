#include "deal_fingerprint.h"

#include "deal_database.h"
#include "recall_columns.h"
#include "store_engine.h"
#include "store_schema.h"
#include "store_sql.h"

#include <QSqlQuery>

namespace {

// The rows of one deal in one table, each as `columns`, in row key order.
//
// Inside a write transaction the server locks the deal's rows until it ends
// (StoreEngine::lockRows), so that no other desk changes them between this
// read and the write that follows it; SQLite's write transaction already
// holds the whole database. RecallDeal's row key is DealId.
std::optional<QList<QVariantList>> rowsOf(DealDatabase &database, const QString &table,
                                          const QStringList &columns, DealId id, QString *error)
{
    CachedQuery query(database,
                      QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ? ORDER BY %4%5")
                          .arg(StoreSql::columnList(columns), StoreSql::quoted(table),
                               StoreSql::quoted(QString::fromLatin1(StoreSchema::kDealId)),
                               table == QLatin1String(StoreSchema::kRecallDeal)
                                   ? StoreSql::quoted(QString::fromLatin1(StoreSchema::kDealId))
                                   : QStringLiteral("rowid"),
                               StoreEngine::lockRows(database.engine())),
                      error);
    if (!query || !StoreSql::exec(*query, {id}, error))
        return std::nullopt;
    QList<QVariantList> rows;
    while (query->next()) {
        QVariantList row;
        for (int i = 0; i < columns.size(); ++i)
            row << query->value(i);
        rows << row;
    }
    return rows;
}

std::optional<QList<QVariantList>> keyedRowsOf(DealDatabase &database, const char *table, DealId id,
                                               QString *error)
{
    const QString name = QString::fromLatin1(table);
    QStringList columns = StoreSchema::columns(name);
    columns.prepend(QStringLiteral("rowid"));
    return rowsOf(database, name, columns, id, error);
}

QString refusal(const QString &notDone)
{
    return QStringLiteral("This deal was changed, paid or deleted at another desk since it was "
                          "recalled. %1 Recall the deal again to see it as it is now.")
        .arg(notDone);
}

} // namespace

std::optional<DealFingerprint> DealFingerprint::read(DealDatabase &database, DealId id,
                                                     QString *error)
{
    const auto recall = rowsOf(database, QString::fromLatin1(StoreSchema::kRecallDeal),
                               RecallColumns::names(), id, error);
    if (!recall)
        return std::nullopt;
    const auto summary = keyedRowsOf(database, StoreSchema::kSalesSummary, id, error);
    if (!summary)
        return std::nullopt;
    const auto log = keyedRowsOf(database, StoreSchema::kSalesLog, id, error);
    if (!log)
        return std::nullopt;
    return DealFingerprint{.recall = recall->value(0), .summaryRows = *summary, .logRows = *log};
}

QString DealFingerprint::notSavedMessage()
{
    return refusal(QStringLiteral("Your correction was not saved."));
}

QString DealFingerprint::notDeletedMessage()
{
    return refusal(QStringLiteral("It was not deleted."));
}
