#include "app/command_line.h"

#include "common/program_folder.h"
#include "store/deal_database.h"
#include "store/server_copy.h"
#include "store/store_location.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace {

// The options Qt's application object reads itself (a window system, a
// style), with or without a value of their own; they pass through to it.
bool isQtOption(const QString &argument, bool *takesValue)
{
    static const QStringList withValue = {
        QStringLiteral("platform"),    QStringLiteral("platformpluginpath"),
        QStringLiteral("platformtheme"), QStringLiteral("plugin"),
        QStringLiteral("style"),       QStringLiteral("stylesheet"),
        QStringLiteral("session"),     QStringLiteral("display"),
        QStringLiteral("geometry"),    QStringLiteral("qwindowgeometry"),
        QStringLiteral("qwindowicon"), QStringLiteral("qwindowtitle"),
        QStringLiteral("title"),       QStringLiteral("qmljsdebugger"),
    };
    static const QStringList flags = {
        QStringLiteral("reverse"), QStringLiteral("widgetcount"), QStringLiteral("nograb"),
        QStringLiteral("dograb"),  QStringLiteral("sync"),
    };
    if (!argument.startsWith(u'-') || argument == u"--")
        return false;
    QString name = argument.mid(argument.startsWith(QStringLiteral("--")) ? 2 : 1);
    const qsizetype equals = name.indexOf(u'=');
    if (equals >= 0) {
        *takesValue = false; // -style=fusion holds its value
        return withValue.contains(name.left(equals));
    }
    *takesValue = withValue.contains(name);
    return *takesValue || flags.contains(name);
}

// The arguments without Qt's own options and their values.
QStringList withoutQtOptions(const QStringList &arguments)
{
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        bool takesValue = false;
        if (i > 0 && isQtOption(arguments.at(i), &takesValue)) {
            if (takesValue)
                ++i;
            continue;
        }
        kept << arguments.at(i);
    }
    return kept;
}

