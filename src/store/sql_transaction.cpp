#include "sql_transaction.h"

#include "deal_database.h"
#include "sqlite_statement.h"
#include "store_engine.h"
#include "store_sql.h"

#include <QSqlQuery>

namespace {

thread_local std::optional<qint64> t_inDoubt;

// The number of the server transaction under way, when it has written.
std::optional<qint64> transactionNumber(QSqlDatabase &db)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT txid_current_if_assigned()")) || !query.next() ||
        query.value(0).isNull())
        return std::nullopt;
    return query.value(0).toLongLong();
}

} // namespace

SqlTransaction::SqlTransaction(QSqlDatabase db) : m_db(std::move(db))
{
}

SqlTransaction::SqlTransaction(DealDatabase &database)
    : m_db(database.connection()),
      m_database(database.engine() == StoreEngine::Engine::SQLite ? &database : nullptr)
{
}

SqlTransaction::~SqlTransaction()
{
    if (m_open)
        run(QStringLiteral("ROLLBACK"), nullptr);
}

std::optional<qint64> SqlTransaction::commitInDoubt()
{
    return t_inDoubt;
}

bool SqlTransaction::begin(QString *error)
{
    t_inDoubt.reset();
    m_open = run(StoreEngine::beginWrite(StoreEngine::engineOf(m_db)), error);
    return m_open;
}

bool SqlTransaction::commit(QString *error)
{
    if (!m_open)
        return false;
    const bool onServer = StoreEngine::engineOf(m_db) == StoreEngine::Engine::PostgreSQL;
    const std::optional<qint64> number = onServer ? transactionNumber(m_db) : std::nullopt;
    if (!run(QStringLiteral("COMMIT"), error)) {
        // Without a connection there was no answer: the commit may or may
        // not have been made.
        if (number && !m_db.isOpen()) {
            t_inDoubt = number;
            m_open = false;
        }
        return false;
    }
    m_open = false;
    return true;
}

bool SqlTransaction::run(const QString &statement, QString *error)
{
    if (m_database) {
        SqliteStatement *kept = m_database->sqlitePrepared(statement, error);
        return kept && kept->exec({}, nullptr, error);
    }
    QSqlQuery query(m_db);
    if (query.exec(statement))
        return true;
    if (error)
        *error = StoreSql::errorText(query.lastError());
    return false;
}
