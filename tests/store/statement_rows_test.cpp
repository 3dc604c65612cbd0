// Rows read forward on either engine: values as the driver gives them, and a
// row the database fails to give is a failure, not the end of the rows.
#include "store/statement_rows.h"
#include "store_test_support.h"

namespace {

using StatementRowsTest = EngineStoreTest;
INSTANTIATE_ON_BOTH_ENGINES(StatementRowsTest);

TEST_P(StatementRowsTest, ValuesComeTypedAndAsUtf8)
{
    StatementRows rows(m_database->connection());
    QString error;
    ASSERT_TRUE(rows.run(QStringLiteral("SELECT CAST(? AS BIGINT), CAST(? AS TEXT), NULL"),
                         {qint64(12500000), QStringLiteral("Åke Nyström")}, &error))
        << error.toStdString();
    ASSERT_TRUE(rows.next());
    EXPECT_EQ(rows.integer(0), 12500000);
    EXPECT_EQ(rows.utf8(1), QByteArrayView("\xC3\x85ke Nystr\xC3\xB6m"));
    EXPECT_EQ(rows.value(1).toString(), QStringLiteral("Åke Nyström"));
    EXPECT_TRUE(rows.isNull(2));
    EXPECT_FALSE(rows.isNull(0));
    EXPECT_FALSE(rows.next());
    EXPECT_TRUE(rows.failure().isEmpty());
}

TEST_P(StatementRowsTest, ARowTheDatabaseFailsToGiveIsAFailure)
{
    // The second row overflows a 64-bit whole number.
    StatementRows rows(m_database->connection());
    QString error;
    const bool ran = rows.run(
        QStringLiteral("SELECT CASE WHEN n > 1 THEN abs(-9223372036854775806 - n) ELSE n END "
                       "FROM (SELECT 1 AS n UNION ALL SELECT 2) AS numbers ORDER BY n"),
        {}, &error);
    if (!ran) {
        // The server works out every row before it sends the first.
        EXPECT_FALSE(error.isEmpty());
        return;
    }
    ASSERT_TRUE(rows.next());
    EXPECT_EQ(rows.integer(0), 1);
    EXPECT_FALSE(rows.next());
    EXPECT_TRUE(rows.failure().contains(QStringLiteral("overflow"))) << rows.failure().toStdString();
}

} // namespace
