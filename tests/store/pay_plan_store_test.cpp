#include "pay/pay_plan.h"
#include "store/column_value.h"
#include "store/pay_plan_store.h"
#include "store/store_engine.h"
#include "store_test_support.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <gtest/gtest.h>

namespace {

QString money(const QSqlRecord &row, const char *column)
{
    return ColumnValue::moneyTextFrom(row.value(QString::fromLatin1(column)));
}

// A plan of 25% on every class from a date, $150 mini, $300 / $500 packs.
PayPlanVersion planFrom(const QString &salesPerson, const QDate &from, int percent = 25)
{
    PayPlanVersion version;
    version.salesPerson = salesPerson;
    version.effectiveFrom = from;
    for (int i = 0; i < PayPlanVersion::kClasses; ++i) {
        version.terms[i].percent = Money::dollars(percent);
        version.terms[i].mini = Money::dollars(150);
        version.terms[i].pack = Money::dollars(i < 2 ? 300 : 500);
    }
    version.terms[2].kind = PlanTerms::Kind::Flat;
    version.terms[2].flat = Money::dollars(250);
    version.terms[2].percent = Money();
    version.warrantySpiff = Money::dollars(30);
    return version;
}

class PayPlanStoreTest : public EngineStoreTest
{
protected:
    qint64 added(const PayPlanVersion &version)
    {
        QString error;
        const std::optional<qint64> id = plans.add(version, &error);
        EXPECT_TRUE(id) << error.toStdString();
        return id.value_or(0);
    }

    // Closes the database and opens it again, as the next start would.
    void reopen()
    {
        m_store.reset();
        m_database.reset();
        m_database = m_server ? std::make_unique<DealDatabase>(m_server->settings())
                              : std::make_unique<DealDatabase>(m_dir.folder());
        QString error;
        ASSERT_TRUE(m_database->open(&error)) << error.toStdString();
        m_store = std::make_unique<DealStore>(*m_database);
    }

