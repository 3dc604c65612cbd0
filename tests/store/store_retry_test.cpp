// A transaction the server breaks off is run again; a lost connection is
// opened again at the next action, after telling the user once; failures
// are told on one line and never without a reason.
#include "reports/sheet_payment.h"
#include "store/commission_payments.h"
#include "store/deal_database.h"
#include "store/deal_store.h"
#include "store/sql_transaction.h"
#include "store/store_sql.h"
#include "own_server.h"
#include "store_test_support.h"

#include <QSqlQuery>
#include <QTemporaryDir>

namespace {

TEST(StoreErrorText, IsTheDatabasesMessageOnOneLineAndNeverEmpty)
{
    const QSqlError server(QStringLiteral("driver text"),
                           QStringLiteral("ERROR:  duplicate key value\nDETAIL:  Key (\"DealId\")"
                                          "=(7) already exists.\n"),
                           QSqlError::StatementError, QStringLiteral("23505"));
    EXPECT_EQ(StoreSql::errorText(server),
              QStringLiteral("ERROR: duplicate key value DETAIL: Key (\"DealId\")=(7) already "
                             "exists."));
    const QSqlError silent(QString(), QString(), QSqlError::ConnectionError);
    EXPECT_EQ(StoreSql::errorText(silent),
              QStringLiteral("the database gave no reason (the connection to it may have been "
                             "lost)"));
}

TEST(StoreErrorText, KnowsTheServersConflictsLockWaitsAndLostConnections)
{
    const auto faultOf = [](const char *state) {
        return StoreSql::faultOf(QSqlError(QString(), QStringLiteral("x"),
                                           QSqlError::StatementError, QString::fromLatin1(state)));
    };
    EXPECT_EQ(faultOf("40P01"), StoreSql::Fault::Conflict);
    EXPECT_EQ(faultOf("40001"), StoreSql::Fault::Conflict);
    EXPECT_EQ(faultOf("55P03"), StoreSql::Fault::LockWait);
    EXPECT_EQ(faultOf("57P01"), StoreSql::Fault::Connection);
    EXPECT_EQ(faultOf("08006"), StoreSql::Fault::Connection);
    EXPECT_EQ(faultOf("23505"), StoreSql::Fault::Data);
}

class ServerTransact : public StoreTest
{
protected:
    ServerTransact() : StoreTest(StoreEngine::Engine::PostgreSQL) {}
    void SetUp() override { SKIP_WITHOUT_TEST_SERVER(); }

    // One attempt that writes a row and then fails with `state` while
    // `failures` lasts.
    std::function<bool()> attempt(const char *state, int &failures, int &runs, QString &error)
    {
        return [this, state, &failures, &runs, &error] {
            ++runs;
            SqlTransaction transaction(m_database->connection());
            if (!transaction.begin(&error))
                return false;
            QSqlQuery query(m_database->connection());
            if (!query.exec(
                    QStringLiteral("INSERT INTO \"SalesPersons\" (\"Name\") VALUES ('RUN')"))) {
                error = StoreSql::errorText(query.lastError());
                return false;
            }
            if (failures > 0) {
                --failures;
                query.exec(QStringLiteral("DO $$ BEGIN RAISE EXCEPTION 'broken off' USING "
                                          "ERRCODE = '%1'; END $$")
                               .arg(QLatin1String(state)));
                error = StoreSql::errorText(query.lastError());
                return false;
            }
            return transaction.commit(&error);
        };
    }

