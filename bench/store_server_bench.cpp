// Times the store benchmark's items on the local PostgreSQL server beside
// the same items on the SQLite file, both holding the same 1,000,000
// generated deals: the finder's searches and opening, a salesperson's unpaid
// listing and its paying, and saving a deal, each through the program's own
// store. The server's floor is libpq doing the same statements directly.
// The server runs from a folder of the build kept between runs, its
// database copied from the SQLite one the first time; it is stopped at the
// end. The run ends with a table of the figures and their ratios.
#include "bench_deals.h"
#include "bench_server.h"
#include "figure_table.h"
#include "floor_values.h"
#include "raw_postgres.h"
#include "store_items.h"

#include "store/audit_trail.h"
#include "store/sales_ledger.h"
#include "store/recall_columns.h"
#include "store/store_engine.h"
#include "store/store_schema.h"
#include "store/store_sql.h"

#include <QApplication>
#include <QDate>
#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

using namespace BenchDeals;
using RawPostgres::Values;

struct Bench
{
    StoreItems::Store sqlite;
    StoreItems::Store server;
    RawPostgres::Connection raw;

    Bench(const QString &sqlitePath, const BenchServer &benchServer)
        : sqlite(std::make_unique<DealDatabase>(sqlitePath)),
          server(std::make_unique<DealDatabase>(benchServer.settings())),
          raw(benchServer.options())
    {
    }
};

Bench *g_bench = nullptr;

std::optional<std::string> text(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(Qt::ISODate).toStdString();
    return value.toString().toStdString();
}

Values texts(const QVariantList &values)
{
    Values out;
    for (const QVariant &value : values)
        out.push_back(text(value));
    return out;
}

// Each floor prepares its statements once, under names of its own.
void prepare(const std::string &name, const std::string &sql)
{
    g_bench->raw.exec("DEALLOCATE ALL");
    g_bench->raw.prepare(name, sql);
}

void floorStockSearch(benchmark::State &state)
{
    prepare("find", StoreItems::kStockSearchQuery);
    for (auto _ : state) {
        const std::string stock = stockNumber(int(g_bench->server.random() % dealCount())).toStdString();
        g_bench->raw.run("find", {stock}).readAll();
    }
}

void floorCustomerSearch(benchmark::State &state, const char *part)
{
    using StoreEngine::Engine;
    prepare("find", StoreEngine::customerSearchQuery(Engine::PostgreSQL).toStdString());
    const std::string value =
        StoreEngine::searchValueOf(Engine::PostgreSQL, QString::fromLatin1(part)).toStdString();
    for (auto _ : state)
        g_bench->raw.run("find", {value}).readAll();
}

void floorOpenFinder(benchmark::State &state)
{
    prepare("count", StoreEngine::dealCountQuery().toStdString());
    g_bench->raw.prepare("first", StoreItems::kFirstDealQuery);
    g_bench->raw.prepare("row", StoreItems::kDealQuery);
    for (auto _ : state) {
        g_bench->raw.run("count", {}).readAll();
        const RawPostgres::Result first = g_bench->raw.run("first", {});
        g_bench->raw.run("row", {std::string(PQgetvalue(first.get(), 0, 0))}).readAll();
    }
}

void floorListUnpaid(benchmark::State &state)
{
    prepare("list", StoreItems::kUnpaidQuery);
    for (auto _ : state) {
        const RawPostgres::Result rows = g_bench->raw.run("list", {kSalesPerson});
        rows.readAll();
        if (rows.rows() != 1000)
            state.SkipWithError("not 1,000 unpaid rows");
    }
}

