#include "bench_deals.h"

#include "raw_sqlite.h"

#include "store/deal_database.h"
#include "store/deal_rows.h"
#include "store/recall_columns.h"
#include "store/store_schema.h"
#include "store/store_sql.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace BenchDeals {

namespace {

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

std::string insertWithId(const char *table, QStringList columns)
{
    columns << QString::fromLatin1(StoreSchema::kDealId);
    return StoreSql::insertStatement(QString::fromLatin1(table), columns).toStdString();
}

void generate(const QString &path, const Shape &shape)
{
    {
        DealDatabase database(path);
        QString error;
        if (!database.open(&error))
            qFatal("%s", qPrintable(error));
    }
    RawDatabase raw(QFile::encodeName(path).toStdString());
    raw.exec("PRAGMA synchronous = OFF");
    raw.exec("BEGIN");
    using namespace StoreSchema;
    RawStatement recall(raw.get(), insertWithId(kRecallDeal, RecallColumns::names()));
    RawStatement summary(raw.get(),
                         insertWithId(kSalesSummary, columns(QString::fromLatin1(kSalesSummary))));
    RawStatement log(raw.get(), insertWithId(kSalesLog, columns(QString::fromLatin1(kSalesLog))));
    std::mt19937 random(20050307);
    QString error;
    for (int n = 0; n < dealCount(); ++n) {
        const std::optional<DealRows> rows = DealRows::fromDeal(generatedDeal(n, random, shape), &error);
        if (!rows)
            qFatal("%s", qPrintable(error));
        const qint64 id = n + 1;
        recall.bind(rows->recall);
        recall.bindInt(int(rows->recall.size()) + 1, id);
        recall.run();
        for (QVariantList row : rows->summary) {
            row.last() = n < dealCount() - kUnpaid ? 1 : 0; // Paid
            summary.bind(row);
            summary.bindInt(int(row.size()) + 1, id);
            summary.run();
        }
        log.bind(rows->log);
        log.bindInt(int(rows->log.size()) + 1, id);
        log.run();
    }
    raw.exec("COMMIT");
    raw.exec("PRAGMA wal_checkpoint(TRUNCATE)");
}

} // namespace

QString stockNumber(int n)
{
    // About one deal in fifty shares its stock number with another.
    const int key = n % 50 == 49 ? n - 1 : n;
    return QStringLiteral("%1%2").arg(QChar(u'A' + key % 26)).arg(key, 7, 10, QLatin1Char('0'));
}

QString Shape::salesPerson(int index) const
{
    if (salesPeople == 5)
        return QString::fromLatin1(kSalesPeople[index]);
    return QStringLiteral("Salesperson %1").arg(index + 1, 2, 10, QLatin1Char('0'));
}

Deal generatedDeal(int n, std::mt19937 &random, const Shape &shape)
{
    const bool unpaidTail = n >= dealCount() - kUnpaid;
    Deal deal;
    deal.date = shape.firstDay.addDays(n / shape.perDay);
    deal.salesPerson =
        shape.salesPerson(unpaidTail ? n % shape.salesPeople : int(random() % shape.salesPeople));
    // One deal in 100,000 has a name nobody else has.
    deal.customer = n % 100000 == 777 ? QStringLiteral("ANA QUINTERO")
                                      : QString::fromLatin1(pick(kFirstNames, random)) + u' ' +
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
    deal.split = !unpaidTail && n % 5 == 0;
    if (deal.split)
        deal.splitPartner = shape.salesPerson(int(random() % shape.salesPeople));
    return deal;
}

int dealCount()
{
    static const int count = [] {
        bool given = false;
        const int n = qEnvironmentVariableIntValue("TARVEX_BENCH_DEALS", &given);
        return given && n >= kUnpaid ? n : 1000000;
    }();
    return count;
}

QString dataFolder(const QString &folder)
{
    return dealCount() == 1000000 ? folder : folder + QStringLiteral("-%1").arg(dealCount());
}

QString ensureDatabase(const QString &given, const Shape &shape)
{
    const QString folder = dataFolder(given);
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/Sales Log2.mdb");
    if (QFileInfo::exists(path))
        return path;
    // Made under another name and put in place when complete, so that an
    // interrupted run leaves no half-made database to be used next time.
    const QString partial = folder + QStringLiteral("/generating.mdb");
    for (const QString &leftover :
         {partial, partial + QStringLiteral("-wal"), partial + QStringLiteral("-shm")})
        QFile::remove(leftover);
    std::fprintf(stderr, "generating %d deals in %s ...\n", dealCount(), qPrintable(folder));
    QElapsedTimer timer;
    timer.start();
    generate(partial, shape);
    if (!QFile::rename(partial, path))
        qFatal("could not put %s in place", qPrintable(path));
    std::fprintf(stderr, "generated in %.0f s\n", timer.elapsed() / 1000.0);
    return path;
}

} // namespace BenchDeals
