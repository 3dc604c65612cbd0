// Times the deal store on 1,000,000 generated deals (made once and kept in
// the build folder): the finder's searches and opening, a salesperson's
// unpaid listing and its paying, and saving a deal. Each figure has a floor
// measured in the same run: the SQLite C API doing the same work on the same
// file. The run ends with a table of figures, floors, ratios and goals.
#include "bench_deals.h"
#include "figure_table.h"
#include "raw_sqlite.h"
#include "store_items.h"

#include "store/audit_trail.h"
#include "store/deal_database.h"
#include "store/deal_rows.h"
#include "store/recall_columns.h"
#include "store/store_schema.h"

#include <QApplication>
#include <QFile>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

using namespace BenchDeals;

// Reads every column of the current row, as a caller of the C API would.
void readRow(sqlite3_stmt *statement)
{
    for (int i = 0; i < sqlite3_column_count(statement); ++i) {
        if (sqlite3_column_type(statement, i) == SQLITE_TEXT)
            benchmark::DoNotOptimize(sqlite3_column_text(statement, i));
        else
            benchmark::DoNotOptimize(sqlite3_column_int64(statement, i));
    }
}

struct Bench
{
    StoreItems::Store store;
    std::unique_ptr<RawDatabase> raw;

    explicit Bench(const QString &path)
        : store(std::make_unique<DealDatabase>(path)),
          raw(std::make_unique<RawDatabase>(QFile::encodeName(path).toStdString()))
    {
        // The floor's connection is set up as the program's: every commit
        // synced, and the deal rows' references to their RecallDeal row checked.
        raw->exec("PRAGMA synchronous = FULL");
        raw->exec("PRAGMA foreign_keys = ON");
    }
};

Bench *g_bench = nullptr;

void floorStockSearch(benchmark::State &state)
{
    RawStatement find(g_bench->raw->get(), StoreItems::kStockSearchQuery);
    for (auto _ : state) {
        find.bindText(1, stockNumber(int(g_bench->store.random() % kDeals)).toStdString());
        std::vector<sqlite3_int64> ids;
        while (find.step())
            ids.push_back(sqlite3_column_int64(find.get(), 0));
        find.reset();
        benchmark::DoNotOptimize(ids);
    }
}

void floorCustomerSearch(benchmark::State &state, const char *part)
{
    RawStatement find(g_bench->raw->get(), "SELECT rowid FROM \"CustomerSearch\" WHERE "
                                           "\"CustomerSearch\" MATCH ? ORDER BY rowid");
    for (auto _ : state) {
        find.bindText(1, std::string("\"") + part + "\"");
        std::vector<sqlite3_int64> ids;
        while (find.step())
            ids.push_back(sqlite3_column_int64(find.get(), 0));
        find.reset();
        benchmark::DoNotOptimize(ids);
    }
}

void floorOpenFinder(benchmark::State &state)
{
    sqlite3 *db = g_bench->raw->get();
    RawStatement count(db, "SELECT \"Deals\" FROM \"DealCount\"");
    RawStatement first(db, StoreItems::kFirstDealQuery);
    RawStatement row(db, StoreItems::kDealQuery);
    for (auto _ : state) {
        count.step();
        benchmark::DoNotOptimize(sqlite3_column_int64(count.get(), 0));
        count.reset();
        first.step();
        row.bindInt(1, sqlite3_column_int64(first.get(), 0));
        first.reset();
        if (row.step())
            readRow(row.get());
        row.reset();
    }
}

void floorListUnpaid(benchmark::State &state)
{
    RawStatement list(g_bench->raw->get(), StoreItems::kUnpaidQuery);
    for (auto _ : state) {
        list.bindText(1, kSalesPerson);
        while (list.step())
            readRow(list.get());
        list.reset();
    }
}

void markUnpaidAgain(const QList<qint64> &ids)
{
    RawStatement unmark(g_bench->raw->get(),
                        "UPDATE \"SalesSummary\" SET \"Paid\" = 0 WHERE rowid = ?");
    g_bench->raw->exec("BEGIN IMMEDIATE");
    for (const qint64 id : ids) {
        unmark.bindInt(1, id);
        unmark.run();
    }
    g_bench->raw->exec("COMMIT");
}

