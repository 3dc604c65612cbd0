#include "deal_database.h"

#include "deal_row_writer.h"
#include "sqlite_statement.h"
#include "sql_transaction.h"
#include "store_engine.h"
#include "store_migration.h"
#include "store_schema.h"
#include "store_sql.h"

#include "common/durable_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

#include <atomic>

namespace {

// Whether the server's connection is gone: a trivial statement fails with no
// code of the server's (the client library's own "no connection"), or with
// one of a broken connection or a server shutting down. A statement refused
// inside a failed transaction (25P02) means the connection is still there.
bool connectionLost(const QSqlDatabase &db)
{
    QSqlQuery probe(db);
    if (probe.exec(QStringLiteral("SELECT 1")))
        return false;
    const QString code = probe.lastError().nativeErrorCode();
    return code.isEmpty() || code.startsWith(QStringLiteral("08")) ||
           code.startsWith(QStringLiteral("57P"));
}

// The server's words inside one of the program's sentences: on one line,
// without the tabs and line breaks of its own layout.
QString oneLine(const QString &words)
{
    return words.simplified();
}

// How long a statement waits for another connection's write to finish.
constexpr const char *kConnectOptions = "QSQLITE_BUSY_TIMEOUT=5000";

QString uniqueConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("tarvex-deals-%1").arg(counter.fetch_add(1));
}

bool run(QSqlDatabase &db, const QString &statement)
{
    QSqlQuery query(db);
    return query.exec(statement);
}

// Builds a new, complete database in `path` (an empty file).
bool buildNewDatabase(const QString &path, QString *error)
{
    const QString name = uniqueConnectionName();
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(StoreEngine::driverOf(StoreEngine::Engine::SQLite), name);
        db.setDatabaseName(path);
        if (!db.open()) {
            if (error)
                *error = StoreSql::errorText(db.lastError());
        } else {
            {
                SqlTransaction transaction(db);
                ok = transaction.begin(error) && StoreSchema::create(db, error) &&
                     transaction.commit(error);
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

// Why an existing database file cannot be worked on in place: its folder or
// the file itself cannot be written (the database writes its journal beside
// itself). Empty when both can be written.
QString unwritablePlace(const QFileInfo &file)
{
    const QFileInfo folder(file.absolutePath());
    if (!folder.isWritable())
        return QStringLiteral("the folder \"%1\" cannot be written")
            .arg(QDir::toNativeSeparators(folder.absoluteFilePath()));
    if (!file.isWritable())
        return QStringLiteral("the file cannot be written (it is read-only)");
    return {};
}

} // namespace

QString DealDatabase::pathIn(const ProgramFolder &folder)
{
    return folder.filePath(QString::fromLatin1(kFileName));
}

DealDatabase::DealDatabase(const ProgramFolder &folder) : DealDatabase(pathIn(folder))
{
}

DealDatabase::DealDatabase(QString filePath)
    : m_filePath(std::move(filePath)), m_connectionName(uniqueConnectionName())
{
    m_db = QSqlDatabase::addDatabase(StoreEngine::driverOf(m_engine), m_connectionName);
    m_db.setDatabaseName(m_filePath);
    m_db.setConnectOptions(QString::fromLatin1(kConnectOptions));
}

DealDatabase::DealDatabase(const ServerSettings &server)
    : m_server(server), m_engine(StoreEngine::Engine::PostgreSQL),
      m_connectionName(uniqueConnectionName())
{
    m_db = QSqlDatabase::addDatabase(StoreEngine::driverOf(m_engine), m_connectionName);
    m_db.setHostName(server.host);
    m_db.setPort(server.port);
    m_db.setDatabaseName(server.database);
    m_db.setUserName(server.user);
    m_db.setConnectOptions(server.connectOptions());
}

QString DealDatabase::describe() const
{
    return m_engine == StoreEngine::Engine::SQLite
               ? QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(m_filePath))
               : m_server.describe();
}

DealDatabase::~DealDatabase()
{
    // Prepared statements go before the connection they were made on.
    m_rowWriter.reset();
    m_statements.clear();
    m_sqliteStatements.clear();
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

bool DealDatabase::isOpen() const
{
    return m_db.isOpen();
}

bool DealDatabase::fail(QString *error, const QString &message)
{
    m_rowWriter.reset();
    m_statements.clear();
    m_sqliteStatements.clear();
    m_db.close();
    if (error)
        *error = message;
    return false;
}

bool DealDatabase::open(QString *error)
{
    if (m_db.isOpen())
        return true;
    const bool opened =
        m_engine == StoreEngine::Engine::SQLite ? openFile(error) : openServer(error);
    m_everOpened = m_everOpened || opened;
    return opened;
}

QString DealDatabase::connectionLostNotice()
{
    return QStringLiteral("The connection to the deal database server was lost. It is being "
                          "restored.");
}

void DealDatabase::setConnectionNotice(std::function<void(const QString &)> notice)
{
    m_connectionNotice = std::move(notice);
}

bool DealDatabase::lostConnection() const
{
    return m_engine == StoreEngine::Engine::PostgreSQL && m_everOpened &&
           (!m_db.isOpen() || m_lastFault == StoreSql::Fault::Connection);
}

bool DealDatabase::ensureOpen(QString *error)
{
    if (!lostConnection())
        return true;
    if (!m_lossTold && m_connectionNotice)
        m_connectionNotice(connectionLostNotice());
    m_lossTold = true;
    // Statements made on the lost connection go with it.
    m_rowWriter.reset();
    m_statements.clear();
    m_db.close();
    QString why;
    if (!openServer(&why)) {
        m_lastFault = StoreSql::Fault::Connection;
        if (error)
            *error = QStringLiteral("the connection to the deal database server was lost and "
                                    "could not be restored yet; try again in a moment. (%1)")
                         .arg(StoreSql::oneLine(why));
        return false;
    }
    m_lossTold = false;
    m_lastFault = StoreSql::Fault::None;
    return true;
}

DealDatabase::Fate DealDatabase::fateOf(qint64 transactionNumber, QString *error)
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!StoreSql::prepare(query, QStringLiteral("SELECT txid_status(?)"), error) ||
        !StoreSql::exec(query, {transactionNumber}, error) || !query.next())
        return Fate::Unknown;
    const QString status = query.value(0).toString();
    if (status == QLatin1String("committed"))
        return Fate::Made;
    if (status == QLatin1String("aborted"))
        return Fate::NotMade;
    return Fate::Unknown;
}