// Pays the 1,000 rows as the program does on a server, in as many trips:
// the sheet, one UPDATE ... ANY(...) RETURNING for the rows, the check that
// none was held or unwound meanwhile, the carried net and the open draws
// read, the sheet's lines, total and snapshot, the 1,001 audit rows in one COPY, the
// commit, then data.txt written and synced.
void floorPayUnpaid(benchmark::State &state)
{
    const QList<qint64> ids = g_bench->server.unpaidRowIds();
    const std::string folder = QFile::encodeName(g_bench->server.folder.path()).toStdString();
    const std::string columns =
        StoreSql::columnList(StoreSchema::columns(QStringLiteral("SalesSummary"))).toStdString();
    prepare("sheet", "INSERT INTO \"Sheets\" (\"SalesPerson\", \"WeekEnding\", "
                     "\"BonusDescription\", \"Bonus\", \"Total\", \"PrintedAt\") "
                     "VALUES (?, ?, ?, ?, ?, ?) RETURNING \"SheetId\"");
    g_bench->raw.prepare("mark", "UPDATE \"SalesSummary\" SET \"Paid\" = 1, \"SheetId\" = ? "
                                 "WHERE rowid = ANY(?) AND \"Paid\" = 0 AND \"Sales_Person\" = ? "
                                 "RETURNING rowid, " + columns + ", \"DealId\"");
    g_bench->raw.prepare("complete", "UPDATE \"Sheets\" SET \"Lines\" = ?, \"Total\" = ?, "
                                     "\"Snapshot\" = ? WHERE \"SheetId\" = ?");
    g_bench->raw.prepare("heldOrUnwound", SalesLedger::heldOrUnwoundStatement().toStdString());
    g_bench->raw.prepare("carried", SalesLedger::carriedStatement().toStdString());
    g_bench->raw.prepare("draws", SalesLedger::openDrawsStatement().toStdString());
    // The audit rows' columns, as the program's COPY names them.
    std::vector<std::string> auditColumns;
    for (const QString &column : AuditTrail::rowColumns())
        auditColumns.push_back(column.toStdString());
    std::string array = "{";
    for (const qint64 id : ids)
        array += (array.size() > 1 ? "," : "") + std::to_string(id);
    array += '}';
    const std::string owner = QString::fromLatin1(kSalesPerson).toUpper().toStdString();
    for (auto _ : state) {
        const std::string at = FloorValues::localStamp();
        g_bench->raw.exec("BEGIN");
        const RawPostgres::Result sheet =
            g_bench->raw.run("sheet", {std::string(kSalesPerson), std::string(StoreItems::kWeekEnding),
                                       std::string(StoreItems::kBonusDescription),
                                       std::to_string(StoreItems::kBonusUnits), std::nullopt, at});
        const std::string sheetId = PQgetvalue(sheet.get(), 0, 0);
        const RawPostgres::Result rows = g_bench->raw.run("mark", {sheetId, array, owner});
        if (rows.rows() != ids.size())
            qFatal("the floor found a row paid");
        std::string lines;
        std::string snapshot;
        long long tally = 0;
        std::string sheetEntry;
        std::string rowEntries;
        // A row of the audit trail in COPY's text format, its values the
        // user who signed in last (none here) among them.
        const auto audit = [](std::string &to, const Values &values) {
            for (size_t i = 0; i < values.size(); ++i) {
                if (i > 0)
                    to += '\t';
                to += RawPostgres::copyField(values[i]);
            }
            to += '\n';
        };
        const std::string after = "Paid: Yes\nSheetId: " + sheetId;
        for (int row = 0; row < rows.rows(); ++row) {
            const auto field = [&](int column) { return PQgetvalue(rows.get(), row, column); };
            for (const int text : {4, 3, 6}) {
                lines += '"';
                lines += field(text);
                lines += "\",";
            }
            for (const int amount : {7, 8, 9, 10, 12}) {
                if (PQgetisnull(rows.get(), row, amount))
                    lines += "#NULL#";
                else
                    FloorValues::appendPlain(lines, std::atoll(field(amount)));
                lines += amount == 12 ? "\r\n" : ",";
            }
            tally += std::atoll(field(12));
            if (!snapshot.empty())
                snapshot += '\n';
            for (int column = 0; column < PQnfields(rows.get()); ++column) {
                if (column)
                    snapshot += '\x1f';
                snapshot += PQgetisnull(rows.get(), row, column) ? "#NULL#" : field(column);
            }
            audit(rowEntries, {at, "Paid on sheet", "SalesSummary", field(0), field(14), sheetId,
                               field(3), field(5), "Paid: No", after, std::nullopt});
        }
        if (g_bench->raw.run("heldOrUnwound", {sheetId}).rows() != 0)
            qFatal("the floor found a row held or unwound");
        g_bench->raw.run("carried", {}).readAll();
        g_bench->raw.run("draws", {owner}).readAll();
        g_bench->raw.run("complete", {lines, std::to_string(tally), snapshot, sheetId});
        std::string heading = "WeekEnding: " + std::string(StoreItems::kWeekEnding) +
                              "\nBonusDescription: " + StoreItems::kBonusDescription +
                              "\nBonus: " + std::to_string(StoreItems::kBonusUnits / 10000) +
                              "\nTotal: ";
        FloorValues::appendPlain(heading, tally);
        // The sheet's own entry first, then its rows', in one COPY.
        audit(sheetEntry, {at, "Sheet paid", "Sheets", sheetId, std::nullopt, sheetId, std::nullopt,
                           std::string(kSalesPerson), std::nullopt, heading, std::nullopt});
        g_bench->raw.beginCopy("Audit", auditColumns);
        g_bench->raw.put(sheetEntry);
        g_bench->raw.put(rowEntries);
        g_bench->raw.endCopy();
        g_bench->raw.exec("COMMIT");
        FloorValues::replaceDataFile(folder, lines);
        state.PauseTiming();
        StoreItems::Store::unpay(g_bench->server.database->connection(), std::stoll(sheetId));
        state.ResumeTiming();
    }
}

