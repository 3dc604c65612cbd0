// Two desks voiding the same sheet at the same moment, and a sheet that
// meets a correction in a deadlock the server breaks off. Each desk is a
// thread with its own connection.
#include "reports/sheet_payment.h"
#include "store/commission_payments.h"
#include "store/deal_database.h"
#include "store/sheet_records.h"
#include "second_desk.h"
#include "store_test_support.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

#include <latch>
#include <set>
#include <thread>

namespace {

const QString kSalesPerson = QStringLiteral("Zoë Ávila");

class SheetVoidRace : public EngineStoreTest
{
protected:
    QList<qint64> unpaidRows() { return unpaidRowIds(*m_database, kSalesPerson); }

    qint64 paidSheet(const QList<qint64> &rows)
    {
        const SheetPayment::Outcome paid = SheetPayment::pay(
            *m_database, m_dir.folder().filePath(QStringLiteral("data.txt")),
            {kSalesPerson, rows});
        EXPECT_TRUE(paid.paid) << paid.error.toStdString();
        return paid.sheetId;
    }

    int count(const QString &statement) { return single(*m_database, statement).toInt(); }

    // Voids the sheet at a desk of its own once both desks are ready.
    static void voidAtDesk(const DealDatabase &like, std::latch &ready, qint64 sheetId,
                           SheetRecords::VoidOutcome &outcome, QString &error)
    {
        const std::unique_ptr<DealDatabase> desk = SecondDesk::connectionLike(like);
        const bool open = desk->open(&error);
        ready.arrive_and_wait();
        if (open)
            outcome = SheetRecords(desk->connection()).voidSheet(sheetId, &error);
    }
};

INSTANTIATE_ON_BOTH_ENGINES(SheetVoidRace);

TEST_P(SheetVoidRace, OfTwoDesksVoidingOneSheetOnlyOneVoidsIt)
{
    constexpr int kRounds = 8;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(round);
        // Digit-only and lettered stock numbers, three deals a sheet.
        for (int i = 0; i < 3; ++i) {
            Deal deal = dealFor(i == 0 ? QString::number(700 + round)
                                       : QStringLiteral("V%1-%2").arg(round).arg(i),
                                QStringLiteral("Noël Brandt"));
            deal.salesPerson = kSalesPerson;
            saved(deal);
        }
        const QList<qint64> rows = unpaidRows();
        ASSERT_EQ(rows.size(), 3);
        const qint64 sheetId = paidSheet(rows);
        ASSERT_NE(sheetId, 0);

        SheetRecords::VoidOutcome first = SheetRecords::VoidOutcome::Failed;
        SheetRecords::VoidOutcome second = SheetRecords::VoidOutcome::Failed;
        QString firstError;
        QString secondError;
        std::latch ready(2);
        std::thread one([&] { voidAtDesk(*m_database, ready, sheetId, first, firstError); });
        std::thread two([&] { voidAtDesk(*m_database, ready, sheetId, second, secondError); });
        one.join();
        two.join();

        // One voids it; the other is told it was voided already.
        const std::multiset<SheetRecords::VoidOutcome> outcomes{first, second};
        EXPECT_EQ(outcomes, (std::multiset<SheetRecords::VoidOutcome>{
                                SheetRecords::VoidOutcome::Voided,
                                SheetRecords::VoidOutcome::AlreadyVoided}))
            << firstError.toStdString() << " / " << secondError.toStdString();
        // Nothing of it recorded twice: one void entry, one unpaid entry per row.
        const QString ofSheet = QStringLiteral(" AND \"SheetId\" = %1").arg(sheetId);
        EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM \"Audit\" WHERE \"Action\" = "
                                       "'Sheet voided'") +
                        ofSheet),
                  1);
        EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM \"Audit\" WHERE \"Action\" = "
                                       "'Unpaid by void'") +
                        ofSheet),
                  3);
        EXPECT_EQ(unpaidRows(), rows);
        // The rows are paid again on a sheet of their own before the next round.
        paidSheet(rows);
        EXPECT_TRUE(unpaidRows().isEmpty());
    }
}