bool DealDatabase::transact(const std::function<bool()> &attempt, QString *error)
{
    using StoreSql::Fault;
    for (int round = 1;; ++round) {
        if (!ensureOpen(error))
            return false;
        std::optional<qint64> inDoubt;
        {
            const StoreSql::FaultWatch watch;
            if (attempt()) {
                m_lastFault = Fault::None;
                return true;
            }
            m_lastFault = watch.fault();
            inDoubt = SqlTransaction::commitInDoubt();
        }
        const bool lost = lostConnection();
        if (lost && inDoubt) {
            if (!ensureOpen(error))
                return false;
            QString why;
            switch (fateOf(*inDoubt, &why)) {
            case Fate::Made:
                m_lastFault = Fault::None;
                return true;
            case Fate::NotMade:
                break;
            case Fate::Unknown:
                m_lastFault = Fault::Connection;
                if (error)
                    *error = QStringLiteral("the connection to the deal database server was lost "
                                            "while the change was being committed, and the "
                                            "server cannot tell whether it was made; look at "
                                            "the deal or sheet before doing it again. (%1)")
                                 .arg(why);
                return false;
            }
        }
        if (!lost && m_lastFault != Fault::Conflict)
            return false;
        if (!lost && round < kAttempts) {
            // The desk this one gave way to takes the locks let go of before
            // the change is run again: run at once, it could take them back
            // first, and the other desk would wait on it once more.
            QThread::msleep(kConflictPauseMs * round +
                            QRandomGenerator::global()->bounded(kConflictPauseMs));
        }
        if (round == kAttempts) {
            if (error)
                *error = lost ? QStringLiteral("the connection to the deal database server was "
                                               "lost and could not be restored yet; try again in "
                                               "a moment.")
                              : QStringLiteral("another desk was changing the same deal at the "
                                               "same moment. Please try again.");
            return false;
        }
    }
}

bool DealDatabase::reading(const std::function<bool()> &read, QString *error)
{
    const auto reopened = [&] {
        QString why;
        if (ensureOpen(&why))
            return true;
        if (error)
            *error = why.isEmpty() ? why : why[0].toUpper() + why.mid(1);
        return false;
    };
    if (!reopened())
        return false;
    {
        const StoreSql::FaultWatch watch;
        if (read())
            return true;
        m_lastFault = watch.fault();
    }
    return lostConnection() && reopened() && read();
}

