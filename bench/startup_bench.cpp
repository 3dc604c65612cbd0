// Times the program's own start-up, from the login to a worksheet shown and
// cleared to a new deal, against its floor: a bare Qt main window that reads
// the same settings files, writes the same password file and opens the same
// database. Each start is a process of its own, timed from its launch to
// its end once the window is shown and painted and no event is left waiting;
// the starts' own CPU time is counted beside. The login is the first start's
// choice of a password, answered by a scripted prompt.
#include "figure_table.h"

#include "app/tarvex_program.h"
#include "common/prompts.h"

#include <QAbstractEventDispatcher>
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

#include <sys/resource.h>

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

// Notes that a window has been painted.
class PaintWatch : public QObject
{
public:
    bool painted = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType())
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

// The start is over once the window is shown and painted and no event is left
// waiting; both kinds of start end at this same point. The process ends here,
// so that closing the windows is not timed as part of starting.
[[noreturn]] void readyToWork()
{
    PaintWatch watch;
    qApp->installEventFilter(&watch);
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    for (int round = 0; round < 1000 && !watch.painted; ++round)
        QApplication::processEvents();
    // Events posted while painting, until a round finds nothing to do.
    for (int round = 0; round < 1000 && dispatcher->processEvents(QEventLoop::AllEvents); ++round) {
    }
    std::fflush(nullptr);
    std::_Exit(watch.painted ? 0 : 2);
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
    readyToWork();
}

QString g_folder;

void forgetUsers(const QString &folder)
{
    const QString name = QStringLiteral("forget-users");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(folder + QStringLiteral("/Sales Log2.mdb"));
        if (db.open())
            QSqlQuery(db).exec(QStringLiteral("DELETE FROM Users"));
    }
    QSqlDatabase::removeDatabase(name);
}

// CPU time, user and system, of the finished starts so far.
double childrenCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval &t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

void timedStarts(benchmark::State &state, const char *kind)
{
    double childCpuMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // Each start is a first start: no password yet, and no user.
        QFile::remove(g_folder + QStringLiteral("/PW.txt"));
        forgetUsers(g_folder);
        state.ResumeTiming();
        const double cpuBefore = childrenCpuMs();
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--start-child"), QString::fromLatin1(kind), g_folder});
        if (!child.waitForFinished(60000) || child.exitCode() != 0)
            state.SkipWithError("a start failed");
        childCpuMs += childrenCpuMs() - cpuBefore;
    }
    // The starts' own CPU time, shown in the table's CPU column.
    state.counters["child_cpu_ms"] =
        benchmark::Counter(childCpuMs, benchmark::Counter::kAvgIterations);
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
        {{"start-up to a ready worksheet", "program/start-up", "floor/start-up", 0, 1.3, false},
         {"start-up, the starts' CPU", "program/start-up", "floor/start-up", 0, 1.3, true}});
    std::printf("%s\n", met ? "every goal met" : "goals not all met");
    benchmark::Shutdown();
    return 0;
}
