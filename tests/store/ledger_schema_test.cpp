// Unwinds, chargebacks, holds and draws: a database of the version before
// is upgraded and gets their tables, its sheets and deals as they were.
#include "store/deal_unwinds.h"
#include "store/sales_ledger.h"
#include "store/sheet_records.h"
#include "store_test_support.h"

#include <gtest/gtest.h>

namespace {

using LedgerSchemaTest = EngineStoreTest;
INSTANTIATE_ON_BOTH_ENGINES(LedgerSchemaTest);

TEST_P(LedgerSchemaTest, AVersionSixDatabaseGetsTheLedgerAndKeepsItsSheets)
{
    const bool server = GetParam() == StoreEngine::Engine::PostgreSQL;
    const DealId deal = saved(dealFor(QStringLiteral("6006"), QStringLiteral("Léa Noël")));
    QString error;
    const std::optional<qint64> older =
        SheetRecords(m_database->connection())
            .record({.salesPerson = QStringLiteral("JOHN SMITH"),
                     .weekEnding = QStringLiteral("03/12/2026"),
                     .bonusDescription = {},
                     .bonus = std::nullopt},
                    &error);
    ASSERT_TRUE(older) << error.toStdString();
    dropStepsFrom(*m_database, 7);
    execute(*m_database, server ? QStringLiteral("UPDATE \"SchemaVersion\" SET \"Version\" = 6")
                                : QStringLiteral("PRAGMA user_version = 6"));
    m_store.reset();
    m_database = server ? std::make_unique<DealDatabase>(m_server->settings())
                        : std::make_unique<DealDatabase>(m_dir.folder());
    ASSERT_TRUE(m_database->open(&error)) << error.toStdString();
    EXPECT_TRUE(m_database->upgradeNote().startsWith(
        QStringLiteral("The deal database was upgraded from version 6 to version 9.")))
        << m_database->upgradeNote().toStdString();

    EXPECT_EQ(columnsOf(*m_database, QStringLiteral("Unwinds")),
              (QStringList{"UnwindId", "DealId", "UnwoundOn", "Reason", "Part", "Amount", "Whole"}));
    EXPECT_EQ(columnsOf(*m_database, QStringLiteral("Holds")),
              (QStringList{"HoldId", "SummaryRow", "SalesPerson", "Reason", "HeldAt"}));
    EXPECT_EQ(columnsOf(*m_database, QStringLiteral("Ledger")).mid(0, 5),
              (QStringList{"EntryId", "Kind", "SalesPerson", "EntryDate", "Amount"}));
    EXPECT_EQ(columnsOf(*m_database, QStringLiteral("Sheets")).mid(12),
              (QStringList{"Recovered", "CarriedIn", "NetPay"}));
    EXPECT_EQ(columnsOf(*m_database, QStringLiteral("PayPlanVersions")).mid(21, 2),
              (QStringList{"DrawPerMonth", "DrawRecoverable"}));

    // The older sheet is a sheet as always printed; the deal unwinds.
    const auto sheet = SheetRecords(m_database->connection()).find(*older, &error);
    ASSERT_TRUE(sheet) << error.toStdString();
    EXPECT_EQ(sheet->netPay, std::nullopt);
    const DealUnwinds::Outcome unwound = DealUnwinds(*m_database).unwind(
        {.deal = deal, .on = QDate(2026, 3, 14), .reason = QStringLiteral("Returned vehicle")});
    EXPECT_TRUE(unwound.done) << unwound.error.toStdString();
    EXPECT_TRUE(SalesLedger(*m_database).recordDraw(QStringLiteral("John Smith"),
                                                   QDate(2026, 3, 2), Money::dollars(500), true,
                                                   &error))
        << error.toStdString();
}

} // namespace
