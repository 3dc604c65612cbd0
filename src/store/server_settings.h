#pragma once

#include <QString>

// Where a shared deal database lies on a PostgreSQL server, and as whom the
// desk logs in. No password: the server's own means apply (~/.pgpass, peer
// or certificate authentication).
struct ServerSettings
{
    QString host;     // a name, an address, or a folder holding the server's socket
    int port = 5432;
    QString database;
    QString user;     // empty: the login's own default

    // "tarvex" on db.example.local (with the port when not the usual one)
    QString describe() const;
};
