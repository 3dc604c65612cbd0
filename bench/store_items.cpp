#include "store_items.h"

#include "bench_deals.h"

#include "store/audit_trail.h"
#include "store/recall_columns.h"
#include "reports/sheet_payment.h"
#include "store/sql_transaction.h"
#include "store/store_sql.h"

#include <QSqlQuery>

namespace StoreItems {

using namespace BenchDeals;

Prompts::Answer NoPrompts::showMessage(const Message &message)
{
    qFatal("unexpected message: %s", qPrintable(message.text));
}

Store::Store(std::unique_ptr<DealDatabase> opened) : database(std::move(opened)), next(dealCount())
{
    QString error;
    if (!database->open(&error))
        qFatal("%s", qPrintable(error));
    deals = std::make_unique<DealStore>(*database);
    payments = std::make_unique<CommissionPayments>(*database);
    finder = std::make_unique<DealFinderWindow>(*deals, prompts);
}

Store::~Store()
{
    finder.reset();
    QSqlQuery remove(database->connection());
    for (const char *table : {"SalesSummary", "SalesLog", "RecallDeal"}) {
        if (!remove.prepare(QStringLiteral("DELETE FROM \"%1\" WHERE \"DealId\" > ?")
                                .arg(QString::fromLatin1(table))))
            qFatal("%s", qPrintable(remove.lastError().text()));
        remove.addBindValue(dealCount());
        if (!remove.exec())
            qFatal("%s", qPrintable(remove.lastError().text()));
    }
}

QList<qint64> Store::unpaidRowIds()
{
    QList<qint64> ids;
    for (const SummaryRow &row :
         payments->unpaid(QString::fromLatin1(kSalesPerson), nullptr).value_or(QList<SummaryRow>()))
        ids << row.rowId;
    return ids;
}

void Store::unpay(QSqlDatabase connection, qint64 sheetId)
{
    QString error;
    SqlTransaction transaction(connection);
    bool done = transaction.begin(&error);
    for (const char *statement :
         {"UPDATE \"SalesSummary\" SET \"Paid\" = 0, \"SheetId\" = NULL WHERE \"SheetId\" = ?",
          "DELETE FROM \"Audit\" WHERE \"SheetId\" = ?",
          "DELETE FROM \"Sheets\" WHERE \"SheetId\" = ?"}) {
        QSqlQuery query(connection);
        done = done && StoreSql::prepare(query, QString::fromLatin1(statement), &error) &&
               StoreSql::exec(query, {sheetId}, &error);
    }
    if (!done || !transaction.commit(&error))
        qFatal("the sheet could not be taken back: %s", qPrintable(error));
}

FloorDeal nextFloorDeal(Store &store)
{
    const QStringList recallColumns = RecallColumns::names();
    FloorDeal deal{*DealRows::fromDeal(generatedDeal(store.next++, store.random), nullptr), {}};
    const QVariantList &recall = deal.rows.recall;
    // The entry names both salespeople of a split deal, as the program's does.
    QString salesPeople = recall.at(recallColumns.indexOf(QStringLiteral("SalesPerson"))).toString();
    const QVariant partner = recall.at(recallColumns.indexOf(QStringLiteral("Salesman2")));
    if (!partner.isNull())
        salesPeople += QStringLiteral(" / ") + partner.toString();
    deal.audit = {QStringLiteral("2026-12-08 09:00:00"), QStringLiteral("Deal saved"),
                  QStringLiteral("RecallDeal"), QVariant(), QVariant(), QVariant(),
                  recall.at(3), salesPeople, QVariant(),
                  AuditTrail::describe(recallColumns, recall), QVariant()};
    return deal;
}

namespace {

void stockSearch(benchmark::State &state, Store &store)
{
    for (auto _ : state) {
        const QString stock = stockNumber(int(store.random() % dealCount())).toLower();
        benchmark::DoNotOptimize(store.deals->findByStockNumber(stock));
    }
}

void customerSearch(benchmark::State &state, Store &store, const char *part)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(store.deals->findByCustomerPart(QString::fromLatin1(part)));
}

void openFinder(benchmark::State &state, Store &store)
{
    for (auto _ : state)
        store.finder->openOnWholeTable();
}

void listUnpaid(benchmark::State &state, Store &store)
{
    for (auto _ : state) {
        const auto rows = store.payments->unpaid(QString::fromLatin1(kSalesPerson), nullptr);
        if (!rows || rows->size() != 1000)
            state.SkipWithError("not 1,000 unpaid rows");
    }
}

void payUnpaid(benchmark::State &state, Store &store)
{
    // As the sheet window pays: every row listed, a bonus, the week ending.
    const SheetPayment::Sheet sheet{.salesPerson = QString::fromLatin1(kSalesPerson),
                                    .rowIds = store.unpaidRowIds(),
                                    .bonus = Money::fromUnits(kBonusUnits),
                                    .weekEnding = QString::fromLatin1(kWeekEnding),
                                    .bonusDescription = QString::fromLatin1(kBonusDescription)};
    if (sheet.rowIds.size() != 1000)
        state.SkipWithError("not 1,000 unpaid rows");
    for (auto _ : state) {
        const SheetPayment::Outcome outcome =
            SheetPayment::pay(*store.database, store.dataFilePath(), sheet);
        state.PauseTiming();
        if (!outcome.paid || !outcome.fileWritten)
            state.SkipWithError(qPrintable(outcome.error));
        Store::unpay(store.database->connection(), outcome.sheetId);
        state.ResumeTiming();
    }
}

void saveDeal(benchmark::State &state, Store &store)
{
    for (auto _ : state) {
        state.PauseTiming();
        const Deal deal = generatedDeal(store.next++, store.random);
        state.ResumeTiming();
        if (!store.deals->save(deal, nullptr))
            state.SkipWithError("save failed");
    }
}

} // namespace

