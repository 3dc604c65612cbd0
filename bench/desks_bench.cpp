// Desks sharing one server: 1, 4, 8 and 16 desks (threads, each with its own
// connection) save, correct and delete deals and pay and void the sheets of
// three shared salespeople for a bounded time each, through the program's
// own store classes. Each run prints its operations per second beside the
// 8-desk run of the same invocation (the floor the 16-desk figure is held
// to), its sheets' times, and what the desks were told; then the integrity
// checks of every run, and an 8-desk run with the server restarted in its
// middle, showing when each desk was back.
//
//   tarvex_bench_desks [--seconds S] [--desks 1,4,8,16] [--restart-seconds S]
//                      [--no-restart]
#include "bench_server.h"
#include "desk_checks.h"
#include "desk_load.h"
#include "raw_postgres.h"

#include "store/deal_database.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>

namespace {

using DeskLoad::Clock;

struct Options
{
    double seconds = 10;
    double restartSeconds = 10;
    std::vector<int> desks = {1, 4, 8, 16};
    bool restart = true;
};

Options optionsFrom(int argc, char **argv)
{
    Options options;
    bool restartSet = false;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (!std::strcmp(argv[i], "--seconds") && hasValue) {
            options.seconds = std::atof(argv[++i]);
        } else if (!std::strcmp(argv[i], "--restart-seconds") && hasValue) {
            options.restartSeconds = std::atof(argv[++i]);
            restartSet = true;
        } else if (!std::strcmp(argv[i], "--desks") && hasValue) {
            options.desks.clear();
            for (const QString &n : QString::fromLocal8Bit(argv[++i]).split(u','))
                options.desks.push_back(n.toInt());
        } else if (!std::strcmp(argv[i], "--no-restart")) {
            options.restart = false;
        } else {
            std::fprintf(stderr,
                         "usage: %s [--seconds S] [--desks 1,4,8,16] [--restart-seconds S] "
                         "[--no-restart]\n",
                         argv[0]);
            std::exit(2);
        }
    }
    if (!restartSet)
        options.restartSeconds = options.seconds;
    return options;
}

double percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(fraction * double(values.size())))];
}