void floorSaveDeal(benchmark::State &state)
{
    const auto insert = [](const char *table, QStringList columns, bool withDeal) {
        if (withDeal)
            columns << QString::fromLatin1(StoreSchema::kDealId);
        return StoreSql::insertStatement(QString::fromLatin1(table), columns).toStdString();
    };
    // The server gives the deal its identity and returns it.
    prepare("recall", insert("RecallDeal", RecallColumns::names(), false) + " RETURNING \"DealId\"");
    g_bench->raw.prepare(
        "summary", insert("SalesSummary", StoreSchema::columns(QStringLiteral("SalesSummary")), true));
    g_bench->raw.prepare("log",
                         insert("SalesLog", StoreSchema::columns(QStringLiteral("SalesLog")), true));
    g_bench->raw.prepare("audit", AuditTrail::insertStatement().toStdString());
    for (auto _ : state) {
        state.PauseTiming();
        StoreItems::FloorDeal deal = StoreItems::nextFloorDeal(g_bench->server);
        state.ResumeTiming();
        g_bench->raw.exec("BEGIN");
        const RawPostgres::Result recall = g_bench->raw.run("recall", texts(deal.rows.recall));
        const std::string id = PQgetvalue(recall.get(), 0, 0);
        for (const QVariantList &row : deal.rows.summary) {
            Values values = texts(row);
            values.push_back(id);
            g_bench->raw.run("summary", values);
        }
        Values log = texts(deal.rows.log);
        log.push_back(id);
        g_bench->raw.run("log", log);
        deal.audit[3] = deal.audit[4] = QString::fromStdString(id);
        g_bench->raw.run("audit", texts(deal.audit));
        g_bench->raw.exec("COMMIT");
    }
}

const StoreItems::Items kFloors = {floorStockSearch, floorCustomerSearch, floorOpenFinder,
                                   floorListUnpaid,  floorPayUnpaid,      floorSaveDeal};

struct Item
{
    const char *label;
    const char *name;
};

const Item kItems[] = {
    {"stock-number search", "stock search"},
    {"customer part \"smi\"", "customer search smi"},
    {"customer part, rare (\"quint\")", "customer search quint"},
    {"opening the finder", "open finder"},
    {"listing 1,000 unpaid rows", "list 1000 unpaid"},
    {"paying 1,000 rows (with commit)", "pay 1000 unpaid"},
    {"saving a deal", "save deal"},
};

void printTable(const FigureTable &table)
{
    std::printf("\nreal time, ms (median of 3)\n%-32s %10s %10s %8s %12s %8s\n", "item", "server",
                "SQLite", "ratio", "server floor", "ratio");
    const auto ms = [&](const std::string &prefix, const char *name) {
        const FigureTable::Figure *figure = table.figure(prefix + '/' + name);
        return figure ? figure->realMs : -1.0;
    };
    for (const Item &item : kItems) {
        const double server = ms("server", item.name);
        const double sqlite = ms("sqlite", item.name);
        const double floor = ms("server floor", item.name);
        if (server < 0 || sqlite < 0 || floor < 0) {
            std::printf("%-32s %10s\n", item.label, "not run");
            continue;
        }
        std::printf("%-32s %10.3f %10.3f %7.2fx %12.3f %7.2fx\n", item.label, server, sqlite,
                    sqlite > 0 ? server / sqlite : 0, floor, floor > 0 ? server / floor : 0);
    }
    std::printf("ratio: server / SQLite, then the server's program figure / its libpq floor\n");
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    {
        const QString sqlitePath = ensureDatabase(QStringLiteral(TARVEX_BENCH_DATA_FOLDER));
        BenchServer server(QStringLiteral(TARVEX_TEST_SERVER_SCRIPT),
                           dataFolder(QStringLiteral(TARVEX_BENCH_SERVER_FOLDER)));
        server.ensureDatabase(sqlitePath);
        // Each run starts alike: the deals an earlier run saved and removed
        // leave entries in the customer-search index's pending list, which
        // every search reads whole until a vacuum merges it.
        RawPostgres::Connection(server.options()).exec("VACUUM ANALYZE");
        {
            Bench bench(sqlitePath, server);
            g_bench = &bench;
            using namespace StoreItems;
            const Items onServer = itemsOf(bench.server);
            const Items onSqlite = itemsOf(bench.sqlite);
            registerReads("server", onServer);
            registerReads("sqlite", onSqlite);
            registerReads("server floor", kFloors);
            registerSave("server", onServer);
            registerSave("sqlite", onSqlite);
            registerSave("server floor", kFloors);
            FigureTable table;
            benchmark::RunSpecifiedBenchmarks(&table);
            printTable(table);
            g_bench = nullptr;
        }
    }
    benchmark::Shutdown();
    return 0;
}
