// Two desks paying the same salesperson's deals at the same moment, round
// after round, and a correction racing a payment: every row is paid exactly
// once, by one sheet, and each desk's data.txt holds what that desk paid.
// Each desk is a thread with its own connection, on either engine.
#include "reports/commission_data_file.h"
#include "reports/sheet_payment.h"
#include "store/commission_payments.h"
#include "store/deal_database.h"
#include "store/deal_fingerprint.h"
#include "store/deal_store.h"
#include "second_desk.h"
#include "store_test_support.h"

#include <QFile>
#include <QSqlQuery>

#include <latch>
#include <thread>

namespace {

const QString kSalesPerson = QStringLiteral("John Smith");

class SheetRace : public EngineStoreTest
{
protected:
    // A desk of its own: a connection made on the thread that uses it.
    std::unique_ptr<DealDatabase> openDesk() { return SecondDesk::connectionLike(*m_database); }

    QList<qint64> unpaidRows(DealDatabase &database)
    {
        QString error;
        const auto rows = CommissionPayments(database).unpaid(kSalesPerson, &error);
        EXPECT_TRUE(rows) << error.toStdString();
        QList<qint64> ids;
        for (const SummaryRow &row : rows.value_or(QList<SummaryRow>()))
            ids << row.rowId;
        return ids;
    }

    int paidRowCount()
    {
        return single(*m_database, QStringLiteral("SELECT count(*) FROM \"SalesSummary\" WHERE "
                                                  "\"Paid\" = 1 AND \"SheetId\" IS NOT NULL"))
            .toInt();
    }

    // Pays `rows` at a desk of its own once both desks are ready.
    void payAtDesk(std::latch &ready, const QList<qint64> &rows, const QString &dataFile,
                   SheetPayment::Outcome &outcome)
    {
        const std::unique_ptr<DealDatabase> desk = openDesk();
        QString error;
        if (!desk->open(&error)) {
            outcome.error = error;
            ready.arrive_and_wait();
            return;
        }
        ready.arrive_and_wait();
        outcome = SheetPayment::pay(*desk, dataFile, {kSalesPerson, rows});
    }

    TempProgramFolder m_firstDesk;
    TempProgramFolder m_secondDesk;
};

INSTANTIATE_ON_BOTH_ENGINES(SheetRace);

TEST_P(SheetRace, TwoDesksPayingAtOnceNeverPayARowTwice)
{
    constexpr int kRounds = 8;
    constexpr int kDealsPerRound = 12;
    const QString firstFile =
        m_firstDesk.folder().filePath(QString::fromLatin1(CommissionDataFile::kFileName));
    const QString secondFile =
        m_secondDesk.folder().filePath(QString::fromLatin1(CommissionDataFile::kFileName));
    int paidSoFar = 0;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(round);
        for (int i = 0; i < kDealsPerRound; ++i)
            saved(dealFor(QString::number(40000 + round * 100 + i), QStringLiteral("Ann Lee")));
        // The first desk lists every unpaid deal; the second every other one,
        // so that either may be the one paid.
        const QList<qint64> all = unpaidRows(*m_database);
        ASSERT_EQ(all.size(), kDealsPerRound);
        QList<qint64> some;
        for (qsizetype i = round % 2; i < all.size(); i += 2)
            some << all.at(i);
        const QByteArray firstBefore = m_firstDesk.readBytes(
            QString::fromLatin1(CommissionDataFile::kFileName));
        const QByteArray secondBefore = m_secondDesk.readBytes(
            QString::fromLatin1(CommissionDataFile::kFileName));

        SheetPayment::Outcome first;
        SheetPayment::Outcome second;
        std::latch ready(2);
        std::thread one([&] { payAtDesk(ready, all, firstFile, first); });
        std::thread two([&] { payAtDesk(ready, some, secondFile, second); });
        one.join();
        two.join();

        // Exactly one sheet is paid; the other names rows paid elsewhere and
        // leaves its desk's data.txt as it was.
        ASSERT_NE(first.paid, second.paid) << first.error.toStdString() << " / "
                                           << second.error.toStdString();
        const SheetPayment::Outcome &winner = first.paid ? first : second;
        const SheetPayment::Outcome &loser = first.paid ? second : first;
        EXPECT_FALSE(loser.paidElsewhere.isEmpty()) << loser.error.toStdString();
        EXPECT_TRUE(winner.fileWritten);
        const qsizetype paidNow = first.paid ? all.size() : some.size();
        paidSoFar += int(paidNow);
        EXPECT_EQ(paidRowCount(), paidSoFar);
        EXPECT_EQ(unpaidRows(*m_database).size(), kDealsPerRound - paidNow);

        const QByteArray winnerFile = (first.paid ? m_firstDesk : m_secondDesk)
                                          .readBytes(QString::fromLatin1(
                                              CommissionDataFile::kFileName));
        EXPECT_EQ(winnerFile.count('\n'), paidNow);
        EXPECT_EQ((first.paid ? m_secondDesk : m_firstDesk)
                      .readBytes(QString::fromLatin1(CommissionDataFile::kFileName)),
                  first.paid ? secondBefore : firstBefore);
        // The rest is paid at leisure before the next round.
        const QList<qint64> left = unpaidRows(*m_database);
        if (!left.isEmpty()) {
            const SheetPayment::Outcome rest =
                SheetPayment::pay(*m_database, firstFile, {kSalesPerson, left});
            ASSERT_TRUE(rest.paid) << rest.error.toStdString();
            paidSoFar += int(left.size());
        }
        EXPECT_EQ(paidRowCount(), paidSoFar);
    }
    // No row is on two sheets and every sheet pays what it lists.
    EXPECT_EQ(single(*m_database, QStringLiteral("SELECT count(*) FROM \"SalesSummary\" WHERE "
                                                 "\"Paid\" = 0"))
                  .toInt(),
              0);
}

