// Tying the rows of the older database into deals when names were changed by
// hand or a save stopped part-way.
#include "legacy/legacy_deal_ties.h"

#include <gtest/gtest.h>

namespace {

AccessValue text(const QString &value)
{
    AccessValue result;
    result.kind = AccessValue::Kind::Text;
    result.text = value;
    return result;
}

AccessValue day(int dayOfMonth)
{
    AccessValue result;
    result.kind = AccessValue::Kind::DateTime;
    result.date = QDate(2005, 3, dayOfMonth);
    return result;
}

AccessValue yes(bool value)
{
    AccessValue result;
    result.kind = AccessValue::Kind::YesNo;
    result.yes = value;
    return result;
}

AccessValue amount(qint64 units)
{
    AccessValue result;
    result.kind = AccessValue::Kind::Currency;
    result.integer = units;
    return result;
}

AccessTable table(const QString &name, const QStringList &columns)
{
    AccessTable result;
    result.name = name;
    for (const QString &column : columns)
        result.columns << AccessColumn{column, AccessType::Text};
    return result;
}

TEST(LegacyDealTiesTest, HandEditedNamesAreTiedOnlyWhereNothingElseCouldClaimThem)
{
    AccessTable recalls =
        table(QStringLiteral("RecallDeal"),
              {QStringLiteral("Date"), QStringLiteral("SalesPerson"), QStringLiteral("StockNo"),
               QStringLiteral("Gross"), QStringLiteral("Split"), QStringLiteral("Salesman2")});
    // 701: split between Ann and Bo, Bo's summary row renamed by hand.
    recalls.rows << QList<AccessValue>{
        day(1),    text(QStringLiteral("Ann")), text(QStringLiteral("701")), amount(10000),
        yes(true), text(QStringLiteral("Bo"))};
    // 702 twice on one day, by Cy and then by Di; "702" in small letters is not a matter.
    recalls.rows << QList<AccessValue>{
        day(2),     text(QStringLiteral("Cy")), text(QStringLiteral("702")), amount(10000),
        yes(false), AccessValue::null()};
    recalls.rows << QList<AccessValue>{
        day(2),     text(QStringLiteral("Di")), text(QStringLiteral("702")), amount(10000),
        yes(false), AccessValue::null()};
    // 703: Ed's deal; its only summary row names someone else, and a second
    // 703 row of another day belongs to nobody.
    recalls.rows << QList<AccessValue>{
        day(3),     text(QStringLiteral("Ed")), text(QStringLiteral("703")), amount(10000),
        yes(false), AccessValue::null()};

    AccessTable summaries =
        table(QStringLiteral("SalesSummary"),
              {QStringLiteral("Date"), QStringLiteral("Stock_Number"),
               QStringLiteral("Sales_Person"), QStringLiteral("Payable_Gross")});
    summaries.rows << QList<AccessValue>{day(2), text(QStringLiteral("702")),
                                         text(QStringLiteral("DI")), amount(1)} // 0
                   << QList<AccessValue>{day(1), text(QStringLiteral("701")),
                                         text(QStringLiteral("ANN")), amount(1)} // 1
                   << QList<AccessValue>{day(1), text(QStringLiteral("701")),
                                         text(QStringLiteral("BOB")), amount(1)} // 2
                   << QList<AccessValue>{day(2), text(QStringLiteral("702")),
                                         text(QStringLiteral("CY")), amount(1)} // 3
                   << QList<AccessValue>{day(3), text(QStringLiteral("703")),
                                         text(QStringLiteral("ZED")), amount(1)} // 4
                   << QList<AccessValue>{day(4), text(QStringLiteral("703")),
                                         text(QStringLiteral("ED")), amount(1)}; // 5

    AccessTable logs =
        table(QStringLiteral("SalesLog"), {QStringLiteral("Date"), QStringLiteral("StockNumber"),
                                           QStringLiteral("SalesPerson")});
    logs.rows << QList<AccessValue>{day(1), text(QStringLiteral("701")),
                                    text(QStringLiteral("ANN / BO"))}
              << QList<AccessValue>{day(2), text(QStringLiteral("702")), text(QStringLiteral("CY"))}
              << QList<AccessValue>{day(2), text(QStringLiteral("702")), text(QStringLiteral("DI"))}
              << QList<AccessValue>{day(3), text(QStringLiteral("703")),
                                    text(QStringLiteral("ED"))};

    const LegacyTies ties = tieLegacyDeals(recalls, summaries, logs);
    ASSERT_EQ(ties.deals.size(), 4);
    EXPECT_EQ(ties.deals.at(0).summaries, QList<int>({1, 2}));
    EXPECT_EQ(ties.deals.at(0).log, 0);
    EXPECT_EQ(ties.deals.at(1).summaries, QList<int>({3}));
    EXPECT_EQ(ties.deals.at(1).log, 1);
    EXPECT_EQ(ties.deals.at(2).summaries, QList<int>({0}));
    EXPECT_EQ(ties.deals.at(2).log, 2);
    // The one row left with 703's stock number and date is Ed's by elimination.
    EXPECT_EQ(ties.deals.at(3).summaries, QList<int>({4}));
    EXPECT_EQ(ties.deals.at(3).log, 3);
    EXPECT_EQ(ties.untiedSummaries, QList<int>({5}));
    EXPECT_TRUE(ties.untiedLogs.isEmpty());
}

TEST(LegacyDealTiesTest, TwoRowsLeftForOneMissingAreNotGuessedBetween)
{
    AccessTable recalls =
        table(QStringLiteral("RecallDeal"),
              {QStringLiteral("Date"), QStringLiteral("SalesPerson"), QStringLiteral("StockNo"),
               QStringLiteral("Gross"), QStringLiteral("Split"), QStringLiteral("Salesman2")});
    recalls.rows << QList<AccessValue>{
        day(5),     text(QStringLiteral("Ann")), text(QStringLiteral("705")), amount(10000),
        yes(false), AccessValue::null()};
    AccessTable summaries =
        table(QStringLiteral("SalesSummary"),
              {QStringLiteral("Date"), QStringLiteral("Stock_Number"),
               QStringLiteral("Sales_Person"), QStringLiteral("Payable_Gross")});
    summaries.rows << QList<AccessValue>{day(5), text(QStringLiteral("705")),
                                         text(QStringLiteral("X")), amount(1)}
                   << QList<AccessValue>{day(5), text(QStringLiteral("705")),
                                         text(QStringLiteral("Y")), amount(1)};
    AccessTable logs =
        table(QStringLiteral("SalesLog"), {QStringLiteral("Date"), QStringLiteral("StockNumber"),
                                           QStringLiteral("SalesPerson")});
    const LegacyTies ties = tieLegacyDeals(recalls, summaries, logs);
    EXPECT_TRUE(ties.deals.at(0).summaries.isEmpty());
    EXPECT_FALSE(ties.deals.at(0).log);
    EXPECT_EQ(ties.untiedSummaries, QList<int>({0, 1}));
}

} // namespace