// The data folder as given, made absolute from the current folder; an
// empty text, after telling why in `error`, when it cannot be used.
QString dataFolderOf(const QString &given, const QString &source, QString *error)
{
    if (given.trimmed().isEmpty()) {
        *error = QStringLiteral("The data folder given by %1 holds only blanks; give the "
                                "folder's path, or leave %1 out.")
                     .arg(source);
        return {};
    }
    if (given.startsWith(u'~')) {
        // "~/deals" would be made a folder named "~" in the current folder.
        const QString example = given.startsWith(QStringLiteral("~/"))
                                    ? QStringLiteral(", for example \"%1\"")
                                          .arg(QDir::homePath() + given.mid(1))
                                    : QString();
        *error = QStringLiteral("The data folder \"%1\" given by %2 starts with ~, which only a "
                                "shell turns into a home folder, and not inside quotes; give "
                                "the whole path%3.")
                     .arg(given, source, example);
        return {};
    }
    return QDir::current().absoluteFilePath(given);
}

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments, const QString &environmentDataFolder)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Tarvex works out, records and pays salespeople's commissions."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption dataFolder(
        QStringLiteral("data-folder"),
        QStringLiteral("Keep the database and settings files in <folder> (created when "
                       "missing). Without it: TARVEX_DATA_FOLDER, else the program's own "
                       "folder when it can be written, else the user's data folder."),
        QStringLiteral("folder"));
    parser.addOption(dataFolder);
    const QCommandLineOption importLegacy(
        QStringLiteral("import-legacy"),
        QStringLiteral("Import the older installation's Access database <file> into the data "
                       "folder's database (which must be missing or hold no deal), print what "
                       "was imported and end."),
        QStringLiteral("file"));
    parser.addOption(importLegacy);
    const QCommandLineOption copyToServer(
        QStringLiteral("copy-to-server"),
        QStringLiteral("Copy every row of the data folder's database file into the empty server "
                       "database named in the folder's database.conf, in one transaction, print "
                       "the rows copied and end. The file is left as it was."));
    parser.addOption(copyToServer);
    QCommandLineOption prepare(QStringLiteral("prepare-data-folder"),
                               QStringLiteral("Create the program's files and end."));
    prepare.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(prepare);

    CommandLine result;
    // The first line names the program as it is installed, whatever the
    // executable was called or whether an application object exists yet.
    QString usage = parser.helpText();
    usage = QStringLiteral("Usage: tarvex [options]") + usage.mid(usage.indexOf(u'\n'));
    if (!parser.parse(withoutQtOptions(arguments)) || !parser.positionalArguments().isEmpty()) {
        const QString error = parser.positionalArguments().isEmpty()
                                  ? parser.errorText()
                                  : QStringLiteral("Unexpected argument '%1'.")
                                        .arg(parser.positionalArguments().constFirst());
        result.action = Action::Fail;
        result.output = error + QStringLiteral("\n\n") + usage;
        result.exitCode = 2;
        return result;
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        result.action = Action::PrintAndEnd;
        result.output = usage;
        return result;
    }
    if (parser.isSet(version)) {
        result.action = Action::PrintAndEnd;
        result.output = QStringLiteral("Tarvex " TARVEX_VERSION "\n");
        return result;
    }
    const auto refuse = [&result, &usage](const QString &error) {
        result.action = Action::Fail;
        result.output = error + QStringLiteral("\n\n") + usage;
        result.exitCode = 2;
        return result;
    };
    const int actions = (parser.isSet(prepare) ? 1 : 0) + (parser.isSet(importLegacy) ? 1 : 0) +
                        (parser.isSet(copyToServer) ? 1 : 0);
    if (actions > 1)
        return refuse(QStringLiteral("Give one of --import-legacy, --copy-to-server and "
                                     "--prepare-data-folder at a time."));
    const bool optionGiven = parser.isSet(dataFolder);
    if (optionGiven || !environmentDataFolder.isEmpty()) {
        const QString given = optionGiven ? parser.value(dataFolder) : environmentDataFolder;
        QString error;
        result.dataFolder =
            dataFolderOf(given, optionGiven ? QStringLiteral("--data-folder")
                                            : QStringLiteral("TARVEX_DATA_FOLDER"),
                         &error);
        if (result.dataFolder.isEmpty())
            return refuse(error);
        if (QDir::isRelativePath(given))
            result.notice =
                QStringLiteral("Tarvex keeps its files in %1.\n").arg(result.dataFolder);
    }
    result.prepareDataFolder = parser.isSet(prepare);
    result.importLegacy = parser.value(importLegacy);
    result.copyToServer = parser.isSet(copyToServer);
    return result;
}

int runCopyToServer(const ProgramFolder &folder, QString *output, QString *error,
                    const std::function<bool(qint64 done, qint64 total)> &progress)
{
    QString why;
    const std::optional<StoreLocation> location = StoreLocation::of(folder, &why);
    if (!location) {
        *error = why + u'\n';
        return 2;
    }
    if (location->engine != StoreEngine::Engine::PostgreSQL) {
        *error = QStringLiteral("To copy the deals to a server, %1 in %2 must name a PostgreSQL "
                                "server (engine = postgresql, host, database).\n")
                     .arg(QString::fromLatin1(StoreLocation::kConfigFile), folder.path());
        return 2;
    }
    const QString filePath = DealDatabase::pathIn(folder);
    if (!QFileInfo(filePath).isFile()) {
        *error = QStringLiteral("There is no database file to copy: %1 is missing.\n").arg(filePath);
        return 2;
    }
    DealDatabase source(filePath);
    DealDatabase target(location->server);
    QString report;
    if (!source.open(&why) || !target.open(&why) ||
        !ServerCopy::run(source, target, &report, &why, progress)) {
        *error = why + u'\n';
        return 1;
    }
    *output = report;
    return 0;
}
