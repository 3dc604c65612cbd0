// The older installation's database imported whole, and the program's own
// paths at work on the imported deals.
#include "legacy/legacy_import.h"
#include "legacy_test_support.h"
#include "reports/sales_report_query.h"
#include "store/commission_payments.h"
#include "store/deal_database.h"
#include "store/deal_store.h"
#include "store/sql_transaction.h"

#include <QFile>
#include <QJsonArray>
#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

QList<QSqlRecord> rowsOf(const DealDatabase &database, const QString &table)
{
    QSqlQuery query(database.connection());
    EXPECT_TRUE(query.exec(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(table)));
    QList<QSqlRecord> rows;
    while (query.next())
        rows << query.record();
    return rows;
}

// The stored form of a listed value: money and unit counts in ten-thousandths,
// yes/no 0 or 1, dates ISO text.
QVariant storedForm(const QString &type, const QJsonValue &listed)
{
    if (listed.isNull())
        return {};
    if (type == QLatin1String("Currency"))
        return tenThousandths(listed.toString());
    if (type == QLatin1String("Number (Single)"))
        return qint64(listed.toDouble() * 10000);
    if (type == QLatin1String("Number (Long Integer)"))
        return listed.toInteger();
    if (type == QLatin1String("Yes/No"))
        return listed.toBool() ? 1 : 0;
    return listed.toString();
}

class LegacyImportTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        dir = new TempProgramFolder;
        placeFixture(*dir);
        result = new LegacyImportResult(
            LegacyImport(dir->folder(), dir->filePath(QStringLiteral("Sales Log2.mdb"))).run());
    }
    static void TearDownTestSuite()
    {
        delete result;
        delete dir;
    }

    void SetUp() override
    {
        ASSERT_EQ(result->status, LegacyImportResult::Status::Imported)
            << result->error.toStdString();
        database = std::make_unique<DealDatabase>(dir->folder());
        QString error;
        ASSERT_TRUE(database->open(&error)) << error.toStdString();
    }

    // The deal identity of the RecallDeal row with this stock number and date.
    qint64 dealOf(const QString &stock, const QString &date)
    {
        QSqlQuery query(database->connection());
        query.prepare(
            QStringLiteral("SELECT DealId FROM RecallDeal WHERE StockNo = ? AND Date = ?"));
        query.addBindValue(stock);
        query.addBindValue(date);
        EXPECT_TRUE(query.exec() && query.next()) << stock.toStdString();
        return query.value(0).toLongLong();
    }

    // The deal identities of a table's rows with this stock number and date.
    QList<qint64> dealsIn(const QString &table, const QString &stockColumn, const QString &stock,
                          const QString &date)
    {
        QSqlQuery query(database->connection());
        query.prepare(
            QStringLiteral("SELECT DealId FROM %1 WHERE %2 = ? AND Date = ? ORDER BY rowid")
                .arg(table, stockColumn));
        query.addBindValue(stock);
        query.addBindValue(date);
        EXPECT_TRUE(query.exec());
        QList<qint64> ids;
        while (query.next())
            ids << query.value(0).toLongLong();
        return ids;
    }

    static TempProgramFolder *dir;
    static LegacyImportResult *result;
    std::unique_ptr<DealDatabase> database;
};

TempProgramFolder *LegacyImportTest::dir = nullptr;
LegacyImportResult *LegacyImportTest::result = nullptr;

TEST_F(LegacyImportTest, TheAccessFileIsKeptUnchangedBesideTheNewDatabase)
{
    EXPECT_EQ(dir->readBytes(QStringLiteral("Sales Log2 (Access).mdb")), fixtureBytes());
    EXPECT_TRUE(dir->readBytes(QStringLiteral("Sales Log2.mdb")).startsWith("SQLite format 3"));
    EXPECT_EQ(result->deals, 42);
    EXPECT_EQ(result->salesPersons, 6);
    EXPECT_EQ(result->untiedRows, 1);
    EXPECT_EQ(result->unconvertedValues, 1);
    EXPECT_EQ(
        result->summaryLines().mid(0, 4),
        QStringList({QStringLiteral("Imported 42 deals and 6 salespeople from the Access "
                                    "database."),
                     QStringLiteral("1 row could not be tied to a deal; it was imported as a "
                                    "deal of its own."),
                     QStringLiteral("1 value did not arrive as it was; the report says which."),
                     QStringLiteral("The Access file is kept unchanged as \"Sales Log2 "
                                    "(Access).mdb\".")}));
}

