#include "app/command_line.h"

#include "common/program_folder.h"
#include "store/deal_database.h"
#include "store/server_copy.h"
#include "store/store_location.h"

#include <QCommandLineParser>
#include <QFileInfo>

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
    if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty()) {
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
    result.dataFolder = parser.isSet(dataFolder) ? parser.value(dataFolder) : environmentDataFolder;
    result.prepareDataFolder = parser.isSet(prepare);
    result.importLegacy = parser.value(importLegacy);
    result.copyToServer = parser.isSet(copyToServer);
    return result;
}

int runCopyToServer(const ProgramFolder &folder, QString *output, QString *error)
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
        !ServerCopy::run(source, target, &report, &why)) {
        *error = why + u'\n';
        return 1;
    }
    *output = report;
    return 0;
}
