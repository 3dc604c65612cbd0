// Times the deal store on 1,000,000 generated deals (made once and kept in
// the build folder): the finder's searches and opening, a salesperson's
// unpaid listing and its paying, and saving a deal. Each figure has a floor
// measured in the same run: the SQLite C API doing the same work on the same
// file. The run ends with a table of figures, floors, ratios and goals.
#include "bench_deals.h"
#include "figure_table.h"
#include "floor_values.h"
#include "raw_sqlite.h"
#include "store_items.h"

#include "store/audit_trail.h"
#include "store/sales_ledger.h"
#include "store/deal_database.h"
#include "store/deal_rows.h"
#include "store/recall_columns.h"
#include "store/store_schema.h"
#include "store/store_sql.h"

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
        find.bindText(1, stockNumber(int(g_bench->store.random() % dealCount())).toStdString());
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

// A column's text as SQLite gives it, or #NULL#.
void appendColumn(std::string &out, sqlite3_stmt *statement, int column)
{
    const unsigned char *text = sqlite3_column_text(statement, column);
    if (text)
        out += reinterpret_cast<const char *>(text);
    else
        out += "#NULL#";
}

// The sheet's columns and the summary columns the marking gives back.
std::string summaryColumnList()
{
    return StoreSql::columnList(StoreSchema::columns(QStringLiteral("SalesSummary"))).toStdString();
}

// Pays the 1,000 rows as the program does, statement for statement: the
// sheet, each row marked and put on the sheet and given back, the check that
// none of them was held or unwound meanwhile, the salesperson's carried net
// and open draws read, the sheet's lines, total and snapshot, its 1,001
// audit entries, the commit, data.txt written and synced. Plain C values
// throughout.
class FloorPayment
{
public:
    explicit FloorPayment(sqlite3 *db, const QString &folder)
        : m_folder(QFile::encodeName(folder).toStdString()),
          m_begin(db, "BEGIN IMMEDIATE"), m_commit(db, "COMMIT"),
          m_sheet(db, "INSERT INTO \"Sheets\" (\"SalesPerson\", \"WeekEnding\", "
                      "\"BonusDescription\", \"Bonus\", \"Total\", \"PrintedAt\") "
                      "VALUES (?, ?, ?, ?, ?, ?) RETURNING \"SheetId\""),
          m_mark(db, "UPDATE \"SalesSummary\" SET \"Paid\" = 1, \"SheetId\" = ? WHERE rowid = ? "
                     "AND \"Paid\" = 0 AND \"Sales_Person\" = ? RETURNING rowid, " +
                         summaryColumnList() + ", \"DealId\""),
          m_heldOrUnwound(db, SalesLedger::heldOrUnwoundStatement().toStdString()),
          m_carried(db, SalesLedger::carriedStatement().toStdString()),
          m_draws(db, SalesLedger::openDrawsStatement().toStdString()),
          m_complete(db, "UPDATE \"Sheets\" SET \"Lines\" = ?, \"Total\" = ?, "
                         "\"Snapshot\" = ? WHERE \"SheetId\" = ?"),
          m_audit(db, AuditTrail::insertStatement().toStdString()),
          m_owner(QString::fromLatin1(kSalesPerson).toUpper().toStdString())
    {
    }

    // One payment of `ids`; the sheet's identity. (A function of its own, so
    // that callgrind can count it alone.)
    [[gnu::noinline]] sqlite3_int64 pay(const QList<qint64> &ids);

private:
    struct Marked
    {
        sqlite3_int64 rowId;
        sqlite3_int64 dealId;
        std::string stockNumber;
        std::string salesPerson;
    };

    void auditSheet(const std::string &at, sqlite3_int64 sheetId, sqlite3_int64 tally);

    std::string m_folder;
    RawStatement m_begin;
    RawStatement m_commit;
    RawStatement m_sheet;
    RawStatement m_mark;
    RawStatement m_heldOrUnwound;
    RawStatement m_carried;
    RawStatement m_draws;
    RawStatement m_complete;
    RawStatement m_audit;
    std::string m_owner;
    std::vector<Marked> m_marked;
};

