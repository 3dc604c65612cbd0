// Times the deal store on 1,000,000 generated deals (made once and kept in
// the build folder): the finder's searches and opening, a salesperson's
// unpaid listing and its paying, and saving a deal. Each figure has a floor
// measured in the same run: the SQLite C API doing the same work on the same
// file. The run ends with a table of figures, floors, ratios and goals.
#include "bench_deals.h"
#include "figure_table.h"
#include "raw_sqlite.h"

#include "common/prompts.h"
#include "store/audit_trail.h"
#include "store/commission_payments.h"
#include "store/deal_database.h"
#include "store/deal_rows.h"
#include "store/deal_store.h"
#include "store/recall_columns.h"
#include "store/sql_transaction.h"
#include "store/store_schema.h"
#include "store/ui/deal_finder_window.h"

#include <QApplication>
#include <QFile>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <memory>
#include <random>
#include <vector>

namespace {

using namespace BenchDeals;

// The finder asks nothing when all goes well; anything it asks ends the run.
class NoPrompts : public Prompts
{
public:
    std::optional<QString> saveFile(const SaveFile &) override { return std::nullopt; }

protected:
    Answer showMessage(const Message &message) override
    {
        qFatal("unexpected message: %s", qPrintable(message.text));
    }
    std::optional<QString> showInput(const Input &) override { return std::nullopt; }
};

const std::string kUnpaidQuery = "SELECT rowid, \"Date\", \"Unit\", \"Stock_Number\", "
                                 "\"Customer_Name\", \"Sales_Person\", \"TCU\", \"Payable_Gross\", "
                                 "\"Commission\", \"Spiff\", \"Warranty\", \"UnitCount\", "
                                 "\"TotalCommission\", \"Paid\" FROM \"SalesSummary\" WHERE "
                                 "\"Sales_Person\" = ? AND \"Paid\" = 0 ORDER BY \"Date\", rowid";

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
    QString path;
    std::unique_ptr<DealDatabase> database;
    std::unique_ptr<DealStore> store;
    std::unique_ptr<CommissionPayments> payments;
    std::unique_ptr<RawDatabase> raw;
    NoPrompts prompts;
    std::unique_ptr<DealFinderWindow> finder;
    std::mt19937 random{19950101};
    int next = kDeals;

    explicit Bench(const QString &folder) : path(ensureDatabase(folder))
    {
        database = std::make_unique<DealDatabase>(path);
        QString error;
        if (!database->open(&error))
            qFatal("%s", qPrintable(error));
        store = std::make_unique<DealStore>(*database);
        payments = std::make_unique<CommissionPayments>(*database);
        raw = std::make_unique<RawDatabase>(QFile::encodeName(path).toStdString());
        // The floor's connection is set up as the program's: every commit
        // synced, and the deal rows' references to their RecallDeal row checked.
        raw->exec("PRAGMA synchronous = FULL");
        raw->exec("PRAGMA foreign_keys = ON");
        finder = std::make_unique<DealFinderWindow>(*store, prompts);
    }

    ~Bench()
    {
        // The deals saved by this run go again, so the next run starts alike.
        finder.reset();
        const std::string kept = std::to_string(kDeals);
        for (const char *table : {"SalesSummary", "SalesLog", "RecallDeal"})
            raw->exec(std::string("DELETE FROM \"") + table + "\" WHERE \"DealId\" > " + kept);
    }

    QList<qint64> unpaidRowIds()
    {
        QList<qint64> ids;
        for (const SummaryRow &row : payments->unpaid(QString::fromLatin1(kSalesPerson), nullptr)
                                         .value_or(QList<SummaryRow>()))
            ids << row.rowId;
        return ids;
    }
};

Bench *g_bench = nullptr;

void programStockSearch(benchmark::State &state)
{
    for (auto _ : state) {
        const QString stock = stockNumber(int(g_bench->random() % kDeals)).toLower();
        benchmark::DoNotOptimize(g_bench->store->findByStockNumber(stock));
    }
}

void floorStockSearch(benchmark::State &state)
{
    RawStatement find(g_bench->raw->get(), "SELECT \"DealId\" FROM \"RecallDeal\" WHERE "
                                           "\"StockNo\" = ? ORDER BY \"DealId\"");
    for (auto _ : state) {
        find.bindText(1, stockNumber(int(g_bench->random() % kDeals)).toStdString());
        std::vector<sqlite3_int64> ids;
        while (find.step())
            ids.push_back(sqlite3_column_int64(find.get(), 0));
        find.reset();
        benchmark::DoNotOptimize(ids);
    }
}

void programCustomerSearch(benchmark::State &state, const char *part)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(g_bench->store->findByCustomerPart(QString::fromLatin1(part)));
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

void programOpenFinder(benchmark::State &state)
{
    for (auto _ : state)
        g_bench->finder->openOnWholeTable();
}

