// Statements on the server connection's own handle read values, fail and
// write COPY data as the driver would: the same kinds of values, the same
// words and faults (a lock wait stays a lock wait), texts with tabs, line
// breaks, backslashes and accents unchanged.
#include "store/audit_trail.h"
#include "store/deal_database.h"
#include "store/pg_statement.h"
#include "store/sql_transaction.h"
#include "store/store_sql.h"
#include "store_test_support.h"

#include <QDate>
#include <QSqlError>
#include <QSqlQuery>

#include <gtest/gtest.h>

namespace {

class PgStatementTest : public StoreTest
{
protected:
    PgStatementTest() : StoreTest(StoreEngine::Engine::PostgreSQL) {}
    void SetUp() override { SKIP_WITHOUT_TEST_SERVER(); }
};

TEST_F(PgStatementTest, ReadsEachKindOfValueAsTheDriverDoes)
{
    PgStatement statement(m_database->connection());
    QString error;
    ASSERT_TRUE(statement.run(QStringLiteral("SELECT ?::bigint, ?::bigint, 3::integer, "
                                             "DATE '2026-12-05', ?::text, NULL::bigint, "
                                             "NULL::date, NULL::text, true, '?' || ?"),
                              {QVariant(-125000), QVariant(qint64(9000000000)),
                               QStringLiteral("Zoë Ávila\tTrucks"), QStringLiteral("x")},
                              &error))
        << error.toStdString();
    ASSERT_EQ(statement.rows(), 1);
    const auto value = [&](int column) { return statement.value(0, column); };
    EXPECT_EQ(value(0).typeId(), QMetaType::LongLong);
    EXPECT_EQ(value(0).toLongLong(), -125000);
    // A positive BIGINT comes as an unsigned number, as the driver gives it.
    EXPECT_EQ(value(1).typeId(), QMetaType::ULongLong);
    EXPECT_EQ(value(1).toULongLong(), 9000000000ULL);
    EXPECT_EQ(value(2), QVariant(3));
    EXPECT_EQ(value(3), QVariant(QDate(2026, 12, 5)));
    EXPECT_EQ(value(4), QVariant(QStringLiteral("Zoë Ávila\tTrucks")));
    for (const auto &[column, type] : {std::pair{5, QMetaType::LongLong},
                                       std::pair{6, QMetaType::QDate},
                                       std::pair{7, QMetaType::QString}}) {
        EXPECT_TRUE(value(column).isNull()) << column;
        EXPECT_EQ(value(column).typeId(), type) << column;
    }
    EXPECT_EQ(value(8), QVariant(true));
    // A mark inside quotes is text, not a value.
    EXPECT_EQ(value(9), QVariant(QStringLiteral("?x")));
}

TEST_F(PgStatementTest, AFailureIsWordedAndClassedAsTheDriversIs)
{
    const QString statement = QStringLiteral("SELECT 10 / ?::integer");
    QSqlQuery query(m_database->connection());
    ASSERT_TRUE(query.prepare(statement)) << query.lastError().text().toStdString();
    query.addBindValue(0);
    ASSERT_FALSE(query.exec());
    const QString driverWords = StoreSql::errorText(query.lastError());

    const StoreSql::FaultWatch watch;
    QString error;
    EXPECT_FALSE(PgStatement(m_database->connection()).run(statement, {QVariant(0)}, &error));
    EXPECT_EQ(error, driverWords);
    EXPECT_EQ(error, QStringLiteral("ERROR: division by zero (22012)"));
    EXPECT_EQ(watch.fault(), StoreSql::Fault::Data);
}

TEST_F(PgStatementTest, ARowHeldAtAnotherDeskIsALockWaitNotAFaultOfTheStore)
{
    Deal deal = dealFor(QStringLiteral("40417"), QStringLiteral("Renée Faure"));
    deal.salesPerson = QStringLiteral("John Smith");
    saved(deal);
    const QList<qint64> rows = unpaidRowIds(*m_database, QStringLiteral("John Smith"));
    ASSERT_EQ(rows.size(), 1);

    QSqlDatabase other = m_server->connect(QStringLiteral("pg-statement-other-desk"));
    QSqlQuery hold(other);
    ASSERT_TRUE(hold.exec(QStringLiteral("BEGIN")));
    ASSERT_TRUE(hold.exec(QStringLiteral("SELECT 1 FROM \"SalesSummary\" WHERE rowid = %1 "
                                         "FOR UPDATE")
                              .arg(rows.first())));

    SqlTransaction transaction(m_database->connection());
    QString error;
    ASSERT_TRUE(transaction.begin(&error)) << error.toStdString();
    execute(*m_database, QStringLiteral("SET LOCAL lock_timeout = '50ms'"));
    const StoreSql::FaultWatch watch;
    PgStatement lock(m_database->connection());
    EXPECT_FALSE(lock.run(QStringLiteral("SELECT rowid FROM \"SalesSummary\" WHERE rowid = "
                                         "ANY(?) FOR UPDATE"),
                          std::vector<PgStatement::Value>{PgStatement::arrayOf(rows)}, &error));
    EXPECT_EQ(watch.fault(), StoreSql::Fault::LockWait);
    EXPECT_TRUE(error.endsWith(QStringLiteral("(55P03)"))) << error.toStdString();
    hold.exec(QStringLiteral("ROLLBACK"));
}

TEST_F(PgStatementTest, AFailedCopyLeavesNothingAndTheConnectionUsable)
{
    // The second row has no action, which the trail requires.
    QString rows;
    for (const QVariantList &row :
         {QVariantList{QStringLiteral("2026-12-05 10:00:00"), QStringLiteral("Sheet paid"),
                       QStringLiteral("Sheets"), 1, QVariant(), 1, QVariant(), QVariant(),
                       QVariant(), QVariant(), QVariant()},
          QVariantList{QStringLiteral("2026-12-05 10:00:00"), QVariant(), QStringLiteral("Sheets"),
                       2, QVariant(), 2, QVariant(), QVariant(), QVariant(), QVariant(),
                       QVariant()}}) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i > 0)
                rows += u'\t';
            PgStatement::appendCopyField(rows, row.at(i));
        }
        rows += u'\n';
    }
    PgStatement copy(m_database->connection());
    const StoreSql::FaultWatch watch;
    QString error;
    EXPECT_FALSE(copy.copyIn(QStringLiteral("Audit"), AuditTrail::rowColumns(), rows, &error));
    EXPECT_EQ(watch.fault(), StoreSql::Fault::Data);
    EXPECT_TRUE(error.endsWith(QStringLiteral("(23502)"))) << error.toStdString();

    ASSERT_TRUE(copy.run(QStringLiteral("SELECT count(*) FROM \"Audit\""),
                         std::vector<PgStatement::Value>{}, &error))
        << error.toStdString();
    EXPECT_EQ(copy.value(0, 0).toLongLong(), 0);
}

