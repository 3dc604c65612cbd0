// The command line: --help, --version, --data-folder and what is refused.
#include "app/command_line.h"

#include "store/deal_database.h"
#include "temp_program_folder.h"
#include "test_server.h"

#include <QDir>
#include <QSqlQuery>

#include <gtest/gtest.h>

namespace {

CommandLine parse(QStringList arguments, const QString &environment = {})
{
    arguments.prepend(QStringLiteral("tarvex"));
    return CommandLine::parse(arguments, environment);
}

TEST(CommandLine, NoOptionsRunsTheProgram)
{
    const CommandLine line = parse({});
    EXPECT_EQ(line.action, CommandLine::Action::Run);
    EXPECT_TRUE(line.dataFolder.isEmpty());
    EXPECT_FALSE(line.prepareDataFolder);
}

TEST(CommandLine, HelpAndVersionPrintAndEndWell)
{
    for (const char *option : {"--help", "-h", "--help-all"}) {
        const CommandLine line = parse({QString::fromLatin1(option)});
        EXPECT_EQ(line.action, CommandLine::Action::PrintAndEnd) << option;
        EXPECT_EQ(line.exitCode, 0);
        EXPECT_TRUE(line.output.startsWith(QStringLiteral("Usage: tarvex [options]\n")));
        EXPECT_TRUE(line.output.contains(QStringLiteral("--data-folder <folder>")));
        EXPECT_TRUE(line.output.contains(QStringLiteral("--version")));
        EXPECT_FALSE(line.output.contains(QStringLiteral("prepare-data-folder")))
            << "the option for tests stays out of the help";
    }
    const CommandLine version = parse({QStringLiteral("--version")});
    EXPECT_EQ(version.action, CommandLine::Action::PrintAndEnd);
    EXPECT_EQ(version.output, QStringLiteral("Tarvex 2.5\n"));
    EXPECT_EQ(version.exitCode, 0);
}

TEST(CommandLine, TheDataFolderOptionWinsOverTheEnvironment)
{
    EXPECT_EQ(parse({QStringLiteral("--data-folder"), QStringLiteral("/srv/Sales Office")})
                  .dataFolder,
              QStringLiteral("/srv/Sales Office"));
    EXPECT_EQ(parse({QStringLiteral("--data-folder=/srv/é")}, QStringLiteral("/env")).dataFolder,
              QStringLiteral("/srv/é"));
    EXPECT_EQ(parse({}, QStringLiteral("/env/tarvex")).dataFolder, QStringLiteral("/env/tarvex"));
    const CommandLine prepare = parse({QStringLiteral("--prepare-data-folder")});
    EXPECT_EQ(prepare.action, CommandLine::Action::Run);
    EXPECT_TRUE(prepare.prepareDataFolder);
}

TEST(CommandLine, ImportLegacyNamesTheAccessFileAndKeepsTheDataFolder)
{
    const CommandLine import =
        parse({QStringLiteral("--import-legacy"), QStringLiteral("/old/Sales Log2.mdb"),
               QStringLiteral("--data-folder"), QStringLiteral("/srv/new")});
    EXPECT_EQ(import.action, CommandLine::Action::Run);
    EXPECT_EQ(import.importLegacy, QStringLiteral("/old/Sales Log2.mdb"));
    EXPECT_EQ(import.dataFolder, QStringLiteral("/srv/new"));
    EXPECT_TRUE(parse({}).importLegacy.isEmpty());
    const CommandLine missing = parse({QStringLiteral("--import-legacy")});
    EXPECT_EQ(missing.action, CommandLine::Action::Fail);
    EXPECT_EQ(missing.exitCode, 2);
}

TEST(CommandLine, UnknownOptionsAndStrayArgumentsGiveTheUsageAndExitCode2)
{
    const struct
    {
        QStringList arguments;
        const char *error;
    } cases[] = {
        {{QStringLiteral("--colour")}, "Unknown option 'colour'."},
        {{QStringLiteral("-x")}, "Unknown option 'x'."},
        {{QStringLiteral("--data-folder")}, "Missing value after '--data-folder'."},
        {{QStringLiteral("Sales Log2.mdb")}, "Unexpected argument 'Sales Log2.mdb'."},
    };
    for (const auto &c : cases) {
        const CommandLine line = parse(c.arguments);
        EXPECT_EQ(line.action, CommandLine::Action::Fail) << c.error;
        EXPECT_EQ(line.exitCode, 2);
        EXPECT_TRUE(line.output.startsWith(QString::fromUtf8(c.error) + QStringLiteral("\n\nUsage: tarvex")))
            << line.output.toStdString();
    }
}

TEST(CommandLine, CopyToServerIsAnOptionOfItsOwn)
{
    const CommandLine copy = parse({QStringLiteral("--copy-to-server"),
                                    QStringLiteral("--data-folder"), QStringLiteral("/srv/desk")});
    EXPECT_EQ(copy.action, CommandLine::Action::Run);
    EXPECT_TRUE(copy.copyToServer);
    EXPECT_EQ(copy.dataFolder, QStringLiteral("/srv/desk"));
    EXPECT_FALSE(parse({}).copyToServer);
    EXPECT_TRUE(parse({QStringLiteral("--help")}).output.contains(QStringLiteral("--copy-to-server")));
}

// Qt's own options reach Qt; Tarvex's options around them still count.
TEST(CommandLine, QtsOwnOptionsAreLeftToQt)
{
    const CommandLine line =
        parse({QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("-style"),
               QStringLiteral("fusion"), QStringLiteral("--data-folder"), QStringLiteral("/srv/ü"),
               QStringLiteral("-style=windows"), QStringLiteral("-reverse")});
    EXPECT_EQ(line.action, CommandLine::Action::Run) << line.output.toStdString();
    EXPECT_EQ(line.dataFolder, QStringLiteral("/srv/ü"));
    // A value of Qt's option is not taken for a stray argument.
    EXPECT_EQ(parse({QStringLiteral("--platform"), QStringLiteral("xcb")}).action,
              CommandLine::Action::Run);
}

// Two actions on one command line: neither is dropped in silence.
TEST(CommandLine, TwoActionsAreRefusedWithCode2)
{
    const QStringList pairs[] = {
        {QStringLiteral("--import-legacy"), QStringLiteral("/old/Sales Log2.mdb"),
         QStringLiteral("--copy-to-server")},
        {QStringLiteral("--prepare-data-folder"), QStringLiteral("--copy-to-server")},
        {QStringLiteral("--prepare-data-folder"), QStringLiteral("--import-legacy=/old/a.mdb")},
    };
    for (const QStringList &arguments : pairs) {
        const CommandLine line = parse(arguments);
        EXPECT_EQ(line.action, CommandLine::Action::Fail) << arguments.join(u' ').toStdString();
        EXPECT_EQ(line.exitCode, 2);
        EXPECT_TRUE(line.output.startsWith(
            QStringLiteral("Give one of --import-legacy, --copy-to-server and "
                           "--prepare-data-folder at a time.\n\nUsage: tarvex")))
            << line.output.toStdString();
    }
}

TEST(CommandLine, ADataFolderOfBlanksOrWithATildeIsRefusedAndARelativeOneIsNamed)
{
    const CommandLine blanks = parse({}, QStringLiteral("   "));
    EXPECT_EQ(blanks.action, CommandLine::Action::Fail);
    EXPECT_EQ(blanks.exitCode, 2);
    EXPECT_TRUE(blanks.output.startsWith(
        QStringLiteral("The data folder given by TARVEX_DATA_FOLDER holds only blanks; give the "
                       "folder's path, or leave TARVEX_DATA_FOLDER out.\n\n")))
        << blanks.output.toStdString();
    EXPECT_EQ(parse({QStringLiteral("--data-folder"), QStringLiteral(" ")}).action,
              CommandLine::Action::Fail);

    const CommandLine tilde =
        parse({QStringLiteral("--data-folder=~/Tarvex Deals")}, QStringLiteral("/env"));
    EXPECT_EQ(tilde.action, CommandLine::Action::Fail);
    EXPECT_EQ(tilde.exitCode, 2);
    EXPECT_TRUE(tilde.output.startsWith(
        QStringLiteral("The data folder \"~/Tarvex Deals\" given by --data-folder starts with ~, "
                       "which only a shell turns into a home folder, and not inside quotes; "
                       "give the whole path, for example \"%1/Tarvex Deals\".\n\n")
            .arg(QDir::homePath())))
        << tilde.output.toStdString();

    TempProgramFolder dir;
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.folder().path()));
    const CommandLine relative = parse({QStringLiteral("--data-folder"), QStringLiteral("Desk 2")});
    const CommandLine absolute = parse({}, dir.filePath(QStringLiteral("Desk 3")));
    QDir::setCurrent(before);
    EXPECT_EQ(relative.action, CommandLine::Action::Run);
    EXPECT_EQ(relative.dataFolder, dir.filePath(QStringLiteral("Desk 2")));
    EXPECT_EQ(relative.notice,
              QStringLiteral("Tarvex keeps its files in %1.\n").arg(dir.filePath(QStringLiteral("Desk 2"))));
    EXPECT_EQ(absolute.dataFolder, dir.filePath(QStringLiteral("Desk 3")));
    EXPECT_TRUE(absolute.notice.isEmpty());
}

