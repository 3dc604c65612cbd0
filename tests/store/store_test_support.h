#pragma once

#include "store/deal_database.h"
#include "store/deal_store.h"
#include "temp_program_folder.h"
#include "test_server.h"

#include "store/store_engine.h"

#include "pay/pay_plan.h"
#include "worksheet/deal.h"

#include <QSqlRecord>
#include <QVariant>
#include <QString>

#include <gtest/gtest.h>

#include <memory>

// The split deal of the dealership's example: payable gross $3900.00,
// commission $1170.00, warranty $30.00, spiff $50.00, total $1250.00, pack
// $300.00, shared by John Smith and Mary Jones.
Deal splitExampleDeal();

// The same deal sold by John Smith alone.
Deal plainExampleDeal();

// A deal with a given stock number and customer, otherwise the plain example.
Deal dealFor(const QString &stockNumber, const QString &customer);

// Every row of a table, in the order written.
QList<QSqlRecord> tableRows(const DealDatabase &database, const QString &table);
int rowCount(const DealDatabase &database, const QString &table);
// The column names of a table in their order.
QStringList columnsOf(const DealDatabase &database, const QString &table);
// The first value a query gives; fails the test when it gives none.
QVariant single(const DealDatabase &database, const QString &statement);

// The rowids of a salesperson's unpaid SalesSummary rows, oldest first, as
// the commission sheet lists them; fails the test when they cannot be read.
QList<qint64> unpaidRowIds(DealDatabase &database, const QString &salesPerson);

// Runs one statement on the database's connection; fails the test on error.
void execute(const DealDatabase &database, const QString &statement);
// Takes out what the upgrade steps to `version` and later added (7:
// unwinds, chargebacks, holds and draws; 8: volume tiers; 9: payroll
// codes), newest first, as
// a database of the version before lacks them; the caller sets the version
// mark.
void dropStepsFrom(const DealDatabase &database, int version);

// Makes every later insert into `table` fail with `message`, as a full disk
// would, on either engine.
void failInserts(const DealDatabase &database, const QString &table, const QString &message);

// A fresh program folder with an open deal database and a store on it: the
// folder's SQLite file, or a fresh database of the test server.
class StoreTest : public ::testing::Test
{
protected:
    explicit StoreTest(StoreEngine::Engine engine = StoreEngine::Engine::SQLite);

    DealId saved(const Deal &deal);
    // Gives the salesperson a plan from January 1, 2026: 30% of the gross
    // for every class, the mini deal given, a $300.00 pack, and `tiers`.
    void addThirtyPercentPlan(const QString &salesPerson, const QList<VolumeTier> &tiers,
                              Money mini = Money::dollars(150));
    // Rows in SalesSummary, SalesLog and RecallDeal.
    std::array<int, 3> dealTableCounts() const;

    TempProgramFolder m_dir;
    std::unique_ptr<ServerDatabase> m_server; // on the server only
    std::unique_ptr<DealDatabase> m_database;
    std::unique_ptr<DealStore> m_store;
};

// The same tests on each engine: TEST_P(Suite, ...) with
// `using Suite = EngineStoreTest;` (or a class derived from it) and
// INSTANTIATE_ON_BOTH_ENGINES(Suite). The server's runs skip, or fail when
// the run requires the server, where there is no test server.
class EngineStoreTest : public StoreTest,
                        public ::testing::WithParamInterface<StoreEngine::Engine>
{
protected:
    EngineStoreTest() : StoreTest(GetParam()) {}
    void SetUp() override;
};

std::string engineName(const ::testing::TestParamInfo<StoreEngine::Engine> &info);

#define INSTANTIATE_ON_BOTH_ENGINES(Suite)                                                         \
    INSTANTIATE_TEST_SUITE_P(Engines, Suite,                                                       \
                             ::testing::Values(StoreEngine::Engine::SQLite,                        \
                                               StoreEngine::Engine::PostgreSQL),                   \
                             engineName)