void floorPayUnpaid(benchmark::State &state)
{
    const QList<qint64> ids = g_bench->store.unpaidRowIds();
    sqlite3 *db = g_bench->raw->get();
    RawStatement read(db, "SELECT rowid, * FROM \"SalesSummary\" WHERE rowid = ? AND \"Paid\" = 0");
    RawStatement mark(db,
                      "UPDATE \"SalesSummary\" SET \"Paid\" = 1 WHERE rowid = ? AND \"Paid\" = 0");
    for (auto _ : state) {
        g_bench->raw->exec("BEGIN IMMEDIATE");
        for (const qint64 id : ids) {
            read.bindInt(1, id);
            if (read.step())
                readRow(read.get());
            read.reset();
            mark.bindInt(1, id);
            mark.run();
        }
        g_bench->raw->exec("COMMIT");
        state.PauseTiming();
        markUnpaidAgain(ids);
        state.ResumeTiming();
    }
}

void floorSaveDeal(benchmark::State &state)
{
    sqlite3 *db = g_bench->raw->get();
    const auto insert = [](const char *table, const QStringList &columns) {
        return QStringLiteral("INSERT INTO \"%1\" (\"%2\", \"DealId\") VALUES (%3?)")
            .arg(QString::fromLatin1(table), columns.join(QStringLiteral("\", \"")),
                 QStringLiteral("?, ").repeated(columns.size()))
            .toStdString();
    };
    RawStatement recall(db, insert("RecallDeal", RecallColumns::names()));
    RawStatement summary(
        db, insert("SalesSummary", StoreSchema::columns(QStringLiteral("SalesSummary"))));
    RawStatement log(db, insert("SalesLog", StoreSchema::columns(QStringLiteral("SalesLog"))));
    // A save also writes its audit entry: the floor writes the same row.
    RawStatement audit(db, AuditTrail::insertStatement().toStdString());
    for (auto _ : state) {
        state.PauseTiming();
        StoreItems::FloorDeal deal = StoreItems::nextFloorDeal(g_bench->store);
        const DealRows &rows = deal.rows;
        state.ResumeTiming();
        g_bench->raw->exec("BEGIN IMMEDIATE");
        recall.bind(rows.recall);
        sqlite3_bind_null(recall.get(), int(rows.recall.size()) + 1);
        recall.run();
        const sqlite3_int64 id = sqlite3_last_insert_rowid(db);
        for (const QVariantList &row : rows.summary) {
            summary.bind(row);
            summary.bindInt(int(row.size()) + 1, id);
            summary.run();
        }
        log.bind(rows.log);
        log.bindInt(int(rows.log.size()) + 1, id);
        log.run();
        deal.audit[3] = deal.audit[4] = id;
        audit.bind(deal.audit);
        audit.run();
        g_bench->raw->exec("COMMIT");
    }
}

const StoreItems::Items kFloors = {floorStockSearch, floorCustomerSearch, floorOpenFinder,
                                   floorListUnpaid,  floorPayUnpaid,      floorSaveDeal};

const std::vector<FigureTable::Goal> kGoals = {
    {"stock-number search", "program/stock search", "floor/stock search", 1, 0, false},
    {"customer part \"smi\"", "program/customer search smi", "floor/customer search smi", 100, 0,
     false},
    {"customer part, rare (\"quint\")", "program/customer search quint",
     "floor/customer search quint", 5, 0, false},
    {"opening the finder", "program/open finder", "floor/open finder", 20, 0, false},
    {"listing 1,000 unpaid rows", "program/list 1000 unpaid", "floor/list 1000 unpaid", 10, 0,
     false},
    {"paying 1,000 rows (with commit)", "program/pay 1000 unpaid", "floor/pay 1000 unpaid", 100, 0,
     false},
    {"saving a deal (CPU)", "program/save deal", "floor/save deal", 0, 1.2, true},
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    {
        Bench bench(ensureDatabase(QStringLiteral(TARVEX_BENCH_DATA_FOLDER)));
        g_bench = &bench;
        const StoreItems::Items program = StoreItems::itemsOf(bench.store);
        StoreItems::registerReads("program", program);
        StoreItems::registerReads("floor", kFloors);
        StoreItems::registerSave("program", program);
        StoreItems::registerSave("floor", kFloors);
        FigureTable table;
        benchmark::RunSpecifiedBenchmarks(&table);
        const bool met = table.printTable(kGoals);
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const double peakMb = double(usage.ru_maxrss) / 1024.0;
        std::printf("%-34s %10.1f %43s  %-16s %s\n", "peak resident memory (MB)", peakMb, "",
                    "<= 80 MB", peakMb <= 80 ? "yes" : "NO");
        std::printf("%s\n", met && peakMb <= 80 ? "every goal met" : "goals not all met");
        g_bench = nullptr;
    }
    benchmark::Shutdown();
    return 0;
}
