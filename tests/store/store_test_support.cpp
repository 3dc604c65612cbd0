#include "store_test_support.h"

#include "store/pay_plan_store.h"

#include "store/commission_payments.h"
#include "store/store_sql.h"

#include <QSqlError>
#include <QSqlQuery>

Deal plainExampleDeal()
{
    Deal deal;
    deal.date = QDate(2005, 3, 7);
    deal.salesPerson = QStringLiteral("John Smith");
    deal.customer = QStringLiteral("Bob Brown");
    deal.stockNumber = QStringLiteral("a1234");
    deal.year = QStringLiteral("2004");
    deal.unit = QStringLiteral("Explorer Spt");
    deal.unitClass = QStringLiteral("NT");
    deal.saleType = QStringLiteral("0");
    deal.sellingPrice = QStringLiteral("25000");
    deal.cost = QStringLiteral("20500");
    deal.pack = QStringLiteral("$300.00");
    deal.commissionRate = QStringLiteral("30%");
    deal.warrantySold = true;
    deal.payableGross = QStringLiteral("$3900.00");
    deal.commission = QStringLiteral("$1170.00");
    deal.warranty = QStringLiteral("30");
    deal.spiff = QStringLiteral("50");
    deal.totalCommission = QStringLiteral("$1250.00");
    return deal;
}

Deal splitExampleDeal()
{
    Deal deal = plainExampleDeal();
    deal.split = true;
    deal.splitPartner = QStringLiteral("Mary Jones");
    return deal;
}

Deal dealFor(const QString &stockNumber, const QString &customer)
{
    Deal deal = plainExampleDeal();
    deal.stockNumber = stockNumber;
    deal.customer = customer;
    return deal;
}

QList<QSqlRecord> tableRows(const DealDatabase &database, const QString &table)
{
    QSqlQuery query(database.connection());
    QList<QSqlRecord> rows;
    // The table's own columns (the server's rowid is not one of them), in
    // the order written; a date reads as its ISO text on either engine.
    const QString order = table == QLatin1String("RecallDeal") ? QStringLiteral("\"DealId\"")
                                                                : QStringLiteral("rowid");
    if (!query.exec(QStringLiteral("SELECT %1 FROM \"%2\" ORDER BY %3")
                        .arg(StoreSql::columnList(columnsOf(database, table)), table, order))) {
        ADD_FAILURE() << query.lastError().text().toStdString();
        return rows;
    }
    while (query.next()) {
        QSqlRecord record = query.record();
        for (int i = 0; i < record.count(); ++i) {
            if (record.value(i).typeId() == QMetaType::QDate)
                record.setValue(i, record.value(i).toDate().toString(Qt::ISODate));
        }
        rows << record;
    }
    return rows;
}

int rowCount(const DealDatabase &database, const QString &table)
{
    return int(tableRows(database, table).size());
}

void execute(const DealDatabase &database, const QString &statement)
{
    QSqlQuery query(database.connection());
    EXPECT_TRUE(query.exec(statement))
        << statement.toStdString() << ": " << query.lastError().text().toStdString();
}

StoreTest::StoreTest(StoreEngine::Engine engine)
    : m_database(openTestDatabase(engine, m_dir.folder(), m_server))
{
    // Without a server SetUp() skips the test before it runs.
    if (m_database)
        m_store = std::make_unique<DealStore>(*m_database);
}

void EngineStoreTest::SetUp()
{
    if (GetParam() == StoreEngine::Engine::PostgreSQL)
        SKIP_WITHOUT_TEST_SERVER();
}

std::string engineName(const ::testing::TestParamInfo<StoreEngine::Engine> &info)
{
    return info.param == StoreEngine::Engine::SQLite ? "SQLite" : "PostgreSQL";
}

DealId StoreTest::saved(const Deal &deal)
{
    QString error;
    const std::optional<DealId> id = m_store->save(deal, &error);
    EXPECT_TRUE(id.has_value()) << error.toStdString();
    return id.value_or(-1);
}