    PayPlanStore plans{*m_database};
};
INSTANTIATE_ON_BOTH_ENGINES(PayPlanStoreTest);

TEST_P(PayPlanStoreTest, VersionsComeBackNewestFirstAndTheOneInForceByDate)
{
    PayPlanVersion march = planFrom(QStringLiteral("Zoë Ålund"), QDate(2026, 3, 1));
    march.cap = Money::dollars(2500);
    const qint64 first = added(march);
    const qint64 second = added(planFrom(QStringLiteral("Zoë Ålund"), QDate(2026, 3, 15), 28));
    added(planFrom(QStringLiteral("John Smith"), QDate(2026, 1, 1)));

    const auto versions = plans.versionsOf(QStringLiteral("Zoë Ålund"));
    ASSERT_TRUE(versions);
    ASSERT_EQ(versions->size(), 2);
    EXPECT_EQ(versions->at(0).id, second);
    march.id = first;
    EXPECT_EQ(versions->at(1), march);

    EXPECT_EQ(plans.inForce(QStringLiteral("Zoë Ålund"), QDate(2026, 3, 14))->id, first);
    EXPECT_EQ(plans.inForce(QStringLiteral("Zoë Ålund"), QDate(2026, 3, 15))->id, second);
    EXPECT_EQ(plans.inForce(QStringLiteral("Zoë Ålund"), QDate(2026, 2, 28)), std::nullopt);
    // The roster compares names without regard to letter case.
    EXPECT_EQ(plans.inForce(QStringLiteral("JOHN SMITH"), QDate(2026, 3, 1))->salesPerson,
              QStringLiteral("John Smith"));
    EXPECT_EQ(plans.inForce(QStringLiteral("Mary Jones"), QDate(2026, 3, 1)), std::nullopt);
    EXPECT_EQ(plans.version(second)->terms[0].percent, Money::dollars(28));
}

TEST_P(PayPlanStoreTest, TwoVersionsOnOneDateAreRefused)
{
    added(planFrom(QStringLiteral("John Smith"), QDate(2026, 3, 15)));
    QString error;
    EXPECT_EQ(plans.add(planFrom(QStringLiteral("john smith"), QDate(2026, 3, 15), 30), &error),
              std::nullopt);
    EXPECT_TRUE(error.startsWith(QStringLiteral("The pay plan version of john smith from "
                                                "03/15/2026 was not saved: ")))
        << error.toStdString();
    EXPECT_EQ(plans.versionsOf(QStringLiteral("John Smith"))->size(), 1);
}

// A version a saved deal was worked out by is part of that deal's record.
TEST_P(PayPlanStoreTest, AVersionADealWasWorkedOutByCannotBeChangedOrDeleted)
{
    const qint64 id = added(planFrom(QStringLiteral("John Smith"), QDate(2026, 3, 1)));
    PayPlanVersion unused = planFrom(QStringLiteral("John Smith"), QDate(2026, 4, 1));
    unused.id = added(unused);
    Deal deal = plainExampleDeal();
    deal.planVersion = id;
    const DealId dealId = saved(deal);

    PayPlanVersion changed = *plans.version(id);
    changed.terms[0].percent = Money::dollars(40);
    QString error;
    EXPECT_FALSE(plans.change(changed, &error));
    EXPECT_EQ(error, QStringLiteral("Saved deals were worked out with this version, so it cannot "
                                    "be changed any more. To change the plan, add a new version "
                                    "from a later date."));
    EXPECT_FALSE(plans.remove(id, &error));
    EXPECT_EQ(error, QStringLiteral("Saved deals were worked out with this version, so it cannot "
                                    "be deleted."));
    EXPECT_EQ(plans.version(id)->terms[0].percent, Money::dollars(25));

    // An unused version changes and goes.
    unused.terms[3].mini = Money::dollars(175);
    ASSERT_TRUE(plans.change(unused, &error)) << error.toStdString();
    EXPECT_EQ(plans.version(unused.id)->terms[3].mini, Money::dollars(175));
    ASSERT_TRUE(plans.remove(unused.id, &error)) << error.toStdString();
    EXPECT_EQ(plans.version(unused.id), std::nullopt);

    // Once its only deal is deleted, the first version is free again.
    ASSERT_TRUE(m_store->remove(dealId, &error)) << error.toStdString();
    EXPECT_EQ(plans.isUsed(id), false);
    EXPECT_TRUE(plans.remove(id, &error)) << error.toStdString();
}

// Each change to a plan is in the audit trail, with the figures concerned.
TEST_P(PayPlanStoreTest, EveryChangeToAPlanIsAudited)
{
    PayPlanVersion version = planFrom(QStringLiteral("Zoë Ålund"), QDate(2026, 3, 1));
    version.id = added(version);
    version.terms[3].mini = Money::dollars(175);
    QString error;
    ASSERT_TRUE(plans.change(version, &error)) << error.toStdString();
    ASSERT_TRUE(plans.remove(version.id, &error)) << error.toStdString();

    const QString rows = QStringLiteral(
        "SELECT \"Action\", \"SalesPerson\", \"Before\", \"After\" FROM \"Audit\" "
        "WHERE \"TableName\" = 'PayPlanVersions' ORDER BY \"AuditId\"");
    QSqlQuery query(m_database->connection());
    ASSERT_TRUE(query.exec(rows));
    QStringList actions, befores, afters;
    while (query.next()) {
        actions << query.value(0).toString();
        EXPECT_EQ(query.value(1).toString(), QStringLiteral("Zoë Ålund"));
        befores << query.value(2).toString();
        afters << query.value(3).toString();
    }
    EXPECT_EQ(actions, (QStringList{"Pay plan version added", "Pay plan version changed",
                                    "Pay plan version deleted"}));
    EXPECT_TRUE(afters.at(0).contains(QStringLiteral("UCFlat: 250\n"))) << afters.at(0).toStdString();
    EXPECT_EQ(befores.at(1), QStringLiteral("UTMini: 150"));
    EXPECT_EQ(afters.at(1), QStringLiteral("UTMini: 175"));
    EXPECT_TRUE(befores.at(2).contains(QStringLiteral("EffectiveFrom: 2026-03-01\n")))
        << befores.at(2).toStdString();
}

// On a plan without a draw, a change to how its tiers pay and count is
// audited like any other figure.
TEST_P(PayPlanStoreTest, HowTiersPayAndCountIsAuditedWithoutADraw)
{
    PayPlanVersion version = planFrom(QStringLiteral("Renée Côté"), QDate(2026, 6, 1));
    version.tiers = {{Money::dollars(12), Money::dollars(28)}};
    version.id = added(version);
    version.tierMode = TierMode::Marginal;
    version.tierClasses = TierClasses::UsedOnly;
    QString error;
    ASSERT_TRUE(plans.change(version, &error)) << error.toStdString();
    EXPECT_EQ(plans.version(version.id), version);

    QSqlQuery query(m_database->connection());
    ASSERT_TRUE(
        query.exec(QStringLiteral("SELECT \"Before\", \"After\" FROM \"Audit\" WHERE "
                                  "\"TableName\" = 'PayPlanVersions' ORDER BY \"AuditId\"")));
    QStringList befores, afters;
    while (query.next()) {
        befores << query.value(0).toString();
        afters << query.value(1).toString();
    }
    ASSERT_EQ(afters.size(), 2);
    EXPECT_FALSE(afters.at(0).contains(QStringLiteral("DrawRecoverable")))
        << afters.at(0).toStdString();
    EXPECT_EQ(befores.at(1), QStringLiteral("TierMode: Retroactive\nTierClasses: All"));
    EXPECT_EQ(afters.at(1), QStringLiteral("TierMode: Marginal\nTierClasses: Used"));
}

// A plan's draw is kept with the version, recoverable or not, and named in
// the audit trail only where there is one.
TEST_P(PayPlanStoreTest, TheDrawAndWhetherItIsRecoverableAreKeptAndAudited)
{
    PayPlanVersion recoverable = planFrom(QStringLiteral("Zoë Ålund"), QDate(2026, 3, 1));
    recoverable.drawPerMonth = Money::fromUnits(15002500); // $1,500.25
    recoverable.drawRecoverable = true;
    PayPlanVersion writtenOff = planFrom(QStringLiteral("Zoë Ålund"), QDate(2026, 4, 1));
    writtenOff.drawPerMonth = Money::dollars(2000);
    writtenOff.drawRecoverable = false;
    const PayPlanVersion noDraw = planFrom(QStringLiteral("Zoë Ålund"), QDate(2026, 5, 1));
    recoverable.id = added(recoverable);
    writtenOff.id = added(writtenOff);
    const qint64 noDrawId = added(noDraw);

    reopen();
    PayPlanStore store(*m_database);
    EXPECT_EQ(store.version(recoverable.id), recoverable);
    EXPECT_EQ(store.version(writtenOff.id), writtenOff);
    EXPECT_EQ(store.version(noDrawId)->drawPerMonth, std::nullopt);
    EXPECT_TRUE(store.version(noDrawId)->drawRecoverable);
    EXPECT_EQ(store.inForce(QStringLiteral("Zoë Ålund"), QDate(2026, 4, 30))->drawPerMonth,
              Money::dollars(2000));
    QSqlQuery columns(m_database->connection());
    ASSERT_TRUE(columns.exec(QStringLiteral("SELECT \"DrawPerMonth\", \"DrawRecoverable\" FROM "
                                            "\"PayPlanVersions\" ORDER BY \"PlanVersionId\"")));
    QList<QSqlRecord> stored;
    while (columns.next())
        stored << columns.record();
    ASSERT_EQ(stored.size(), 3);
    EXPECT_EQ(money(stored.at(0), "DrawPerMonth"), QStringLiteral("1500.25"));
    EXPECT_EQ(stored.at(0).value(QStringLiteral("DrawRecoverable")).toInt(), 1);
    EXPECT_EQ(stored.at(1).value(QStringLiteral("DrawRecoverable")).toInt(), 0);
    EXPECT_TRUE(stored.at(2).value(QStringLiteral("DrawPerMonth")).isNull());

    // The draw changes, then goes, on a version no deal used.
    QString error;
    writtenOff.drawRecoverable = true;
    writtenOff.drawPerMonth = Money::dollars(1750);
    ASSERT_TRUE(store.change(writtenOff, &error)) << error.toStdString();
    EXPECT_EQ(store.version(writtenOff.id), writtenOff);
    writtenOff.drawPerMonth.reset();
    ASSERT_TRUE(store.change(writtenOff, &error)) << error.toStdString();
    EXPECT_EQ(store.version(writtenOff.id)->drawPerMonth, std::nullopt);

    QSqlQuery query(m_database->connection());
    ASSERT_TRUE(query.exec(QStringLiteral("SELECT \"Before\", \"After\" FROM \"Audit\" WHERE "
                                          "\"TableName\" = 'PayPlanVersions' ORDER BY \"AuditId\"")));
    QStringList befores, afters;
    while (query.next()) {
        befores << query.value(0).toString();
        afters << query.value(1).toString();
    }
    ASSERT_EQ(afters.size(), 5);
    EXPECT_TRUE(afters.at(0).endsWith(
        QStringLiteral("WarrantySpiff: 30\nDrawPerMonth: 1500.25\nDrawRecoverable: Yes")))
        << afters.at(0).toStdString();
    EXPECT_TRUE(afters.at(1).endsWith(QStringLiteral("DrawPerMonth: 2000\nDrawRecoverable: No")))
        << afters.at(1).toStdString();
    EXPECT_TRUE(afters.at(2).endsWith(QStringLiteral("WarrantySpiff: 30")))
        << afters.at(2).toStdString();
    EXPECT_EQ(befores.at(3), QStringLiteral("DrawPerMonth: 2000\nDrawRecoverable: No"));
    EXPECT_EQ(afters.at(3), QStringLiteral("DrawPerMonth: 1750\nDrawRecoverable: Yes"));
    EXPECT_EQ(befores.at(4), QStringLiteral("DrawPerMonth: 1750\nDrawRecoverable: Yes"));
    EXPECT_EQ(afters.at(4), QStringLiteral("DrawPerMonth: \nDrawRecoverable: "));
}

TEST_P(PayPlanStoreTest, ADealKeepsItsPlanItsShareAndTheFiguresItTypedOver)
{
    const qint64 id = added(planFrom(QStringLiteral("John Smith"), QDate(2026, 3, 1)));
    Deal deal = splitExampleDeal();
    deal.planVersion = id;
    deal.splitShare = QStringLiteral("60");
    deal.pack = QStringLiteral("$350.00");
    deal.planPack = QStringLiteral("$300.00");
    deal.commissionRate = QStringLiteral("27%");
    deal.planRate = QStringLiteral("25%");
    const DealId dealId = saved(deal);

    const std::optional<Deal> back = m_store->loadDeal(dealId);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->planVersion, id);
    EXPECT_EQ(back->splitShare, QStringLiteral("60"));
    EXPECT_EQ(back->planPack, QStringLiteral("300"));
    EXPECT_EQ(back->planRate, QStringLiteral("25%"));

