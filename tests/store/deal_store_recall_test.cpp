#include "store_test_support.h"

#include <gtest/gtest.h>

namespace {

using DealStoreRecall = EngineStoreTest;
INSTANTIATE_ON_BOTH_ENGINES(DealStoreRecall);

TEST_P(DealStoreRecall, CustomerPartFindsNamesInAnyCaseAtStartMiddleAndEnd)
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

TEST_P(DealStoreRecall, LettersOutsideAsciiMatchInEitherCaseForShortAndLongParts)
{
    const DealId jose = saved(dealFor(QStringLiteral("58231"), QStringLiteral("José Núñez")));
    const DealId elise = saved(dealFor(QStringLiteral("58232"), QStringLiteral("Ann Lee")));
    const DealId sven = saved(dealFor(QStringLiteral("58233"), QStringLiteral("Sven Åström")));
    // A name stored in small letters, as another program may have left it;
    // the index follows the change.
    execute(*m_database, QStringLiteral("UPDATE \"RecallDeal\" SET \"Customer\" = 'élise ökonom' "
                                        "WHERE \"DealId\" = %1")
                             .arg(elise));
    struct Case
    {
        QString part;
        QList<DealId> found;
    } cases[] = {
        {QStringLiteral("josé"), {jose}},   {QStringLiteral("NÚÑEZ"), {jose}},
        {QStringLiteral("Ñ"), {jose}},      {QStringLiteral("úñ"), {jose}},
        {QStringLiteral("ÉLISE"), {elise}}, {QStringLiteral("Ök"), {elise}},
        {QStringLiteral("å"), {sven}},      {QStringLiteral("ÅSTRÖM"), {sven}},
        {QStringLiteral("ann"), {}},        {QStringLiteral("e"), {jose, elise, sven}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(m_store->findByCustomerPart(c.part), c.found) << c.part.toStdString();
}

TEST_P(DealStoreRecall, OneTwoAndThreeCharacterPartsFindTheSameWayInDealOrder)
{
    const DealId a = saved(dealFor(QStringLiteral("7001"), QStringLiteral("Bo Ray")));
    const DealId b = saved(dealFor(QStringLiteral("7002"), QStringLiteral("Ray Bond")));
    const DealId c = saved(dealFor(QStringLiteral("7003"), QStringLiteral("Al Bo")));
    EXPECT_EQ(m_store->findByCustomerPart(QStringLiteral("b")), (QList<DealId>{a, b, c}));
    EXPECT_EQ(m_store->findByCustomerPart(QStringLiteral("Bo")), (QList<DealId>{a, b, c}));
    EXPECT_EQ(m_store->findByCustomerPart(QStringLiteral("bo ")), (QList<DealId>{a}));
    EXPECT_EQ(m_store->findByCustomerPart(QStringLiteral("y b")), (QList<DealId>{b}));
    EXPECT_EQ(m_store->findByCustomerPart(QStringLiteral(" b")), (QList<DealId>{b, c}));
    EXPECT_TRUE(m_store->findByCustomerPart(QStringLiteral("q")).isEmpty());
}

TEST_P(DealStoreRecall, TheCustomerIndexFollowsCorrectionsAndDeletes)
{
    const DealId first = saved(dealFor(QStringLiteral("A1"), QStringLiteral("Carl Weber")));
    const DealId second = saved(dealFor(QStringLiteral("A2"), QStringLiteral("Dana Weber")));
    QString error;
    ASSERT_TRUE(
        m_store->replace(first, dealFor(QStringLiteral("A1"), QStringLiteral("Carl Vogt")), &error))
        << error.toStdString();
    EXPECT_EQ(m_store->findByCustomerPart(QStringLiteral("weber")), QList<DealId>{second});
    EXPECT_EQ(m_store->findByCustomerPart(QStringLiteral("vogt")), QList<DealId>{first});
    ASSERT_TRUE(m_store->remove(second, &error)) << error.toStdString();
    EXPECT_TRUE(m_store->findByCustomerPart(QStringLiteral("weber")).isEmpty());
    EXPECT_EQ(m_store->dealCount(), 1);
    saved(dealFor(QStringLiteral("A3"), QStringLiteral("Eve Ott")));
    EXPECT_EQ(m_store->dealCount(), 2);
    // The index agrees with the names it holds.
    if (GetParam() == StoreEngine::Engine::SQLite)
        execute(*m_database, QStringLiteral("INSERT INTO CustomerSearch (CustomerSearch, rank) "
                                            "VALUES ('integrity-check', 1)"));
}

TEST_P(DealStoreRecall, StockNumberMustMatchWholeInAnyCase)
{
    const DealId id = saved(dealFor(QStringLiteral("A1234"), QStringLiteral("Bob")));
    saved(dealFor(QStringLiteral("A12345"), QStringLiteral("Ann")));
    EXPECT_EQ(m_store->findByStockNumber(QStringLiteral("a1234")), QList<DealId>{id});
    EXPECT_EQ(m_store->findByStockNumber(QStringLiteral("A1234")), QList<DealId>{id});
    EXPECT_TRUE(m_store->findByStockNumber(QStringLiteral("123")).isEmpty());
    EXPECT_TRUE(m_store->findByStockNumber(QStringLiteral("A123%")).isEmpty());
}

TEST_P(DealStoreRecall, SearchTextIsMatchedLiterally)
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

// A backslash is a character like any other, also where the server reads
// the part as a LIKE pattern with the backslash as its escape.
TEST_P(DealStoreRecall, ABackslashIsMatchedAsItself)
{
    const DealId slashed = saved(dealFor(QStringLiteral("40177"), QStringLiteral("O\\B SUPPLY")));
    saved(dealFor(QStringLiteral("40178"), QStringLiteral("OB HOLDINGS")));
    saved(dealFor(QStringLiteral("40179"), QStringLiteral("O%B")));
    for (const char *part : {"O\\B", "o\\b s", "\\", "\\B SUP"})
        EXPECT_EQ(m_store->findByCustomerPart(QString::fromLatin1(part)), QList<DealId>{slashed})
            << part;
    EXPECT_TRUE(m_store->findByCustomerPart(QStringLiteral("\\%")).isEmpty());
}

// Characters beyond the Basic Multilingual Plane (two UTF-16 units each) are
// found alone, in short parts and in long ones.
TEST_P(DealStoreRecall, CharactersOutsideTheBasicPlaneAreFound)
{
    const DealId cars = saved(dealFor(QStringLiteral("58231"), QString::fromUtf8("JOE 🚗 CARS")));
    const DealId trucks =
        saved(dealFor(QStringLiteral("58232"), QString::fromUtf8("ANN 🚚🚚 TRUCKS")));
    saved(dealFor(QStringLiteral("58233"), QStringLiteral("PLAIN NAME")));
    struct Case
    {
        const char *part;
        QList<DealId> found;
    } cases[] = {
        {"🚗", {cars}},        {"🚗 ", {cars}},      {"E 🚗 C", {cars}}, {"🚚🚚", {trucks}},
        {"🚚🚚 tr", {trucks}}, {"🚚", {trucks}},     {"🚙", {}},         {"🚗🚗", {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(m_store->findByCustomerPart(QString::fromUtf8(c.part)), c.found) << c.part;
}

TEST_P(DealStoreRecall, RecalledDealStateCountsSummaryRowsAndNamesTheLastCustomer)
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
    execute(*m_database, QStringLiteral("DELETE FROM \"SalesSummary\" WHERE \"DealId\" = %1").arg(plain));
    const std::optional<RecalledDealState> orphan = m_store->recalledDealState(plain);
    ASSERT_TRUE(orphan.has_value());
    EXPECT_EQ(orphan->summaryRowCount, 0);
    EXPECT_FALSE(orphan->paid);
    EXPECT_EQ(orphan->lastCustomerName, QString());
}

TEST_P(DealStoreRecall, SalesPersonsComeInRosterOrder)
{
    execute(*m_database, QStringLiteral("INSERT INTO \"SalesPersons\" (\"Name\") VALUES ('Zed'), ('Amy')"));
    EXPECT_EQ(m_store->salesPersons(),
              (QStringList{QStringLiteral("House"), QStringLiteral("Zed"), QStringLiteral("Amy")}));
}

} // namespace
