#include "store_engine.h"

#include "store_schema.h"

#include <QSqlDriver>
#include <QSqlQuery>

namespace StoreEngine {

namespace {

QString q(const char *identifier)
{
    return StoreSql::quoted(QString::fromLatin1(identifier));
}

bool runWith(QSqlDatabase &db, const QString &statement, const QVariantList &values, QString *error)
{
    QSqlQuery query(db);
    return StoreSql::prepare(query, statement, error) && StoreSql::exec(query, values, error);
}

// The single value of a one-row query, or std::nullopt with `error` set.
std::optional<QVariant> valueOf(QSqlDatabase &db, const QString &statement,
                                const QVariantList &values, QString *error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!StoreSql::prepare(query, statement, error) || !StoreSql::exec(query, values, error))
        return std::nullopt;
    if (!query.next()) {
        if (error)
            *error = QStringLiteral("the database gave no value");
        return std::nullopt;
    }
    return query.value(0);
}

constexpr const char *kPostgreSqlDriver = "QPSQL";
constexpr const char *kSqliteDriver = "QSQLITE";

// The server's table of the schema version; SQLite keeps it in the file's header.
constexpr const char *kVersionTable = "SchemaVersion";
constexpr const char *kVersionColumn = "Version";

// The key of the advisory lock under which a server database is built or
// upgraded ("TRVX" like the file's application id).
constexpr qint64 kSchemaLockKey = 0x54525658;

QStringList sqliteCustomerSearch()
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

QStringList sqliteDealCount()
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

// A narrow table of each deal's name, kept in step by a trigger, with a
// trigram index read with ILIKE, which folds letter case by the database's
// own rules, also outside ASCII. Searching it reads the names only, not the
// deals' wide rows. The index is written at once, not through a pending
// list that every search would read whole until the next vacuum.
QStringList serverCustomerSearch()
{
    const QString search = q(kCustomerSearch);
    const QString function = q("RecallDeal_CustomerSearch");
    return {
        QStringLiteral("CREATE TABLE %1 (\"DealId\" BIGINT PRIMARY KEY, \"Customer\" TEXT)")
            .arg(search),
        QStringLiteral("INSERT INTO %1 (\"DealId\", \"Customer\") SELECT \"DealId\", "
                       "\"Customer\" FROM %2")
            .arg(search, q(StoreSchema::kRecallDeal)),
        QStringLiteral("CREATE INDEX %1 ON %2 USING gin (\"Customer\" gin_trgm_ops) WITH "
                       "(fastupdate = off)")
            .arg(q("CustomerSearch_Trigrams"), search),
        QStringLiteral(
            "CREATE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
            "IF TG_OP = 'INSERT' THEN "
            "INSERT INTO %2 (\"DealId\", \"Customer\") VALUES (NEW.\"DealId\", NEW.\"Customer\"); "
            "ELSIF TG_OP = 'UPDATE' THEN "
            "UPDATE %2 SET \"DealId\" = NEW.\"DealId\", \"Customer\" = NEW.\"Customer\" "
            "WHERE \"DealId\" = OLD.\"DealId\"; "
            "ELSE DELETE FROM %2 WHERE \"DealId\" = OLD.\"DealId\"; END IF; "
            "RETURN NULL; END $$")
            .arg(function, search),
        QStringLiteral("CREATE TRIGGER %1 AFTER INSERT OR DELETE OR UPDATE OF \"Customer\", "
                       "\"DealId\" ON %2 FOR EACH ROW EXECUTE FUNCTION %1()")
            .arg(function, q(StoreSchema::kRecallDeal)),
    };
}

QStringList serverDealCount()
{
    const QString table = q(kDealCount);
    const QString column = q(kDealCountColumn);
    const QString function = q("RecallDeal_DealCount");
    return {
        QStringLiteral("CREATE TABLE %1 (%2 BIGINT NOT NULL)").arg(table, column),
        QStringLiteral("INSERT INTO %1 (%2) SELECT count(*) FROM %3")
            .arg(table, column, q(StoreSchema::kRecallDeal)),
        QStringLiteral("CREATE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                       "UPDATE %2 SET %3 = %3 + (CASE TG_OP WHEN 'INSERT' THEN 1 ELSE -1 END); "
                       "RETURN NULL; END $$")
            .arg(function, table, column),
        QStringLiteral("CREATE TRIGGER %1 AFTER INSERT OR DELETE ON %2 FOR EACH ROW EXECUTE "
                       "FUNCTION %1()")
            .arg(function, q(StoreSchema::kRecallDeal)),
    };
}

} // namespace