double maxOf(const std::vector<double> &values)
{
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

double msBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

struct Run
{
    std::string label;
    int deskCount = 0;
    double seconds = 0;
    DeskLoad::Tally total;
    std::vector<DeskLoad::Tally> desks;
    std::vector<DeskChecks::Check> checks;
    Clock::time_point start, restartAt, backAt; // the run's start; the restart's start and end
    bool restarted = false;

    double perSecond() const { return total.totalAnswered() / seconds; }
    int confirmed() const
    {
        int sum = 0;
        for (const int count : total.confirmed)
            sum += count;
        return sum;
    }
};

// A fresh database for one run, its tables made by the program.
void freshDatabase(const BenchServer &server, const QString &name)
{
    RawPostgres::Connection admin(server.options(QStringLiteral("postgres")));
    admin.exec("DROP DATABASE IF EXISTS " + name.toStdString());
    admin.exec("CREATE DATABASE " + name.toStdString());
    DealDatabase made(server.settings(name));
    QString error;
    if (!made.open(&error))
        qFatal("%s", qPrintable(error));
}

Run runDesks(const BenchServer &server, int deskCount, double seconds, bool restart)
{
    Run run;
    run.deskCount = deskCount;
    run.label = std::to_string(deskCount) + (restart ? " + restart" : "");
    const QString name = QStringLiteral("tarvex_desks_%1%2")
                             .arg(deskCount)
                             .arg(restart ? QStringLiteral("_restart") : QString());
    freshDatabase(server, name);
    QTemporaryDir folders;
    std::latch ready(deskCount + 1);
    std::atomic<bool> stop = false;
    std::vector<std::unique_ptr<DeskLoad::Desk>> desks;
    std::vector<std::thread> threads;
    for (int n = 0; n < deskCount; ++n) {
        auto desk = std::make_unique<DeskLoad::Desk>();
        desk->number = n + 1;
        desk->server = server.settings(name);
        desk->dataFolder = folders.filePath(QString::number(n + 1));
        QDir().mkpath(desk->dataFolder);
        desk->ready = &ready;
        desk->stop = &stop;
        threads.emplace_back(DeskLoad::run, std::ref(*desk));
        desks.push_back(std::move(desk));
    }
    ready.arrive_and_wait();
    const Clock::time_point start = Clock::now();
    run.start = start;
    const auto sleep = [](double s) {
        std::this_thread::sleep_for(std::chrono::duration<double>(s));
    };
    if (restart) {
        sleep(seconds / 2);
        run.restartAt = Clock::now();
        server.restart();
        run.backAt = Clock::now();
        run.restarted = true;
        sleep(std::max(0.0, seconds - msBetween(start, run.backAt) / 1000));
    } else {
        sleep(seconds);
    }
    stop = true;
    for (std::thread &thread : threads)
        thread.join();
    run.seconds = msBetween(start, Clock::now()) / 1000;
    for (const auto &desk : desks) {
        if (!desk->openError.isEmpty())
            qFatal("desk %d: %s", desk->number, qPrintable(desk->openError));
        run.total.add(desk->tally);
        run.desks.push_back(desk->tally);
    }
    run.checks = DeskChecks::run(server.options(name), run.total);
    return run;
}

void printRun(const Run &run, double floorPerSecond)
{
    const DeskLoad::Tally &t = run.total;
    int refused = 0, failed = 0;
    for (int kind = 0; kind < DeskLoad::kKinds; ++kind) {
        refused += t.refused[kind];
        failed += t.failed[kind];
    }
    std::printf("%-12s %8.1f %8.1f %8.2f %7zu %8.0f %8.0f %8.0f %8d %8.0f %6d %6d\n",
                run.label.c_str(), run.perSecond(), run.confirmed() / run.seconds,
                floorPerSecond > 0 && !run.restarted ? run.perSecond() / floorPerSecond : 0.0,
                t.sheetMs.size(), percentile(t.sheetMs, 0.5), percentile(t.sheetMs, 0.99),
                maxOf(t.sheetMs), t.refused[DeskLoad::Sheet], maxOf(t.refusedSheetMs), refused,
                failed);
}

// Each kind: answered/confirmed/refused/failed, and its mean time in ms.
void printKinds(const Run &run)
{
    const DeskLoad::Tally &t = run.total;
    std::printf("  %-12s", run.label.c_str());
    for (int kind = 0; kind < DeskLoad::kKinds; ++kind)
        std::printf(" %s %d/%d/%d/%d %.0fms", DeskLoad::kindName(kind), t.answered[kind],
                    t.confirmed[kind], t.refused[kind], t.failed[kind],
                    t.picked[kind] ? t.busyMs[kind] / t.picked[kind] : 0.0);
    std::printf(" (empty listings %d)\n", t.emptyListings);
}

// Where a paid sheet's time goes: the mean of each part, over all paid
// sheets and over the slowest 1 % of them.
void printSheetSteps(const Run &run)
{
    std::vector<DeskLoad::SheetSteps> sheets = run.total.paidSheetSteps;
    if (sheets.empty())
        return;
    const auto total = [](const DeskLoad::SheetSteps &steps) {
        double sum = 0;
        for (const double ms : steps)
            sum += ms;
        return sum;
    };
    std::sort(sheets.begin(), sheets.end(),
              [&](const auto &a, const auto &b) { return total(a) > total(b); });
    const size_t slowest = std::max<size_t>(1, sheets.size() / 100);
    std::printf("  %-12s", run.label.c_str());
    for (int step = 0; step < DeskLoad::kSheetSteps; ++step) {
        double all = 0, slow = 0;
        for (size_t i = 0; i < sheets.size(); ++i) {
            all += sheets[i][size_t(step)];
            slow += i < slowest ? sheets[i][size_t(step)] : 0;
        }
        std::printf(" %s %.0f/%.0f", DeskLoad::sheetStepName(step), all / double(sheets.size()),
                    slow / double(slowest));
    }
    std::printf("\n");
}

bool printChecks(const Run &run)
{
    bool all = true;
    std::printf("%s desks:\n", run.label.c_str());
    for (const DeskChecks::Check &check : run.checks) {
        std::printf("  [%s] %s: %s\n", check.held ? "ok  " : "FAIL", check.name.c_str(),
                    check.detail.c_str());
        all = all && check.held;
    }
    // A few of the different messages the desks were shown, as they read them.
    QStringList shown;
    for (const QString &message : run.total.failures) {
        if (!shown.contains(message) && shown.size() < 4)
            shown << message;
    }
    for (const QString &message : shown)
        std::printf("  shown: %s\n", message.isEmpty() ? "(no reason)" : qPrintable(message));
    return all;
}

// After a restart: each desk's next success, and what it was told meanwhile.
bool printRecovery(const Run &run)
{
    std::printf("server restart %.0f ms after the start, took %.0f ms\n",
                msBetween(run.start, run.restartAt), msBetween(run.restartAt, run.backAt));
    bool all = true;
    for (size_t n = 0; n < run.desks.size(); ++n) {
        const DeskLoad::Tally &desk = run.desks[n];
        const auto back = std::find_if(desk.successes.begin(), desk.successes.end(),
                                       [&](Clock::time_point at) { return at > run.backAt; });
        int failed = 0;
        for (const int count : desk.failed)
            failed += count;
        const bool recovered = back != desk.successes.end();
        all = all && recovered;
        if (recovered)
            std::printf("  desk %2zu: back %6.0f ms after the server; %d failed, %d told of the "
                        "lost connection\n",
                        n + 1, msBetween(run.backAt, *back), failed, desk.connectionNotices);
        else
            std::printf("  desk %2zu: NOT back; %d failed\n", n + 1, failed);
    }
    return all;
}

// Qt's own warnings (a statement freed on a connection the restart ended,
// and the like) are counted, the first few shown, so that the figures stay
// readable.
std::atomic<int> qtMessages = 0;

void countMessage(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        std::abort();
    }
    if (++qtMessages <= 5)
        std::fprintf(stderr, "Qt: %s\n", qPrintable(message.simplified()));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(countMessage);
    const Options options = optionsFrom(argc, argv);
    const BenchServer server(QStringLiteral(TARVEX_TEST_SERVER_SCRIPT),
                             QStringLiteral(TARVEX_BENCH_SERVER_FOLDER));
    std::vector<Run> runs;
    for (const int desks : options.desks) {
        std::fprintf(stderr, "%d desks for %.0f s ...\n", desks, options.seconds);
        runs.push_back(runDesks(server, desks, options.seconds, false));
    }
    if (options.restart) {
        std::fprintf(stderr, "8 desks for %.0f s, the server restarted midway ...\n",
                     options.restartSeconds);
        runs.push_back(runDesks(server, 8, options.restartSeconds, true));
    }

    const auto floorRun = std::find_if(runs.begin(), runs.end(), [](const Run &run) {
        return run.deskCount == 8 && !run.restarted;
    });
    const double floor = floorRun == runs.end() ? 0 : floorRun->perSecond();
    std::printf("\n%-12s %8s %8s %8s %7s %8s %8s %8s %8s %8s %6s %6s\n", "desks", "ops/s", "done/s",
                "vs 8", "sheets", "p50 ms", "p99 ms", "max ms", "refused", "ref.max", "refus.",
                "failed");
    for (const Run &run : runs)
        printRun(run, floor);
    std::printf("\nanswered/confirmed/refused/failed by kind, mean time each:\n");
    for (const Run &run : runs)
        printKinds(run);

    std::printf("\nwhere a paid sheet's time goes, mean ms of all / of the slowest 1 %%:\n");
    for (const Run &run : runs)
        printSheetSteps(run);

    std::printf("\nintegrity checks:\n");
    bool held = true;
    for (const Run &run : runs)
        held = printChecks(run) && held;
    bool recovered = true;
    for (const Run &run : runs) {
        if (run.restarted)
            recovered = printRecovery(run);
    }

    std::printf("\ngoals:\n");
    bool met = true;
    for (const Run &run : runs) {
        if (run.deskCount != 16 || run.restarted)
            continue;
        const double ratio = floor > 0 ? run.perSecond() / floor : 0;
        const bool ok = ratio >= 0.8;
        met = met && ok;
        std::printf("  16 desks %.1f ops/s vs 8 desks %.1f ops/s (floor): %.2f x, goal >= 0.80 "
                    "x: %s\n",
                    run.perSecond(), floor, ratio, ok ? "met" : "NOT met");
    }
    for (const Run &run : runs) {
        const double p99 = percentile(run.total.sheetMs, 0.99);
        const bool ok = p99 <= 500;
        met = met && ok;
        std::printf("  %s desks: sheet p99 %.0f ms, goal <= 500 ms: %s\n", run.label.c_str(), p99,
                    ok ? "met" : "NOT met");
    }
    std::printf("  integrity checks: %s\n", held ? "all held" : "SOME FAILED");
    if (options.restart)
        std::printf("  every desk back after the restart: %s\n", recovered ? "yes" : "NO");
    std::fprintf(stderr, "%d messages from Qt in all\n", qtMessages.load());
    return met && held && recovered ? 0 : 1;
}
