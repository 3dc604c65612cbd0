#include "server_settings.h"

#include <QStringList>

namespace {

// A conninfo value in single quotes, its quotes and backslashes escaped.
QString quotedValue(QString value)
{
    value.replace(u'\\', QStringLiteral("\\\\"));
    value.replace(u'\'', QStringLiteral("\\'"));
    return u'\'' + value + u'\'';
}

} // namespace

const QStringList &ServerSettings::sslModes()
{
    static const QStringList modes = {QStringLiteral("disable"),   QStringLiteral("allow"),
                                      QStringLiteral("prefer"),    QStringLiteral("require"),
                                      QStringLiteral("verify-ca"), QStringLiteral("verify-full")};
    return modes;
}

QString ServerSettings::connectOptions() const
{
    // A server that does not answer is given up after a while, not waited on.
    QStringList options{QStringLiteral("connect_timeout=10"),
                        QStringLiteral("application_name=Tarvex")};
    if (!sslMode.isEmpty())
        options << QStringLiteral("sslmode=") + sslMode;
    if (!sslRootCert.isEmpty())
        options << QStringLiteral("sslrootcert=") + quotedValue(sslRootCert);
    return options.join(u';');
}

bool ServerSettings::overNetwork() const
{
    return !host.startsWith(u'/');
}

bool ServerSettings::encrypted() const
{
    return !overNetwork() || sslModes().indexOf(sslMode) >= sslModes().indexOf(QStringLiteral("require"));
}

QString ServerSettings::connectionNote() const
{
    const QString place = QStringLiteral("The deals are kept in the database %1.").arg(describe());
    if (!overNetwork())
        return place;
    const QString mode = sslMode.isEmpty() ? QStringLiteral("prefer") : sslMode;
    if (encrypted())
        return place + QStringLiteral(" The connection to it is encrypted (sslmode %1).").arg(mode);
    return place + QStringLiteral(" The connection to it is not certain to be encrypted (sslmode "
                                  "%1): the deals may cross the network unencrypted. Set sslmode "
                                  "= verify-full in database.conf.")
                       .arg(mode);
}

QString ServerSettings::describe() const
{
    constexpr int kUsualPort = 5432;
    QString place = host.isEmpty() ? QStringLiteral("this computer") : host;
    if (port != kUsualPort)
        place += QStringLiteral(", port %1").arg(port);
    return QStringLiteral("\"%1\" on %2").arg(database, place);
}