TEST(PgStatementCopyField, EscapesWhatCopyReadsAsSyntaxAndWritesNoValueAsNull)
{
    QString rows;
    for (const QVariant &value :
         {QVariant(QStringLiteral("a\\b\tc\nd\re")), QVariant(), QVariant(QString()),
          QVariant(QStringLiteral("")), QVariant(qint64(-42)), QVariant(QDate(2026, 1, 9)),
          QVariant(QStringLiteral("Peña"))}) {
        PgStatement::appendCopyField(rows, value);
        rows += u'|';
    }
    EXPECT_EQ(rows, QStringLiteral("a\\\\b\\tc\\nd\\re|\\N|\\N||-42|2026-01-09|Peña|"));
}

// Through the trail on both engines: what is written is read back as it was.
class AuditTextsTest : public EngineStoreTest
{
};

INSTANTIATE_ON_BOTH_ENGINES(AuditTextsTest);

TEST_P(AuditTextsTest, TabsLineBreaksBackslashesAndAccentsComeBackAsWritten)
{
    AuditTrail::Entry entry;
    entry.action = QStringLiteral("Paid on sheet");
    entry.tableName = QStringLiteral("SalesSummary");
    entry.rowKey = 88;
    entry.dealId = 12;
    entry.sheetId = 3;
    entry.stockNumber = QStringLiteral("20731");
    entry.salesPerson = QStringLiteral("ZOË ÁVILA");
    entry.before = QStringLiteral("Customer: O'Brien \\ Søn\tLtd\r\nPaid: No");
    entry.after = QStringLiteral("Paid: Yes\nSheetId: 3");
    entry.userName = QStringLiteral("josé");
    AuditTrail::Entry second = entry;
    second.rowKey = 89;
    second.stockNumber.clear(); // none: NULL
    second.before = QStringLiteral("\\N");
    QString error;
    ASSERT_TRUE(AuditTrail::writeAll(m_database->connection(), {entry, second}, &error))
        << error.toStdString();

    const auto records = AuditTrail::read(m_database->connection(), {}, &error);
    ASSERT_TRUE(records) << error.toStdString();
    ASSERT_EQ(records->size(), 2);
    const AuditTrail::Entry &first = records->at(1).entry; // newest first
    EXPECT_EQ(first.rowKey.toLongLong(), 88);
    EXPECT_EQ(first.dealId.toLongLong(), 12);
    EXPECT_EQ(first.stockNumber, QStringLiteral("20731"));
    EXPECT_EQ(first.salesPerson, QStringLiteral("ZOË ÁVILA"));
    EXPECT_EQ(first.before, QStringLiteral("Customer: O'Brien \\ Søn\tLtd\r\nPaid: No"));
    EXPECT_EQ(first.after, QStringLiteral("Paid: Yes\nSheetId: 3"));
    EXPECT_EQ(first.userName, QStringLiteral("josé"));
    const AuditTrail::Entry &last = records->at(0).entry;
    EXPECT_EQ(last.rowKey.toLongLong(), 89);
    EXPECT_TRUE(last.stockNumber.isEmpty());
    EXPECT_EQ(last.before, QStringLiteral("\\N"));
    EXPECT_EQ(single(*m_database, QStringLiteral("SELECT count(*) FROM \"Audit\" WHERE "
                                                 "\"StockNumber\" IS NULL"))
                  .toInt(),
              1);
}

} // namespace