class ServerSheetDeadlock : public StoreTest
{
protected:
    ServerSheetDeadlock() : StoreTest(StoreEngine::Engine::PostgreSQL) {}
    void SetUp() override { SKIP_WITHOUT_TEST_SERVER(); }
};

// Whether a backend of this database other than `self` waits for a lock.
bool anotherWaits(QSqlDatabase &db, int self)
{
    QSqlQuery query(db);
    return query.exec(QStringLiteral("SELECT count(*) FROM pg_stat_activity WHERE "
                                     "wait_event_type = 'Lock' AND datname = "
                                     "current_database() AND pid <> %1")
                          .arg(self)) &&
           query.next() && query.value(0).toInt() > 0;
}

TEST_F(ServerSheetDeadlock, ASheetBrokenOffInADeadlockIsPaidOnItsNextAttempt)
{
    Deal deal = dealFor(QStringLiteral("8812"), QStringLiteral("Åsa Lind"));
    deal.salesPerson = kSalesPerson;
    const DealId dealId = saved(deal);
    const QList<qint64> rows = [&] {
        QString error;
        const auto unpaid = CommissionPayments(*m_database).unpaid(kSalesPerson, &error);
        EXPECT_TRUE(unpaid) << error.toStdString();
        QList<qint64> ids;
        for (const SummaryRow &row : unpaid.value_or(QList<SummaryRow>()))
            ids << row.rowId;
        return ids;
    }();
    ASSERT_EQ(rows.size(), 1);

    // Another desk holds the deal's row and, once the sheet waits for it,
    // reaches for the deal the sheet holds: a circle the server breaks by
    // ending the sheet's transaction (the other desk waits longer before it
    // looks for one).
    std::latch holding(1);
    QString otherError;
    std::thread other([&] {
        const std::unique_ptr<DealDatabase> desk = SecondDesk::connectionLike(*m_database);
        if (!desk->open(&otherError)) {
            holding.count_down();
            return;
        }
        QSqlDatabase db = desk->connection();
        QSqlQuery query(db);
        query.exec(QStringLiteral("SELECT pg_backend_pid()"));
        query.next();
        const int self = query.value(0).toInt();
        const auto run = [&](const QString &statement) {
            if (!query.exec(statement))
                otherError += query.lastError().text();
        };
        run(QStringLiteral("SET deadlock_timeout = '20s'"));
        run(QStringLiteral("BEGIN"));
        run(QStringLiteral("SELECT 1 FROM \"SalesSummary\" WHERE rowid = %1 FOR UPDATE")
                .arg(rows.first()));
        holding.count_down();
        while (!anotherWaits(db, self))
            QThread::msleep(10);
        run(QStringLiteral("SELECT 1 FROM \"RecallDeal\" WHERE \"DealId\" = %1 FOR UPDATE")
                .arg(dealId));
        run(QStringLiteral("COMMIT"));
    });
    holding.wait();
    int begun = 0;
    const SheetPayment::Outcome paid = SheetPayment::pay(
        *m_database, m_dir.folder().filePath(QStringLiteral("data.txt")), {kSalesPerson, rows},
        {.reached = [&](SheetPayment::Step step) { begun += step == SheetPayment::Step::Begun; }});
    other.join();
    EXPECT_TRUE(otherError.isEmpty()) << otherError.toStdString();
    EXPECT_TRUE(paid.paid) << paid.error.toStdString();
    EXPECT_EQ(begun, 2);
    EXPECT_EQ(single(*m_database, QStringLiteral("SELECT count(*) FROM \"Sheets\"")).toInt(), 1);
    EXPECT_EQ(single(*m_database, QStringLiteral("SELECT count(*) FROM \"Audit\" WHERE "
                                                 "\"Action\" = 'Sheet paid'"))
                  .toInt(),
              1);
}

} // namespace
