#include "store_test_support.h"

#include <gtest/gtest.h>

namespace {

using DealStoreRecall = StoreTest;

TEST_F(DealStoreRecall, CustomerPartFindsNamesInAnyCaseAtStartMiddleAndEnd)
{
    const DealId start = saved(dealFor(QStringLiteral("S1"), QStringLiteral("Smithers Jo")));
    const DealId middle = saved(dealFor(QStringLiteral("S2"), QStringLiteral("Al Smith Jr")));
    const DealId end = saved(dealFor(QStringLiteral("S3"), QStringLiteral("Jo Blacksmith")));
    saved(dealFor(QStringLiteral("S4"), QStringLiteral("Smyth")));
    EXPECT_EQ(m_store->findByCustomerPart(QStringLiteral("smith")),
              (QList<DealId>{start, middle, end}));
    EXPECT_EQ(m_store->findByCustomerPart(QStringLiteral("SmItH J")), (QList<DealId>{middle}));
    EXPECT_TRUE(m_store->findByCustomerPart(QStringLiteral("nobody")).isEmpty());
}

TEST_F(DealStoreRecall, StockNumberMustMatchWholeInAnyCase)
{
    const DealId id = saved(dealFor(QStringLiteral("A1234"), QStringLiteral("Bob")));
    saved(dealFor(QStringLiteral("A12345"), QStringLiteral("Ann")));
    EXPECT_EQ(m_store->findByStockNumber(QStringLiteral("a1234")), QList<DealId>{id});
    EXPECT_EQ(m_store->findByStockNumber(QStringLiteral("A1234")), QList<DealId>{id});
    EXPECT_TRUE(m_store->findByStockNumber(QStringLiteral("123")).isEmpty());
    EXPECT_TRUE(m_store->findByStockNumber(QStringLiteral("A123%")).isEmpty());
}

TEST_F(DealStoreRecall, SearchTextIsMatchedLiterally)
{
    struct Stored
    {
        const char *stock;
        const char *customer;
    } stored[] = {
        {"Q1", "SAY \"HI\" CO"}, {"Q2", "O'BRIEN"},  {"Q3", "50% OFF"}, {"Q4", "A_B"},
        {"Q5", "STAR*"},         {"Q6", "PLAIN AB"}, {"Q\"7", "X"},     {"Q'8", "Y"},
    };
    QList<DealId> ids;
    for (const Stored &s : stored)
        ids << saved(dealFor(QString::fromLatin1(s.stock), QString::fromLatin1(s.customer)));

    struct Case
    {
        const char *part;
        QList<DealId> found;
    } cases[] = {
        {"\"", {ids[0]}}, {"'", {ids[1]}},   {"%", {ids[2]}},      {"_", {ids[3]}},
        {"*", {ids[4]}},  {"a_b", {ids[3]}}, {"\"hi\"", {ids[0]}}, {"' OR '1'='1", {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(m_store->findByCustomerPart(QString::fromLatin1(c.part)), c.found) << c.part;
    EXPECT_EQ(m_store->findByStockNumber(QStringLiteral("q\"7")), QList<DealId>{ids[6]});
    EXPECT_EQ(m_store->findByStockNumber(QStringLiteral("q'8")), QList<DealId>{ids[7]});
    EXPECT_TRUE(m_store->findByStockNumber(QStringLiteral("Q_")).isEmpty());
}

TEST_F(DealStoreRecall, RecalledDealStateCountsSummaryRowsAndNamesTheLastCustomer)
{
    const DealId split = saved(splitExampleDeal());
    const DealId plain = saved(dealFor(QStringLiteral("P1"), QStringLiteral("Ann Lee")));
    const std::optional<RecalledDealState> splitState = m_store->recalledDealState(split);
    ASSERT_TRUE(splitState.has_value());
    EXPECT_EQ(splitState->summaryRowCount, 2);
    EXPECT_FALSE(splitState->paid);
    EXPECT_EQ(splitState->lastCustomerName, QStringLiteral("BOB BROWN"));
    EXPECT_EQ(m_store->recalledDealState(plain)->summaryRowCount, 1);

    // A deal whose summary rows were removed elsewhere counts as unpaid, 0 rows.
    execute(*m_database, QStringLiteral("DELETE FROM SalesSummary WHERE DealId = %1").arg(plain));
    const std::optional<RecalledDealState> orphan = m_store->recalledDealState(plain);
    ASSERT_TRUE(orphan.has_value());
    EXPECT_EQ(orphan->summaryRowCount, 0);
    EXPECT_FALSE(orphan->paid);
    EXPECT_EQ(orphan->lastCustomerName, QString());
}

TEST_F(DealStoreRecall, SalesPersonsComeInRosterOrder)
{
    execute(*m_database, QStringLiteral("INSERT INTO SalesPersons (Name) VALUES ('Zed'), ('Amy')"));
    EXPECT_EQ(m_store->salesPersons(),
              (QStringList{QStringLiteral("House"), QStringLiteral("Zed"), QStringLiteral("Amy")}));
}

} // namespace
