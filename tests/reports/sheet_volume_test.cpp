// The month's volume bonus on the commission sheet, on either engine: paid
// once by the first sheet after the month, a late deal's difference after
// it, a negative correction when an unwind drops the tier, again after a void.
#include "reports/commission_data_file.h"
#include "reports/sheet_payment.h"
#include "store/audit_trail.h"
#include "store/deal_unwinds.h"
#include "store/pay_plan_store.h"
#include "store/sheet_records.h"
#include "store_test_support.h"
#include "test_printers.h"

namespace {

const QString kJohn = QStringLiteral("John Smith");

class SheetVolume : public EngineStoreTest
{
protected:
    void SetUp() override
    {
        EngineStoreTest::SetUp();
        if (IsSkipped())
            return;
        // 30% of the gross, and 32% from the 12th unit of a month, 35% from the 20th.
        addThirtyPercentPlan(kJohn, {{.unitsFrom = Money::dollars(12), .percent = Money::dollars(32)},
                                     {.unitsFrom = Money::dollars(20), .percent = Money::dollars(35)}});
    }

    // Deals of $3,900.00 gross paid $1,170.00 (30%): 32% owes $78.00 more each.
    QList<DealId> sell(int count, const QDate &on, int from = 0)
    {
        QList<DealId> deals;
        for (int i = 0; i < count; ++i) {
            Deal deal = dealFor(QString::number(7000 + from + i), QStringLiteral("Åke Nyström"));
            deal.date = on;
            deals << saved(deal);
        }
        return deals;
    }

    SheetPayment::Outcome pay(const QDate &on, std::optional<QDate> includeMonth = std::nullopt)
    {
        const SheetPayment::Outcome outcome = SheetPayment::pay(
            *m_database, m_dir.filePath(QStringLiteral("data.txt")),
            {.salesPerson = kJohn,
             .rowIds = unpaidRowIds(*m_database, kJohn),
             .weekEnding = on.toString(QStringLiteral("MM/dd/yyyy")),
             .on = on,
             .volume = true,
             .includeMonth = includeMonth});
        EXPECT_TRUE(outcome.paid) << outcome.error.toStdString();
        return outcome;
    }
};

INSTANTIATE_ON_BOTH_ENGINES(SheetVolume);

TEST_P(SheetVolume, TheFirstSheetAfterTheMonthPaysItsBonusOnceAndALateDealItsOwnDifference)
{
    sell(12, QDate(2026, 3, 10));
    const SheetPayment::Outcome march = pay(QDate(2026, 3, 27));
    EXPECT_TRUE(march.volumeLines.isEmpty());
    EXPECT_EQ(march.tally, Money::dollars(12 * 1250));

    const SheetPayment::Outcome april = pay(QDate(2026, 4, 3));
    EXPECT_EQ(april.volumeLines,
              QStringList{QStringLiteral("Volume bonus March 2026: 12 units, 32%")});
    EXPECT_EQ(april.tally, Money::dollars(12 * 78));
    EXPECT_EQ(m_dir.readBytes(QStringLiteral("data.txt")),
              QByteArray("\"Volume bonus March 2026: 12 units, 32%\",\"\",\"\",0,936,0,0,936\r\n"));
    EXPECT_TRUE(pay(QDate(2026, 4, 10)).volumeLines.isEmpty());

    // A deal of March saved late: its own $78.00, beside its own commission.
    sell(1, QDate(2026, 3, 30), 100);
    const SheetPayment::Outcome late = pay(QDate(2026, 4, 17));
    EXPECT_EQ(late.volumeLines,
              QStringList{QStringLiteral("Volume bonus March 2026: 13 units, 32%")});
    EXPECT_EQ(late.tally, Money::dollars(1250 + 78));

    // Voided, the April 3 sheet's bonus is owed again, and paid once more.
    QString error;
    EXPECT_EQ(SheetRecords(m_database->connection()).voidSheet(april.sheetId, &error),
              SheetRecords::VoidOutcome::Voided)
        << error.toStdString();
    EXPECT_EQ(pay(QDate(2026, 4, 24)).tally, Money::dollars(12 * 78));
    EXPECT_TRUE(pay(QDate(2026, 5, 1)).volumeLines.isEmpty());

    // Each line paid is in the audit trail, found by its action.
    ASSERT_TRUE(AuditTrail::actions().contains(QStringLiteral("Volume bonus")));
    AuditTrail::Filter volume;
    volume.action = QStringLiteral("Volume bonus");
    const auto entries = AuditTrail::read(m_database->connection(), volume, &error);
    ASSERT_TRUE(entries) << error.toStdString();
    ASSERT_EQ(entries->size(), 3);
    // Newest first: after the void, 13 units owe 1,014 of which 78 stood paid.
    EXPECT_EQ(entries->last().entry.after,
              QStringLiteral("Month: 2026-03-01\nAmount: 936\nLine: Volume bonus March 2026: 12 "
                             "units, 32%"));
    EXPECT_EQ(entries->first().entry.after,
              QStringLiteral("Month: 2026-03-01\nAmount: 936\nLine: Volume bonus March 2026: 13 "
                             "units, 32%"));
}

TEST_P(SheetVolume, AMonthPaidEarlyIsCorrectedWhenAnUnwindDropsItsTier)
{
    const QList<DealId> may = sell(12, QDate(2026, 5, 4));
    const SheetPayment::Outcome early = pay(QDate(2026, 5, 20), QDate(2026, 5, 1));
    EXPECT_EQ(early.volumeLines,
              QStringList{QStringLiteral("Volume bonus May 2026: 12 units, 32%")});
    EXPECT_EQ(early.tally, Money::dollars(12 * 1250 + 12 * 78));

    const DealUnwinds::Outcome unwound = DealUnwinds(*m_database).unwind(
        {.deal = may.first(), .on = QDate(2026, 5, 25), .reason = QStringLiteral("Returned vehicle")});
    ASSERT_TRUE(unwound.done) << unwound.error.toStdString();
    const SheetPayment::Outcome corrected = pay(QDate(2026, 6, 1));
    EXPECT_EQ(corrected.volumeLines,
              QStringList{QStringLiteral("Volume bonus May 2026: 11 units, no tier")});
    EXPECT_EQ(corrected.tally, -Money::dollars(12 * 78));
    EXPECT_TRUE(pay(QDate(2026, 6, 8)).volumeLines.isEmpty());
}

} // namespace