    // A correction keeps them as corrected; a delete takes the row with it.
    Deal corrected = *back;
    corrected.planPack.clear();
    corrected.pack = QStringLiteral("$300.00");
    QString error;
    ASSERT_TRUE(m_store->replace(dealId, corrected, &error)) << error.toStdString();
    EXPECT_EQ(m_store->loadDeal(dealId)->planPack, QString());
    EXPECT_EQ(m_store->loadDeal(dealId)->planRate, QStringLiteral("25%"));
    ASSERT_TRUE(m_store->remove(dealId, &error)) << error.toStdString();
    EXPECT_EQ(rowCount(*m_database, QStringLiteral("DealPlans")), 0);
}

// A deal of the standing figures, not split or split evenly, keeps no plan
// row, as every deal did before plans.
TEST_P(PayPlanStoreTest, ADealOfTheStandingFiguresKeepsNoPlanRow)
{
    saved(plainExampleDeal());
    const DealId even = saved(splitExampleDeal());
    EXPECT_EQ(rowCount(*m_database, QStringLiteral("DealPlans")), 0);
    EXPECT_EQ(m_store->loadDeal(even)->splitShare, QStringLiteral("50"));
    EXPECT_EQ(m_store->loadDeal(even)->planVersion, std::nullopt);
}