namespace {

benchmark::internal::Benchmark *add(const std::string &name,
                                    std::function<void(benchmark::State &)> function,
                                    benchmark::TimeUnit unit)
{
    return benchmark::RegisterBenchmark(name.c_str(), std::move(function))
        ->Unit(unit)
        ->Repetitions(qEnvironmentVariableIsSet("TARVEX_BENCH_ROUNDS") ? 1 : 3)
        ->DisplayAggregatesOnly(true)
        ->UseRealTime();
}

// The iterations of an item written to the database: `usual`, or the number
// in TARVEX_BENCH_ROUNDS (then one repetition of each item), for a run under
// callgrind.
int rounds(int usual)
{
    const int given = qEnvironmentVariableIntValue("TARVEX_BENCH_ROUNDS");
    return given > 0 ? given : usual;
}

} // namespace

Items itemsOf(Store &store)
{
    Store *s = &store;
    return {[s](benchmark::State &st) { stockSearch(st, *s); },
            [s](benchmark::State &st, const char *part) { customerSearch(st, *s, part); },
            [s](benchmark::State &st) { openFinder(st, *s); },
            [s](benchmark::State &st) { listUnpaid(st, *s); },
            [s](benchmark::State &st) { payUnpaid(st, *s); },
            [s](benchmark::State &st) { saveDeal(st, *s); }};
}

void registerReads(const std::string &prefix, const Items &items)
{
    using benchmark::kMicrosecond;
    using benchmark::kMillisecond;
    add(prefix + "/stock search", items.stockSearch, kMicrosecond);
    for (const char *part : kCustomerParts) {
        const auto search = items.customerSearch;
        add(prefix + "/customer search " + part,
            [search, part](benchmark::State &st) { search(st, part); }, kMillisecond);
    }
    add(prefix + "/open finder", items.openFinder, kMillisecond);
    add(prefix + "/list 1000 unpaid", items.listUnpaid, kMillisecond);
    add(prefix + "/pay 1000 unpaid", items.payUnpaid, kMillisecond)->Iterations(rounds(10));
}

void registerSave(const std::string &prefix, const Items &items)
{
    add(prefix + "/save deal", items.saveDeal, benchmark::kMicrosecond)->Iterations(rounds(300));
}

} // namespace StoreItems
