// Unwinds, chargebacks, holds and draws on either engine: what a paid deal
// owes back is deducted by the next sheet and the paid sheet never changes;
// held deals are never paid; draws are recovered or written off once.
#include "reports/commission_data_file.h"
#include "reports/sheet_payment.h"
#include "store/audit_trail.h"
#include "store/commission_payments.h"
#include "store/deal_unwinds.h"
#include "store/sales_ledger.h"
#include "store/sheet_records.h"
#include "second_desk.h"
#include "store_test_support.h"
#include "test_printers.h"

#include <latch>
#include <thread>

namespace {

const QString kJohn = QStringLiteral("John Smith");
using Part = UnwindRequest::Part;

Money dollars(qint64 amount)
{
    return Money::dollars(amount);
}

// The plain example without its spiff: $1,170.00 commission and the $30.00
// warranty spiff, $1,200.00 paid.
Deal dealWithoutSpiff(const QString &stockNumber, const QString &customer)
{
    Deal deal = dealFor(stockNumber, customer);
    deal.spiff = QStringLiteral("0");
    deal.totalCommission = QStringLiteral("$1200.00");
    return deal;
}

class SheetLedger : public EngineStoreTest
{
protected:
    QString dataFile() const
    {
        return m_dir.filePath(QString::fromLatin1(CommissionDataFile::kFileName));
    }

    QList<qint64> unpaid(const QString &salesPerson = kJohn)
    {
        return unpaidRowIds(*m_database, salesPerson);
    }

    SheetPayment::Outcome pay(const QString &salesPerson, const QList<qint64> &rows,
                              const QDate &on, const QList<qint64> &chargebacks = {},
                              std::optional<Money> bonus = std::nullopt)
    {
        return SheetPayment::pay(*m_database, dataFile(),
                                 {.salesPerson = salesPerson,
                                  .rowIds = rows,
                                  .bonus = bonus,
                                  .weekEnding = on.toString(QStringLiteral("MM/dd/yyyy")),
                                  .bonusDescription = bonus ? QStringLiteral("Spiff") : QString(),
                                  .chargebackIds = chargebacks,
                                  .on = on});
    }

    // Pays the salesperson's unpaid rows, and fails the test when it cannot.
    qint64 paidSheet(const QString &salesPerson, const QDate &on,
                     const QList<qint64> &chargebacks = {},
                     std::optional<Money> bonus = std::nullopt)
    {
        const SheetPayment::Outcome outcome = pay(salesPerson, unpaid(salesPerson), on,
                                                  chargebacks, bonus);
        EXPECT_TRUE(outcome.paid) << outcome.error.toStdString();
        return outcome.sheetId;
    }

    DealUnwinds::Outcome unwind(DealId deal, Part part, const QString &reason,
                                Money amount = {}, const QDate &on = QDate(2026, 3, 10))
    {
        return DealUnwinds(*m_database)
            .unwind({.deal = deal, .on = on, .reason = reason, .part = part, .amount = amount});
    }

    QList<Chargeback> openChargebacks(const QString &salesPerson = kJohn)
    {
        QString error;
        const auto lines = SalesLedger(*m_database).openChargebacks(salesPerson, &error);
        EXPECT_TRUE(lines) << error.toStdString();
        return lines.value_or(QList<Chargeback>());
    }

    QList<qint64> idsOf(const QList<Chargeback> &lines)
    {
        QList<qint64> ids;
        for (const Chargeback &line : lines)
            ids << line.id;
        return ids;
    }

    RecordedSheet sheet(qint64 id)
    {
        QString error;
        const auto found = SheetRecords(m_database->connection()).find(id, &error);
        EXPECT_TRUE(found) << error.toStdString();
        return found.value_or(RecordedSheet());
    }

