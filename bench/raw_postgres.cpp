#include "raw_postgres.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace RawPostgres {

namespace {

[[noreturn]] void die(PGconn *conn, const std::string &what)
{
    std::fprintf(stderr, "%s: %s\n", what.c_str(), PQerrorMessage(conn));
    std::exit(1);
}

void check(PGconn *conn, PGresult *result, const std::string &what)
{
    const ExecStatusType status = PQresultStatus(result);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK && status != PGRES_COPY_IN) {
        PQclear(result);
        die(conn, what);
    }
}

std::string quoted(const std::string &name)
{
    return '"' + name + '"';
}

} // namespace

std::string numberedMarks(const std::string &sql)
{
    std::string out;
    int next = 1;
    char quote = 0;
    for (const char c : sql) {
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '?') {
            out += '$' + std::to_string(next++);
            continue;
        }
        out += c;
    }
    return out;
}

std::string copyField(const std::optional<std::string> &value)
{
    if (!value)
        return "\\N";
    std::string out;
    out.reserve(value->size());
    for (const char c : *value) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out;
}

void Result::readAll() const
{
    for (int row = 0; row < PQntuples(m_result); ++row) {
        for (int column = 0; column < PQnfields(m_result); ++column)
            benchmark::DoNotOptimize(PQgetvalue(m_result, row, column));
    }
}

Connection::Connection(const std::string &options) : m_conn(PQconnectdb(options.c_str()))
{
    if (PQstatus(m_conn) != CONNECTION_OK)
        die(m_conn, "cannot connect (" + options + ")");
}

Connection::~Connection()
{
    PQfinish(m_conn);
}

void Connection::exec(const std::string &sql)
{
    PGresult *result = PQexec(m_conn, sql.c_str());
    check(m_conn, result, sql);
    PQclear(result);
}

void Connection::prepare(const std::string &name, const std::string &sql)
{
    PGresult *result = PQprepare(m_conn, name.c_str(), numberedMarks(sql).c_str(), 0, nullptr);
    check(m_conn, result, sql);
    PQclear(result);
}

Result Connection::run(const std::string &name, const Values &values)
{
    std::vector<const char *> texts;
    texts.reserve(values.size());
    for (const auto &value : values)
        texts.push_back(value ? value->c_str() : nullptr);
    PGresult *result = PQexecPrepared(m_conn, name.c_str(), int(texts.size()), texts.data(),
                                      nullptr, nullptr, 0);
    check(m_conn, result, name);
    return Result(result);
}

void Connection::beginCopy(const std::string &table, const std::vector<std::string> &columns)
{
    std::string sql = "COPY " + quoted(table) + " (";
    for (size_t i = 0; i < columns.size(); ++i)
        sql += (i ? ", " : "") + quoted(columns[i]);
    exec(sql + ") FROM STDIN");
}

void Connection::put(const std::string &line)
{
    if (PQputCopyData(m_conn, line.data(), int(line.size())) != 1)
        die(m_conn, "COPY");
}

void Connection::endCopy()
{
    if (PQputCopyEnd(m_conn, nullptr) != 1)
        die(m_conn, "COPY");
    while (PGresult *result = PQgetResult(m_conn)) {
        check(m_conn, result, "COPY");
        PQclear(result);
    }
}

} // namespace RawPostgres
