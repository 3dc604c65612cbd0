#include "store/store_location.h"

#include "store/deal_database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

namespace {

// A database.conf is a few lines; anything much larger is not one.
constexpr qint64 kLargestFile = 64 * 1024;

// The longest name PostgreSQL keeps; it cuts longer ones short, which could
// reach another database than the one named.
constexpr qsizetype kLongestName = 63;

const QStringList kKeys = {QStringLiteral("engine"),   QStringLiteral("host"),
                           QStringLiteral("port"),     QStringLiteral("database"),
                           QStringLiteral("user"),     QStringLiteral("sslmode"),
                           QStringLiteral("sslrootcert")};

struct Setting
{
    int line = 0;
    QString value;
};

// The settings of one database.conf, by key, or the first fault found in it.
class ConfigText
{
public:
    explicit ConfigText(QString path) : m_path(std::move(path)) {}

    bool read(QString *error);
    std::optional<Setting> setting(const QString &key) const
    {
        const auto found = m_settings.constFind(key);
        return found == m_settings.cend() ? std::nullopt : std::optional<Setting>(*found);
    }

    // "<file>, line N: <problem>", or "<file>: <problem>" without a line.
    QString fault(int line, const QString &problem) const;

private:
    bool readLine(int number, QString text, QString *error);

    QString m_path;
    QHash<QString, Setting> m_settings;
};

QString ConfigText::fault(int line, const QString &problem) const
{
    if (line <= 0)
        return QStringLiteral("%1: %2").arg(m_path, problem);
    return QStringLiteral("%1, line %2: %3").arg(m_path).arg(line).arg(problem);
}

bool ConfigText::read(QString *error)
{
    QFile file(m_path);
    if (QFileInfo(m_path).isDir() || !file.open(QIODevice::ReadOnly)) {
        *error = fault(0, QStringLiteral("the file could not be read (%1)")
                              .arg(QFileInfo(m_path).isDir() ? QStringLiteral("it is a folder")
                                                             : file.errorString()));
        return false;
    }
    const QByteArray bytes = file.read(kLargestFile + 1);
    if (file.error() != QFileDevice::NoError) {
        *error =
            fault(0, QStringLiteral("the file could not be read (%1)").arg(file.errorString()));
        return false;
    }
    if (bytes.size() > kLargestFile) {
        *error = fault(0, QStringLiteral("the file is too large to be a database.conf"));
        return false;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder(bytes);
    if (decoder.hasError()) {
        *error = fault(0, QStringLiteral("the file is not UTF-8 text"));
        return false;
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!readLine(int(i + 1), lines[i], error))
            return false;
    }
    return true;
}

// The text after "=": a value in single or double quotes, or a bare one
// (trimmed), either followed by an optional `#` comment. nullopt when a quote
// is not closed or more than a comment follows it.
std::optional<QString> settingValue(QString text)
{
    text = text.trimmed();
    if (text.startsWith(QLatin1Char('"')) || text.startsWith(QLatin1Char('\''))) {
        const qsizetype closing = text.indexOf(text.front(), 1);
        if (closing < 0)
            return std::nullopt;
        const QString rest = text.mid(closing + 1).trimmed();
        if (!rest.isEmpty() && !rest.startsWith(QLatin1Char('#')))
            return std::nullopt;
        return text.mid(1, closing - 1);
    }
    static const QRegularExpression trailingComment(QStringLiteral("\\s+#.*$"));
    return text.remove(trailingComment);
}

bool ConfigText::readLine(int number, QString text, QString *error)
{
    text = text.trimmed();
    if (text.isEmpty() || text.startsWith(QLatin1Char('#')))
        return true;
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    if (equals < 0) {
        // The line itself is not repeated: it might hold a password.
        *error =
            fault(number, QStringLiteral("this line is not a setting of the form key = value"));
        return false;
    }
    const QString givenKey = text.left(equals).trimmed();
    const QString key = givenKey.toLower();
    if (key == QLatin1String("password")) {
        *error = fault(
            number, QStringLiteral("database.conf holds no password: remove this line and put the "
                                   "password in ~/.pgpass, or let the server recognise the login "
                                   "(peer or certificate authentication)"));
        return false;
    }
    if (!kKeys.contains(key)) {
        *error =
            fault(number, QStringLiteral("unknown key \"%1\"; the keys are engine, host, port, "
                                         "database, user, sslmode and sslrootcert")
                              .arg(givenKey));
        return false;
    }
    if (const std::optional<Setting> earlier = setting(key)) {
        *error = fault(number, QStringLiteral("%1 is given a second time (first on line %2)")
                                   .arg(key)
                                   .arg(earlier->line));
        return false;
    }
    const std::optional<QString> value = settingValue(text.mid(equals + 1));
    if (!value) {
        *error = fault(number, QStringLiteral("the quoted %1 has no closing quote, or more than a "
                                              "comment after it")
                                   .arg(key));
        return false;
    }
    m_settings.insert(key, Setting{number, *value});
    return true;
}

// A port: digits only, 1 to 65535.
std::optional<int> portNumber(const QString &text)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,5}$"));
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    const int port = text.toInt();
    if (port < 1 || port > 65535)
        return std::nullopt;
    return port;
}

