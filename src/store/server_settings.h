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
    // libpq's sslmode (disable, allow, prefer, require, verify-ca,
    // verify-full); empty: libpq's own default, prefer.
    QString sslMode = {};
    // The root certificate the server's is checked against (verify-ca,
    // verify-full); empty: libpq's own default, ~/.postgresql/root.crt.
    QString sslRootCert = {};

    // "tarvex" on db.example.local (with the port when not the usual one)
    QString describe() const;
    // The driver's connection options: a time limit, the program's name and
    // the TLS settings given.
    QString connectOptions() const;
    // A host given as a folder is the server's Unix socket on this computer;
    // any other is reached over the network.
    bool overNetwork() const;
    // Whether the connection is certain to be encrypted: sslmode require or
    // stronger, or a socket on this computer.
    bool encrypted() const;
    // What About says of the connection: where the deals are, and whether
    // the connection is encrypted.
    QString connectionNote() const;

    // The sslmode values libpq knows, weakest first.
    static const QStringList &sslModes();
};