void floorOpenFinder(benchmark::State &state)
{
    sqlite3 *db = g_bench->raw->get();
    RawStatement count(db, "SELECT \"Deals\" FROM \"DealCount\"");
    RawStatement first(db, "SELECT \"DealId\" FROM \"RecallDeal\" ORDER BY \"DealId\" LIMIT 1");
    RawStatement row(db, "SELECT * FROM \"RecallDeal\" WHERE \"DealId\" = ?");
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

void programListUnpaid(benchmark::State &state)
{
    for (auto _ : state) {
        const auto rows = g_bench->payments->unpaid(QString::fromLatin1(kSalesPerson), nullptr);
        if (!rows || rows->size() != 1000)
            state.SkipWithError("not 1,000 unpaid rows");
    }
}

void floorListUnpaid(benchmark::State &state)
{
    RawStatement list(g_bench->raw->get(), kUnpaidQuery);
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

void programPayUnpaid(benchmark::State &state)
{
    const QList<qint64> ids = g_bench->unpaidRowIds();
    for (auto _ : state) {
        SqlTransaction transaction(g_bench->database->connection());
        QString error;
        const bool paid = transaction.begin(&error) &&
                          g_bench->payments->markPaid(ids, QString::fromLatin1(kSalesPerson), &error).has_value() &&
                          transaction.commit(&error);
        state.PauseTiming();
        if (!paid)
            state.SkipWithError(qPrintable(error));
        markUnpaidAgain(ids);
        state.ResumeTiming();
    }
}

void floorPayUnpaid(benchmark::State &state)
{
    const QList<qint64> ids = g_bench->unpaidRowIds();
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

void programSaveDeal(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        const Deal deal = generatedDeal(g_bench->next++, g_bench->random);
        state.ResumeTiming();
        if (!g_bench->store->save(deal, nullptr))
            state.SkipWithError("save failed");
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
    const QStringList recallColumns = RecallColumns::names();
    const qsizetype salesPersonColumn = recallColumns.indexOf(QStringLiteral("SalesPerson"));
    const qsizetype partnerColumn = recallColumns.indexOf(QStringLiteral("Salesman2"));
    for (auto _ : state) {
        state.PauseTiming();
        const DealRows rows =
            *DealRows::fromDeal(generatedDeal(g_bench->next++, g_bench->random), nullptr);
        const QString after = AuditTrail::describe(RecallColumns::names(), rows.recall);
        // The entry names both salespeople of a split deal, as the program's does.
        QString salesPeople = rows.recall.at(salesPersonColumn).toString();
        if (!rows.recall.at(partnerColumn).isNull())
            salesPeople += QStringLiteral(" / ") + rows.recall.at(partnerColumn).toString();
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
        audit.bind({QStringLiteral("2026-12-08 09:00:00"), QStringLiteral("Deal saved"),
                    QStringLiteral("RecallDeal"), id, id, QVariant(), rows.recall.at(3),
                    salesPeople, QVariant(), after});
        audit.run();
        g_bench->raw->exec("COMMIT");
    }
}

void registerAll()
{
    const auto add = [](const char *name, auto function, benchmark::TimeUnit unit) {
        return benchmark::RegisterBenchmark(name, function)
            ->Unit(unit)
            ->Repetitions(3)
            ->DisplayAggregatesOnly(true);
    };
    using benchmark::kMicrosecond;
    using benchmark::kMillisecond;
    add("program/stock search", programStockSearch, kMicrosecond)->UseRealTime();
    add("floor/stock search", floorStockSearch, kMicrosecond)->UseRealTime();
    for (const char *part : {"smi", "quint"}) {
        add((std::string("program/customer search ") + part).c_str(),
            [part](benchmark::State &s) { programCustomerSearch(s, part); }, kMillisecond)
            ->UseRealTime();
        add((std::string("floor/customer search ") + part).c_str(),
            [part](benchmark::State &s) { floorCustomerSearch(s, part); }, kMillisecond)
            ->UseRealTime();
    }
    add("program/open finder", programOpenFinder, kMillisecond)->UseRealTime();
    add("floor/open finder", floorOpenFinder, kMillisecond)->UseRealTime();
    add("program/list 1000 unpaid", programListUnpaid, kMillisecond)->UseRealTime();
    add("floor/list 1000 unpaid", floorListUnpaid, kMillisecond)->UseRealTime();
    add("program/pay 1000 unpaid", programPayUnpaid, kMillisecond)->UseRealTime()->Iterations(10);
    add("floor/pay 1000 unpaid", floorPayUnpaid, kMillisecond)->UseRealTime()->Iterations(10);
    add("program/save deal", programSaveDeal, kMicrosecond)->Iterations(300);
    add("floor/save deal", floorSaveDeal, kMicrosecond)->Iterations(300);
}

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
        Bench bench(QStringLiteral(TARVEX_BENCH_DATA_FOLDER));
        g_bench = &bench;
        registerAll();
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