Engine engineOf(const QSqlDatabase &db)
{
    return db.driverName() == QLatin1String(kPostgreSqlDriver) ? Engine::PostgreSQL
                                                               : Engine::SQLite;
}

QString driverOf(Engine engine)
{
    return QString::fromLatin1(engine == Engine::PostgreSQL ? kPostgreSqlDriver : kSqliteDriver);
}

namespace {

QString columnType(Engine engine, ColumnKind kind)
{
    const bool server = engine == Engine::PostgreSQL;
    // The server's citext compares without regard to letter case, as
    // SQLite's NOCASE does.
    const QString folded = server ? QStringLiteral("citext") : QStringLiteral("TEXT");
    const QString foldedSuffix = server ? QString() : QStringLiteral(" COLLATE NOCASE");
    const QString integer = server ? QStringLiteral("BIGINT") : QStringLiteral("INTEGER");
    switch (kind) {
    case ColumnKind::Date:
        // SQLite keeps ISO dates only, so that date ranges compare as text.
        return server ? QStringLiteral("DATE")
                      : QStringLiteral("TEXT CHECK (%1 IS NULL OR %1 GLOB "
                                       "'[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]')");
    case ColumnKind::Text:
        return folded + foldedSuffix;
    case ColumnKind::RequiredText:
        return folded + QStringLiteral(" NOT NULL") + foldedSuffix;
    case ColumnKind::PlainText:
        return QStringLiteral("TEXT");
    case ColumnKind::RequiredPlainText:
        return QStringLiteral("TEXT NOT NULL");
    case ColumnKind::Lines:
        return QStringLiteral("TEXT NOT NULL DEFAULT ''");
    case ColumnKind::Integer:
        return integer;
    case ColumnKind::YesNo:
        return integer + QStringLiteral(" NOT NULL DEFAULT 0 CHECK (%1 IN (0, 1))");
    case ColumnKind::Key:
        // Copying a desk's file to the server keeps every identity.
        return server ? QStringLiteral("BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY")
                      : QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    case ColumnKind::DealRef:
        return integer + QStringLiteral(" NOT NULL REFERENCES \"RecallDeal\"(\"DealId\")");
    case ColumnKind::SheetRef:
        return integer + QStringLiteral(" REFERENCES \"Sheets\"(\"SheetId\")");
    case ColumnKind::PlanRef:
        return integer + QStringLiteral(" REFERENCES \"PayPlanVersions\"(\"PlanVersionId\")");
    }
    return {};
}

} // namespace

QString columnDeclaration(Engine engine, const QString &quotedName, ColumnKind kind)
{
    QString type = columnType(engine, kind);
    return quotedName + u' ' + type.replace(QStringLiteral("%1"), quotedName);
}

QString tableOptions(Engine engine)
{
    // A STRICT table refuses a value of the wrong type instead of storing it.
    return engine == Engine::SQLite ? QStringLiteral(" STRICT") : QString();
}

QString rowKeyColumn(Engine engine)
{
    return engine == Engine::PostgreSQL
               ? QStringLiteral("rowid BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY")
               : QString();
}

QStringList preludeStatements(Engine engine)
{
    if (engine == Engine::SQLite)
        return {QStringLiteral("PRAGMA application_id = %1").arg(StoreSchema::kApplicationId)};
    return {QStringLiteral("CREATE EXTENSION IF NOT EXISTS citext"),
            QStringLiteral("CREATE EXTENSION IF NOT EXISTS pg_trgm")};
}

QString beginWrite(Engine engine)
{
    return engine == Engine::SQLite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN");
}

QString lockRows(Engine engine)
{
    // SQLite's write transaction already holds the whole file.
    return engine == Engine::PostgreSQL ? QStringLiteral(" FOR UPDATE") : QString();
}

QString lockDealKeys(Engine engine)
{
    return engine == Engine::PostgreSQL ? QStringLiteral(" FOR KEY SHARE") : QString();
}

bool run(QSqlDatabase &db, const QString &statement, QString *error)
{
    QSqlQuery query(db);
    if (query.exec(statement))
        return true;
    if (error)
        *error = StoreSql::errorText(query.lastError());
    return false;
}

bool runAll(QSqlDatabase &db, const QStringList &statements, QString *error)
{
    for (const QString &statement : statements) {
        if (!run(db, statement, error))
            return false;
    }
    return true;
}