// The value of a key the server needs; false, with the fault in `error`, when
// it is missing, empty or too long.
bool requiredName(const ConfigText &config, const QString &key, QString *value, QString *error)
{
    const std::optional<Setting> setting = config.setting(key);
    if (!setting) {
        *error = config.fault(
            0, QStringLiteral("no %1 is given for the PostgreSQL server: add a line %1 = ...")
                   .arg(key));
        return false;
    }
    if (setting->value.isEmpty()) {
        *error = config.fault(setting->line, QStringLiteral("the %1 is empty").arg(key));
        return false;
    }
    *value = setting->value;
    return true;
}

bool withinNameLength(const ConfigText &config, const QString &key, QString *error)
{
    const std::optional<Setting> setting = config.setting(key);
    if (!setting || setting->value.toUtf8().size() <= kLongestName)
        return true;
    *error = config.fault(setting->line,
                          QStringLiteral("the %1 is longer than the %2 bytes PostgreSQL keeps")
                              .arg(key)
                              .arg(kLongestName));
    return false;
}

// sslmode (one of libpq's values) and sslrootcert (a file, relative to the
// data folder when not absolute, that can be read).
bool tlsSettings(const ConfigText &config, const ProgramFolder &folder, ServerSettings *server,
                 QString *error)
{
    if (const std::optional<Setting> mode = config.setting(QStringLiteral("sslmode"))) {
        server->sslMode = mode->value.toLower();
        if (!ServerSettings::sslModes().contains(server->sslMode)) {
            *error = config.fault(mode->line,
                                  QStringLiteral("unknown sslmode \"%1\"; it is one of %2")
                                      .arg(mode->value,
                                           ServerSettings::sslModes().join(QStringLiteral(", "))));
            return false;
        }
    }
    if (const std::optional<Setting> root = config.setting(QStringLiteral("sslrootcert"))) {
        const QString path = QDir(folder.path()).absoluteFilePath(root->value);
        // The driver takes its options separated by semicolons.
        if (root->value.isEmpty() || root->value.contains(u';')) {
            *error = config.fault(root->line, QStringLiteral("the sslrootcert must name a file, "
                                                             "without a semicolon in its name"));
            return false;
        }
        if (!QFileInfo(path).isFile() || !QFileInfo(path).isReadable()) {
            *error = config.fault(root->line,
                                  QStringLiteral("the sslrootcert file \"%1\" cannot be read")
                                      .arg(QDir::toNativeSeparators(path)));
            return false;
        }
        server->sslRootCert = path;
    }
    return true;
}

} // namespace

QString StoreLocation::describe() const
{
    if (engine == Engine::SQLite)
        return filePath;
    return QStringLiteral("the database ") + server.describe();
}

std::optional<StoreLocation> StoreLocation::of(const ProgramFolder &folder, QString *error)
{
    QString ignored;
    QString &why = error ? *error : ignored;
    why.clear();
    const QString path = folder.filePath(QString::fromLatin1(kConfigFile));
    StoreLocation location;
    // A link whose target is missing (a share not mounted) is a database.conf
    // that cannot be read, not an absent one: the deals must not silently go
    // to a file of their own.
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        location.filePath = DealDatabase::pathIn(folder);
        return location;
    }

    ConfigText config(path);
    if (!config.read(&why))
        return std::nullopt;

    std::optional<int> port;
    if (const std::optional<Setting> setting = config.setting(QStringLiteral("port"))) {
        port = portNumber(setting->value);
        if (!port) {
            why =
                config.fault(setting->line,
                             QStringLiteral("the port must be a number from 1 to 65535, not \"%1\"")
                                 .arg(setting->value));
            return std::nullopt;
        }
    }

    const std::optional<Setting> engine = config.setting(QStringLiteral("engine"));
    if (!engine) {
        why = config.fault(0, QStringLiteral("no engine is named: add a line engine = postgresql "
                                             "(or engine = sqlite for the file in this folder)"));
        return std::nullopt;
    }
    const QString engineName = engine->value.toLower();
    if (engineName == QLatin1String("sqlite")) {
        location.filePath = DealDatabase::pathIn(folder);
        return location;
    }
    if (engineName != QLatin1String("postgresql")) {
        why =
            config.fault(engine->line,
                         QStringLiteral("unknown engine \"%1\"; the engine is postgresql or sqlite")
                             .arg(engine->value));
        return std::nullopt;
    }

    location.engine = Engine::PostgreSQL;
    if (!requiredName(config, QStringLiteral("host"), &location.server.host, &why) ||
        !requiredName(config, QStringLiteral("database"), &location.server.database, &why) ||
        !withinNameLength(config, QStringLiteral("database"), &why) ||
        !withinNameLength(config, QStringLiteral("user"), &why)) {
        return std::nullopt;
    }
    if (!tlsSettings(config, folder, &location.server, &why))
        return std::nullopt;
    if (port)
        location.server.port = *port;
    if (const std::optional<Setting> user = config.setting(QStringLiteral("user")))
        location.server.user = user->value;
    return location;
}