sqlite3_int64 FloorPayment::pay(const QList<qint64> &ids)
{
    const std::string at = FloorValues::localStamp();
    m_begin.run();
    m_sheet.bindText(1, kSalesPerson);
    m_sheet.bindText(2, StoreItems::kWeekEnding);
    m_sheet.bindText(3, StoreItems::kBonusDescription);
    m_sheet.bindInt(4, StoreItems::kBonusUnits);
    sqlite3_bind_null(m_sheet.get(), 5);
    m_sheet.bindText(6, at);
    m_sheet.step();
    const sqlite3_int64 sheetId = sqlite3_column_int64(m_sheet.get(), 0);
    m_sheet.reset();
    std::string lines;
    std::string snapshot;
    sqlite3_int64 tally = 0;
    m_marked.clear();
    for (const qint64 id : ids) {
        m_mark.bindInt(1, sheetId);
        m_mark.bindInt(2, id);
        m_mark.bindText(3, m_owner);
        sqlite3_stmt *row = m_mark.get();
        if (!m_mark.step())
            qFatal("the floor found a row paid");
        // The line of data.txt: customer, stock, class, then the amounts.
        for (const int text : {4, 3, 6}) {
            lines += '"';
            appendColumn(lines, row, text);
            lines += "\",";
        }
        for (const int amount : {7, 8, 9, 10, 12}) {
            if (sqlite3_column_type(row, amount) == SQLITE_NULL)
                lines += "#NULL#";
            else
                FloorValues::appendPlain(lines, sqlite3_column_int64(row, amount));
            lines += amount == 12 ? "\r\n" : ",";
        }
        tally += sqlite3_column_int64(row, 12);
        if (!snapshot.empty())
            snapshot += '\n';
        for (int column = 0; column < sqlite3_column_count(row); ++column) {
            if (column)
                snapshot += '\x1f';
            appendColumn(snapshot, row, column);
        }
        m_marked.push_back({sqlite3_column_int64(row, 0), sqlite3_column_int64(row, 14),
                            reinterpret_cast<const char *>(sqlite3_column_text(row, 3)),
                            reinterpret_cast<const char *>(sqlite3_column_text(row, 5))});
        m_mark.reset();
    }
    m_heldOrUnwound.bindInt(1, sheetId);
    if (m_heldOrUnwound.step())
        qFatal("the floor found a row held or unwound");
    m_heldOrUnwound.reset();
    while (m_carried.step()) {
    }
    m_carried.reset();
    m_draws.bindText(1, m_owner);
    while (m_draws.step()) {
    }
    m_draws.reset();
    m_complete.bindText(1, lines);
    m_complete.bindInt(2, tally);
    m_complete.bindText(3, snapshot);
    m_complete.bindInt(4, sheetId);
    m_complete.run();
    auditSheet(at, sheetId, tally);
    m_commit.run();
    FloorValues::replaceDataFile(m_folder, lines);
    return sheetId;
}

void FloorPayment::auditSheet(const std::string &at, sqlite3_int64 sheetId, sqlite3_int64 tally)
{
    char heading[256];
    std::snprintf(heading, sizeof heading,
                  "WeekEnding: %s\nBonusDescription: %s\nBonus: %lld\nTotal: ",
                  StoreItems::kWeekEnding, StoreItems::kBonusDescription,
                  static_cast<long long>(StoreItems::kBonusUnits / 10000));
    std::string headingText = heading;
    FloorValues::appendPlain(headingText, tally);
    m_audit.bindText(1, at);
    m_audit.bindText(2, "Sheet paid");
    m_audit.bindText(3, "Sheets");
    m_audit.bindInt(4, sheetId);
    sqlite3_bind_null(m_audit.get(), 5);
    m_audit.bindInt(6, sheetId);
    sqlite3_bind_null(m_audit.get(), 7);
    m_audit.bindText(8, kSalesPerson);
    sqlite3_bind_null(m_audit.get(), 9);
    m_audit.bindText(10, headingText);
    m_audit.run();
    const std::string after = "Paid: Yes\nSheetId: " + std::to_string(sheetId);
    m_audit.bindText(2, "Paid on sheet");
    m_audit.bindText(3, "SalesSummary");
    m_audit.bindText(9, "Paid: No");
    m_audit.bindText(10, after);
    for (const Marked &row : m_marked) {
        m_audit.bindInt(4, row.rowId);
        m_audit.bindInt(5, row.dealId);
        m_audit.bindText(7, row.stockNumber);
        m_audit.bindText(8, row.salesPerson);
        m_audit.run();
    }
}

void floorPayUnpaid(benchmark::State &state)
{
    const QList<qint64> ids = g_bench->store.unpaidRowIds();
    FloorPayment payment(g_bench->raw->get(), g_bench->store.folder.path());
    for (auto _ : state) {
        const sqlite3_int64 sheetId = payment.pay(ids);
        state.PauseTiming();
        StoreItems::Store::unpay(g_bench->store.database->connection(), sheetId);
        state.ResumeTiming();
    }
}

// A value of a deal's row as a C caller holds it.
struct PlainValue
{
    enum Kind { Null, Integer, Real, Text } kind = Null;
    sqlite3_int64 integer = 0;
    double real = 0;
    std::string text;
};
using PlainRow = std::vector<PlainValue>;