TEST_F(LegacyImportTest, EveryValueArrivesExactly)
{
    const QJsonObject tables = expectedFixture().value(QStringLiteral("tables")).toObject();
    for (auto it = tables.begin(); it != tables.end(); ++it) {
        const QJsonArray columns = it.value().toObject().value(QStringLiteral("columns")).toArray();
        const QJsonArray rows = it.value().toObject().value(QStringLiteral("rows")).toArray();
        const QList<QSqlRecord> stored = rowsOf(*database, it.key());
        // RecallDeal holds one row more: the deal made for the row not tied.
        ASSERT_EQ(stored.size(), rows.size() + (it.key() == QLatin1String("RecallDeal") ? 1 : 0))
            << it.key().toStdString();
        for (int r = 0; r < rows.size(); ++r) {
            for (const QJsonValue &column : columns) {
                const QString name = column[QStringLiteral("name")].toString();
                QVariant want =
                    storedForm(column[QStringLiteral("type")].toString(), rows.at(r)[name]);
                if (it.key() == QLatin1String("SalesPersons") && !want.isValid())
                    want = QString(); // the roster's empty name
                const QVariant got = stored.at(r).value(name);
                EXPECT_EQ(got.isNull(), want.isNull() && want.typeId() != QMetaType::QString)
                    << it.key().toStdString() << " row " << r + 1 << " " << name.toStdString();
                if (!want.isNull()) {
                    EXPECT_EQ(got.toString(), want.toString())
                        << it.key().toStdString() << " row " << r + 1 << " " << name.toStdString();
                }
            }
        }
    }
}

TEST_F(LegacyImportTest, EachDealsRowsAreTiedToIt)
{
    // Every tied row has its deal's stock number (in any letter case) and date.
    QSqlQuery mismatched(database->connection());
    ASSERT_TRUE(mismatched.exec(
        QStringLiteral("SELECT (SELECT count(*) FROM SalesSummary s JOIN RecallDeal r USING "
                       "(DealId) WHERE upper(s.Stock_Number) <> upper(r.StockNo) OR s.Date <> "
                       "r.Date) + (SELECT count(*) FROM SalesLog l JOIN RecallDeal r USING "
                       "(DealId) WHERE upper(l.StockNumber) <> upper(r.StockNo) OR l.Date <> "
                       "r.Date)")));
    ASSERT_TRUE(mismatched.next());
    EXPECT_EQ(mismatched.value(0).toInt(), 0);

    struct Case
    {
        const char *stock;
        const char *date;
        qsizetype summaryRows;
    };
    const QList<Case> cases = {
        {"N3188", "2003-03-15", 2},  // a split deal
        {"T3555", "2003-12-31", 2},  // the class code in small letters in one half
        {"U3521", "2004-03-12", 1},  // two deals of one stock number
        {"U3521", "2004-09-02", 1},  //   on different dates
        {"U5377A", "2005-10-08", 1}, // corrected and saved again after later deals
    };
    QSet<qint64> deals;
    for (const Case &c : cases) {
        const QString stock = QString::fromLatin1(c.stock);
        const QString date = QString::fromLatin1(c.date);
        const qint64 deal = dealOf(stock, date);
        deals << deal;
        EXPECT_EQ(
            dealsIn(QStringLiteral("SalesSummary"), QStringLiteral("Stock_Number"), stock, date),
            QList<qint64>(c.summaryRows, deal))
            << c.stock;
        EXPECT_EQ(dealsIn(QStringLiteral("SalesLog"), QStringLiteral("StockNumber"), stock, date),
                  QList<qint64>({deal}))
            << c.stock;
    }
    EXPECT_EQ(deals.size(), cases.size());
}

