#include "sqlite_statement.h"

#include "store_sql.h"

#include <QSqlDriver>
#include <QSqlError>

#include <sqlite3.h>

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_statement);
}

sqlite3 *SqliteStatement::handleOf(const QSqlDatabase &db)
{
    if (!db.isOpen() || !db.driver())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

bool SqliteStatement::fail(QString *error)
{
    // As the driver reports it: the engine's words and its extended code.
    // A failure nobody asks about (a rollback after SQLite already undid the
    // transaction) does not count as the fault of the operation.
    if (error) {
        const QSqlError failure(QString(), QString::fromUtf8(sqlite3_errmsg(m_db)),
                                QSqlError::StatementError,
                                QString::number(sqlite3_extended_errcode(m_db)));
        *error = StoreSql::errorText(failure);
    }
    if (m_statement)
        sqlite3_reset(m_statement);
    m_hasRow = false;
    return false;
}

bool SqliteStatement::prepare(sqlite3 *db, const QString &statement, QString *error)
{
    sqlite3_finalize(m_statement);
    m_statement = nullptr;
    m_db = db;
    const QByteArray text = statement.toUtf8();
    if (sqlite3_prepare_v3(db, text.constData(), int(text.size()), SQLITE_PREPARE_PERSISTENT,
                           &m_statement, nullptr) != SQLITE_OK)
        return fail(error);
    return true;
}

bool SqliteStatement::bind(const QVariantList &values, const QVariant *last, QString *error)
{
    const int count = int(values.size()) + (last ? 1 : 0);
    m_texts.clear();
    m_texts.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        const QVariant &value = i < values.size() ? values.at(i) : *last;
        const int index = i + 1;
        int rc = SQLITE_OK;
        switch (value.isNull() ? QMetaType::UnknownType : value.typeId()) {
        case QMetaType::UnknownType:
            rc = sqlite3_bind_null(m_statement, index);
            break;
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::Bool:
            rc = sqlite3_bind_int64(m_statement, index, value.toLongLong());
            break;
        default: {
            // In the file's own encoding, kept until the next run: SQLite
            // neither converts nor copies it.
            m_texts.push_back(value.typeId() == QMetaType::QString
                                  ? static_cast<const QString *>(value.constData())->toUtf8()
                                  : value.toString().toUtf8());
            const QByteArray &text = m_texts.back();
            rc = sqlite3_bind_text(m_statement, index, text.constData(), int(text.size()),
                                   SQLITE_STATIC);
            break;
        }
        }
        if (rc != SQLITE_OK)
            return fail(error);
    }
    return true;
}

bool SqliteStatement::exec(const QVariantList &values, const QVariant *last, QString *error,
                           std::optional<qint64> *returned)
{
    if (!bind(values, last, error))
        return false;
    int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW && returned)
        *returned = sqlite3_column_int64(m_statement, 0);
    while (rc == SQLITE_ROW)
        rc = sqlite3_step(m_statement);
    if (rc != SQLITE_DONE)
        return fail(error);
    sqlite3_reset(m_statement);
    return true;
}

bool SqliteStatement::start(const QVariantList &values, QString *error)
{
    m_hasRow = false;
    if (!bind(values, nullptr, error))
        return false;
    const int rc = sqlite3_step(m_statement);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        return fail(error);
    m_hasRow = rc == SQLITE_ROW;
    return true;
}

bool SqliteStatement::next(QString *error)
{
    if (!m_hasRow)
        return true;
    const int rc = sqlite3_step(m_statement);
    m_hasRow = rc == SQLITE_ROW;
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        return fail(error);
    return true;
}

QVariant SqliteStatement::value(int column) const
{
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(m_statement, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_statement, column));
    case SQLITE_NULL:
        return QVariant(QMetaType::fromType<QString>());
    default: {
        const void *text = sqlite3_column_text16(m_statement, column);
        const int bytes = sqlite3_column_bytes16(m_statement, column);
        return QString(static_cast<const QChar *>(text), bytes / int(sizeof(QChar)));
    }
    }
}

bool SqliteStatement::isNull(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

qint64 SqliteStatement::integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

QByteArrayView SqliteStatement::utf8(int column) const
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
    return QByteArrayView(text, sqlite3_column_bytes(m_statement, column));
}

qint64 SqliteStatement::lastInsertedKey() const
{
    return sqlite3_last_insert_rowid(m_db);
}

void SqliteStatement::finish()
{
    m_hasRow = false;
    sqlite3_reset(m_statement);
}