bool DealDatabase::openServer(QString *error)
{
    if (!m_db.open())
        return fail(error, QStringLiteral("The deal database %1 could not be opened: the server "
                                          "could not be reached, or refused the login (%2). "
                                          "Nothing was changed.")
                               .arg(m_server.describe(),
                                    oneLine(StoreSql::errorText(m_db.lastError()))));
    // A connection lost on the way is named as such, never taken for a
    // database that is not ours.
    const auto lost = [&](const QString &words) {
        return fail(error, QStringLiteral("The connection to the server was lost while the deal "
                                          "database %1 was being opened (%2). Nothing was "
                                          "changed; start Tarvex again once the server can be "
                                          "reached.")
                               .arg(m_server.describe(), oneLine(words)));
    };
    // Another desk's row locks are waited on for a while, not for ever.
    QString why;
    if (!StoreEngine::run(m_db, QStringLiteral("SET lock_timeout = '10s'"), &why))
        return connectionLost(m_db)
                   ? lost(why)
                   : fail(error, QStringLiteral("The deal database %1 could not be opened (%2).")
                                     .arg(m_server.describe(), oneLine(why)));
    const auto refused = [&](const QString &reason) {
        if (connectionLost(m_db))
            return lost(reason);
        return fail(error, QStringLiteral("The deal database %1 cannot be used: %2. It was left "
                                          "unchanged.")
                               .arg(m_server.describe(), oneLine(reason)));
    };
    // Made, checked and upgraded under one lock, in one transaction: a
    // failure leaves the database exactly as it was.
    SqlTransaction transaction(m_db);
    if (!transaction.begin(&why) || !StoreEngine::lockSchema(m_db, &why))
        return refused(why);
    const std::optional<int> tables = StoreEngine::tableCount(m_db, &why);
    if (!tables)
        return refused(why);
    if (*tables == 0) {
        if (!StoreSchema::create(m_db, &why) || !transaction.commit(&why))
            return refused(QStringLiteral("its tables could not be made (%1)").arg(why));
        return true;
    }
    switch (StoreSchema::verify(m_db, &why)) {
    case StoreSchema::Verdict::Ours:
        break;
    case StoreSchema::Verdict::NotOurs:
        return refused(QStringLiteral("it is not a deal database of this program: %1").arg(why));
    case StoreSchema::Verdict::Newer:
        return refused(QStringLiteral("it was made by a newer version of this program (%1)")
                           .arg(why));
    }
    const std::optional<int> version = StoreEngine::schemaVersion(m_db, &why);
    if (!version)
        return refused(why);
    if (*version < StoreSchema::kVersion) {
        if (!StoreMigration::applySteps(m_db, *version, &why) || !transaction.commit(&why))
            return refused(QStringLiteral("it could not be upgraded from version %1 to version "
                                          "%2 (%3); it was left at version %1")
                               .arg(*version)
                               .arg(StoreSchema::kVersion)
                               .arg(why));
        m_upgradeNote = QStringLiteral("The deal database was upgraded from version %1 to "
                                       "version %2.")
                            .arg(*version)
                            .arg(StoreSchema::kVersion);
        return true;
    }
    if (!transaction.commit(&why))
        return refused(why);
    return true;
}

bool DealDatabase::openFile(QString *error)
{
    const QFileInfo info(m_filePath);
    if (!info.exists()) {
        QString why;
        if (!createFile(&why))
            return fail(error, QStringLiteral("The deal database \"%1\" could not be created: %2")
                                   .arg(QDir::toNativeSeparators(m_filePath), why));
    } else if (!info.isFile()) {
        return fail(error, QStringLiteral("\"%1\" is not a file, so it cannot be the deal "
                                          "database.")
                               .arg(QDir::toNativeSeparators(m_filePath)));
    } else if (const QString place = unwritablePlace(info); !place.isEmpty()) {
        // Opened now, the file would only fail to read and look foreign.
        return fail(error, QStringLiteral("The deal database \"%1\" cannot be used because %2. "
                                          "Deals cannot be saved there. The database is intact "
                                          "and was left as it is; give this user the right to "
                                          "write there, or move the program's folder.")
                               .arg(QDir::toNativeSeparators(m_filePath), place));
    }

    if (!m_db.open())
        return fail(error, QStringLiteral("The deal database \"%1\" could not be opened: %2")
                               .arg(QDir::toNativeSeparators(m_filePath),
                                    StoreSql::errorText(m_db.lastError())));
    // Nothing is written before the file is known to be ours.
    QString why;
    switch (StoreSchema::verify(m_db, &why)) {
    case StoreSchema::Verdict::Ours:
        break;
    case StoreSchema::Verdict::NotOurs:
        return fail(error,
                    QStringLiteral("The file \"%1\" is not a deal database of this program: %2. "
                                   "The file was left unchanged.")
                        .arg(QDir::toNativeSeparators(m_filePath), why));
    case StoreSchema::Verdict::Newer:
        return fail(error, QStringLiteral("The deal database \"%1\" was made by a newer version "
                                          "of this program (%2). The file was left unchanged.")
                               .arg(QDir::toNativeSeparators(m_filePath), why));
    }

    if (!upgradeIfOlder(error))
        return false;

    // A write-ahead log lets the windows' readers and the save work side by
    // side; every commit still reaches the disk before the save reports it.
    run(m_db, QStringLiteral("PRAGMA journal_mode = WAL"));
    run(m_db, QStringLiteral("PRAGMA synchronous = FULL"));
    run(m_db, QStringLiteral("PRAGMA foreign_keys = ON"));
    return true;
}

