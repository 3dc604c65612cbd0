#include "own_server.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

namespace {

// The value of one `export NAME=value` line of the script's output.
QString exported(const QString &exports, const char *name)
{
    const QRegularExpression line(QStringLiteral("^export %1=(\\S+)$").arg(QLatin1String(name)),
                                  QRegularExpression::MultilineOption);
    return line.match(exports).captured(1);
}

} // namespace

OwnServer::OwnServer() : m_parent(QStringLiteral("/tmp/tarvex-rs-XXXXXX"))
{
    // The server's own user must reach the folder inside.
    QFile::setPermissions(m_parent.path(), QFile::ReadOwner | QFile::WriteOwner |
                                               QFile::ExeOwner | QFile::ExeOther);
    const QString exports = script(QStringLiteral("start"));
    m_settings = {exported(exports, "TARVEX_TEST_PG_HOST"),
                  exported(exports, "TARVEX_TEST_PG_PORT").toInt(), QStringLiteral("postgres"),
                  exported(exports, "TARVEX_TEST_PG_USER")};
}

OwnServer::~OwnServer()
{
    script(QStringLiteral("stop"));
}

bool OwnServer::restart()
{
    return !script(QStringLiteral("restart")).isNull();
}

bool OwnServer::pause()
{
    return !script(QStringLiteral("pause")).isNull();
}

bool OwnServer::resume()
{
    return !script(QStringLiteral("resume")).isNull();
}

bool OwnServer::takeOnlyTls()
{
    const QString exports = script(QStringLiteral("tls"));
    m_tlsRoot = exported(exports, "TARVEX_TEST_TLS_ROOT");
    m_otherTlsRoot = exported(exports, "TARVEX_TEST_TLS_OTHER_ROOT");
    return !m_tlsRoot.isEmpty();
}

QString OwnServer::script(const QString &command)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral("bash"), {QStringLiteral(TARVEX_TEST_SERVER_SCRIPT), command,
                                           m_parent.path() + QStringLiteral("/s")});
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(process.readAllStandardOutput()) + u' ';
}