TEST(CopyToServer, WithoutAServerInDatabaseConfOrAFileToCopyEndsWithCode2)
{
    TempProgramFolder dir;
    const QString noServer = QStringLiteral("To copy the deals to a server, database.conf in %1 "
                                            "must name a PostgreSQL server (engine = postgresql, "
                                            "host, database).\n")
                                 .arg(dir.folder().path());
    QString output;
    QString error;
    EXPECT_EQ(runCopyToServer(dir.folder(), &output, &error), 2);
    EXPECT_EQ(error, noServer);

    dir.writeBytes(QStringLiteral("database.conf"), "engine = sqlite\n");
    error.clear();
    EXPECT_EQ(runCopyToServer(dir.folder(), &output, &error), 2);
    EXPECT_EQ(error, noServer);

    dir.writeBytes(QStringLiteral("database.conf"), "engine = postgresql\nhost = db.example.local\n"
                                                    "database = tarvex\n");
    error.clear();
    EXPECT_EQ(runCopyToServer(dir.folder(), &output, &error), 2);
    EXPECT_EQ(error, QStringLiteral("There is no database file to copy: %1 is missing.\n")
                         .arg(dir.filePath(QStringLiteral("Sales Log2.mdb"))));
    EXPECT_TRUE(output.isEmpty());
    EXPECT_FALSE(dir.exists(QStringLiteral("Sales Log2.mdb"))) << "nothing is created";
}

