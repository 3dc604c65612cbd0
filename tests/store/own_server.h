#pragma once

#include "store/server_settings.h"

#include <QString>
#include <QTemporaryDir>

// A PostgreSQL server of one test's own, made by scripts/test_server.sh in a
// temporary folder and removed with it: the tests' shared server is never
// restarted or reconfigured under other tests.
class OwnServer
{
public:
    OwnServer();
    ~OwnServer();
    OwnServer(const OwnServer &) = delete;
    OwnServer &operator=(const OwnServer &) = delete;

    // Stops the server, ending its connections, and starts it again.
    bool restart();
    // Stopped with its data kept, and started again on the same socket.
    bool pause();
    bool resume();
    // Adds a TCP listener on 127.0.0.1 that takes only TLS, with a
    // certificate for "localhost" signed by a root made for the run; false
    // when it could not be set up.
    bool takeOnlyTls();
    // The root that signed the server's certificate, and one that did not.
    QString tlsRoot() const { return m_tlsRoot; }
    QString otherTlsRoot() const { return m_otherTlsRoot; }

    // Through the socket; the database "postgres".
    const ServerSettings &settings() const { return m_settings; }

private:
    QString script(const QString &command);

    QTemporaryDir m_parent;
    ServerSettings m_settings;
    QString m_tlsRoot;
    QString m_otherTlsRoot;
};
