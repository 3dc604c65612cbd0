#include "store/column_value.h"
#include "store_test_support.h"

#include <gtest/gtest.h>

namespace {

using DealStoreChange = EngineStoreTest;
INSTANTIATE_ON_BOTH_ENGINES(DealStoreChange);

void markPaid(const DealDatabase &database, DealId id, int summaryRow)
{
    execute(database, QStringLiteral("UPDATE \"SalesSummary\" SET \"Paid\" = 1 WHERE rowid = "
                                     "(SELECT rowid FROM \"SalesSummary\" WHERE \"DealId\" = %1 "
                                     "ORDER BY rowid LIMIT 1 OFFSET %2)")
                          .arg(id)
                          .arg(summaryRow));
}

TEST_P(DealStoreChange, ReplacingARecalledDealSwapsItsRowsAndKeepsItsIdentity)
{
    const DealId other = saved(dealFor(QStringLiteral("A1234"), QStringLiteral("Other")));
    const DealId recalled = saved(splitExampleDeal());
    Deal corrected = plainExampleDeal();
    corrected.customer = QStringLiteral("Robert Brown");
    QString error;
    const std::optional<DealId> id = m_store->replace(recalled, corrected, &error);
    ASSERT_TRUE(id.has_value()) << error.toStdString();
    EXPECT_EQ(*id, recalled);
    EXPECT_EQ(dealTableCounts(), (std::array<int, 3>{2, 2, 2})); // the split rows are gone
    EXPECT_EQ(m_store->loadDeal(recalled)->customer, QStringLiteral("ROBERT BROWN"));
    EXPECT_EQ(m_store->recalledDealState(recalled)->summaryRowCount, 1);
    EXPECT_EQ(m_store->loadDeal(other)->customer, QStringLiteral("OTHER"));
}

TEST_P(DealStoreChange, AFailedReplaceKeepsTheRecalledDeal)
{
    const DealId recalled = saved(splitExampleDeal());
    const std::optional<Deal> before = m_store->loadDeal(recalled);
    Deal corrected = plainExampleDeal();
    corrected.payableGross.clear();
    EXPECT_FALSE(m_store->replace(recalled, corrected, nullptr).has_value());
    failInserts(*m_database, QStringLiteral("SalesLog"), QStringLiteral("disk full"));
    EXPECT_FALSE(m_store->replace(recalled, plainExampleDeal(), nullptr).has_value());
    EXPECT_EQ(dealTableCounts(), (std::array<int, 3>{2, 1, 1}));
    EXPECT_EQ(m_store->loadDeal(recalled), before);
    EXPECT_EQ(m_store->recalledDealState(recalled)->summaryRowCount, 2);
}

TEST_P(DealStoreChange, APaidDealIsNeverReplacedNorDeletedWhicheverShareWasPaid)
{
    for (int paidRow : {0, 1}) {
        const DealId id = saved(splitExampleDeal());
        markPaid(*m_database, id, paidRow);
        EXPECT_TRUE(m_store->isPaid(id)) << paidRow;
        EXPECT_TRUE(m_store->recalledDealState(id)->paid) << paidRow;
        QString error;
        EXPECT_FALSE(m_store->replace(id, plainExampleDeal(), &error).has_value());
        EXPECT_TRUE(error.contains(QStringLiteral("paid"))) << error.toStdString();
        EXPECT_FALSE(m_store->remove(id, &error));
        EXPECT_TRUE(error.contains(QStringLiteral("paid"))) << error.toStdString();
        EXPECT_EQ(m_store->recalledDealState(id)->summaryRowCount, 2);
        EXPECT_TRUE(m_store->loadDeal(id).has_value());
    }
}

TEST_P(DealStoreChange, ReplacingADealNoLongerStoredSavesItAnew)
{
    const DealId id = saved(plainExampleDeal());
    ASSERT_TRUE(m_store->remove(id, nullptr));
    EXPECT_EQ(m_store->replace(id, plainExampleDeal(), nullptr), std::optional<DealId>(id));
    EXPECT_EQ(dealTableCounts(), (std::array<int, 3>{1, 1, 1}));
}

TEST_P(DealStoreChange, DeleteRemovesOnlyTheChosenDealOfASharedStockNumber)
{
    const DealId first = saved(splitExampleDeal());
    const DealId second = saved(dealFor(QStringLiteral("A1234"), QStringLiteral("Second")));
    EXPECT_EQ(m_store->findByStockNumber(QStringLiteral("A1234")).size(), 2);
    QString error;
    ASSERT_TRUE(m_store->remove(first, &error)) << error.toStdString();
    EXPECT_EQ(dealTableCounts(), (std::array<int, 3>{1, 1, 1})); // both split rows went
    EXPECT_EQ(m_store->findByStockNumber(QStringLiteral("A1234")), QList<DealId>{second});
    EXPECT_EQ(m_store->loadDeal(second)->customer, QStringLiteral("SECOND"));
    EXPECT_FALSE(m_store->loadDeal(first).has_value());
    EXPECT_TRUE(m_store->remove(first, &error)); // already gone: nothing to do
}

} // namespace
