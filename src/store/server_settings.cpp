#include "server_settings.h"

QString ServerSettings::describe() const
{
    constexpr int kUsualPort = 5432;
    QString place = host.isEmpty() ? QStringLiteral("this computer") : host;
    if (port != kUsualPort)
        place += QStringLiteral(", port %1").arg(port);
    return QStringLiteral("\"%1\" on %2").arg(database, place);
}
