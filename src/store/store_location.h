#pragma once

#include "common/program_folder.h"

#include <QString>

#include <optional>

// A PostgreSQL server and the database on it that holds the deals. No
// password: the server's own means apply (~/.pgpass, peer or certificate
// authentication).
struct ServerSettings
{
    QString host; // a host name or address, or the folder of a Unix socket
    int port = 5432;
    QString database;
    QString user; // empty: the login's own default
};

// Where the deals are kept: the SQLite file in the data folder, or a
// database on a PostgreSQL server shared by several desks, as the data
// folder's database.conf says.
//
// database.conf is UTF-8 text of `key = value` lines; blank lines and lines
// starting with `#` are skipped. Its keys are `engine` (`postgresql` or
// `sqlite`), `host`, `port` (5432 when not given), `database` and `user`.
//   engine = postgresql
//   host = db.example.local
//   database = tarvex
struct StoreLocation
{
    enum class Engine { SQLite, PostgreSQL };
    Engine engine = Engine::SQLite;
    QString filePath;      // SQLite: the deal database file
    ServerSettings server; // PostgreSQL
    // For messages: `the database "tarvex" on db.example.local` (with the
    // port when it is not 5432), or the SQLite file's path.
    QString describe() const;
    // Reads the folder's database.conf; without one, the SQLite file of the
    // folder. nullopt, with a message naming the file (and the line, where
    // there is one) in `error`, when the file cannot be read or is not right:
    // nothing is guessed.
    static std::optional<StoreLocation> of(const ProgramFolder &folder, QString *error);
    static constexpr const char *kConfigFile = "database.conf";
};
