#include "sql_transaction.h"

#include "deal_database.h"
#include "sqlite_statement.h"
#include "store_engine.h"
#include "store_sql.h"

#include <QSqlQuery>

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

bool SqlTransaction::begin(QString *error)
{
    m_open = run(StoreEngine::beginWrite(StoreEngine::engineOf(m_db)), error);
    return m_open;
}

bool SqlTransaction::commit(QString *error)
{
    if (!m_open || !run(QStringLiteral("COMMIT"), error))
        return false;
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
