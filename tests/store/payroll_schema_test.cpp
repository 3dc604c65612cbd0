// What payroll knows each salesperson by: a database of the version before
// is upgraded and gets the table; codes are kept per salesperson, the name
// in any letter case, every change in the audit trail.
#include "store/audit_trail.h"
#include "store/payroll_codes.h"
#include "store_test_support.h"
#include "test_printers.h"

#include <gtest/gtest.h>

namespace {

using PayrollSchemaTest = EngineStoreTest;
INSTANTIATE_ON_BOTH_ENGINES(PayrollSchemaTest);

QList<AuditTrail::Record> auditOf(const DealDatabase &database, const QString &action)
{
    QString error;
    AuditTrail::Filter filter;
    filter.action = action;
    const auto records = AuditTrail::read(database.connection(), filter, &error);
    EXPECT_TRUE(records) << error.toStdString();
    return records.value_or(QList<AuditTrail::Record>());
}

TEST_P(PayrollSchemaTest, AVersionEightDatabaseGetsThePayrollCodesWithNoneRecorded)
{
    const bool server = GetParam() == StoreEngine::Engine::PostgreSQL;
    dropStepsFrom(*m_database, 9);
    execute(*m_database, server ? QStringLiteral("UPDATE \"SchemaVersion\" SET \"Version\" = 8")
                                : QStringLiteral("PRAGMA user_version = 8"));
    m_store.reset();
    m_database = server ? std::make_unique<DealDatabase>(m_server->settings())
                        : std::make_unique<DealDatabase>(m_dir.folder());
    QString error;
    ASSERT_TRUE(m_database->open(&error)) << error.toStdString();
    EXPECT_TRUE(m_database->upgradeNote().startsWith(
        QStringLiteral("The deal database was upgraded from version 8 to version 9.")))
        << m_database->upgradeNote().toStdString();
    EXPECT_EQ(single(*m_database, server ? QStringLiteral("SELECT \"Version\" FROM \"SchemaVersion\"")
                                         : QStringLiteral("PRAGMA user_version"))
                  .toInt(),
              9);
    EXPECT_EQ(columnsOf(*m_database, QStringLiteral("PayrollCodes")),
              (QStringList{"SalesPerson", "PayrollId", "CommissionCode", "BonusCode",
                           "ChargebackCode", "DrawRecoveryCode"}));

    const std::optional<PayrollCodes> none =
        PayrollCodeStore(*m_database).of(QStringLiteral("House"), &error);
    ASSERT_TRUE(none) << error.toStdString();
    EXPECT_TRUE(none->isEmpty());
    EXPECT_EQ(none->codeFor(EarningsKind::Commission), QStringLiteral("COMM"));
    EXPECT_EQ(none->codeFor(EarningsKind::Bonus), QStringLiteral("BONUS"));
    EXPECT_EQ(none->codeFor(EarningsKind::Chargeback), QStringLiteral("CHGBK"));
    EXPECT_EQ(none->codeFor(EarningsKind::DrawRecovery), QStringLiteral("DRAWREC"));
}

TEST_P(PayrollSchemaTest, CodesAreKeptPerSalespersonInAnyLetterCaseAndAudited)
{
    PayrollCodeStore store(*m_database);
    QString error;
    ASSERT_TRUE(store.save({QStringLiteral("Zoë Ålund"), QStringLiteral(" 00417 "),
                            {QStringLiteral("C"), {}, QStringLiteral("CB"), {}}},
                           &error))
        << error.toStdString();
    // Read under another spelling of the name (letters of any case, as the
    // roster compares them), trimmed, the defaults beside.
    const std::optional<PayrollCodes> read = store.of(QStringLiteral("ZOë ÅLUND"), &error);
    ASSERT_TRUE(read) << error.toStdString();
    EXPECT_EQ(read->salesPerson, QStringLiteral("Zoë Ålund"));
    EXPECT_EQ(read->payrollId, QStringLiteral("00417"));
    EXPECT_EQ(read->codeFor(EarningsKind::Commission), QStringLiteral("C"));
    EXPECT_EQ(read->codeFor(EarningsKind::Bonus), QStringLiteral("BONUS"));
    EXPECT_EQ(read->codeFor(EarningsKind::Chargeback), QStringLiteral("CB"));

    // Saved again under the other spelling: the same row, changed.
    ASSERT_TRUE(store.save({QStringLiteral("zoë Ålund"), QStringLiteral("00418"),
                            {QStringLiteral("C"), {}, QStringLiteral("CB"), {}}},
                           &error))
        << error.toStdString();
    EXPECT_EQ(rowCount(*m_database, QStringLiteral("PayrollCodes")), 1);
    // Unchanged: nothing written, no audit entry.
    ASSERT_TRUE(store.save(*store.of(QStringLiteral("Zoë Ålund"), &error), &error));

    const QList<AuditTrail::Record> entries =
        auditOf(*m_database, QStringLiteral("Payroll codes changed"));
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0].entry.before, QStringLiteral("PayrollId: 00417"));
    EXPECT_EQ(entries[0].entry.after, QStringLiteral("PayrollId: 00418"));
    EXPECT_EQ(entries[1].entry.tableName, QStringLiteral("PayrollCodes"));
    EXPECT_EQ(entries[1].entry.salesPerson, QStringLiteral("Zoë Ålund"));
    EXPECT_EQ(entries[1].entry.before,
              QStringLiteral("PayrollId: \nCommissionCode: \nChargebackCode: "));
    EXPECT_EQ(entries[1].entry.after,
              QStringLiteral("PayrollId: 00417\nCommissionCode: C\nChargebackCode: CB"));

    // Everything cleared takes the row away.
    ASSERT_TRUE(store.save({QStringLiteral("Zoë Ålund"), QStringLiteral(" "), {}}, &error))
        << error.toStdString();
    EXPECT_EQ(rowCount(*m_database, QStringLiteral("PayrollCodes")), 0);
    EXPECT_EQ(auditOf(*m_database, QStringLiteral("Payroll codes changed")).size(), 3);
}

} // namespace
