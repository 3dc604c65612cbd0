#pragma once

#include <QVariantList>

#include <sqlite3.h>

#include <string>

// The floors of the benchmarks: the SQLite C API used directly, with
// statements prepared once and values bound by hand.
class RawStatement
{
public:
    RawStatement(sqlite3 *db, const std::string &sql);
    ~RawStatement();
    RawStatement(const RawStatement &) = delete;
    RawStatement &operator=(const RawStatement &) = delete;

    sqlite3_stmt *get() const { return m_statement; }
    // Binds `values` from parameter `first` on (1-based).
    void bind(const QVariantList &values, int first = 1);
    void bindText(int index, const std::string &text);
    void bindInt(int index, sqlite3_int64 value);
    // Steps once; true while a row is there.
    bool step();
    // Steps to the end, failing the program on an error.
    void run();
    void reset();

private:
    sqlite3 *m_db;
    sqlite3_stmt *m_statement = nullptr;
};

class RawDatabase
{
public:
    explicit RawDatabase(const std::string &path);
    ~RawDatabase();
    RawDatabase(const RawDatabase &) = delete;
    RawDatabase &operator=(const RawDatabase &) = delete;

    sqlite3 *get() const { return m_db; }
    void exec(const std::string &sql);

private:
    sqlite3 *m_db = nullptr;
};