QStringList customerSearchStatements(Engine engine)
{
    if (engine == Engine::SQLite)
        return sqliteCustomerSearch();
    return serverCustomerSearch();
}

QStringList dealCountStatements(Engine engine)
{
    return engine == Engine::SQLite ? sqliteDealCount() : serverDealCount();
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

bool searchesByIndex(Engine engine, const QString &part)
{
    // Trigrams need three characters; the server's index reads shorter
    // parts too, through the whole index.
    constexpr int kShortestTrigramPart = 3;
    return engine == Engine::PostgreSQL || part.toUcs4().size() >= kShortestTrigramPart;
}

QString customerSearchQuery(Engine engine)
{
    if (engine == Engine::SQLite)
        return QStringLiteral("SELECT rowid FROM %1 WHERE %1 MATCH ? ORDER BY rowid")
            .arg(q(kCustomerSearch));
    return QStringLiteral("SELECT \"DealId\" FROM %1 WHERE \"Customer\" ILIKE ? "
                          "ORDER BY \"DealId\"")
        .arg(q(kCustomerSearch));
}

QString searchValueOf(Engine engine, const QString &part)
{
    QString text = part;
    if (engine == Engine::SQLite) {
        // One quoted phrase of the trigram table.
        text.replace(u'"', QStringLiteral("\"\""));
        return u'"' + text + u'"';
    }
    // A LIKE pattern; the backslash is its escape character.
    text.replace(u'\\', QStringLiteral("\\\\"));
    text.replace(u'%', QStringLiteral("\\%"));
    text.replace(u'_', QStringLiteral("\\_"));
    return u'%' + text + u'%';
}

QString upperContains(Engine engine, const QString &column)
{
    return engine == Engine::SQLite ? QStringLiteral("instr(upper(%1), ?) > 0").arg(column)
                                    : QStringLiteral("strpos(upper(%1::text), ?) > 0").arg(column);
}

QStringList versionMarkStatements(Engine engine, int version)
{
    if (engine == Engine::SQLite)
        return {QStringLiteral("PRAGMA user_version = %1").arg(version)};
    return {QStringLiteral("CREATE TABLE %1 (%2 INTEGER NOT NULL)")
                .arg(q(kVersionTable), q(kVersionColumn)),
            QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(q(kVersionTable), q(kVersionColumn))
                .arg(version)};
}

std::optional<int> schemaVersion(QSqlDatabase &db, QString *error)
{
    if (engineOf(db) == Engine::SQLite) {
        const std::optional<QVariant> version =
            valueOf(db, QStringLiteral("PRAGMA user_version"), {}, error);
        return version ? std::optional<int>(version->toInt()) : std::nullopt;
    }
    const std::optional<QStringList> columns =
        columnsOf(db, QString::fromLatin1(kVersionTable), error);
    if (!columns)
        return std::nullopt;
    if (columns->isEmpty())
        return 0;
    const std::optional<QVariant> version =
        valueOf(db, QStringLiteral("SELECT max(%1) FROM %2").arg(q(kVersionColumn), q(kVersionTable)),
                {}, error);
    return version ? std::optional<int>(version->toInt()) : std::nullopt;
}

bool setSchemaVersion(QSqlDatabase &db, int version, QString *error)
{
    if (engineOf(db) == Engine::SQLite)
        // A pragma takes no bound value; the version is the program's own number.
        return run(db, QStringLiteral("PRAGMA user_version = %1").arg(version), error);
    return runWith(db, QStringLiteral("UPDATE %1 SET %2 = ?").arg(q(kVersionTable), q(kVersionColumn)),
                   {version}, error);
}

std::optional<QStringList> columnsOf(QSqlDatabase &db, const QString &table, QString *error)
{
    const bool server = engineOf(db) == Engine::PostgreSQL;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    const QString statement =
        server ? QStringLiteral("SELECT column_name FROM information_schema.columns WHERE "
                                "table_schema = current_schema() AND table_name = ? AND "
                                "column_name <> 'rowid' ORDER BY ordinal_position")
               : QStringLiteral("SELECT name FROM pragma_table_info(?)");
    if (!StoreSql::prepare(query, statement, error) || !StoreSql::exec(query, {table}, error))
        return std::nullopt;
    QStringList names;
    while (query.next())
        names << query.value(0).toString();
    return names;
}

std::optional<int> tableCount(QSqlDatabase &db, QString *error)
{
    const QString statement =
        engineOf(db) == Engine::SQLite
            ? QStringLiteral("SELECT count(*) FROM sqlite_master")
            : QStringLiteral("SELECT count(*) FROM information_schema.tables WHERE "
                             "table_schema = current_schema()");
    const std::optional<QVariant> count = valueOf(db, statement, {}, error);
    return count ? std::optional<int>(count->toInt()) : std::nullopt;
}

bool lockSchema(QSqlDatabase &db, QString *error)
{
    if (engineOf(db) == Engine::SQLite)
        return true;
    return valueOf(db, QStringLiteral("SELECT pg_advisory_xact_lock(?)"), {kSchemaLockKey}, error)
        .has_value();
}

bool copyTo(QSqlDatabase &db, const QString &target, QString *error)
{
    return runWith(db, QStringLiteral("VACUUM INTO ?"), {target}, error);
}

namespace {

// SQLite's primary result codes that say the store, not the data, failed.
constexpr int kPerm = 3;
constexpr int kBusy = 5;
constexpr int kLocked = 6;
constexpr int kNoMem = 7;
constexpr int kReadOnly = 8;
constexpr int kIoErr = 10;
constexpr int kCorrupt = 11;
constexpr int kFull = 13;
constexpr int kCantOpen = 14;
constexpr int kProtocol = 15;
constexpr int kNotADb = 26;

StoreSql::Fault sqliteFault(int code)
{
    using StoreSql::Fault;
    // An extended code holds its primary code in its low byte.
    switch (code & 0xff) {
    case kFull:
        return Fault::DiskFull;
    case kReadOnly:
    case kPerm:
    case kCantOpen:
        return Fault::ReadOnly;
    case kBusy:
    case kLocked:
    case kNoMem:
    case kIoErr:
    case kCorrupt:
    case kProtocol:
    case kNotADb:
        return Fault::Store;
    default:
        return Fault::Data;
    }
}

// The server's SQLSTATE: its class (the first two characters) says whose
// fault it is; 22 (data exception) and 23 (integrity constraint) are the
// values', nearly everything else the store's.
StoreSql::Fault serverFault(const QString &state)
{
    using StoreSql::Fault;
    // Broken off by the server for another desk's sake: a deadlock, or a
    // serialization failure.
    if (state == QLatin1String("40P01") || state == QLatin1String("40001"))
        return Fault::Conflict;
    if (state == QLatin1String("55P03"))
        return Fault::LockWait;
    // Class 08 (connection exception), and the server shutting down or
    // restarting (57P01 to 57P03).
    if (state.startsWith(QLatin1String("08")) || state == QLatin1String("57P01") ||
        state == QLatin1String("57P02") || state == QLatin1String("57P03"))
        return Fault::Connection;
    if (state == QLatin1String("53100"))
        return Fault::DiskFull;
    if (state == QLatin1String("25006") || state.startsWith(QLatin1String("42501")) ||
        state.startsWith(QLatin1String("28")))
        return Fault::ReadOnly;
    if (state.startsWith(QLatin1String("22")) || state.startsWith(QLatin1String("23")))
        return Fault::Data;
    return Fault::Store;
}

} // namespace

QString identityPastLargest(const QString &table, const QString &column)
{
    return QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', '%2'), "
                          "GREATEST(COALESCE(MAX(%3), 0), ?) + 1, false) FROM %1")
        .arg(StoreSql::quoted(table), column, StoreSql::quoted(column));
}

std::optional<qint64> largestKeyGiven(QSqlDatabase &db, const QString &table, QString *error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!StoreSql::prepare(query, QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = ?"),
                           error) ||
        !StoreSql::exec(query, {table}, error))
        return std::nullopt;
    return query.next() ? query.value(0).toLongLong() : 0;
}

QString lockAgainstWrites(const QStringList &tables)
{
    QStringList quotedTables;
    for (const QString &table : tables)
        quotedTables << StoreSql::quoted(table);
    return QStringLiteral("LOCK TABLE %1 IN SHARE ROW EXCLUSIVE MODE")
        .arg(quotedTables.join(QStringLiteral(", ")));
}

StoreSql::Fault faultOf(const QSqlError &error)
{
    if (error.type() == QSqlError::NoError)
        return StoreSql::Fault::None;
    const QString code = error.nativeErrorCode();
    // SQLite's codes are numbers of at most four digits; a SQLSTATE has five
    // characters, letters among them as often as not.
    constexpr int kStateLength = 5;
    if (code.size() == kStateLength)
        return serverFault(code);
    bool ok = false;
    const int number = code.toInt(&ok);
    return ok ? sqliteFault(number) : StoreSql::Fault::Data;
}

} // namespace StoreEngine