bool DealDatabase::createFile(QString *error) const
{
    // The new database is built under a temporary name beside its final place
    // and renamed into place only when complete and on the disk, so a failure
    // never leaves a half-made file under the database's name. The empty file
    // is made here, the user's alone like every new file of the program (the
    // database's journals take its permissions).
    const QString temporary = DurableFile::temporaryPathFor(m_filePath);
    QFile empty(temporary);
    if (!empty.open(QIODevice::NewOnly)) {
        if (error)
            *error = empty.errorString();
        return false;
    }
    empty.close();
    if (!DurableFile::makePrivate(temporary, error)) {
        QFile::remove(temporary);
        return false;
    }
    if (!buildNewDatabase(temporary, error)) {
        QFile::remove(temporary);
        QFile::remove(temporary + QStringLiteral("-journal"));
        return false;
    }
    return DurableFile::putInPlace(temporary, m_filePath, error);
}

bool DealDatabase::upgradeIfOlder(QString *error)
{
    QString why;
    const std::optional<int> version = StoreEngine::schemaVersion(m_db, &why);
    const int from = qMax(version.value_or(StoreSchema::kFirstVersion), StoreSchema::kFirstVersion);
    if (version && *version >= StoreSchema::kVersion)
        return true;
    QString copy;
    if (!StoreMigration::upgrade(m_db, m_filePath, from, &copy, &why))
        return fail(error, QStringLiteral("The deal database \"%1\" could not be upgraded from "
                                          "version %2 to version %3: %4. It was left at version "
                                          "%2, unchanged.")
                               .arg(QDir::toNativeSeparators(m_filePath))
                               .arg(from)
                               .arg(StoreSchema::kVersion)
                               .arg(why));
    m_upgradeNote = QStringLiteral("The deal database was upgraded from version %1 to version %2. "
                                   "A copy of it as it was before is in \"%3\".")
                        .arg(from)
                        .arg(StoreSchema::kVersion)
                        .arg(QDir::toNativeSeparators(copy));
    return true;
}

QSqlQuery *DealDatabase::prepared(const QString &statement, QString *error)
{
    auto found = m_statements.find(statement);
    if (found != m_statements.end())
        return found->second.get();
    auto query = std::make_unique<QSqlQuery>(m_db);
    query->setForwardOnly(true);
    if (!StoreSql::prepare(*query, statement, error))
        return nullptr;
    return m_statements.emplace(statement, std::move(query)).first->second.get();
}

SqliteStatement *DealDatabase::sqlitePrepared(const QString &statement, QString *error)
{
    auto found = m_sqliteStatements.find(statement);
    if (found != m_sqliteStatements.end())
        return found->second.get();
    sqlite3 *handle =
        m_engine == StoreEngine::Engine::SQLite ? SqliteStatement::handleOf(m_db) : nullptr;
    if (!handle) {
        if (error)
            *error = QStringLiteral("The deal database is not an open file.");
        return nullptr;
    }
    auto kept = std::make_unique<SqliteStatement>();
    if (!kept->prepare(handle, statement, error))
        return nullptr;
    return m_sqliteStatements.emplace(statement, std::move(kept)).first->second.get();
}

DealRowWriter &DealDatabase::rowWriter()
{
    if (!m_rowWriter)
        m_rowWriter = std::make_unique<DealRowWriter>(m_db);
    return *m_rowWriter;
}

CachedQuery::~CachedQuery()
{
    if (m_query)
        m_query->finish();
}
