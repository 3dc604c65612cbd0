// The volume tiers of the pay plans: a database of the version before is
// upgraded and gets them, its plans read as plans without tiers.
#include "store/pay_plan_store.h"
#include "store_test_support.h"
#include "test_printers.h"

#include <gtest/gtest.h>

namespace {

using VolumeSchemaTest = EngineStoreTest;
INSTANTIATE_ON_BOTH_ENGINES(VolumeSchemaTest);

PayPlanVersion planOf(const QString &salesPerson, const QDate &from)
{
    PayPlanVersion plan;
    plan.salesPerson = salesPerson;
    plan.effectiveFrom = from;
    for (PlanTerms &terms : plan.terms)
        terms.percent = Money::dollars(25);
    return plan;
}

TEST_P(VolumeSchemaTest, AVersionSevenDatabaseGetsTheTiersAndItsPlansHaveNone)
{
    const bool server = GetParam() == StoreEngine::Engine::PostgreSQL;
    QString error;
    const std::optional<qint64> older =
        PayPlanStore(*m_database).add(planOf(QStringLiteral("Zoë Ålund"), QDate(2026, 1, 1)), &error);
    ASSERT_TRUE(older) << error.toStdString();
    dropStepsFrom(*m_database, 8);
    execute(*m_database, server ? QStringLiteral("UPDATE \"SchemaVersion\" SET \"Version\" = 7")
                                : QStringLiteral("PRAGMA user_version = 7"));
    m_store.reset();
    m_database = server ? std::make_unique<DealDatabase>(m_server->settings())
                        : std::make_unique<DealDatabase>(m_dir.folder());
    ASSERT_TRUE(m_database->open(&error)) << error.toStdString();
    EXPECT_TRUE(m_database->upgradeNote().startsWith(
        QStringLiteral("The deal database was upgraded from version 7 to version 9.")))
        << m_database->upgradeNote().toStdString();
    EXPECT_EQ(columnsOf(*m_database, QStringLiteral("PayPlanTiers")),
              (QStringList{"TierId", "PlanVersionId", "UnitsFrom", "Percent", "PerUnit", "Mini"}));

    PayPlanStore plans(*m_database);
    const std::optional<PayPlanVersion> kept = plans.version(*older, &error);
    ASSERT_TRUE(kept) << error.toStdString();
    EXPECT_TRUE(kept->tiers.isEmpty());
    EXPECT_EQ(kept->tierMode, TierMode::Retroactive);
    EXPECT_EQ(kept->tierClasses, TierClasses::All);

    // Tiers, their mode and classes are kept with a version and read back.
    PayPlanVersion tiered = planOf(QStringLiteral("Zoë Ålund"), QDate(2026, 4, 1));
    tiered.tiers = {{.unitsFrom = *MoneyText::parse(QStringLiteral("11.5")),
                     .percent = *MoneyText::parse(QStringLiteral("27.75")),
                     .mini = Money::dollars(200)},
                    {.unitsFrom = Money::dollars(20), .perUnit = Money::dollars(25)}};
    tiered.tierMode = TierMode::Marginal;
    tiered.tierClasses = TierClasses::UsedOnly;
    const std::optional<qint64> id = plans.add(tiered, &error);
    ASSERT_TRUE(id) << error.toStdString();
    tiered.id = *id;
    EXPECT_EQ(plans.inForce(QStringLiteral("Zoë Ålund"), QDate(2026, 4, 30), &error), tiered);
    tiered.tiers.removeLast();
    ASSERT_TRUE(plans.change(tiered, &error)) << error.toStdString();
    EXPECT_EQ(plans.version(*id, &error), tiered);
    ASSERT_TRUE(plans.remove(*id, &error)) << error.toStdString();
    EXPECT_EQ(single(*m_database, QStringLiteral("SELECT count(*) FROM \"PayPlanTiers\"")).toInt(), 0);
}

} // namespace
