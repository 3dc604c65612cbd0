#include "store/audit_trail.h"
#include "store/deal_database.h"
#include "store/deal_unwinds.h"
#include "store/sales_ledger.h"
#include "store_test_support.h"

#include <QDate>
#include <QSqlQuery>
#include <QSqlRecord>

#include <gtest/gtest.h>

namespace {

class AuditTrailTest : public EngineStoreTest
{
protected:
    QList<AuditTrail::Record> entries(const AuditTrail::Filter &filter = {})
    {
        QString error;
        const auto records = AuditTrail::read(m_database->connection(), filter, &error);
        EXPECT_TRUE(records) << error.toStdString();
        return records.value_or(QList<AuditTrail::Record>());
    }

    QStringList actions(const AuditTrail::Filter &filter = {})
    {
        QStringList names;
        for (const AuditTrail::Record &record : entries(filter))
            names << record.entry.action;
        return names;
    }
};

INSTANTIATE_ON_BOTH_ENGINES(AuditTrailTest);

TEST_P(AuditTrailTest, SavingReplacingAndDeletingADealEachLeaveAnEntry)
{
    const DealId id = saved(splitExampleDeal());
    Deal corrected = splitExampleDeal();
    corrected.customer = QStringLiteral("Zoë Ängström");
    QString error;
    ASSERT_TRUE(m_store->replace(id, corrected, &error)) << error.toStdString();
    ASSERT_TRUE(m_store->remove(id, &error)) << error.toStdString();

    const QList<AuditTrail::Record> records = entries();
    ASSERT_EQ(records.size(), 3);
    const AuditTrail::Entry &deleted = records.at(0).entry; // newest first
    const AuditTrail::Entry &replaced = records.at(1).entry;
    const AuditTrail::Entry &first = records.at(2).entry;
    EXPECT_EQ(first.action, QStringLiteral("Deal saved"));
    EXPECT_EQ(first.dealId.toLongLong(), id);
    EXPECT_EQ(first.salesPerson, QStringLiteral("John Smith / Mary Jones"));
    EXPECT_TRUE(first.before.isEmpty());
    EXPECT_TRUE(first.after.contains(QStringLiteral("TtlComm: 1250\n")))
        << first.after.toStdString();
    EXPECT_TRUE(first.after.contains(QStringLiteral("Split: Yes")));

    EXPECT_EQ(replaced.action, QStringLiteral("Deal replaced"));
    EXPECT_TRUE(replaced.before.startsWith(QStringLiteral("Customer: ")));
    EXPECT_EQ(replaced.after, QStringLiteral("Customer: ZOË ÄNGSTRÖM"));
    EXPECT_EQ(deleted.action, QStringLiteral("Deal deleted"));
    EXPECT_TRUE(deleted.before.contains(QStringLiteral("Customer: ZOË ÄNGSTRÖM")));
    EXPECT_TRUE(deleted.after.isEmpty());
    EXPECT_EQ(deleted.stockNumber, first.stockNumber);
}

// The whole text of an entry, every column in table order: money as its plain
// number, yes/no as Yes or No, the year as its digits, empty columns left out
// of a saved deal and shown with nothing after the colon among the changes.
TEST_P(AuditTrailTest, TheEntriesOfASaveAndAReplacementDescribeTheDealInFull)
{
    Deal deal = splitExampleDeal();
    deal.customer = QStringLiteral("José Ñúñez");
    deal.stockNumber = QStringLiteral("0042");
    deal.saleType = QStringLiteral("2");
    deal.reductionDescriptions[1] = QStringLiteral("Dealer Cash");
    deal.reductionAmounts[1] = QStringLiteral("-$12.50");
    deal.additionAmounts[4] = QStringLiteral("1,250.05");
    deal.appraisal = QStringLiteral("$4000.00");
    deal.allowance = QStringLiteral("$.00");
    deal.underAllow = true;
    deal.totalCommission = QStringLiteral("$1250.5");
    const DealId id = saved(deal);

    Deal corrected = deal;
    corrected.cost.clear();
    corrected.overAllow = true;
    corrected.underAllow = false;
    corrected.year = QStringLiteral("1999 ");
    QString error;
    ASSERT_TRUE(m_store->replace(id, corrected, &error)) << error.toStdString();

    const QList<AuditTrail::Record> records = entries();
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records.at(1).entry.after,
              QStringLiteral("Date: 2005-03-07\nSalesPerson: John Smith\nCustomer: JOSÉ ÑÚÑEZ\n"
                             "StockNo: 0042\nYear: 2004\nUnit: EXPLORER SPT\nTCU: NT\n"
                             "SaleType: 2\nPrice: 25000\nCost: 20500\nRTCD2: Dealer Cash\n"
                             "RTCP2: -12.5\nATCP5: 1250.05\nAllow: 4000\nOVAllow: 0\nOA: No\n"
                             "UA: Yes\nPack: 300\nCommRate: 30%\nChkWarranty: Yes\nGross: 3900\n"
                             "Comm: 1170\nWarranty: 30\nSpiff: 50\nTtlComm: 1250.5\nSplit: Yes\n"
                             "Salesman2: Mary Jones"));
    EXPECT_EQ(records.at(0).entry.before,
              QStringLiteral("Year: 2004\nCost: 20500\nOA: No\nUA: Yes"));
    EXPECT_EQ(records.at(0).entry.after, QStringLiteral("Year: 1999\nCost: \nOA: Yes\nUA: No"));
    EXPECT_EQ(records.at(0).entry.salesPerson, QStringLiteral("John Smith / Mary Jones"));
}