PlainRow plainRow(const QVariantList &values)
{
    PlainRow row;
    for (const QVariant &value : values) {
        PlainValue plain;
        if (value.isNull()) {
        } else if (value.typeId() == QMetaType::QString) {
            plain.kind = PlainValue::Text;
            plain.text = value.toString().toStdString();
        } else if (value.typeId() == QMetaType::Double) {
            plain.kind = PlainValue::Real;
            plain.real = value.toDouble();
        } else {
            plain.kind = PlainValue::Integer;
            plain.integer = value.toLongLong();
        }
        row.push_back(std::move(plain));
    }
    return row;
}

// Binds by position from 1.
void bindPlain(sqlite3_stmt *statement, const PlainRow &row)
{
    for (size_t i = 0; i < row.size(); ++i) {
        const PlainValue &value = row[i];
        const int index = int(i) + 1;
        switch (value.kind) {
        case PlainValue::Null: sqlite3_bind_null(statement, index); break;
        case PlainValue::Integer: sqlite3_bind_int64(statement, index, value.integer); break;
        case PlainValue::Real: sqlite3_bind_double(statement, index, value.real); break;
        case PlainValue::Text:
            sqlite3_bind_text(statement, index, value.text.data(), int(value.text.size()),
                              SQLITE_STATIC);
            break;
        }
    }
}

// The statements of a save, prepared once, bound with plain C values.
struct FloorSave
{
    explicit FloorSave(sqlite3 *database)
        : db(database), begin(db, "BEGIN IMMEDIATE"), commit(db, "COMMIT"),
          recall(db, insert("RecallDeal", RecallColumns::names())),
          summary(db, insert("SalesSummary", StoreSchema::columns(QStringLiteral("SalesSummary")))),
          log(db, insert("SalesLog", StoreSchema::columns(QStringLiteral("SalesLog")))),
          audit(db, AuditTrail::insertStatement().toStdString())
    {
    }

    static std::string insert(const char *table, const QStringList &columns)
    {
        return QStringLiteral("INSERT INTO \"%1\" (\"%2\", \"DealId\") VALUES (%3?)")
            .arg(QString::fromLatin1(table), columns.join(QStringLiteral("\", \"")),
                 QStringLiteral("?, ").repeated(columns.size()))
            .toStdString();
    }

    // One deal saved, its audit entry included. (A function of its own, so
    // that callgrind can count it alone.)
    [[gnu::noinline]] void save(const PlainRow &recallRow, const std::vector<PlainRow> &summaryRows,
                                const PlainRow &logRow, const PlainRow &auditRow)
    {
        begin.run();
        bindPlain(recall.get(), recallRow);
        sqlite3_bind_null(recall.get(), int(recallRow.size()) + 1);
        recall.run();
        const sqlite3_int64 id = sqlite3_last_insert_rowid(db);
        for (const PlainRow &row : summaryRows) {
            bindPlain(summary.get(), row);
            summary.bindInt(int(row.size()) + 1, id);
            summary.run();
        }
        bindPlain(log.get(), logRow);
        log.bindInt(int(logRow.size()) + 1, id);
        log.run();
        // A save also writes its audit entry: the floor writes the same row.
        bindPlain(audit.get(), auditRow);
        audit.bindInt(4, id);
        audit.bindInt(5, id);
        audit.run();
        commit.run();
    }

    sqlite3 *db;
    RawStatement begin;
    RawStatement commit;
    RawStatement recall;
    RawStatement summary;
    RawStatement log;
    RawStatement audit;
};

void floorSaveDeal(benchmark::State &state)
{
    FloorSave floor(g_bench->raw->get());
    for (auto _ : state) {
        // The deal's values made ready as plain C values, untimed.
        state.PauseTiming();
        const StoreItems::FloorDeal deal = StoreItems::nextFloorDeal(g_bench->store);
        const PlainRow recallRow = plainRow(deal.rows.recall);
        std::vector<PlainRow> summaryRows;
        for (const QVariantList &row : deal.rows.summary)
            summaryRows.push_back(plainRow(row));
        const PlainRow logRow = plainRow(deal.rows.log);
        const PlainRow auditRow = plainRow(deal.audit);
        state.ResumeTiming();
        floor.save(recallRow, summaryRows, logRow, auditRow);
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
    {"listing 1,000 unpaid rows", "program/list 1000 unpaid", "floor/list 1000 unpaid", 5, 0,
     false},
    {"paying 1,000 rows (wall)", "program/pay 1000 unpaid", "floor/pay 1000 unpaid", 100, 0,
     false},
    {"paying 1,000 rows (CPU)", "program/pay 1000 unpaid", "floor/pay 1000 unpaid", 0, 1.5, true},
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
