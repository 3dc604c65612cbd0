#include "store_engine.h"

#include "store_schema.h"
#include "store_sql.h"

#include <QSqlQuery>
#include <QVariant>

namespace StoreEngine {

namespace {

QString q(const char *identifier)
{
    return StoreSql::quoted(QString::fromLatin1(identifier));
}

bool run(QSqlDatabase &db, const QString &statement, const QVariantList &values, QString *error)
{
    QSqlQuery query(db);
    return StoreSql::prepare(query, statement, error) && StoreSql::exec(query, values, error);
}

} // namespace

QStringList customerSearchStatements()
{
    const QString search = q(kCustomerSearch);
    const QString recall = q(StoreSchema::kRecallDeal);
    // The 'delete' command of an index without its own copy of the names
    // must be given the values the row was indexed with: the old row's.
    const QString addNew =
        QStringLiteral("INSERT INTO %1 (rowid, \"Customer\") VALUES (new.\"DealId\", "
                       "new.\"Customer\");")
            .arg(search);
    const QString dropOld = QStringLiteral("INSERT INTO %1 (%1, rowid, \"Customer\") VALUES "
                                           "('delete', old.\"DealId\", old.\"Customer\");")
                                .arg(search);
    const auto trigger = [&](const char *name, const QString &event, const QString &body) {
        return QStringLiteral("CREATE TRIGGER %1 AFTER %2 ON %3 BEGIN %4 END")
            .arg(StoreSql::quoted(QStringLiteral("RecallDeal_CustomerSearch_") +
                                  QString::fromLatin1(name)),
                 event, recall, body);
    };
    return {
        QStringLiteral("CREATE VIRTUAL TABLE %1 USING fts5(\"Customer\", content=%2, "
                       "content_rowid=\"DealId\", columnsize=0, tokenize='trigram')")
            .arg(search, QStringLiteral("'RecallDeal'")),
        trigger("Insert", QStringLiteral("INSERT"), addNew),
        trigger("Delete", QStringLiteral("DELETE"), dropOld),
        trigger("Update", QStringLiteral("UPDATE OF \"Customer\", \"DealId\""), dropOld + addNew),
        QStringLiteral("INSERT INTO %1 (%1) VALUES ('rebuild')").arg(search),
    };
}

QStringList dealCountStatements()
{
    const QString table = q(kDealCount);
    const QString column = q(kDealCountColumn);
    const QString recall = q(StoreSchema::kRecallDeal);
    // `step` is the constant the count moves by: 1 for a new deal, -1 for a deleted one.
    const auto trigger = [&](const char *name, const char *event, int step) {
        return QStringLiteral("CREATE TRIGGER %1 AFTER %2 ON %3 BEGIN UPDATE %4 SET %5 = %5 + (%6); "
                              "END")
            .arg(StoreSql::quoted(QStringLiteral("RecallDeal_DealCount_") +
                                  QString::fromLatin1(name)),
                 QString::fromLatin1(event), recall, table, column, QString::number(step));
    };
    return {
        QStringLiteral("CREATE TABLE %1 (%2 INTEGER NOT NULL) STRICT").arg(table, column),
        QStringLiteral("INSERT INTO %1 (%2) SELECT count(*) FROM %3").arg(table, column, recall),
        trigger("Insert", "INSERT", 1),
        trigger("Delete", "DELETE", -1),
    };
}

QString dealCountQuery()
{
    return QStringLiteral("SELECT %1 FROM %2").arg(q(kDealCountColumn), q(kDealCount));
}

QString unpaidIndexStatement()
{
    return QStringLiteral("CREATE INDEX %1 ON %2 (\"Sales_Person\", \"Date\") WHERE \"Paid\" = 0")
        .arg(q(kUnpaidIndex), q(StoreSchema::kSalesSummary));
}

QString customerSearchQuery()
{
    return QStringLiteral("SELECT rowid FROM %1 WHERE %1 MATCH ? ORDER BY rowid")
        .arg(q(kCustomerSearch));
}

QString searchTextOf(const QString &part)
{
    QString phrase = part;
    phrase.replace(u'"', QStringLiteral("\"\""));
    return u'"' + phrase + u'"';
}

std::optional<int> schemaVersion(QSqlDatabase &db, QString *error)
{
    QSqlQuery query(db);
    if (!StoreSql::prepare(query, QStringLiteral("PRAGMA user_version"), error) ||
        !StoreSql::exec(query, {}, error) || !query.next())
        return std::nullopt;
    return query.value(0).toInt();
}

bool setSchemaVersion(QSqlDatabase &db, int version, QString *error)
{
    // A pragma takes no bound value; the version is the program's own number.
    return run(db, QStringLiteral("PRAGMA user_version = %1").arg(version), {}, error);
}

bool copyTo(QSqlDatabase &db, const QString &target, QString *error)
{
    return run(db, QStringLiteral("VACUUM INTO ?"), {target}, error);
}

} // namespace StoreEngine
