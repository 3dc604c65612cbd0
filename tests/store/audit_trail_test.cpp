#include "store/audit_trail.h"
#include "store/deal_database.h"
#include "store_test_support.h"

#include <QDate>
#include <QSqlQuery>

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

} // namespace
