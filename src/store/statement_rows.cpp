#include "statement_rows.h"

#include "store_engine.h"
#include "store_sql.h"

#include <QSqlError>

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
    if (sqlite3 *handle = SqliteStatement::handleOf(m_db)) {
        m_file = std::make_unique<SqliteStatement>();
        m_started = false;
        return m_file->prepare(handle, statement, error) && m_file->start(values, error);
    }
    m_query = std::make_unique<QSqlQuery>(m_db);
    m_query->setForwardOnly(true);
    return StoreSql::prepare(*m_query, statement, error) &&
           StoreSql::exec(*m_query, values, error);
}

bool StatementRows::next()
{
    if (m_file) {
        // start() stood on the first row already.
        if (m_started && !m_file->next(&m_failure))
            return false;
        m_started = true;
        return m_file->hasRow();
    }
    if (!m_server) {
        if (m_query && m_query->next())
            return true;
        if (m_query && m_query->lastError().isValid())
            m_failure = m_query->lastError().text();
        return false;
    }
    if (m_row < m_server->rows())
        ++m_row;
    return m_row < m_server->rows();
}

QVariant StatementRows::value(int column) const
{
    if (m_file)
        return m_file->value(column);
    return m_server ? m_server->value(m_row, column) : m_query->value(column);
}

bool StatementRows::isNull(int column) const
{
    return m_file ? m_file->isNull(column) : value(column).isNull();
}

qint64 StatementRows::integer(int column) const
{
    return m_file ? m_file->integer(column) : value(column).toLongLong();
}

QByteArrayView StatementRows::utf8(int column)
{
    if (m_file)
        return m_file->utf8(column);
    m_text = value(column).toString().toUtf8();
    return m_text;
}
