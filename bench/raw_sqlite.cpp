#include "raw_sqlite.h"

#include <QVariant>

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fatal(sqlite3 *db, const char *what)
{
    std::fprintf(stderr, "%s: %s\n", what, sqlite3_errmsg(db));
    std::exit(1);
}

} // namespace

RawStatement::RawStatement(sqlite3 *db, const std::string &sql) : m_db(db)
{
    if (sqlite3_prepare_v3(db, sql.c_str(), int(sql.size()), SQLITE_PREPARE_PERSISTENT,
                           &m_statement, nullptr) != SQLITE_OK)
        fatal(db, sql.c_str());
}

RawStatement::~RawStatement()
{
    sqlite3_finalize(m_statement);
}

void RawStatement::bind(const QVariantList &values, int first)
{
    for (int i = 0; i < values.size(); ++i) {
        const QVariant &value = values.at(i);
        const int index = first + i;
        if (value.isNull()) {
            sqlite3_bind_null(m_statement, index);
        } else if (value.typeId() == QMetaType::QString) {
            const QByteArray text = value.toString().toUtf8();
            sqlite3_bind_text(m_statement, index, text.constData(), int(text.size()),
                              SQLITE_TRANSIENT);
        } else {
            sqlite3_bind_int64(m_statement, index, value.toLongLong());
        }
    }
}

void RawStatement::bindText(int index, const std::string &text)
{
    sqlite3_bind_text(m_statement, index, text.data(), int(text.size()), SQLITE_TRANSIENT);
}

void RawStatement::bindInt(int index, sqlite3_int64 value)
{
    sqlite3_bind_int64(m_statement, index, value);
}

bool RawStatement::step()
{
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        fatal(m_db, "step");
    return false;
}

void RawStatement::run()
{
    while (step()) {
    }
    reset();
}

void RawStatement::reset()
{
    sqlite3_reset(m_statement);
}

RawDatabase::RawDatabase(const std::string &path)
{
    if (sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        fatal(m_db, path.c_str());
    sqlite3_busy_timeout(m_db, 5000);
}

RawDatabase::~RawDatabase()
{
    sqlite3_close_v2(m_db);
}

void RawDatabase::exec(const std::string &sql)
{
    char *message = nullptr;
    if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        std::fprintf(stderr, "%s: %s\n", sql.c_str(), message);
        std::exit(1);
    }
}
