#pragma once

#include "store/server_settings.h"

#include <QString>

#include <string>

// The throwaway local server the store benchmark runs on, its cluster kept
// in a folder of the build (like the generated SQLite database) between
// runs: made by scripts/test_server.sh when missing, started again when
// kept, and stopped, its data kept, when the object goes.
class BenchServer
{
public:
    static constexpr const char *kDatabase = "tarvex_bench";

    // Starts the server in `folder`; ends the program when it cannot.
    BenchServer(const QString &script, const QString &folder);
    ~BenchServer();
    BenchServer(const BenchServer &) = delete;
    BenchServer &operator=(const BenchServer &) = delete;

    // The bench database as the program reaches it.
    ServerSettings settings(const QString &database = QString::fromLatin1(kDatabase)) const;
    // The same as a libpq connection string.
    std::string options(const QString &database = QString::fromLatin1(kDatabase)) const;

    // Makes the bench database from the SQLite database at `sqlitePath`
    // (COPY, indexes made after, then ANALYZE) when the server lacks it. It
    // is filled under another name and renamed when complete, so that an
    // interrupted run leaves nothing half-filled to be used next time.
    void ensureDatabase(const QString &sqlitePath) const;

    // Stops the server, ending every connection, and starts it again, as an
    // administrator's restart would.
    void restart() const { runScript(QStringLiteral("restart")); }

private:
    QString runScript(const QString &command) const;

    QString m_script;
    QString m_folder;
    ServerSettings m_server;
};