struct SplitCase
{
    const char *share;
    const char *commission;
    const char *total;
    const char *first[4];  // Commission, UnitCount, TotalCommission, Payable_Gross
    const char *second[4];
};

// Each salesperson's row in whole cents, the first taking the odd cent, the
// two adding up to the deal's figures.
TEST_P(PayPlanStoreTest, SplitRowsTakeTheShareInWholeCents)
{
    const SplitCase cases[] = {
        {"60", "$1170.00", "$1250.00", {"702", "0.6", "750", "2340"}, {"468", "0.4", "500", "1560"}},
        {"33", "$100.01", "$180.01", {"33", "0.33", "59.4", "1287"}, {"67.01", "0.67", "120.61", "2613"}},
        {"50", "$625.01", "$705.01", {"312.51", "0.5", "352.51", "1950"}, {"312.5", "0.5", "352.5", "1950"}},
    };
    for (const SplitCase &c : cases) {
        execute(*m_database, QStringLiteral("DELETE FROM \"SalesSummary\""));
        Deal deal = splitExampleDeal();
        deal.splitShare = QString::fromLatin1(c.share);
        deal.commission = QString::fromLatin1(c.commission);
        deal.totalCommission = QString::fromLatin1(c.total);
        saved(deal);
        const QList<QSqlRecord> rows = tableRows(*m_database, QStringLiteral("SalesSummary"));
        ASSERT_EQ(rows.size(), 2) << c.share;
        for (int row = 0; row < 2; ++row) {
            const char *const *expected = row == 0 ? c.first : c.second;
            EXPECT_EQ(money(rows[row], "Commission"), QString::fromLatin1(expected[0])) << c.share;
            EXPECT_EQ(money(rows[row], "UnitCount"), QString::fromLatin1(expected[1])) << c.share;
            EXPECT_EQ(money(rows[row], "TotalCommission"), QString::fromLatin1(expected[2]))
                << c.share;
            EXPECT_EQ(money(rows[row], "Payable_Gross"), QString::fromLatin1(expected[3]))
                << c.share;
        }
    }
}

