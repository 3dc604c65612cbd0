#include "statement_rows.h"

#include "store_engine.h"
#include "store_sql.h"

StatementRows::StatementRows(const QSqlDatabase &db) : m_db(db)
{
}

StatementRows::~StatementRows() = default;

bool StatementRows::run(const QString &statement, const QVariantList &values, QString *error)
{
    m_row = -1;
    if (StoreEngine::engineOf(m_db) == StoreEngine::Engine::PostgreSQL) {
        if (!m_server)
            m_server = std::make_unique<PgStatement>(m_db);
        return m_server->run(statement, values, error);
    }
    m_query = std::make_unique<QSqlQuery>(m_db);
    m_query->setForwardOnly(true);
    return StoreSql::prepare(*m_query, statement, error) &&
           StoreSql::exec(*m_query, values, error);
}

bool StatementRows::next()
{
    if (!m_server)
        return m_query && m_query->next();
    if (m_row < m_server->rows())
        ++m_row;
    return m_row < m_server->rows();
}

QVariant StatementRows::value(int column) const
{
    return m_server ? m_server->value(m_row, column) : m_query->value(column);
}
