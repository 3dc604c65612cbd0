// Times the deal store on a database of 200,000 generated deals, built once
// per run in a temporary folder: saving and deleting a deal with its commit,
// the two finder searches, loading a deal and the recalled-deal state.
#include "store/deal_database.h"
#include "store/deal_row_writer.h"
#include "store/deal_rows.h"
#include "store/deal_store.h"
#include "store/sql_transaction.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <random>

namespace {

constexpr int kDeals = 200000;

const char *const kFirstNames[] = {"JOHN",    "MARY",    "ROBERT", "LINDA", "JAMES",   "PATRICIA",
                                   "WILLIAM", "BARBARA", "DAVID",  "SUSAN", "RICHARD", "KAREN"};
const char *const kLastNames[] = {"SMITH",  "JOHNSON", "WILLIAMS", "BROWN",  "JONES",
                                  "MILLER", "DAVIS",   "GARCIA",   "WILSON", "ANDERSON",
                                  "TAYLOR", "THOMAS",  "MOORE",    "MARTIN", "JACKSON",
                                  "WHITE",  "HARRIS",  "CLARK",    "LEWIS",  "ROBINSON"};
const char *const kSalesPeople[] = {"Al Baker", "Cy Dunn", "Ed Fox", "Gil Hart", "Ike Jones"};
const char *const kUnits[] = {"Explorer Spt", "F-150 XLT", "Taurus SE", "Ranger", "Focus ZX3"};
const char *const kClasses[] = {"NC", "NT", "UC", "UT"};

template <typename T, size_t N> const T &pick(const T (&items)[N], std::mt19937 &random)
{
    return items[random() % N];
}

QString stockNumber(int n)
{
    // About one deal in fifty shares its stock number with another.
    const int key = n % 50 == 49 ? n - 1 : n;
    return QStringLiteral("%1%2").arg(QChar(u'A' + key % 26)).arg(key, 6, 10, QLatin1Char('0'));
}

Deal generatedDeal(int n, std::mt19937 &random)
{
    Deal deal;
    deal.date = QDate(2000, 1, 1).addDays(n % 2190);
    deal.salesPerson = QString::fromLatin1(pick(kSalesPeople, random));
    deal.customer = QString::fromLatin1(pick(kFirstNames, random)) + u' ' +
                    QString::fromLatin1(pick(kLastNames, random));
    deal.stockNumber = stockNumber(n);
    deal.year = QString::number(1995 + int(random() % 10));
    deal.unit = QString::fromLatin1(pick(kUnits, random));
    deal.unitClass = QString::fromLatin1(pick(kClasses, random));
    deal.saleType = QStringLiteral("0");
    const int gross = 500 + int(random() % 4000);
    deal.sellingPrice = QString::number(15000 + gross);
    deal.cost = QString::number(14700);
    deal.reductionDescriptions[0] = QStringLiteral("Dealer Cash");
    deal.reductionAmounts[0] = QStringLiteral("$500.00");
    deal.additionDescriptions[0] = QStringLiteral("Stripe");
    deal.additionAmounts[0] = QStringLiteral("200");
    deal.pack = QStringLiteral("$300.00");
    deal.commissionRate = QStringLiteral("30%");
    deal.payableGross = QStringLiteral("$%1.00").arg(gross);
    deal.commission = QStringLiteral("$%1.00").arg(gross * 3 / 10);
    deal.warranty = QStringLiteral("0");
    deal.spiff = QStringLiteral("0");
    deal.totalCommission = deal.commission;
    deal.split = n % 5 == 0;
    if (deal.split)
        deal.splitPartner = QString::fromLatin1(pick(kSalesPeople, random));
    return deal;
}

// The database shared by every benchmark of the run.
struct Fixture
{
    QTemporaryDir dir;
    std::unique_ptr<DealDatabase> database;
    std::unique_ptr<DealStore> store;
    QList<DealId> ids;
    std::mt19937 random{20050307};

    Fixture()
    {
        database = std::make_unique<DealDatabase>(ProgramFolder(dir.path()));
        QString error;
        if (!database->open(&error))
            qFatal("%s", qPrintable(error));
        store = std::make_unique<DealStore>(*database);
        {
            SqlTransaction transaction(database->connection());
            DealRowWriter writer(database->connection());
            if (!transaction.begin(&error))
                qFatal("%s", qPrintable(error));
            for (int n = 0; n < kDeals; ++n) {
                const std::optional<DealRows> rows =
                    DealRows::fromDeal(generatedDeal(n, random), &error);
                if (!rows || !writer.insert(*rows, std::nullopt, &error))
                    qFatal("%s", qPrintable(error));
            }
            // Older deals have been paid.
            QSqlQuery paid(database->connection());
            paid.exec(QStringLiteral("UPDATE SalesSummary SET Paid = 1 WHERE Date < '2005-01-01'"));
            if (!transaction.commit(&error))
                qFatal("%s", qPrintable(error));
        }
        ids = store->allDeals();
        std::fprintf(stderr, "generated %lld deals in %s\n", qlonglong(ids.size()),
                     qPrintable(dir.path()));
    }

    DealId anyDeal() { return ids.at(qsizetype(random() % quint32(ids.size()))); }
};

Fixture &fixture()
{
    static Fixture shared;
    return shared;
}

int g_next = kDeals;

void saveDeal(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        const Deal deal = generatedDeal(g_next++, f.random);
        benchmark::DoNotOptimize(f.store->save(deal, nullptr));
    }
}

void deleteDeal(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        state.PauseTiming();
        const std::optional<DealId> id = f.store->save(generatedDeal(g_next++, f.random), nullptr);
        state.ResumeTiming();
        if (!id || !f.store->remove(*id, nullptr))
            state.SkipWithError("delete failed");
    }
}

void findByStockNumber(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        const QString stock = stockNumber(int(f.random() % kDeals)).toLower();
        benchmark::DoNotOptimize(f.store->findByStockNumber(stock));
    }
}

void findByCustomerPart(benchmark::State &state)
{
    Fixture &f = fixture();
    const char *const parts[] = {"smi", "ander", "rob", "xyz"};
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(f.store->findByCustomerPart(QString::fromLatin1(parts[i++ % 4])));
}

void recalledDealState(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(f.store->recalledDealState(f.anyDeal()));
}

void loadDeal(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(f.store->loadDeal(f.anyDeal()));
}

void registerAll()
{
    const auto timed = [](benchmark::internal::Benchmark *b, benchmark::TimeUnit unit) {
        b->Unit(unit)->Repetitions(5)->DisplayAggregatesOnly(true)->UseRealTime();
    };
    timed(benchmark::RegisterBenchmark("save deal with commit", saveDeal), benchmark::kMillisecond);
    timed(benchmark::RegisterBenchmark("delete deal with commit", deleteDeal),
          benchmark::kMillisecond);
    timed(benchmark::RegisterBenchmark("find by stock number", findByStockNumber),
          benchmark::kMicrosecond);
    timed(benchmark::RegisterBenchmark("find by customer part", findByCustomerPart),
          benchmark::kMillisecond);
    timed(benchmark::RegisterBenchmark("recalled deal state", recalledDealState),
          benchmark::kMicrosecond);
    timed(benchmark::RegisterBenchmark("load deal", loadDeal), benchmark::kMicrosecond);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    registerAll();
    fixture(); // generate before any timing starts
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