void StoreTest::addThirtyPercentPlan(const QString &salesPerson, const QList<VolumeTier> &tiers,
                                     Money mini)
{
    PayPlanVersion plan;
    plan.salesPerson = salesPerson;
    plan.effectiveFrom = QDate(2026, 1, 1);
    for (PlanTerms &terms : plan.terms) {
        terms.percent = Money::dollars(30);
        terms.mini = mini;
        terms.pack = Money::dollars(300);
    }
    plan.tiers = tiers;
    QString error;
    ASSERT_TRUE(PayPlanStore(*m_database).add(plan, &error)) << error.toStdString();
}

std::array<int, 3> StoreTest::dealTableCounts() const
{
    return {rowCount(*m_database, QStringLiteral("SalesSummary")),
            rowCount(*m_database, QStringLiteral("SalesLog")),
            rowCount(*m_database, QStringLiteral("RecallDeal"))};
}

QVariant single(const DealDatabase &database, const QString &statement)
{
    QSqlQuery query(database.connection());
    EXPECT_TRUE(query.exec(statement) && query.next()) << statement.toStdString();
    return query.value(0);
}

QStringList columnsOf(const DealDatabase &database, const QString &table)
{
    QSqlDatabase db = database.connection();
    QString error;
    const std::optional<QStringList> names = StoreEngine::columnsOf(db, table, &error);
    EXPECT_TRUE(names.has_value()) << error.toStdString();
    return names.value_or(QStringList());
}

void failInserts(const DealDatabase &database, const QString &table, const QString &message)
{
    // The message is the tests' own constant text, without quotes.
    if (database.engine() == StoreEngine::Engine::SQLite) {
        execute(database, QStringLiteral("CREATE TEMP TRIGGER fail BEFORE INSERT ON \"%1\" "
                                         "BEGIN SELECT RAISE(ABORT, '%2'); END")
                              .arg(table, message));
        return;
    }
    execute(database, QStringLiteral("CREATE FUNCTION fail() RETURNS trigger LANGUAGE plpgsql AS "
                                     "$$ BEGIN RAISE EXCEPTION '%1' USING ERRCODE = 'disk_full'; "
                                     "END $$")
                          .arg(message));
    execute(database, QStringLiteral("CREATE TRIGGER fail BEFORE INSERT ON \"%1\" FOR EACH ROW "
                                     "EXECUTE FUNCTION fail()")
                          .arg(table));
}

QList<qint64> unpaidRowIds(DealDatabase &database, const QString &salesPerson)
{
    QString error;
    const auto rows = CommissionPayments(database).unpaid(salesPerson, &error);
    EXPECT_TRUE(rows) << error.toStdString();
    QList<qint64> ids;
    for (const SummaryRow &row : rows.value_or(QList<SummaryRow>()))
        ids << row.rowId;
    return ids;
}

void dropStepsFrom(const DealDatabase &database, int version)
{
    if (version <= 9)
        execute(database, QStringLiteral("DROP TABLE \"PayrollCodes\""));
    if (version > 8)
        return;
    for (const char *statement :
         {"DROP TABLE \"PayPlanTiers\"",
          "ALTER TABLE \"PayPlanVersions\" DROP COLUMN \"TierMode\"",
          "ALTER TABLE \"PayPlanVersions\" DROP COLUMN \"TierClasses\""})
        execute(database, QString::fromLatin1(statement));
    if (version > 7)
        return;
    for (const char *statement :
         {"DROP TABLE \"Holds\"", "DROP INDEX \"Sheets_NetPay\"", "DROP TABLE \"Ledger\"", "DROP TABLE \"Unwinds\"",
          "ALTER TABLE \"Sheets\" DROP COLUMN \"Recovered\"",
          "ALTER TABLE \"Sheets\" DROP COLUMN \"CarriedIn\"",
          "ALTER TABLE \"Sheets\" DROP COLUMN \"NetPay\"",
          "ALTER TABLE \"PayPlanVersions\" DROP COLUMN \"DrawPerMonth\"",
          "ALTER TABLE \"PayPlanVersions\" DROP COLUMN \"DrawRecoverable\""})
        execute(database, QString::fromLatin1(statement));
}
