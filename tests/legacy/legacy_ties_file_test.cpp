// The older database with rows a person or an interrupted save left awkward
// ("Sales Log2 ties.mdb", made from the fixture by data/make_ties_file.py):
// which row goes with which deal, and what the report and the summary say.
#include "legacy/legacy_import.h"
#include "legacy/legacy_import_command.h"
#include "legacy_test_support.h"
#include "store/deal_database.h"

#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTextStream>

#include <gtest/gtest.h>

namespace {

class LegacyTiesFile : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        dir = new TempProgramFolder;
        QFile file(QStringLiteral(TARVEX_LEGACY_DATA "/Sales Log2 ties.mdb"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        dir->writeBytes(QStringLiteral("old.mdb"), file.readAll());
        QTextStream out(&printed);
        exitCode = runLegacyImportCommand(dir->filePath(QStringLiteral("old.mdb")), dir->folder(),
                                          out);
    }
    static void TearDownTestSuite() { delete dir; }

    void SetUp() override
    {
        ASSERT_EQ(exitCode, 0) << printed.toStdString();
        database = std::make_unique<DealDatabase>(dir->folder());
        QString error;
        ASSERT_TRUE(database->open(&error)) << error.toStdString();
    }

    // "column|column|…" of every row a query gives, in order.
    QStringList rows(const QString &statement)
    {
        QSqlQuery query(database->connection());
        EXPECT_TRUE(query.exec(statement)) << statement.toStdString();
        QStringList result;
        while (query.next()) {
            QStringList values;
            for (int i = 0; i < query.record().count(); ++i)
                values << query.value(i).toString();
            result << values.join(u'|');
        }
        return result;
    }

    static TempProgramFolder *dir;
    static QString printed;
    static int exitCode;
    std::unique_ptr<DealDatabase> database;
};

TempProgramFolder *LegacyTiesFile::dir = nullptr;
QString LegacyTiesFile::printed;
int LegacyTiesFile::exitCode = -1;

// Two deals of Tom Briggs share stock number N3012 and 01/06/03: the first
// deal in the file takes the first rows of that key, the second the next.
TEST_F(LegacyTiesFile, TwoDealsOfOneKeyAndSalespersonTakeTheirRowsInFileOrder)
{
    EXPECT_EQ(rows(QStringLiteral(
                  "SELECT r.Customer, l.CustomerName, l.Gross, s.Customer_Name, "
                  "s.TotalCommission FROM RecallDeal r JOIN SalesLog l USING (DealId) "
                  "JOIN SalesSummary s USING (DealId) WHERE r.StockNo = 'N3012' ORDER BY r.DealId")),
              (QStringList{"CARL JENSEN|CARL JENSEN|24300000|CARL JENSEN|7190000",
                           "LINDA PARK|LINDA PARK|25110500|LINDA PARK|7033200"}));
}

// The SalesLog row of N4102 names "LENA SRTAND": no other log row of that
// stock number and date is left, so it is the deal's.
TEST_F(LegacyTiesFile, ALogRowWithAHandEditedNameIsTiedByEliminationAndReported)
{
    EXPECT_EQ(rows(QStringLiteral("SELECT r.SalesPerson, l.SalesPerson FROM RecallDeal r "
                                  "JOIN SalesLog l USING (DealId) WHERE r.StockNo = 'N4102'")),
              QStringList{"Lena Strand|LENA SRTAND"});
    QFile log(dir->filePath(QStringLiteral("import.log")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString report = QString::fromUtf8(log.readAll());
    EXPECT_TRUE(report.contains(
        QStringLiteral("  Rows tied although their salesperson differs from the deal's (names "
                       "changed by hand): each was the only row of its table left for a deal of "
                       "that stock number and date.\n    SalesLog row 19 (Date = 2004-04-03, StockNumber = "
                       "\"N4102\", Unit = \"2004 SEDAN LX\", CustomerName = \"MARK DOYLE\", "
                       "SalesPerson = \"LENA SRTAND\", Type = \"A\", Gross = 2794.2000, TCU = "
                       "\"NC\") to the deal of RecallDeal row 19, salesperson \"Lena Strand\".\n")))
        << report.toStdString();
    EXPECT_EQ(report.count(QStringLiteral(") to the deal of RecallDeal row ")), 1)
        << report.toStdString();
}

// "U4130A " with a stray space, in SalesSummary only, is U4130A's row.
TEST_F(LegacyTiesFile, AStraySpaceInOneTableStillTiesTheRow)
{
    EXPECT_EQ(rows(QStringLiteral("SELECT '[' || s.Stock_Number || ']', '[' || r.StockNo || ']', "
                                  "r.SalesPerson FROM SalesSummary s JOIN RecallDeal r USING "
                                  "(DealId) WHERE s.Customer_Name = 'JILL FISCHER'")),
              QStringList{"[U4130A ]|[U4130A]|Dan O'Hara"});
    EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM RecallDeal WHERE Customer = 'JILL FISCHER'")),
              QStringList{"1"});
}

// Only the save made before Calculate (a row of the original file) is left
// over; the summary counts the names the roster stored.
TEST_F(LegacyTiesFile, TheSummaryCountsDealsRowsLeftOverAndNames)
{
    EXPECT_TRUE(printed.startsWith(QStringLiteral(
        "Imported 42 deals and 6 salespeople from the Access database.\n"
        "1 row could not be tied to a deal; it was imported as a deal of its own.\n")))
        << printed.toStdString();
    EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM RecallDeal")), QStringList{"43"});
    EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM SalesPersons WHERE Name <> ''")),
              QStringList{"6"});
}

} // namespace
