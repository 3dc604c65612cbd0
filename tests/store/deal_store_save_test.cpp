#include "store/column_value.h"
#include "store_test_support.h"

#include <QSqlRecord>

#include <gtest/gtest.h>

namespace {

QString text(const QSqlRecord &row, const char *column)
{
    return ColumnValue::textFrom(row.value(QString::fromLatin1(column)));
}

QString amount(const QSqlRecord &row, const char *column)
{
    return ColumnValue::moneyTextFrom(row.value(QString::fromLatin1(column)));
}

using DealStoreSave = EngineStoreTest;
INSTANTIATE_ON_BOTH_ENGINES(DealStoreSave);

TEST_P(DealStoreSave, ASplitDealWritesTwoHalvedSummaryRowsAndTheFullFiguresElsewhere)
{
    const DealId id = saved(splitExampleDeal());

    const QList<QSqlRecord> summary = tableRows(*m_database, QStringLiteral("SalesSummary"));
    ASSERT_EQ(summary.size(), 2);
    EXPECT_EQ(text(summary[0], "Sales_Person"), QStringLiteral("JOHN SMITH"));
    EXPECT_EQ(text(summary[1], "Sales_Person"), QStringLiteral("MARY JONES"));
    for (const QSqlRecord &row : summary) {
        EXPECT_EQ(amount(row, "Payable_Gross"), QStringLiteral("1950"));
        EXPECT_EQ(amount(row, "Commission"), QStringLiteral("585"));
        EXPECT_EQ(amount(row, "Spiff"), QStringLiteral("25"));
        EXPECT_EQ(amount(row, "Warranty"), QStringLiteral("15"));
        EXPECT_EQ(amount(row, "TotalCommission"), QStringLiteral("625"));
        EXPECT_EQ(amount(row, "UnitCount"), QStringLiteral("0.5"));
        EXPECT_EQ(row.value(QStringLiteral("Paid")).toInt(), 0);
        EXPECT_EQ(row.value(QStringLiteral("DealId")).toLongLong(), id);
        EXPECT_EQ(text(row, "Customer_Name"), QStringLiteral("BOB BROWN"));
        EXPECT_EQ(text(row, "Stock_Number"), QStringLiteral("A1234"));
    }

    const QList<QSqlRecord> log = tableRows(*m_database, QStringLiteral("SalesLog"));
    ASSERT_EQ(log.size(), 1);
    EXPECT_EQ(text(log[0], "SalesPerson"), QStringLiteral("JOHN SMITH / MARY JONES"));
    EXPECT_EQ(amount(log[0], "Gross"), QStringLiteral("4200"));

    const QList<QSqlRecord> recall = tableRows(*m_database, QStringLiteral("RecallDeal"));
    ASSERT_EQ(recall.size(), 1);
    EXPECT_EQ(amount(recall[0], "Gross"), QStringLiteral("3900"));
    EXPECT_EQ(amount(recall[0], "TtlComm"), QStringLiteral("1250"));
    EXPECT_EQ(recall[0].value(QStringLiteral("Split")).toInt(), 1);
    EXPECT_EQ(text(recall[0], "Salesman2"), QStringLiteral("Mary Jones"));
}

TEST_P(DealStoreSave, APlainDealStoresEachValueInItsDocumentedForm)
{
    Deal deal = plainExampleDeal();
    deal.unitClass = QStringLiteral("nt");
    saved(deal);

    const QList<QSqlRecord> summary = tableRows(*m_database, QStringLiteral("SalesSummary"));
    ASSERT_EQ(summary.size(), 1);
    EXPECT_EQ(text(summary[0], "Date"), QStringLiteral("2005-03-07"));
    EXPECT_EQ(text(summary[0], "Unit"), QStringLiteral("2004 EXPLORER SPT"));
    EXPECT_EQ(text(summary[0], "TCU"), QStringLiteral("NT"));
    EXPECT_EQ(amount(summary[0], "Payable_Gross"), QStringLiteral("3900"));
    EXPECT_EQ(amount(summary[0], "TotalCommission"), QStringLiteral("1250"));
    EXPECT_EQ(amount(summary[0], "UnitCount"), QStringLiteral("1"));

    const QSqlRecord log = tableRows(*m_database, QStringLiteral("SalesLog")).value(0);
    EXPECT_EQ(text(log, "Unit"), QStringLiteral("2004 EXPLORER SPT"));
    EXPECT_EQ(text(log, "SalesPerson"), QStringLiteral("JOHN SMITH"));
    EXPECT_EQ(text(log, "Type"), QStringLiteral("0"));
    EXPECT_EQ(text(log, "TCU"), QStringLiteral("nt")); // as shown

    const QSqlRecord recall = tableRows(*m_database, QStringLiteral("RecallDeal")).value(0);
    EXPECT_EQ(recall.value(QStringLiteral("Year")).toLongLong(), 2004);
    EXPECT_EQ(text(recall, "Unit"), QStringLiteral("EXPLORER SPT"));
    EXPECT_EQ(text(recall, "TCU"), QStringLiteral("NT"));
    EXPECT_EQ(text(recall, "SalesPerson"), QStringLiteral("John Smith")); // as shown
    EXPECT_EQ(text(recall, "CommRate"), QStringLiteral("30%"));
    EXPECT_EQ(recall.value(QStringLiteral("ChkWarranty")).toInt(), 1);
    EXPECT_EQ(recall.value(QStringLiteral("Split")).toInt(), 0);
}

TEST_P(DealStoreSave, TheSecondSummaryRowKeepsTheUnitClassAsShown)
{
    Deal deal = splitExampleDeal();
    deal.unitClass = QStringLiteral("uc");
    saved(deal);
    const QList<QSqlRecord> summary = tableRows(*m_database, QStringLiteral("SalesSummary"));
    ASSERT_EQ(summary.size(), 2);
    EXPECT_EQ(text(summary[0], "TCU"), QStringLiteral("UC"));
    EXPECT_EQ(text(summary[1], "TCU"), QStringLiteral("uc"));
}

TEST_P(DealStoreSave, ARecalledDealIsTheExactReverseOfTheSave)
{
    Deal deal = plainExampleDeal();
    deal.customer = QStringLiteral("Bob o'Brien");
    deal.reductionDescriptions = {QStringLiteral("A/X/Z Cash"), QStringLiteral("Dealer Cash"),
                                  QStringLiteral("FDFA"), QStringLiteral("Misc. Credit"),
                                  QStringLiteral("Misc. Credit")};
    deal.reductionAmounts = {QStringLiteral("$1000.00"), QStringLiteral("250.5"),
                             QStringLiteral("1,000"), QString(), QStringLiteral("$.00")};
    deal.additionDescriptions = {QStringLiteral("Stripe"), QStringLiteral("UCI"),
                                 QStringLiteral("Cap/Cover"), QStringLiteral("Cap\\Cover"),
                                 QStringLiteral("Misc.")};
    deal.additionAmounts = {QStringLiteral("100"), QString(), QStringLiteral("300"),
                            QStringLiteral("-12.50"), QStringLiteral("5")};
    deal.cost = QString();
    deal.appraisal = QStringLiteral("8000");
    deal.tradeStock = QStringLiteral("t99");
    deal.allowance = QStringLiteral("500");
    deal.overAllow = true;
    deal.split = true;
    deal.splitPartner = QStringLiteral("Mary Jones");
    const DealId id = saved(deal);

    Deal expected = deal;
    expected.customer = QStringLiteral("BOB O'BRIEN");
    expected.stockNumber = QStringLiteral("A1234");
    expected.unit = QStringLiteral("EXPLORER SPT");
    expected.reductionAmounts = {QStringLiteral("1000"), QStringLiteral("250.5"),
                                 QStringLiteral("1000"), QString(), QStringLiteral("0")};
    expected.additionAmounts = {QStringLiteral("100"), QString(), QStringLiteral("300"),
                                QStringLiteral("-12.5"), QStringLiteral("5")};
    expected.pack = QStringLiteral("300");
    expected.payableGross = QStringLiteral("3900");
    expected.commission = QStringLiteral("1170");
    expected.totalCommission = QStringLiteral("1250");
    QString error;
    const std::optional<Deal> loaded = m_store->loadDeal(id, &error);
    ASSERT_TRUE(loaded.has_value()) << error.toStdString();
    EXPECT_EQ(*loaded, expected);
    EXPECT_EQ(loaded->cost, QString()); // empty stays empty, not 0
    EXPECT_EQ(loaded->commissionRate, QStringLiteral("30%"));
}

// Each allowance option comes back as it was saved, in its own column.
TEST_P(DealStoreSave, TheAllowanceOptionComesBackAsSaved)
{
    const std::pair<bool, bool> options[] = {{false, true}, {true, false}, {false, false}};
    for (const auto &[over, under] : options) {
        Deal deal = plainExampleDeal();
        deal.stockNumber = QStringLiteral("40417");
        deal.allowance = QStringLiteral("400");
        deal.overAllow = over;
        deal.underAllow = under;
        const DealId id = saved(deal);
        const QSqlRecord recall = tableRows(*m_database, QStringLiteral("RecallDeal")).last();
        EXPECT_EQ(recall.value(QStringLiteral("OA")).toInt(), over ? 1 : 0);
        EXPECT_EQ(recall.value(QStringLiteral("UA")).toInt(), under ? 1 : 0);
        const std::optional<Deal> loaded = m_store->loadDeal(id);
        ASSERT_TRUE(loaded.has_value());
        EXPECT_EQ(loaded->overAllow, over);
        EXPECT_EQ(loaded->underAllow, under);
        EXPECT_EQ(loaded->stockNumber, QStringLiteral("40417"));
    }
}

TEST_P(DealStoreSave, EmptyMoneyFieldsAreStoredNull)
{
    Deal deal = plainExampleDeal();
    deal.cost = QString();
    const DealId id = saved(deal);
    const QSqlRecord recall = tableRows(*m_database, QStringLiteral("RecallDeal")).value(0);
    for (const char *column : {"Cost", "RTCP1", "ATCP5", "Allow", "OVAllow"})
        EXPECT_TRUE(recall.value(QString::fromLatin1(column)).isNull()) << column;
    EXPECT_TRUE(recall.value(QStringLiteral("Salesman2")).isNull());
    EXPECT_EQ(m_store->loadDeal(id)->cost, QString());
}

TEST_P(DealStoreSave, ADealThatDoesNotConvertIsRefusedWithNothingWritten)
{
    struct Case
    {
        const char *name;
        void (*change)(Deal &);
    } cases[] = {
        {"before calculation", [](Deal &d) { d.payableGross.clear(); }},
        {"gross not a number", [](Deal &d) { d.payableGross = QStringLiteral("abc"); }},
        {"empty pack", [](Deal &d) { d.pack.clear(); }},
        {"price not a number", [](Deal &d) { d.sellingPrice = QStringLiteral("abc"); }},
        {"addition not a number", [](Deal &d) { d.additionAmounts[4] = QStringLiteral("5x"); }},
        {"split without commission",
         [](Deal &d) {
             d.split = true;
             d.commission.clear();
         }},
    };
    for (const Case &c : cases) {
        Deal deal = plainExampleDeal();
        c.change(deal);
        QString error;
        EXPECT_FALSE(m_store->save(deal, &error).has_value()) << c.name;
        EXPECT_FALSE(error.isEmpty()) << c.name;
        EXPECT_EQ(dealTableCounts(), (std::array<int, 3>{0, 0, 0})) << c.name;
    }
}

TEST_P(DealStoreSave, AFailureDuringTheWritesLeavesNoRowOfTheDeal)
{
    saved(dealFor(QStringLiteral("B1"), QStringLiteral("Kept")));
    // The last table written fails, as a full disk would.
    failInserts(*m_database, QStringLiteral("SalesLog"), QStringLiteral("disk full"));
    QString error;
    EXPECT_FALSE(m_store->save(splitExampleDeal(), &error).has_value());
    EXPECT_TRUE(error.contains(QStringLiteral("disk full"))) << error.toStdString();
    EXPECT_EQ(dealTableCounts(), (std::array<int, 3>{1, 1, 1}));
}

} // namespace