TEST_F(LegacyImportTest, ASaveMadeBeforeCalculateStaysADealOfItsOwn)
{
    // The complete deal gets the row with figures; the earlier row without
    // them is a deal of its own, with a RecallDeal row of what it holds.
    const QList<qint64> ids =
        dealsIn(QStringLiteral("SalesSummary"), QStringLiteral("Stock_Number"),
                QStringLiteral("N4350"), QStringLiteral("2004-11-06"));
    ASSERT_EQ(ids.size(), 2);
    EXPECT_EQ(ids.at(1), dealOf(QStringLiteral("N4350"), QStringLiteral("2004-11-06")));
    EXPECT_EQ(ids.at(0), 43);
    DealStore store(*database);
    const std::optional<Deal> made = store.loadDeal(43);
    ASSERT_TRUE(made);
    EXPECT_EQ(made->stockNumber, QStringLiteral("N4350"));
    EXPECT_EQ(made->customer, QStringLiteral("NORA KELLY"));
    EXPECT_EQ(made->salesPerson, QStringLiteral("DAN O'HARA"));
    EXPECT_EQ(made->payableGross, QString());
    EXPECT_EQ(store.findByStockNumber(QStringLiteral("n4350")), QList<DealId>({26, 43}));

    const QString report = QString::fromUtf8(dir->readBytes(QStringLiteral("import.log")));
    EXPECT_TRUE(report.contains(
        QStringLiteral("Rows not tied to a deal: 1 (each imported as a deal of its own")));
    EXPECT_TRUE(report.contains(QStringLiteral(
        "  SalesSummary row 29: Date = 2004-11-06, Unit = \"2005 SEDAN SE\", Stock_Number = "
        "\"N4350\", Customer_Name = \"NORA KELLY\", Sales_Person = \"DAN O'HARA\", TCU = \"NC\", "
        "Payable_Gross = (empty), Commission = (empty), Spiff = 50.0000, Warranty = 0.0000, "
        "UnitCount = 1, TotalCommission = (empty), Paid = Yes\n")))
        << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral(
        "  SalesPersons row 6, Name: (empty): the roster keeps a name in every row; stored: empty "
        "text\n")));
    EXPECT_TRUE(report.contains(
        QStringLiteral("  RecallDeal: 42 in the file, 43 in the new database (1 added)\n")));
    EXPECT_TRUE(report.contains(
        QStringLiteral("  SalesSummary: 48 in the file, 48 in the new database\n")));
}

TEST_F(LegacyImportTest, RecallFindsImportedDealsByAnAccentedCustomerPart)
{
    DealStore store(*database);
    const QList<DealId> found = store.findByCustomerPart(QStringLiteral("muñoz"));
    ASSERT_EQ(found.size(), 1);
    const std::optional<Deal> deal = store.loadDeal(found.first());
    ASSERT_TRUE(deal);
    EXPECT_EQ(deal->customer, QStringLiteral("IÑIGO MUÑOZ"));
    EXPECT_EQ(deal->unit, QStringLiteral("COUPÉ GT"));
    EXPECT_EQ(deal->salesPerson, QStringLiteral("José Peña"));
    EXPECT_EQ(deal->year, QStringLiteral("2003"));
    EXPECT_EQ(store.findByCustomerPart(QStringLiteral("zoë")).size(), 1);
}

TEST_F(LegacyImportTest, ASplitDealRecallsWithItsHalves)
{
    DealStore store(*database);
    const QList<DealId> found = store.findByStockNumber(QStringLiteral("n4233"));
    ASSERT_EQ(found.size(), 1);
    const std::optional<RecalledDealState> state = store.recalledDealState(found.first());
    ASSERT_TRUE(state);
    EXPECT_EQ(state->summaryRowCount, 2);
    EXPECT_TRUE(state->paid); // one half is paid
    const std::optional<Deal> deal = store.loadDeal(found.first());
    ASSERT_TRUE(deal);
    EXPECT_EQ(deal->payableGross, QStringLiteral("3659.45"));
    EXPECT_EQ(deal->splitPartner, QStringLiteral("Lena Strand"));
    // An older installation had no pay plans: every deal keeps the standing
    // figures it was saved with, split evenly.
    EXPECT_EQ(deal->planVersion, std::nullopt);
    EXPECT_EQ(deal->splitShare, QStringLiteral("50"));
    QSqlQuery plans(database->connection());
    ASSERT_TRUE(plans.exec(QStringLiteral("SELECT COUNT(*) FROM DealPlans")) && plans.next());
    EXPECT_EQ(plans.value(0).toInt(), 0);
}