TEST_P(PayPlanStoreTest, ASplitShareThatIsNoShareStopsTheSave)
{
    Deal deal = splitExampleDeal();
    deal.splitShare = QStringLiteral("100");
    QString error;
    EXPECT_EQ(m_store->save(deal, &error), std::nullopt);
    EXPECT_EQ(error, QStringLiteral("The deal was not saved: The share \"100\" is not a whole "
                                    "percent from 1 to 99."));
    EXPECT_EQ(dealTableCounts(), (std::array<int, 3>{0, 0, 0}));
}

// A database of the version before plans gets them when it is opened, its
// deals untouched.
TEST_P(PayPlanStoreTest, AVersionThreeDatabaseGetsThePlanTables)
{
    saved(splitExampleDeal());
    {
        QSqlDatabase db = m_database->connection();
        // Each later step's objects go first: the ledger's draw is a plan column.
        dropStepsFrom(*m_database, 7);
        execute(*m_database, QStringLiteral("DROP TABLE \"DealPlans\""));
        execute(*m_database, QStringLiteral("DROP TABLE \"PayPlanVersions\""));
        // The sheets' desk came after the plans.
        execute(*m_database, QStringLiteral("ALTER TABLE \"Sheets\" DROP COLUMN \"DeskName\""));
        execute(*m_database, QStringLiteral("ALTER TABLE \"Sheets\" DROP COLUMN \"DeskFolder\""));
        // The users came after.
        for (const char *statement : {"DROP TABLE \"Users\"", "DROP INDEX \"Audit_UserName\"",
                                      "ALTER TABLE \"Audit\" DROP COLUMN \"UserName\""})
            execute(*m_database, QString::fromLatin1(statement));
        QString error;
        ASSERT_TRUE(StoreEngine::setSchemaVersion(db, 3, &error)) << error.toStdString();
    }
    reopen();
    EXPECT_TRUE(m_database->upgradeNote().startsWith(
        QStringLiteral("The deal database was upgraded from version 3 to version 9.")))
        << m_database->upgradeNote().toStdString();
    EXPECT_EQ(columnsOf(*m_database, QStringLiteral("DealPlans")).mid(0, 5),
              (QStringList{"DealId", "PlanVersionId", "SplitShare", "PlanPack", "PlanRate"}));
    EXPECT_EQ(columnsOf(*m_database, QStringLiteral("PayPlanVersions")).mid(0, 5),
              (QStringList{"PlanVersionId", "SalesPerson", "EffectiveFrom", "NCPercent", "NCFlat"}));
    EXPECT_EQ(rowCount(*m_database, QStringLiteral("SalesSummary")), 2);
    PayPlanStore upgraded(*m_database);
    EXPECT_TRUE(upgraded.add(planFrom(QStringLiteral("John Smith"), QDate(2026, 3, 1)), nullptr));
}

} // namespace