// Each save binds its values into statements kept from the save before; a
// value the earlier deal had and this one lacks, or the reverse, is its own.
TEST_P(AuditTrailTest, DealsSavedOneAfterAnotherKeepTheirOwnValues)
{
    Deal first = splitExampleDeal();
    first.tradeStock = QStringLiteral("T77");
    first.reductionAmounts[0] = QStringLiteral("100");
    Deal second = plainExampleDeal();
    second.cost.clear();
    second.customer = first.customer;
    Deal third = first;
    third.customer = QStringLiteral("Åsa Öberg");
    for (const Deal &deal : {first, second, third})
        saved(deal);

    const QList<AuditTrail::Record> records = entries();
    ASSERT_EQ(records.size(), 3);
    const QString secondText = records.at(1).entry.after;
    EXPECT_FALSE(secondText.contains(QStringLiteral("TrdStock"))) << secondText.toStdString();
    EXPECT_FALSE(secondText.contains(QStringLiteral("RTCP1"))) << secondText.toStdString();
    EXPECT_FALSE(secondText.contains(QStringLiteral("Cost"))) << secondText.toStdString();
    EXPECT_TRUE(secondText.endsWith(QStringLiteral("\nSplit: No"))) << secondText.toStdString();
    EXPECT_EQ(records.at(1).entry.salesPerson, QStringLiteral("John Smith"));
    const QString thirdText = records.at(0).entry.after;
    EXPECT_TRUE(thirdText.contains(QStringLiteral("Customer: ÅSA ÖBERG\n")));
    EXPECT_TRUE(thirdText.contains(QStringLiteral("Cost: 20500\nRTCP1: 100\n")));
    EXPECT_TRUE(thirdText.contains(QStringLiteral("TrdStock: T77\n")));

    const QList<QSqlRecord> recalls = tableRows(*m_database, QStringLiteral("RecallDeal"));
    ASSERT_EQ(recalls.size(), 3);
    EXPECT_TRUE(recalls.at(1).value(QStringLiteral("TrdStock")).isNull());
    EXPECT_TRUE(recalls.at(1).value(QStringLiteral("Cost")).isNull());
    EXPECT_EQ(recalls.at(2).value(QStringLiteral("Cost")).toLongLong(), 205000000);
    EXPECT_EQ(recalls.at(2).value(QStringLiteral("TrdStock")).toString(), QStringLiteral("T77"));
    const QList<QSqlRecord> summaries = tableRows(*m_database, QStringLiteral("SalesSummary"));
    ASSERT_EQ(summaries.size(), 5);
    EXPECT_EQ(summaries.at(2).value(QStringLiteral("UnitCount")).toLongLong(), 10000);
    EXPECT_EQ(summaries.at(3).value(QStringLiteral("UnitCount")).toLongLong(), 5000);
    EXPECT_EQ(summaries.at(2).value(QStringLiteral("Sales_Person")).toString(),
              QStringLiteral("JOHN SMITH"));
    EXPECT_EQ(summaries.at(4).value(QStringLiteral("Sales_Person")).toString(),
              QStringLiteral("MARY JONES"));
}

