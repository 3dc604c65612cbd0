#include "app/command_line.h"
#include "app/passed_over_folder.h"
#include "app/program_files.h"
#include "app/tarvex_program.h"
#include "common/ui/widget_prompts.h"

#include "legacy/legacy_import_command.h"

#include <QApplication>
#include <QTextStream>

#include <cstdio>

#include <unistd.h>

namespace {

void print(FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

QStringList argumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

void nameTheProgram()
{
    QCoreApplication::setApplicationName(QStringLiteral("Tarvex"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TARVEX_VERSION));
}

// Without a window: choose the data folder, create the program's files in it
// and print where they are.
int prepareDataFolder(int argc, char *argv[], const QString &chosen)
{
    QCoreApplication app(argc, argv);
    ProgramFolder folder(QString{});
    QString error;
    const DataFolderPlaces places = ProgramFolder::placesOfThisRun(chosen);
    if (!ProgramFolder::choose(places, &folder, &error) ||
        !(error = PassedOverFolder::refusal(places, folder)).isEmpty() ||
        !prepareProgramFiles(folder, &error)) {
        print(stderr, error + u'\n');
        return 1;
    }
    print(stdout, folder.path() + u'\n');
    return 0;
}

// The data folder of a run without windows; false, with the reason printed,
// when there is none to use.
bool chooseDataFolder(const QString &chosen, ProgramFolder *folder)
{
    QString error;
    const DataFolderPlaces places = ProgramFolder::placesOfThisRun(chosen);
    if (ProgramFolder::choose(places, folder, &error) &&
        (error = PassedOverFolder::refusal(places, *folder)).isEmpty())
        return true;
    print(stderr, error + u'\n');
    return false;
}

// Without a window: import an older installation's Access database into the
// data folder's database and print the summary, or why not.
int importLegacy(int argc, char *argv[], const CommandLine &commandLine)
{
    QCoreApplication app(argc, argv);
    ProgramFolder folder(QString{});
    if (!chooseDataFolder(commandLine.dataFolder, &folder))
        return 1;
    QTextStream out(stdout);
    QTextStream errors(stderr);
    // Values that look damaged are imported only when the user at a terminal
    // says so.
    const auto importAnyway = [&errors]() {
        if (::isatty(STDIN_FILENO) == 0)
            return false;
        errors << "Import them anyway, as they were read? [y/N] ";
        errors.flush();
        char answer[16] = {};
        return std::fgets(answer, sizeof answer, stdin) &&
               (answer[0] == 'y' || answer[0] == 'Y');
    };
    return runLegacyImportCommand(commandLine.importLegacy, folder, out, &errors, importAnyway);
}

// Without a window: copy the data folder's database file to the server its
// database.conf names and print the rows copied, or why not.
int copyToServer(int argc, char *argv[], const CommandLine &commandLine)
{
    QCoreApplication app(argc, argv);
    ProgramFolder folder(QString{});
    if (!chooseDataFolder(commandLine.dataFolder, &folder))
        return 1;
    QString report;
    QString error;
    // On a terminal the rows copied are counted on one line of the error
    // output; Ctrl+C stops the copy with nothing written on the server.
    const bool terminal = ::isatty(STDERR_FILENO) != 0;
    bool told = false;
    const auto progress = [terminal, &told](qint64 done, qint64 total) {
        if (terminal) {
            print(stderr, QStringLiteral("\rCopying rows: %1 of %2").arg(done).arg(total));
            told = true;
        }
        return true;
    };
    const int exitCode = runCopyToServer(folder, &report, &error, progress);
    if (told)
        print(stderr, QStringLiteral("\n"));
    print(exitCode == 0 ? stdout : stderr, exitCode == 0 ? report : error);
    return exitCode;
}

} // namespace

int main(int argc, char *argv[])
{
    nameTheProgram(); // kept by the application objects made below
    // Read before any window system is reached, so --help and --version work
    // in a terminal without a display.
    const CommandLine commandLine =
        CommandLine::parse(argumentsOf(argc, argv), qEnvironmentVariable("TARVEX_DATA_FOLDER"));
    if (commandLine.action != CommandLine::Action::Run) {
        print(commandLine.action == CommandLine::Action::Fail ? stderr : stdout,
              commandLine.output);
        return commandLine.exitCode;
    }
    if (!commandLine.notice.isEmpty())
        print(stderr, commandLine.notice);
    if (commandLine.prepareDataFolder)
        return prepareDataFolder(argc, argv, commandLine.dataFolder);
    if (!commandLine.importLegacy.isEmpty())
        return importLegacy(argc, argv, commandLine);
    if (commandLine.copyToServer)
        return copyToServer(argc, argv, commandLine);

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tarvex.Tarvex"));
    WidgetPrompts prompts;
    ProgramFolder folder(QString{});
    QString error;
    const DataFolderPlaces places = ProgramFolder::placesOfThisRun(commandLine.dataFolder);
    if (!ProgramFolder::choose(places, &folder, &error)) {
        print(stderr, error + u'\n');
        prompts.message(error + QStringLiteral("\n\nTarvex will close."), {},
                        Prompts::Icon::Critical);
        return 1;
    }
    if (!PassedOverFolder::confirm(places, folder, prompts))
        return 1;
    TarvexProgram program(folder, prompts);
    if (!program.start())
        return program.refused() ? 1 : 0; // a refusal, or the user's own choice to close
    return QApplication::exec();
}