    int runsKept()
    {
        return single(*m_database,
                      QStringLiteral("SELECT count(*) FROM \"SalesPersons\" WHERE \"Name\" = 'RUN'"))
            .toInt();
    }
};

TEST_F(ServerTransact, ADeadlockIsRunAgainFromACleanStart)
{
    int failures = 2;
    int runs = 0;
    QString error;
    EXPECT_TRUE(m_database->transact(attempt("40P01", failures, runs, error), &error))
        << error.toStdString();
    EXPECT_EQ(runs, 3);
    EXPECT_EQ(runsKept(), 1); // the broken-off attempts left nothing
}

TEST_F(ServerTransact, AConflictThatLastsIsToldInTheProgramsWordsWithoutTheServersText)
{
    int failures = 100;
    int runs = 0;
    QString error;
    EXPECT_FALSE(m_database->transact(attempt("40001", failures, runs, error), &error));
    EXPECT_EQ(runs, 4);
    EXPECT_EQ(error, QStringLiteral("another desk was changing the same deal at the same moment. "
                                    "Please try again."));
    EXPECT_EQ(m_database->lastFault(), StoreSql::Fault::Conflict);
    EXPECT_EQ(runsKept(), 0);
}

TEST_F(ServerTransact, AnyOtherFailureIsNotRunAgain)
{
    int failures = 100;
    int runs = 0;
    QString error;
    EXPECT_FALSE(m_database->transact(attempt("23505", failures, runs, error), &error));
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(error.startsWith(QStringLiteral("ERROR: broken off"))) << error.toStdString();
    EXPECT_FALSE(error.contains(u'\n'));
    EXPECT_EQ(runsKept(), 0);
}

TEST(ServerRestart, EveryActionAfterARestartSucceedsAndTheUserIsToldOnce)
{
    SKIP_WITHOUT_TEST_SERVER();
    OwnServer server;
    ASSERT_NE(server.settings().port, 0);
    DealDatabase database(server.settings());
    QString error;
    ASSERT_TRUE(database.open(&error)) << error.toStdString();
    QStringList told;
    database.setConnectionNotice([&](const QString &notice) { told << notice; });
    DealStore store(database);
    Deal first = dealFor(QStringLiteral("31337"), QStringLiteral("Renée Faure"));
    first.salesPerson = QStringLiteral("John Smith");
    ASSERT_TRUE(store.save(first, &error)) << error.toStdString();

    // A save: the connection is found lost, opened again, and the save made.
    ASSERT_TRUE(server.restart());
    const std::optional<DealId> second =
        store.save(dealFor(QStringLiteral("R2"), QStringLiteral("Ola Berg")), &error);
    EXPECT_TRUE(second) << error.toStdString();
    EXPECT_EQ(told, QStringList{QStringLiteral("The connection to the deal database server was "
                                               "lost. It is being restored.")});

    // A read, then a sheet.
    ASSERT_TRUE(server.restart());
    const auto unpaid = CommissionPayments(database).unpaid(QStringLiteral("John Smith"), &error);
    ASSERT_TRUE(unpaid) << error.toStdString();
    EXPECT_EQ(unpaid->size(), 2);
    ASSERT_TRUE(server.restart());
    QTemporaryDir folder;
    const SheetPayment::Outcome paid = SheetPayment::pay(
        database, folder.filePath(QStringLiteral("data.txt")),
        {QStringLiteral("John Smith"), {unpaid->first().rowId}});
    EXPECT_TRUE(paid.paid) << paid.error.toStdString();
    EXPECT_EQ(told.size(), 3);

    // A delete, and each deal exactly once.
    ASSERT_TRUE(server.restart());
    EXPECT_TRUE(store.remove(*second, &error)) << error.toStdString();
    EXPECT_EQ(single(database, QStringLiteral("SELECT count(*) FROM \"RecallDeal\"")).toInt(), 1);
    EXPECT_EQ(single(database, QStringLiteral("SELECT count(*) FROM \"Audit\" WHERE \"Action\" = "
                                              "'Sheet paid'"))
                  .toInt(),
              1);
    EXPECT_EQ(told.size(), 4);
}

TEST(ServerRestart, AReadWhileTheServerIsDownSaysWhyAndSucceedsOnceItIsBack)
{
    SKIP_WITHOUT_TEST_SERVER();
    OwnServer server;
    ASSERT_NE(server.settings().port, 0);
    DealDatabase database(server.settings());
    QString error;
    ASSERT_TRUE(database.open(&error)) << error.toStdString();
    DealStore store(database);
    Deal deal = dealFor(QStringLiteral("4411"), QStringLiteral("Sørina Vidal"));
    deal.salesPerson = QStringLiteral("Zoë Ávila");
    ASSERT_TRUE(store.save(deal, &error)) << error.toStdString();

    ASSERT_TRUE(server.pause());
    const QString down = QStringLiteral("The connection to the deal database server was lost and "
                                        "could not be restored yet; try again in a moment. (");
    QString listError;
    EXPECT_FALSE(CommissionPayments(database).unpaid(QStringLiteral("Zoë Ávila"), &listError));
    EXPECT_TRUE(listError.startsWith(down)) << listError.toStdString();
    EXPECT_FALSE(listError.contains(u'\n'));
    QString findError;
    EXPECT_TRUE(store.findByStockNumber(QStringLiteral("4411"), &findError).isEmpty());
    EXPECT_TRUE(findError.startsWith(down)) << findError.toStdString();

    ASSERT_TRUE(server.resume());
    QString backError;
    const auto unpaid =
        CommissionPayments(database).unpaid(QStringLiteral("Zoë Ávila"), &backError);
    ASSERT_TRUE(unpaid) << backError.toStdString();
    EXPECT_EQ(unpaid->size(), 1);
    EXPECT_EQ(store.findByStockNumber(QStringLiteral("4411"), &backError).size(), 1);
}

} // namespace
