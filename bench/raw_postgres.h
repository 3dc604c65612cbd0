#pragma once

#include <libpq-fe.h>

#include <optional>
#include <string>
#include <vector>

// The floors of the server benchmarks: libpq used directly, with statements
// prepared once and values passed as text.
namespace RawPostgres {

// A statement written with SQLite's "?" marks, numbered as the server's
// "$1", "$2", ... Marks inside quoted names or text are left alone.
std::string numberedMarks(const std::string &sql);

// `value` as a field of COPY's text format: backslash, tab, newline and
// carriage return escaped; std::nullopt as \N.
std::string copyField(const std::optional<std::string> &value);

using Values = std::vector<std::optional<std::string>>; // std::nullopt: NULL

class Result
{
public:
    explicit Result(PGresult *result) : m_result(result) {}
    ~Result() { PQclear(m_result); }
    Result(const Result &) = delete;
    Result &operator=(const Result &) = delete;

    PGresult *get() const { return m_result; }
    int rows() const { return PQntuples(m_result); }
    // Reads every field of every row, as a caller of libpq would.
    void readAll() const;

private:
    PGresult *m_result;
};

class Connection
{
public:
    // `options`: a libpq connection string ("host=... port=... dbname=...").
    explicit Connection(const std::string &options);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    PGconn *get() const { return m_conn; }
    // Runs a statement without values; ends the program on an error.
    void exec(const std::string &sql);
    // Prepares `sql` (with "?" marks) under `name`.
    void prepare(const std::string &name, const std::string &sql);
    // Runs a prepared statement; ends the program on an error.
    Result run(const std::string &name, const Values &values);

    // COPY table (columns) FROM STDIN, fed one text line (ending in \n) at a
    // time by put(), ended by endCopy().
    void beginCopy(const std::string &table, const std::vector<std::string> &columns);
    void put(const std::string &line);
    void endCopy();

private:
    PGconn *m_conn;
};

} // namespace RawPostgres