TEST_F(LegacyImportTest, TheCommissionSheetListsExactlyTheUnpaidRowsAndPaysThem)
{
    CommissionPayments payments(*database);
    QString error;
    const std::optional<QList<SummaryRow>> unpaid =
        payments.unpaid(QStringLiteral("josé peña"), &error);
    ASSERT_TRUE(unpaid) << error.toStdString();
    ASSERT_EQ(unpaid->size(), 2);
    EXPECT_EQ(unpaid->at(0).value(QStringLiteral("Stock_Number")).toString(),
              QStringLiteral("N5480"));
    EXPECT_EQ(unpaid->at(0).value(QStringLiteral("TotalCommission")).toLongLong(), 3758700);
    EXPECT_EQ(unpaid->at(1).value(QStringLiteral("Stock_Number")).toString(),
              QStringLiteral("U5530A"));
    const std::optional<QList<SummaryRow>> lena =
        payments.unpaid(QStringLiteral("LENA STRAND"), &error);
    ASSERT_TRUE(lena);
    ASSERT_EQ(lena->size(), 2); // the unpaid half of N4233, and U5512A
    EXPECT_EQ(lena->at(0).value(QStringLiteral("UnitCount")).toLongLong(), 5000);

    {
        SqlTransaction transaction(database->connection());
        ASSERT_TRUE(transaction.begin(&error));
        const std::optional<PaidMarking> paid = payments.markPaid(
            {unpaid->at(0).rowId, unpaid->at(1).rowId}, QStringLiteral("josé peña"), &error);
        ASSERT_TRUE(paid) << error.toStdString();
        EXPECT_EQ(paid->paid.size(), 2);
        EXPECT_TRUE(paid->complete());
        ASSERT_TRUE(transaction.commit(&error));
    }
    EXPECT_EQ(payments.unpaid(QStringLiteral("JOSÉ PEÑA"), &error)->size(), 0);
    ASSERT_TRUE(payments.markUnpaid({unpaid->at(0).rowId, unpaid->at(1).rowId}, &error));
}

TEST_F(LegacyImportTest, TheSalespersonSummaryFindsAnAccentedNameAsTheRosterSpellsIt)
{
    const SalesReportQuery query = SalesReportQuery::salesSummary(
        QStringLiteral("José Peña"), QDate(2003, 1, 1), QDate(2005, 12, 31));
    QSqlQuery rows(database->connection());
    ASSERT_TRUE(rows.prepare(query.statement));
    for (const QVariant &value : query.values)
        rows.addBindValue(value);
    ASSERT_TRUE(rows.exec());
    QStringList stocks;
    while (rows.next())
        stocks << rows.record().value(QStringLiteral("Stock_Number")).toString();
    EXPECT_EQ(stocks, QStringList({QStringLiteral("N3301"), QStringLiteral("N3540"),
                                   QStringLiteral("T4077"), QStringLiteral("N4233"),
                                   QStringLiteral("T5044"), QStringLiteral("T5311"),
                                   QStringLiteral("N5480"), QStringLiteral("U5530A")}));
}

} // namespace

namespace {

TEST(LegacyImportKeptNameTest, ATakenNameIsPassedOverAndASecondNameOfTheFileReused)
{
    // "(Access).mdb" holds another file; "(Access 2).mdb" is a second name of
    // the Access file itself, left by an import stopped just after giving it.
    TempProgramFolder dir;
    placeFixture(dir);
    dir.writeBytes(QStringLiteral("Sales Log2 (Access).mdb"), QByteArray("an older copy"));
    ASSERT_EQ(::link(QFile::encodeName(dir.filePath(QStringLiteral("Sales Log2.mdb"))).constData(),
                     QFile::encodeName(dir.filePath(QStringLiteral("Sales Log2 (Access 2).mdb")))
                         .constData()),
              0);
    const LegacyImportResult result =
        LegacyImport(dir.folder(), dir.filePath(QStringLiteral("Sales Log2.mdb"))).run();
    ASSERT_EQ(result.status, LegacyImportResult::Status::Imported) << result.error.toStdString();
    EXPECT_EQ(result.keptPath, dir.filePath(QStringLiteral("Sales Log2 (Access 2).mdb")));
    EXPECT_EQ(dir.readBytes(QStringLiteral("Sales Log2 (Access).mdb")),
              QByteArray("an older copy"));
    EXPECT_EQ(dir.readBytes(QStringLiteral("Sales Log2 (Access 2).mdb")), fixtureBytes());
    EXPECT_EQ(folderNames(dir.folder().path()),
              QStringList({QStringLiteral("Sales Log2 (Access 2).mdb"),
                           QStringLiteral("Sales Log2 (Access).mdb"),
                           QStringLiteral("Sales Log2.mdb"), QStringLiteral("import.log")}));
}

} // namespace