TEST(CopyToServer, CopiesOnceAndThenRefusesTheFilledServer)
{
    SKIP_WITHOUT_TEST_SERVER();
    TempProgramFolder dir;
    {
        DealDatabase file(dir.folder());
        QString error;
        ASSERT_TRUE(file.open(&error)) << error.toStdString();
        QSqlQuery roster(file.connection());
        ASSERT_TRUE(roster.exec(QStringLiteral("INSERT INTO \"SalesPersons\" (\"Name\") "
                                               "VALUES ('Mary Jones')")));
    }
    ServerDatabase server(QStringLiteral("tarvex_cli_copy_"));
    ASSERT_TRUE(server.isValid()) << server.error().toStdString();
    dir.writeBytes(QStringLiteral("database.conf"),
server.databaseConf());
    QString output;
    QString error;
    ASSERT_EQ(runCopyToServer(dir.folder(), &output, &error), 0) << error.toStdString();
    EXPECT_TRUE(output.endsWith(QStringLiteral("  SalesPersons: 2 rows\n  PayPlanVersions: 0 rows\n"
                                               "  RecallDeal: 0 rows\n  DealPlans: 0 rows\n"
                                               "  Sheets: 0 rows\n  SalesSummary: 0 rows\n"
                                               "  SalesLog: 0 rows\n  Audit: 0 rows\n"
                                               "  Users: 0 rows\n  Unwinds: 0 rows\n"
                                               "  Ledger: 0 rows\n  Holds: 0 rows\n"
                                               "  PayPlanTiers: 0 rows\n"
                                               "  PayrollCodes: 0 rows\n")))
        << output.toStdString();
    output.clear();
    EXPECT_EQ(runCopyToServer(dir.folder(), &output, &error), 1);
    EXPECT_TRUE(error.contains(QStringLiteral("already holds salespeople of its own")))
        << error.toStdString();
    EXPECT_TRUE(output.isEmpty());
}

} // namespace