// The entry is written in the change's own transaction: a change that fails
// at its last step leaves no entry, and an entry that cannot be written
// leaves no change.
TEST_P(AuditTrailTest, AFailedChangeLeavesNoEntryAndAFailedEntryNoChange)
{
    const DealId id = saved(dealFor(QStringLiteral("2040"), QStringLiteral("ANN LEE")));
    execute(*m_database, QStringLiteral("UPDATE \"SalesSummary\" SET \"Paid\" = 1"));
    QString error;
    EXPECT_FALSE(
        m_store->replace(id, dealFor(QStringLiteral("2040"), QStringLiteral("X")), &error));
    EXPECT_FALSE(m_store->remove(id, &error));
    EXPECT_EQ(actions(), QStringList{QStringLiteral("Deal saved")});

    failInserts(*m_database, QStringLiteral("Audit"), QStringLiteral("disk trouble"));
    EXPECT_FALSE(m_store->save(dealFor(QStringLiteral("77"), QStringLiteral("BO")), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("disk trouble"))) << error.toStdString();
    EXPECT_EQ(dealTableCounts(), (std::array<int, 3>{1, 1, 1}));
}

TEST_P(AuditTrailTest, FiltersByStockNumberSalespersonAndDates)
{
    saved(dealFor(QStringLiteral("a100"), QStringLiteral("ANN LEE")));
    saved(splitExampleDeal());
    execute(*m_database, QStringLiteral("INSERT INTO \"Audit\" (\"At\", \"Action\", \"TableName\", "
                                        "\"StockNumber\", \"SalesPerson\") VALUES ('2005-03-02 09:00:00', 'Deal "
                                        "saved', 'RecallDeal', '9', 'PAT O''NEIL')"));
    AuditTrail::Filter byStock;
    byStock.stockNumber = QStringLiteral("A100");
    ASSERT_EQ(entries(byStock).size(), 1);
    EXPECT_EQ(entries(byStock).first().entry.stockNumber, QStringLiteral("A100"));

    AuditTrail::Filter byPartner;
    byPartner.salesPerson = QStringLiteral("mary");
    EXPECT_EQ(entries(byPartner).size(), 1);

    AuditTrail::Filter byDay;
    byDay.from = QDate(2005, 3, 2);
    byDay.to = QDate(2005, 3, 2);
    ASSERT_EQ(entries(byDay).size(), 1);
    EXPECT_EQ(entries(byDay).first().entry.salesPerson, QStringLiteral("PAT O'NEIL"));

    AuditTrail::Filter today;
    today.from = QDate::currentDate();
    EXPECT_EQ(entries(today).size(), 2);
    EXPECT_EQ(entries().first().entry.salesPerson, QStringLiteral("PAT O'NEIL")); // newest first
}

