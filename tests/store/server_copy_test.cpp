// Moving a desk's deal file to the server: every row copied with its key,
// value by value; a server that holds rows of its own refused; a failure at
// the last table leaving the server as it was; the file never written.
#include "store_test_support.h"

#include "store/commission_payments.h"
#include "store/pay_plan_store.h"
#include "store/payroll_codes.h"
#include "store/server_copy.h"
#include "store/sheet_records.h"
#include "store/sql_transaction.h"
#include "store/user_accounts.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

namespace {

const QStringList kTables = {QStringLiteral("SalesPersons"), QStringLiteral("PayPlanVersions"),
                             QStringLiteral("RecallDeal"),   QStringLiteral("DealPlans"),
                             QStringLiteral("Sheets"),       QStringLiteral("SalesSummary"),
                             QStringLiteral("SalesLog"),     QStringLiteral("Audit"),
                             QStringLiteral("Users"),        QStringLiteral("Unwinds"),
                             QStringLiteral("Ledger"),       QStringLiteral("Holds"),
                             QStringLiteral("PayPlanTiers"), QStringLiteral("PayrollCodes")};

QString keyOf(const QString &table)
{
    if (table == QLatin1String("RecallDeal"))
        return QStringLiteral("DealId");
    if (table == QLatin1String("Sheets"))
        return QStringLiteral("SheetId");
    if (table == QLatin1String("Audit"))
        return QStringLiteral("AuditId");
    if (table == QLatin1String("PayPlanVersions"))
        return QStringLiteral("PlanVersionId");
    if (table == QLatin1String("Users"))
        return QStringLiteral("UserId");
    if (table == QLatin1String("Unwinds"))
        return QStringLiteral("UnwindId");
    if (table == QLatin1String("Ledger"))
        return QStringLiteral("EntryId");
    if (table == QLatin1String("Holds"))
        return QStringLiteral("HoldId");
    if (table == QLatin1String("PayPlanTiers"))
        return QStringLiteral("TierId");
    return QStringLiteral("rowid");
}

// One value as compared: a date as its ISO text, an integer as a number.
QString comparable(const QVariant &value)
{
    if (value.isNull())
        return QStringLiteral("NULL");
    switch (value.typeId()) {
    case QMetaType::QDate:
        return QStringLiteral("text ") + value.toDate().toString(Qt::ISODate);
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return QStringLiteral("number ") + QString::number(value.toLongLong());
    default:
        return QStringLiteral("text ") + value.toString();
    }
}

// Every row of a table with its key, in key order, each value comparable.
QList<QStringList> keyedRows(const DealDatabase &database, const QString &table)
{
    QStringList columns = columnsOf(database, table);
    if (!columns.contains(keyOf(table)))
        columns << keyOf(table);
    QStringList quotedColumns;
    for (const QString &column : std::as_const(columns))
        quotedColumns << u'"' + column + u'"';
    QSqlQuery query(database.connection());
    QList<QStringList> rows;
    if (!query.exec(QStringLiteral("SELECT %1 FROM \"%2\" ORDER BY \"%3\"")
                        .arg(quotedColumns.join(u','), table, keyOf(table)))) {
        ADD_FAILURE() << query.lastError().text().toStdString();
        return rows;
    }
    while (query.next()) {
        QStringList row;
        for (int i = 0; i < columns.size(); ++i)
            row << columns[i] + u'=' + comparable(query.value(i));
        rows << row;
    }
    return rows;
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

class ServerCopyTest : public StoreTest
{
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_TEST_SERVER();
        m_targetServer = std::make_unique<ServerDatabase>(QStringLiteral("tarvex_copy_"));
        m_target = std::make_unique<DealDatabase>(m_targetServer->settings());
        QString error;
        ASSERT_TRUE(m_target->open(&error)) << error.toStdString();
    }

    // A desk's file with deals of every kind, a paid sheet, a deleted deal
    // (a gap in the keys) and a roster of several names.
    void fillSource()
    {
        // The desk's logins go to the server with its deals.
        for (const char *name : {"manager", "Zoë"}) {
            UserAccounts::User user;
            user.userName = QString::fromUtf8(name);
            QString error;
            ASSERT_TRUE(UserAccounts(m_database->connection()).add(user, QStringLiteral("pw"),
                                                                   &error))
                << error.toStdString();
        }
        for (const char *name : {"Mary Jones", "José Núñez", "Ann O'Neil"}) {
            QSqlQuery query(m_database->connection());
            query.prepare(QStringLiteral("INSERT INTO \"SalesPersons\" (\"Name\") VALUES (?)"));
            query.addBindValue(QString::fromUtf8(name));
            ASSERT_TRUE(query.exec()) << query.lastError().text().toStdString();
        }
        ASSERT_TRUE(saved(splitExampleDeal()) > 0);
        Deal overAllowed = dealFor(QStringLiteral("20417"), QStringLiteral("Renée Côté"));
        overAllowed.saleType = QStringLiteral("2");
        overAllowed.appraisal = QStringLiteral("3000");
        overAllowed.allowance = QStringLiteral("3400");
        overAllowed.overAllow = true;
        ASSERT_TRUE(saved(overAllowed) > 0);
        Deal gone = dealFor(QStringLiteral("X9"), QStringLiteral("Gone Away"));
        const DealId goneId = saved(gone);
        QString error;
        ASSERT_TRUE(m_store->remove(goneId, &error)) << error.toStdString();
        Deal underAllowed = dealFor(QStringLiteral("t-77"), QStringLiteral("Ørsted Freight"));
        underAllowed.saleType = QStringLiteral("A");
        underAllowed.appraisal = QStringLiteral("5000");
        underAllowed.allowance = QStringLiteral("4500");
        underAllowed.underAllow = true;
        underAllowed.date = QDate(2024, 12, 31);
        ASSERT_TRUE(saved(underAllowed) > 0);
        // José Núñez is paid by a plan of his own, and shares a deal 60/40.
        PayPlanVersion plan;
        plan.salesPerson = QStringLiteral("José Núñez");
        plan.effectiveFrom = QDate(2005, 1, 1);
        plan.terms[2].kind = PlanTerms::Kind::Flat;
        plan.terms[2].flat = Money::dollars(250);
        plan.cap = Money::dollars(2500);
        const std::optional<qint64> planId = PayPlanStore(*m_database).add(plan, &error);
        ASSERT_TRUE(planId) << error.toStdString();
        Deal retail = dealFor(QStringLiteral("00042"), QStringLiteral("Zoë Ng"));
        retail.saleType = QStringLiteral("r");
        retail.salesPerson = QStringLiteral("José Núñez");
        retail.planVersion = planId;
        retail.split = true;
        retail.splitPartner = QStringLiteral("Mary Jones");
        retail.splitShare = QStringLiteral("60");
        ASSERT_TRUE(saved(retail) > 0);
        ASSERT_TRUE(PayrollCodeStore(*m_database)
                        .save({QStringLiteral("José Núñez"), QStringLiteral("E-0042"),
                               {QStringLiteral("C1"), {}, {}, QStringLiteral("D9")}},
                              &error))
            << error.toStdString();

        // John Smith's rows paid on a sheet.
        CommissionPayments payments(*m_database);
        const auto unpaid = payments.unpaid(QStringLiteral("John Smith"), &error);
        ASSERT_TRUE(unpaid && !unpaid->isEmpty()) << error.toStdString();
        QList<qint64> rowIds;
        for (const SummaryRow &row : *unpaid)
            rowIds << row.rowId;
        SqlTransaction transaction(m_database->connection());
        ASSERT_TRUE(transaction.begin(&error)) << error.toStdString();
        SheetRecords sheets(m_database->connection());
        const auto sheetId = sheets.record(
            {QStringLiteral("John Smith"), QStringLiteral("3/12/05"), QStringLiteral("Bonus"),
             Money::dollars(100)},
            &error);
        ASSERT_TRUE(sheetId) << error.toStdString();
        const auto marked = payments.markPaid(rowIds, QStringLiteral("John Smith"), &error);
        ASSERT_TRUE(marked && marked->complete()) << error.toStdString();
        ASSERT_TRUE(sheets.attachRows(*sheetId, rowIds, &error)) << error.toStdString();
        ASSERT_TRUE(sheets.complete(*sheetId, QByteArray("lines"), std::nullopt, &error))
            << error.toStdString();
        ASSERT_TRUE(transaction.commit(&error)) << error.toStdString();
    }

    std::unique_ptr<ServerDatabase> m_targetServer;
    std::unique_ptr<DealDatabase> m_target;
};

TEST_F(ServerCopyTest, CopiesEveryRowWithItsKeyValueByValue)
{
    ASSERT_NO_FATAL_FAILURE(fillSource());
    const QString filePath = m_database->filePath();
    const QByteArray before = bytesOf(filePath);
    std::map<QString, int> sourceCounts;
    for (const QString &table : kTables)
        sourceCounts[table] = int(keyedRows(*m_database, table).size());
    ASSERT_GT(sourceCounts["Sheets"], 0);
    ASSERT_GT(sourceCounts["Audit"], 0);

    QString report;
    QString error;
    ASSERT_TRUE(ServerCopy::run(*m_database, *m_target, &report, &error)) << error.toStdString();

    for (const QString &table : kTables) {
        const QList<QStringList> from = keyedRows(*m_database, table);
        const QList<QStringList> to = keyedRows(*m_target, table);
        ASSERT_EQ(to.size(), from.size()) << table.toStdString();
        for (qsizetype i = 0; i < from.size(); ++i)
            EXPECT_EQ(to[i], from[i]) << table.toStdString() << " row " << i;
    }
    EXPECT_TRUE(report.endsWith(QStringLiteral("  SalesPersons: 4 rows\n"
                                               "  PayPlanVersions: 1 rows\n"
                                               "  RecallDeal: 4 rows\n"
                                               "  DealPlans: 1 rows\n"
                                               "  Sheets: %1 rows\n"
                                               "  SalesSummary: %2 rows\n"
                                               "  SalesLog: %3 rows\n"
                                               "  Audit: %4 rows\n"
                                               "  Users: 2 rows\n"
                                               "  Unwinds: %5 rows\n"
                                               "  Ledger: %6 rows\n"
                                               "  Holds: %7 rows\n"
                                               "  PayPlanTiers: %8 rows\n"
                                               "  PayrollCodes: 1 rows\n")
                                    .arg(sourceCounts["Sheets"])
                                    .arg(sourceCounts["SalesSummary"])
                                    .arg(sourceCounts["SalesLog"])
                                    .arg(sourceCounts["Audit"])
                                    .arg(sourceCounts["Unwinds"])
                                    .arg(sourceCounts["Ledger"])
                                    .arg(sourceCounts["Holds"])
                                    .arg(sourceCounts["PayPlanTiers"])))
        << report.toStdString();
    EXPECT_EQ(single(*m_target, QStringLiteral("SELECT \"Deals\" FROM \"DealCount\"")).toInt(), 4);
    EXPECT_EQ(bytesOf(filePath), before) << "the desk's file is only read";

    // The server's search and keys go on from the copied rows.
    DealStore serverStore(*m_target);
    EXPECT_EQ(serverStore.findByCustomerPart(QStringLiteral("CÔTÉ"), &error).size(), 1);
    const qint64 largestDeal =
        single(*m_database, QStringLiteral("SELECT MAX(\"DealId\") FROM \"RecallDeal\"")).toLongLong();
    const qint64 largestSummary =
        single(*m_database, QStringLiteral("SELECT MAX(rowid) FROM \"SalesSummary\"")).toLongLong();
    const auto next = serverStore.save(dealFor(QStringLiteral("N1"), QStringLiteral("Next One")),
                                       &error);
    ASSERT_TRUE(next) << error.toStdString();
    EXPECT_GT(*next, largestDeal);
    EXPECT_GT(single(*m_target, QStringLiteral("SELECT MAX(rowid) FROM \"SalesSummary\"")).toLongLong(),
              largestSummary);
    EXPECT_EQ(single(*m_target, QStringLiteral("SELECT \"Deals\" FROM \"DealCount\"")).toInt(), 5);
}

// A deal deleted in the file after the last one kept still names its key in
// the audit trail: the server never gives that key to a new deal.
TEST_F(ServerCopyTest, AKeyOnceGivenInTheFileIsNotGivenAgain)
{
    saved(dealFor(QStringLiteral("00042"), QStringLiteral("Kept")));
    const DealId deleted = saved(dealFor(QStringLiteral("00043"), QStringLiteral("Deleted")));
    QString error;
    ASSERT_TRUE(m_store->remove(deleted, &error)) << error.toStdString();
    QString report;
    ASSERT_TRUE(ServerCopy::run(*m_database, *m_target, &report, &error)) << error.toStdString();
    const auto next = DealStore(*m_target).save(dealFor(QStringLiteral("N2"), QStringLiteral("New")),
                                               &error);
    ASSERT_TRUE(next) << error.toStdString();
    EXPECT_EQ(*next, deleted + 1);
}

TEST_F(ServerCopyTest, AServerHoldingRowsOfItsOwnIsRefusedAndLeftAsItWas)
{
    ASSERT_NO_FATAL_FAILURE(fillSource());
    execute(*m_target, QStringLiteral("INSERT INTO \"SalesPersons\" (\"Name\") VALUES ('Kim Park')"));
    QString report;
    QString error;
    EXPECT_FALSE(ServerCopy::run(*m_database, *m_target, &report, &error));
    EXPECT_TRUE(error.endsWith(QStringLiteral(" already holds salespeople of its own; deals are "
                                              "copied only into an empty database. Nothing was "
                                              "written.")))
        << error.toStdString();
    EXPECT_EQ(rowCount(*m_target, QStringLiteral("SalesPersons")), 2);

    DealStore serverStore(*m_target);
    ASSERT_TRUE(serverStore.save(plainExampleDeal(), &error)) << error.toStdString();
    EXPECT_FALSE(ServerCopy::run(*m_database, *m_target, &report, &error));
    EXPECT_TRUE(error.contains(QStringLiteral(" already holds rows in ")))
        << error.toStdString();
    EXPECT_EQ(rowCount(*m_target, QStringLiteral("RecallDeal")), 1);
    EXPECT_TRUE(report.isEmpty());
}

TEST_F(ServerCopyTest, AFailureAtTheLastTableLeavesTheServerEmpty)
{
    ASSERT_NO_FATAL_FAILURE(fillSource());
    failInserts(*m_target, QStringLiteral("Audit"), QStringLiteral("no room left"));
    QString report;
    QString error;
    EXPECT_FALSE(ServerCopy::run(*m_database, *m_target, &report, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Could not write Audit: ")))
        << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("no room left"))) << error.toStdString();
    for (const QString &table : kTables) {
        if (table != QLatin1String("SalesPersons")) {
            EXPECT_EQ(keyedRows(*m_target, table).size(), 0) << table.toStdString();
        }
    }
    EXPECT_EQ(single(*m_target, QStringLiteral("SELECT \"Name\" FROM \"SalesPersons\"")).toString(),
              QStringLiteral("House"));
    EXPECT_EQ(single(*m_target, QStringLiteral("SELECT \"Deals\" FROM \"DealCount\"")).toInt(), 0);
}

// The rows copied are told as the copy goes on; stopped, the copy leaves
// the server as it was.
TEST_F(ServerCopyTest, TellsTheRowsCopiedAndACancelledCopyLeavesTheServerEmpty)
{
    ASSERT_NO_FATAL_FAILURE(fillSource());
    execute(*m_database,
            QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                           "WHERE i < 250) INSERT INTO \"SalesPersons\" (\"Name\") "
                           "SELECT 'Vendeuse Zoë ' || i FROM n"));
    qint64 rows = 0;
    for (const QString &table : kTables)
        rows += rowCount(*m_database, table);
    QString report;
    QString error;
    int calls = 0;
    EXPECT_FALSE(ServerCopy::run(*m_database, *m_target, &report, &error,
                                 [&](qint64 done, qint64 total) {
                                     EXPECT_EQ(total, rows);
                                     ++calls;
                                     return done < 200; // Cancel among the salespeople
                                 }));
    EXPECT_EQ(calls, 3); // at the start, after 100 rows and after 200
    EXPECT_EQ(error, QStringLiteral("The copy was cancelled. Nothing was written."));
    EXPECT_EQ(rowCount(*m_target, QStringLiteral("SalesPersons")), 1);
    EXPECT_EQ(rowCount(*m_target, QStringLiteral("RecallDeal")), 0);

    QList<qint64> told;
    ASSERT_TRUE(ServerCopy::run(*m_database, *m_target, &report, &error,
                                [&told](qint64 done, qint64) {
                                    told << done;
                                    return true;
                                }))
        << error.toStdString();
    ASSERT_FALSE(told.isEmpty());
    EXPECT_EQ(told.first(), 0);
    EXPECT_EQ(told.last(), rows);
    EXPECT_EQ(rowCount(*m_target, QStringLiteral("SalesPersons")),
              rowCount(*m_database, QStringLiteral("SalesPersons")));
}

} // namespace