    QStringList auditActions()
    {
        QString error;
        const auto records = AuditTrail::read(m_database->connection(), {}, &error);
        EXPECT_TRUE(records) << error.toStdString();
        QStringList actions;
        for (const AuditTrail::Record &record : records.value_or(QList<AuditTrail::Record>()))
            actions.prepend(record.entry.action);
        return actions;
    }
};

INSTANTIATE_ON_BOTH_ENGINES(SheetLedger);

TEST_P(SheetLedger, APaidDealUnwoundIsChargedBackOnTheNextSheetAndThePaidSheetStandsAsPrinted)
{
    const DealId deal = saved(dealWithoutSpiff(QStringLiteral("4410"), QStringLiteral("Zoë Ålund")));
    const qint64 weekOne = paidSheet(kJohn, QDate(2026, 3, 6));
    const RecordedSheet printed = sheet(weekOne);
    EXPECT_EQ(printed.lines, QByteArray("\"ZOË ÅLUND\",\"4410\",\"NT\",3900,1170,0,30,1200\r\n"));

    const DealUnwinds::Outcome unwound = unwind(deal, Part::Whole, QStringLiteral("Returned vehicle"));
    ASSERT_TRUE(unwound.done) << unwound.error.toStdString();
    ASSERT_EQ(unwound.chargebacks.size(), 1);
    EXPECT_EQ(unwound.chargebacks.first().amount, dollars(1200));
    EXPECT_EQ(unwound.chargebacks.first().paidOnSheet, std::optional<qint64>(weekOne));

    const DealUnwinds::Outcome again = unwind(deal, Part::Whole, QStringLiteral("Other: twice"));
    EXPECT_FALSE(again.done);
    EXPECT_EQ(again.error, QStringLiteral("This deal was unwound on 03/10/2026: Returned vehicle. "
                                          "It cannot be unwound again."));

    // Week two lists nothing but the chargeback: a sheet of its own, negative.
    const QList<Chargeback> open = openChargebacks();
    ASSERT_EQ(open.size(), 1);
    EXPECT_EQ(open.first().stockNumber, QStringLiteral("4410"));
    const SheetPayment::Outcome weekTwo = pay(kJohn, {}, QDate(2026, 3, 13), idsOf(open));
    ASSERT_TRUE(weekTwo.paid) << weekTwo.error.toStdString();
    EXPECT_EQ(weekTwo.tally, -dollars(1200));
    EXPECT_EQ(weekTwo.netPay, -dollars(1200));
    EXPECT_EQ(m_dir.readBytes(QStringLiteral("data.txt")),
              QByteArray("\"ZOË ÅLUND\",\"4410\",\"NT\",-3900,-1170,0,-30,-1200\r\n"));
    const RecordedSheet second = sheet(weekTwo.sheetId);
    EXPECT_EQ(second.total, std::optional(-dollars(1200)));
    EXPECT_EQ(second.netPay, std::optional(-dollars(1200)));
    EXPECT_TRUE(openChargebacks().isEmpty());

    // Week one is kept exactly as printed, and cannot be voided now.
    const RecordedSheet reread = sheet(weekOne);
    EXPECT_EQ(reread.lines, printed.lines);
    EXPECT_EQ(reread.total, printed.total);
    EXPECT_EQ(reread.netPay, std::nullopt);
    QString why;
    EXPECT_EQ(SheetRecords(m_database->connection()).voidSheet(weekOne, &why),
              SheetRecords::VoidOutcome::Refused);
    EXPECT_EQ(why, QStringLiteral("Stock # 4410, paid on this sheet, was unwound and charged back "
                                  "since. The sheet cannot be voided; the chargeback stands."));

    // The negative net is deducted once, by the next sheet.
    saved(dealFor(QStringLiteral("4411"), QStringLiteral("Ann Lee")));
    const SheetPayment::Outcome weekThree = pay(kJohn, unpaid(), QDate(2026, 3, 20));
    ASSERT_TRUE(weekThree.paid) << weekThree.error.toStdString();
    EXPECT_EQ(weekThree.tally, dollars(1250));
    EXPECT_EQ(weekThree.netPay, dollars(50));
    EXPECT_EQ(sheet(weekThree.sheetId).carriedIn, std::optional(dollars(1200)));
    saved(dealFor(QStringLiteral("4412"), QStringLiteral("Ann Lee")));
    EXPECT_EQ(pay(kJohn, unpaid(), QDate(2026, 3, 27)).netPay, dollars(1250));

    // Voiding week two would take back a negative net week three deducted.
    EXPECT_EQ(SheetRecords(m_database->connection()).voidSheet(weekTwo.sheetId, &why),
              SheetRecords::VoidOutcome::Refused);
    EXPECT_EQ(why, QStringLiteral("This sheet's negative net pay was deducted on sheet %1. Void "
                                  "sheet %1 first.")
                       .arg(weekThree.sheetId));
    EXPECT_TRUE(auditActions().contains(QStringLiteral("Deal unwound")));
    EXPECT_TRUE(auditActions().contains(QStringLiteral("Chargeback")));
}

TEST_P(SheetLedger, ASplitDealUnwoundChargesEachSalespersonTheirOwnShare)
{
    Deal deal = splitExampleDeal();
    deal.stockNumber = QStringLiteral("T-88");
    const DealId id = saved(deal);
    const qint64 johns = paidSheet(kJohn, QDate(2026, 3, 6));
    const qint64 marys = paidSheet(QStringLiteral("Mary Jones"), QDate(2026, 3, 6));

    const DealUnwinds::Outcome unwound =
        unwind(id, Part::Whole, QStringLiteral("Finance rejected"));
    ASSERT_TRUE(unwound.done) << unwound.error.toStdString();
    const QList<Chargeback> john = openChargebacks();
    const QList<Chargeback> mary = openChargebacks(QStringLiteral("mary jones"));
    ASSERT_EQ(john.size(), 1);
    ASSERT_EQ(mary.size(), 1);
    EXPECT_EQ(john.first().amount, dollars(625));
    EXPECT_EQ(john.first().paidOnSheet, std::optional(johns));
    EXPECT_EQ(mary.first().amount, dollars(625));
    EXPECT_EQ(mary.first().paidOnSheet, std::optional(marys));
    EXPECT_EQ(mary.first().commission, dollars(585));
    EXPECT_EQ(mary.first().salesPerson, QStringLiteral("MARY JONES"));
}

TEST_P(SheetLedger, PartialChargebacksNeverAddUpPastWhatWasPaid)
{
    const DealId unpaidDeal = saved(dealWithoutSpiff(QStringLiteral("7001"), QStringLiteral("Ann Lee")));
    const DealUnwinds::Outcome early =
        unwind(unpaidDeal, Part::WarrantySpiff, QStringLiteral("Product cancelled"));
    EXPECT_FALSE(early.done);
    EXPECT_EQ(early.error, QStringLiteral("This deal is not paid yet: correct it on the worksheet "
                                          "rather than unwind a part of it."));

    paidSheet(kJohn, QDate(2026, 3, 6));
    const DealUnwinds::Outcome warranty =
        unwind(unpaidDeal, Part::WarrantySpiff, QStringLiteral("Product cancelled"));
    ASSERT_TRUE(warranty.done) << warranty.error.toStdString();
    ASSERT_EQ(warranty.chargebacks.size(), 1);
    EXPECT_EQ(warranty.chargebacks.first().amount, dollars(30));
    EXPECT_EQ(warranty.chargebacks.first().warranty, dollars(30));

    const DealUnwinds::Outcome tooMuch = unwind(unpaidDeal, Part::Amount,
                                                QStringLiteral("Other: goodwill"), dollars(1200));
    EXPECT_FALSE(tooMuch.done);
    EXPECT_EQ(tooMuch.error, QStringLiteral("A chargeback of $1,200.00 is more than the $1,170.00 "
                                            "of this deal's $1,200.00 paid that is still open to "
                                            "be charged back."));
    const DealUnwinds::Outcome warrantyAgain =
        unwind(unpaidDeal, Part::WarrantySpiff, QStringLiteral("Product cancelled"));
    EXPECT_EQ(warrantyAgain.error,
              QStringLiteral("Nothing of the warranty spiff of this deal is left to charge back."));

    // The whole unwind takes back what is still open, figure by figure.
    const DealUnwinds::Outcome rest = unwind(unpaidDeal, Part::Whole, QStringLiteral("Returned vehicle"));
    ASSERT_TRUE(rest.done) << rest.error.toStdString();
    ASSERT_EQ(rest.chargebacks.size(), 1);
    EXPECT_EQ(rest.chargebacks.first().amount, dollars(1170));
    EXPECT_EQ(rest.chargebacks.first().commission, dollars(1170));
    EXPECT_EQ(rest.chargebacks.first().warranty, Money());
    EXPECT_EQ(single(*m_database, QStringLiteral("SELECT sum(\"Amount\") FROM \"Ledger\" WHERE "
                                                 "\"Kind\" = 'Chargeback'"))
                  .toLongLong(),
              dollars(1200).units());
    EXPECT_EQ(single(*m_database, QStringLiteral("SELECT count(*) FROM \"Unwinds\"")).toInt(), 2);
}

TEST_P(SheetLedger, AnUnpaidDealUnwoundLeavesEverySheetAndCannotBeChangedOrDeleted)
{
    const DealId deal = saved(dealFor(QStringLiteral("12345"), QStringLiteral("Renée Côté")));
    const DealUnwinds::Outcome unwound = unwind(deal, Part::Whole, QStringLiteral("Finance rejected"));
    ASSERT_TRUE(unwound.done) << unwound.error.toStdString();
    EXPECT_TRUE(unwound.chargebacks.isEmpty());
    EXPECT_EQ(unwound.rowsTakenOff, 1);
    EXPECT_TRUE(unpaid().isEmpty());
    EXPECT_TRUE(openChargebacks().isEmpty());

    QString error;
    EXPECT_FALSE(m_store->replace(deal, dealFor(QStringLiteral("12345"), QStringLiteral("X")),
                                  &error));
    EXPECT_EQ(error, QStringLiteral("The deal was not saved: This deal was unwound on 03/10/2026: "
                                    "Finance rejected. It cannot be changed."));
    EXPECT_FALSE(m_store->remove(deal, &error));
    EXPECT_EQ(error, QStringLiteral("This deal was unwound on 03/10/2026: Finance rejected. It "
                                    "cannot be deleted."));
    EXPECT_EQ(dealTableCounts(), (std::array<int, 3>{1, 1, 1}));
}

TEST_P(SheetLedger, AHeldDealIsNeverPaidAndAfterItsReleaseIsPaidOnce)
{
    saved(dealFor(QStringLiteral("H1"), QStringLiteral("Ann Lee")));
    saved(dealFor(QStringLiteral("H2"), QStringLiteral("Bo Ek")));
    const QList<qint64> listed = unpaid();
    ASSERT_EQ(listed.size(), 2);
    SalesLedger ledger(*m_database);
    QString error;
    EXPECT_FALSE(ledger.hold(listed.first(), QStringLiteral(" "), &error));
    EXPECT_EQ(error, QStringLiteral("Give the reason the deal is held."));
    ASSERT_TRUE(ledger.hold(listed.first(), QStringLiteral("Title not in"), &error))
        << error.toStdString();
    EXPECT_FALSE(ledger.hold(listed.first(), QStringLiteral("Again"), &error));
    EXPECT_EQ(error, QStringLiteral("The deal is held already."));
    EXPECT_EQ(unpaid(), QList<qint64>{listed.last()});
    const auto held = ledger.held(QStringLiteral("JOHN SMITH"), &error);
    ASSERT_TRUE(held) << error.toStdString();
    ASSERT_EQ(held->size(), 1);
    EXPECT_EQ(held->first().row.rowId, listed.first());
    EXPECT_EQ(held->first().reason, QStringLiteral("Title not in"));

    // A list shown before the hold pays nothing.
    const SheetPayment::Outcome stale = pay(kJohn, listed, QDate(2026, 3, 6));
    EXPECT_FALSE(stale.paid);
    EXPECT_EQ(stale.paidElsewhere, QList<qint64>{listed.first()});
    EXPECT_EQ(single(*m_database, QStringLiteral("SELECT count(*) FROM \"SalesSummary\" WHERE "
                                                 "\"Paid\" = 1"))
                  .toInt(),
              0);

    ASSERT_TRUE(ledger.release(listed.first(), &error)) << error.toStdString();
    EXPECT_FALSE(ledger.release(listed.first(), &error));
    EXPECT_EQ(unpaid(), listed);
    ASSERT_TRUE(pay(kJohn, listed, QDate(2026, 3, 6)).paid);
    const SheetPayment::Outcome twice = pay(kJohn, {listed.first()}, QDate(2026, 3, 13));
    EXPECT_FALSE(twice.paid);
    EXPECT_FALSE(ledger.hold(listed.first(), QStringLiteral("Late"), &error));
    EXPECT_EQ(error, QStringLiteral("The deal was paid or removed at another desk; it is not held."));
    const QStringList actions = auditActions();
    EXPECT_EQ(actions.count(QStringLiteral("Deal held")), 1);
    EXPECT_EQ(actions.count(QStringLiteral("Deal released")), 1);
}

// $2,000 advanced in March against $1,500 earned: a recoverable draw carries
// $500.00 into April and is deducted once; one not recoverable is written
// off at April's first sheet.
TEST_P(SheetLedger, ADrawIsRecoveredFromTheSheetsOrWrittenOffAtTheMonthsEnd)
{
    const QString zoe = QStringLiteral("Zoë Ålund");
    SalesLedger ledger(*m_database);
    QString error;
    ASSERT_TRUE(ledger.recordDraw(kJohn, QDate(2026, 3, 2), dollars(2000), true, &error))
        << error.toStdString();
    ASSERT_TRUE(ledger.recordDraw(zoe, QDate(2026, 3, 2), dollars(2000), false, &error))
        << error.toStdString();
    EXPECT_FALSE(ledger.recordDraw(zoe, QDate(2026, 3, 2), Money(), false, &error));
    EXPECT_EQ(error, QStringLiteral("A draw needs a date and an amount above $0.00."));

    for (const QString &who : {kJohn, zoe}) {
        SCOPED_TRACE(who.toStdString());
        const bool recoverable = who == kJohn;
        const auto deal = [&](const QString &stock) {
            Deal sold = dealFor(stock, QStringLiteral("Ann Lee"));
            sold.salesPerson = who;
            saved(sold);
        };
        deal(QStringLiteral("M1") + who.left(1));
        const SheetPayment::Outcome march =
            pay(who, unpaid(who), QDate(2026, 3, 27), {}, dollars(250));
        ASSERT_TRUE(march.paid) << march.error.toStdString();
        EXPECT_EQ(march.netPay, Money());
        EXPECT_EQ(sheet(march.sheetId).recovered, std::optional(dollars(1500)));

        deal(QStringLiteral("A1") + who.left(1));
        const SheetPayment::Outcome april = pay(who, unpaid(who), QDate(2026, 4, 3));
        ASSERT_TRUE(april.paid) << april.error.toStdString();
        EXPECT_EQ(april.netPay, recoverable ? dollars(750) : dollars(1250));
        EXPECT_EQ(sheet(april.sheetId).recovered, std::optional(recoverable ? dollars(500) : Money()));

        deal(QStringLiteral("A2") + who.left(1));
        const SheetPayment::Outcome later = pay(who, unpaid(who), QDate(2026, 4, 10));
        EXPECT_EQ(later.netPay, dollars(1250));
        EXPECT_EQ(sheet(later.sheetId).netPay, std::nullopt); // a sheet as always printed
        const auto draws = ledger.openDraws(who, &error);
        ASSERT_TRUE(draws) << error.toStdString();
        EXPECT_TRUE(draws->isEmpty());
    }
    EXPECT_EQ(single(*m_database, QStringLiteral("SELECT sum(\"Amount\") FROM \"Ledger\" WHERE "
                                                 "\"Kind\" = 'Draw written off'"))
                  .toLongLong(),
              dollars(500).units());
    const QStringList actions = auditActions();
    EXPECT_EQ(actions.count(QStringLiteral("Draw recorded")), 2);
    EXPECT_EQ(actions.count(QStringLiteral("Draw recovered")), 3);
    EXPECT_EQ(actions.count(QStringLiteral("Draw written off")), 1);
}

// Voiding a sheet of chargebacks and draws undoes every line of it: the
// chargeback is open again for the next sheet, the draw is open again.
TEST_P(SheetLedger, AVoidedSheetOpensItsChargebacksAndDrawsAgain)
{
    const DealId deal = saved(dealFor(QStringLiteral("V-1"), QStringLiteral("Ann Lee")));
    paidSheet(kJohn, QDate(2026, 3, 6));
    ASSERT_TRUE(unwind(deal, Part::Spiff, QStringLiteral("Other: spiff in error")).done);
    QString error;
    ASSERT_TRUE(SalesLedger(*m_database).recordDraw(kJohn, QDate(2026, 3, 9), dollars(100), true,
                                                    &error));
    saved(dealFor(QStringLiteral("V-2"), QStringLiteral("Bo Ek")));
    const SheetPayment::Outcome second =
        pay(kJohn, unpaid(), QDate(2026, 3, 13), idsOf(openChargebacks()));
    ASSERT_TRUE(second.paid) << second.error.toStdString();
    EXPECT_EQ(second.tally, dollars(1200)); // 1,250 less the $50.00 spiff
    EXPECT_EQ(second.netPay, dollars(1100));

    EXPECT_EQ(SheetRecords(m_database->connection()).voidSheet(second.sheetId, &error),
              SheetRecords::VoidOutcome::Voided)
        << error.toStdString();
    ASSERT_EQ(openChargebacks().size(), 1);
    EXPECT_EQ(openChargebacks().first().amount, dollars(50));
    const auto draws = SalesLedger(*m_database).openDraws(kJohn, &error);
    ASSERT_TRUE(draws);
    ASSERT_EQ(draws->size(), 1);
    EXPECT_EQ(draws->first().open, dollars(100));
    const SheetPayment::Outcome again =
        pay(kJohn, unpaid(), QDate(2026, 3, 13), idsOf(openChargebacks()));
    EXPECT_EQ(again.netPay, dollars(1100));
    EXPECT_TRUE(auditActions().contains(QStringLiteral("Chargeback reopened")));
}

// Two desks unwinding one paid deal at once: one wins, the other is told,
// and nothing is charged back twice. A desk paying a deal another desk
// unwinds meanwhile pays nothing.
TEST_P(SheetLedger, TwoDesksUnwindingOrPayingOneDealAtOnceNeverChargeItBackTwice)
{
    constexpr int kRounds = 4;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(round);
        const DealId deal = saved(dealFor(QString::number(9100 + round), QStringLiteral("Ann Lee")));
        paidSheet(kJohn, QDate(2026, 3, 6));
        DealUnwinds::Outcome outcomes[2];
        std::latch ready(2);
        const auto unwindAtDesk = [&](DealUnwinds::Outcome &outcome, Part part) {
            const std::unique_ptr<DealDatabase> desk = SecondDesk::connectionLike(*m_database);
            QString error;
            const bool open = desk->open(&error);
            ready.arrive_and_wait();
            if (!open) {
                outcome.error = error;
                return;
            }
            outcome = DealUnwinds(*desk).unwind({.deal = deal,
                                                 .on = QDate(2026, 3, 10),
                                                 .reason = QStringLiteral("Returned vehicle"),
                                                 .part = part,
                                                 .amount = dollars(700)});
        };
        // Both whole, or both $700.00 of the $1,250.00 paid.
        const Part part = round % 2 ? Part::Whole : Part::Amount;
        std::thread one([&] { unwindAtDesk(outcomes[0], part); });
        std::thread two([&] { unwindAtDesk(outcomes[1], part); });
        one.join();
        two.join();
        EXPECT_NE(outcomes[0].done, outcomes[1].done)
            << outcomes[0].error.toStdString() << " / " << outcomes[1].error.toStdString();
        const qint64 charged =
            single(*m_database, QStringLiteral("SELECT sum(\"Amount\") FROM \"Ledger\" WHERE "
                                               "\"DealId\" = %1")
                                    .arg(deal))
                .toLongLong();
        EXPECT_LE(charged, dollars(1250).units());
    }

    // Listed at one desk, unwound at another before the sheet prints.
    const DealId late = saved(dealFor(QStringLiteral("9200"), QStringLiteral("Bo Ek")));
    const QList<qint64> listed = unpaid();
    ASSERT_EQ(listed.size(), 1);
    ASSERT_TRUE(unwind(late, Part::Whole, QStringLiteral("Finance rejected")).done);
    const SheetPayment::Outcome refused = pay(kJohn, listed, QDate(2026, 3, 13));
    EXPECT_FALSE(refused.paid);
    EXPECT_EQ(refused.paidElsewhere, listed);
}

} // namespace