TEST_P(SheetRace, ACorrectionRacingAPaymentNeverBothGoThrough)
{
    constexpr int kRounds = 8;
    const QString dataFile =
        m_firstDesk.folder().filePath(QString::fromLatin1(CommissionDataFile::kFileName));
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(round);
        const DealId corrected =
            saved(dealFor(QString::number(50000 + round), QStringLiteral("Carl Diaz")));
        saved(dealFor(QStringLiteral("a%1").arg(round), QStringLiteral("Eve Ott")));
        const QList<qint64> listed = unpaidRows(*m_database);
        QString error;
        const std::optional<DealFingerprint> recalled = m_store->fingerprint(corrected, &error);
        ASSERT_TRUE(recalled) << error.toStdString();

        SheetPayment::Outcome payment;
        bool replaced = false;
        QString replaceError;
        std::latch ready(2);
        std::thread payer([&] { payAtDesk(ready, listed, dataFile, payment); });
        std::thread corrector([&] {
            const std::unique_ptr<DealDatabase> desk = openDesk();
            QString why;
            const bool open = desk->open(&why);
            ready.arrive_and_wait();
            if (!open) {
                replaceError = why;
                return;
            }
            DealStore store(*desk);
            replaced = store
                           .replace(corrected, *recalled,
                                    dealFor(QString::number(50000 + round),
                                            QStringLiteral("Carl Diaz Jr")),
                                    &replaceError)
                           .has_value();
        });
        payer.join();
        corrector.join();

        // One of the two wins; the other is refused and writes nothing.
        EXPECT_NE(payment.paid, replaced)
            << payment.error.toStdString() << " / " << replaceError.toStdString();
        const QVariant customer =
            single(*m_database, QStringLiteral("SELECT \"Customer\" FROM \"RecallDeal\" WHERE "
                                               "\"DealId\" = %1")
                                    .arg(corrected));
        EXPECT_EQ(customer.toString(),
                  replaced ? QStringLiteral("CARL DIAZ JR") : QStringLiteral("CARL DIAZ"));
        EXPECT_EQ(unpaidRows(*m_database).isEmpty(), payment.paid);
        // Whatever is still unpaid is paid before the next round.
        const QList<qint64> left = unpaidRows(*m_database);
        if (!left.isEmpty()) {
            ASSERT_TRUE(SheetPayment::pay(*m_database, dataFile, {kSalesPerson, left}).paid);
        }
    }
}

} // namespace
