// A correction or a delete of a recalled deal that another desk has changed,
// paid or deleted since the recall is refused with nothing written; without
// such a change both go through as before.
#include "second_desk.h"
#include "store_test_support.h"

#include "store/deal_fingerprint.h"

#include <vector>

namespace {

const QString kNotSaved = QStringLiteral(
    "This deal was changed, paid or deleted at another desk since it was recalled. Your "
    "correction was not saved. Recall the deal again to see it as it is now.");
const QString kNotDeleted = QStringLiteral(
    "This deal was changed, paid or deleted at another desk since it was recalled. It was not "
    "deleted. Recall the deal again to see it as it is now.");

struct Interference
{
    const char *what;
    // Run at the other desk, in order, each with the deal's identity bound.
    std::vector<const char *> statements;
    std::array<int, 3> countsAfter; // SalesSummary, SalesLog, RecallDeal rows
};

class StoreTwoDesks : public EngineStoreTest, public SecondDesk
{
protected:
    // The deal as this desk recalls it.
    DealFingerprint recalled(DealId id)
    {
        QString error;
        const std::optional<DealFingerprint> fingerprint = m_store->fingerprint(id, &error);
        EXPECT_TRUE(fingerprint) << error.toStdString();
        return fingerprint.value_or(DealFingerprint());
    }
    // The split deal, alone in the tables, recalled here (as `asRecalled`)
    // and then changed at the other desk.
    DealId recalledThenChanged(const Interference &change, DealFingerprint &asRecalled)
    {
        for (const char *table : {"SalesSummary", "SalesLog", "RecallDeal"})
            execute(*m_database, QStringLiteral("DELETE FROM \"%1\"").arg(QString::fromLatin1(table)));
        const DealId id = saved(splitExampleDeal());
        asRecalled = recalled(id);
        for (const char *statement : change.statements)
            atOtherDesk(*m_database, QString::fromUtf8(statement), {id});
        return id;
    }
    QVariant customerOf(DealId id)
    {
        return readAtOtherDesk(
            *m_database, QStringLiteral("SELECT \"Customer\" FROM \"RecallDeal\" WHERE \"DealId\" = ?"), {id});
    }
};

INSTANTIATE_ON_BOTH_ENGINES(StoreTwoDesks);

// Each way another desk can leave the split deal different from its recall.
const Interference kInterferences[] = {
    {"customer corrected",
     {"UPDATE \"RecallDeal\" SET \"Customer\" = 'ZOË ÅBERG' WHERE \"DealId\" = ?"},
     {2, 1, 1}},
    {"one half paid",
     {"UPDATE \"SalesSummary\" SET \"Paid\" = 1 WHERE rowid = (SELECT min(rowid) FROM \"SalesSummary\" "
      "WHERE \"DealId\" = ?)"},
     {2, 1, 1}},
    {"log gross changed in its table window",
     {"UPDATE \"SalesLog\" SET \"Gross\" = \"Gross\" + 10000 WHERE \"DealId\" = ?"},
     {2, 1, 1}},
    {"replaced, the rows written anew",
     {"UPDATE \"SalesSummary\" SET rowid = rowid + 100 WHERE \"DealId\" = ?"},
     {2, 1, 1}},
    {"deleted",
     {"DELETE FROM \"SalesSummary\" WHERE \"DealId\" = ?", "DELETE FROM \"SalesLog\" WHERE \"DealId\" = ?",
      "DELETE FROM \"RecallDeal\" WHERE \"DealId\" = ?"},
     {0, 0, 0}},
};

TEST_P(StoreTwoDesks, ACorrectionOfADealChangedAtAnotherDeskIsRefused)
{
    for (const Interference &change : kInterferences) {
        SCOPED_TRACE(change.what);
        DealFingerprint asRecalled;
        const DealId id = recalledThenChanged(change, asRecalled);
        const QVariant customerThere = customerOf(id);

        Deal corrected = splitExampleDeal();
        corrected.customer = QStringLiteral("Bob Browne");
        QString error;
        EXPECT_FALSE(m_store->replace(id, asRecalled, corrected, &error));
        EXPECT_EQ(error, kNotSaved);
        EXPECT_TRUE(m_store->changedElsewhere());
        EXPECT_EQ(dealTableCounts(), change.countsAfter);
        EXPECT_EQ(customerOf(id), customerThere);
    }
}

TEST_P(StoreTwoDesks, ADeleteOfADealChangedAtAnotherDeskIsRefused)
{
    for (const Interference &change : kInterferences) {
        SCOPED_TRACE(change.what);
        DealFingerprint asRecalled;
        const DealId id = recalledThenChanged(change, asRecalled);

        QString error;
        EXPECT_FALSE(m_store->remove(id, asRecalled, &error));
        EXPECT_EQ(error, kNotDeleted);
        EXPECT_TRUE(m_store->changedElsewhere());
        EXPECT_EQ(dealTableCounts(), change.countsAfter);
    }
}

// A deal whose fingerprint could not be read when it was recalled cannot be
// known to be unchanged: its correction and its delete are refused, with
// nothing written, even though nobody changed it.
TEST_P(StoreTwoDesks, WithoutAFingerprintOfTheRecallCorrectionAndDeleteAreRefused)
{
    const DealId id = saved(dealFor(QStringLiteral("40177"), QString::fromUtf8("José Peña")));
    const QVariant customer = customerOf(id);

    QString error;
    EXPECT_FALSE(m_store->replace(id, std::nullopt,
                                  dealFor(QStringLiteral("40177"), QStringLiteral("Ann Leigh")),
                                  &error));
    EXPECT_EQ(error, kNotSaved);
    EXPECT_TRUE(m_store->changedElsewhere());
    EXPECT_EQ(customerOf(id), QVariant(QString::fromUtf8("JOSÉ PEÑA")));

    error.clear();
    EXPECT_FALSE(m_store->remove(id, std::nullopt, &error));
    EXPECT_EQ(error, kNotDeleted);
    EXPECT_TRUE(m_store->changedElsewhere());
    EXPECT_EQ(dealTableCounts(), (std::array<int, 3>{1, 1, 1}));
    EXPECT_EQ(customerOf(id), customer);
}

// Another desk working on another deal, even one with the same stock
// number, is no reason to refuse.
TEST_P(StoreTwoDesks, WithoutAChangeToTheDealCorrectionAndDeleteGoThrough)
{
    const DealId mine = saved(dealFor(QStringLiteral("40177"), QStringLiteral("Ann Lee")));
    const DealId theirs = saved(dealFor(QStringLiteral("40177"), QStringLiteral("Carl Diaz")));
    const DealFingerprint asRecalled = recalled(mine);
    atOtherDesk(*m_database, QStringLiteral("UPDATE \"SalesSummary\" SET \"Paid\" = 1 WHERE \"DealId\" = ?"),
                {theirs});
    atOtherDesk(*m_database,
                QStringLiteral("UPDATE \"RecallDeal\" SET \"Customer\" = 'X' WHERE \"DealId\" = ?"), {theirs});

    QString error;
    const auto replaced = m_store->replace(
        mine, asRecalled, dealFor(QStringLiteral("40177"), QStringLiteral("Ann Leigh")), &error);
    ASSERT_TRUE(replaced) << error.toStdString();
    EXPECT_FALSE(m_store->changedElsewhere());
    EXPECT_EQ(customerOf(mine), QStringLiteral("ANN LEIGH"));

    EXPECT_TRUE(m_store->remove(mine, recalled(mine), &error)) << error.toStdString();
    EXPECT_FALSE(m_store->changedElsewhere());
    EXPECT_EQ(dealTableCounts(), (std::array<int, 3>{1, 1, 1}));
    // The other desk sees the delete at once.
    EXPECT_EQ(readAtOtherDesk(*m_database,
                              QStringLiteral("SELECT count(*) FROM \"RecallDeal\" "
                                             "WHERE \"DealId\" = ?"),
                              {mine}),
              QVariant(0LL));
}

// A paid deal keeps its own refusal when it was paid before the recall.
TEST_P(StoreTwoDesks, ADealPaidBeforeItWasRecalledKeepsThePaidRefusal)
{
    const DealId id = saved(plainExampleDeal());
    execute(*m_database, QStringLiteral("UPDATE \"SalesSummary\" SET \"Paid\" = 1"));
    QString error;
    EXPECT_FALSE(m_store->remove(id, recalled(id), &error));
    EXPECT_EQ(error, QStringLiteral("This deal has been paid and cannot be deleted."));
    EXPECT_FALSE(m_store->changedElsewhere());
    EXPECT_FALSE(m_store->replace(id, recalled(id), plainExampleDeal(), &error));
    EXPECT_EQ(error, QStringLiteral("The deal was not saved: This deal has been paid and cannot "
                                    "be changed."));
    EXPECT_FALSE(m_store->changedElsewhere());
}

} // namespace