// The action filter takes one action exactly; every action the ledger and
// the deals write is one the filter offers.
TEST_P(AuditTrailTest, FiltersByAction)
{
    const DealId unwound = saved(dealFor(QStringLiteral("4471"), QStringLiteral("ANN LEE")));
    saved(dealFor(QStringLiteral("B-9"), QStringLiteral("ÉMILE ROUX")));
    QString error;
    SalesLedger ledger(*m_database);
    const QList<qint64> unpaid = unpaidRowIds(*m_database, QStringLiteral("John Smith"));
    ASSERT_EQ(unpaid.size(), 2);
    ASSERT_TRUE(ledger.hold(unpaid.at(1), QStringLiteral("Finance not funded"), &error))
        << error.toStdString();
    ASSERT_TRUE(ledger.recordDraw(QStringLiteral("John Smith"), QDate(2026, 3, 1),
                                  Money::dollars(1500), true, &error))
        << error.toStdString();
    DealUnwinds unwinds(*m_database);
    const DealUnwinds::Outcome outcome =
        unwinds.unwind({unwound, QDate(2026, 3, 14), QStringLiteral("Returned vehicle")});
    ASSERT_TRUE(outcome.done) << outcome.error.toStdString();

    EXPECT_EQ(actions(), (QStringList{"Deal unwound", "Draw recorded", "Deal held", "Deal saved",
                                      "Deal saved"}));
    for (const QString &action : actions())
        EXPECT_TRUE(AuditTrail::actions().contains(action)) << action.toStdString();

    AuditTrail::Filter saves;
    saves.action = QStringLiteral("Deal saved");
    EXPECT_EQ(actions(saves), (QStringList{"Deal saved", "Deal saved"}));
    AuditTrail::Filter held;
    held.action = QStringLiteral("Deal held");
    const QList<AuditTrail::Record> heldEntries = entries(held);
    ASSERT_EQ(heldEntries.size(), 1);
    EXPECT_EQ(heldEntries.first().entry.stockNumber, QStringLiteral("B-9"));
    // Exactly the action, not a part of it or another letter case.
    for (const char *other : {"Deal", "deal saved", "Draw", "Sheet paid"}) {
        AuditTrail::Filter filter;
        filter.action = QString::fromLatin1(other);
        EXPECT_EQ(actions(filter), QStringList()) << other;
    }
    // With the other filters.
    AuditTrail::Filter unwoundDeal;
    unwoundDeal.action = QStringLiteral("Deal unwound");
    unwoundDeal.stockNumber = QStringLiteral("4471");
    EXPECT_EQ(actions(unwoundDeal), QStringList{QStringLiteral("Deal unwound")});
    unwoundDeal.stockNumber = QStringLiteral("B-9");
    EXPECT_EQ(actions(unwoundDeal), QStringList());
}

// The entries of one change written together: all of them, in order, with
// one time, however many there are (a server takes them many to a
// statement; 2,001 is more than one statement's share).
TEST_P(AuditTrailTest, ManyEntriesOfOneChangeAreAllWrittenInOrderWithOneTime)
{
    QList<AuditTrail::Entry> many;
    for (int n = 1; n <= 2001; ++n) {
        AuditTrail::Entry entry;
        entry.action = QStringLiteral("Paid on sheet");
        entry.tableName = QStringLiteral("SalesSummary");
        entry.rowKey = n;
        entry.sheetId = 7;
        entry.stockNumber = QString::number(5000 + n);
        entry.salesPerson = n % 2 ? QStringLiteral("JOSÉ PEÑA") : QString();
        entry.before = QStringLiteral("Paid: No");
        entry.after = QStringLiteral("Paid: Yes\nSheetId: 7");
        many << entry;
    }
    QString error;
    ASSERT_TRUE(AuditTrail::writeAll(m_database->connection(), many, &error))
        << error.toStdString();

    AuditTrail::Filter all;
    all.limit = 5000;
    const QList<AuditTrail::Record> records = entries(all);
    ASSERT_EQ(records.size(), 2001);
    for (int i = 0; i < 2001; ++i) {
        const AuditTrail::Entry &entry = records.at(2000 - i).entry; // newest first
        ASSERT_EQ(entry.rowKey.toLongLong(), i + 1);
        EXPECT_EQ(entry.stockNumber, QString::number(5001 + i));
        EXPECT_EQ(entry.salesPerson, i % 2 ? QString() : QStringLiteral("JOSÉ PEÑA"));
        EXPECT_EQ(records.at(i).at, records.first().at);
    }
    EXPECT_EQ(records.first().entry.after, QStringLiteral("Paid: Yes\nSheetId: 7"));
}

} // namespace
