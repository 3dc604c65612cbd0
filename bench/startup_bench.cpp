// Times the program's own start-up, from the login to a worksheet shown and
// cleared to a new deal, against its floor: a bare Qt main window that reads
// the same settings files, writes the same password file and opens the same
// database. Each start is a process of its own, timed from its launch to
// its end right after the window is shown. The login is the first start's
// choice of a password, answered by a scripted prompt.
#include "figure_table.h"

#include "app/tarvex_program.h"
#include "common/prompts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

const char *const kSettingsFiles[] = {"dp.dat", "dc.dat", "war.txt", "mini.txt", "unit.txt"};

// Chooses the password "sesame" when asked; every other question ends the run.
class LoginAnswers : public Prompts
{
public:
    std::optional<QString> saveFile(const SaveFile &) override { return std::nullopt; }

protected:
    Answer showMessage(const Message &message) override
    {
        qFatal("unexpected message: %s", qPrintable(message.text));
    }
    std::optional<QString> showInput(const Input &) override { return QStringLiteral("sesame"); }
};

// The window is up: the start is over. The process ends here, so that
// closing the windows is not timed as part of starting.
[[noreturn]] void readyToWork()
{
    std::fflush(nullptr);
    std::_Exit(0);
}

// One start in a process of its own, as the user starts the program: the
// application object, the window and the files, then the process ends.
int childStart(const QString &kind, const QString &folder, int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvex"));
    if (kind == QLatin1String("program")) {
        LoginAnswers prompts;
        TarvexProgram program{ProgramFolder(folder), prompts};
        if (!program.start())
            return 1;
        QApplication::processEvents();
        readyToWork();
    }
    QFile password(folder + QStringLiteral("/PW.txt"));
    if (password.open(QIODevice::WriteOnly))
        password.write("\"sesame\"\r\n");
    password.close();
    QByteArray settings;
    for (const char *name : kSettingsFiles) {
        QFile file(folder + u'/' + QString::fromLatin1(name));
        if (file.open(QIODevice::ReadOnly))
            settings += file.readAll();
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(folder + QStringLiteral("/Sales Log2.mdb"));
    if (!db.open())
        return 1;
    QSqlQuery names(db);
    names.exec(QStringLiteral("SELECT Name FROM SalesPersons"));
    while (names.next())
        settings += names.value(0).toString().toUtf8();
    QMainWindow window;
    window.setCentralWidget(new QLabel(QString::fromUtf8(settings), &window));
    window.show();
    QApplication::processEvents();
    readyToWork();
}

QString g_folder;

void timedStarts(benchmark::State &state, const char *kind)
{
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(g_folder + QStringLiteral("/PW.txt"));
        state.ResumeTiming();
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--start-child"), QString::fromLatin1(kind), g_folder});
        if (!child.waitForFinished(60000) || child.exitCode() != 0)
            state.SkipWithError("a start failed");
    }
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "qt.qpa.*=false");
    if (argc == 4 && QByteArray(argv[1]) == "--start-child")
        return childStart(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), 1,
                          argv);
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir folder;
    g_folder = folder.path();
    {
        // The first start makes the settings files and the database.
        QProcess first;
        first.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--start-child"), QStringLiteral("program"), g_folder});
        if (!first.waitForFinished(60000) || first.exitCode() != 0)
            qFatal("the first start failed");
    }
    for (const char *kind : {"program", "bare"}) {
        benchmark::RegisterBenchmark(kind[0] == 'p' ? "program/start-up" : "floor/start-up",
                                     [kind](benchmark::State &state) { timedStarts(state, kind); })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(10)
            ->Repetitions(3)
            ->DisplayAggregatesOnly(true)
            ->UseRealTime();
    }
    FigureTable table;
    benchmark::RunSpecifiedBenchmarks(&table);
    const bool met = table.printTable(
        {{"start-up to a ready worksheet", "program/start-up", "floor/start-up", 0, 1.3, false}});
    std::printf("%s\n", met ? "every goal met" : "goals not all met");
    benchmark::Shutdown();
    return 0;
}
