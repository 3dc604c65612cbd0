#include "commission_sheet_fixture.h"
#include "injected_failure.h"
#include "report_test_support.h"
#include "reports/commission_sheet_report.h"
#include "reports/report_csv.h"
#include "reports/sheet_data_file.h"
#include "reports/sheet_payment.h"
#include "store/commission_payments.h"

#include <QDir>
#include <QSqlDriver>

#include <sqlite3.h>

#include <functional>

namespace {

using SheetPaymentTest = CommissionSheetTest;

const QString kJohn = QStringLiteral("John Smith");

// Runs `action` at each commit of the deal database's connection, after the
// transaction's statements and before it ends; a non-zero result turns the
// commit into a rollback.
class CommitHook
{
public:
    CommitHook(const QSqlDatabase &db, std::function<int()> action) : m_action(std::move(action))
    {
        const QVariant handle = db.driver()->handle();
        EXPECT_STREQ(handle.typeName(), "sqlite3*");
        m_handle = *static_cast<sqlite3 *const *>(handle.constData());
        sqlite3_commit_hook(m_handle, &CommitHook::call, this);
    }
    ~CommitHook() { sqlite3_commit_hook(m_handle, nullptr, nullptr); }
    Q_DISABLE_COPY_MOVE(CommitHook)

private:
    static int call(void *self) { return static_cast<CommitHook *>(self)->m_action(); }

    std::function<int()> m_action;
    sqlite3 *m_handle = nullptr;
};

QList<qint64> rowIdsOf(const QList<SummaryRow> &rows)
{
    QList<qint64> ids;
    for (const SummaryRow &row : rows)
        ids << row.rowId;
    return ids;
}

TEST_F(SheetPaymentTest, UnpaidListsOnePersonsUnpaidRowsOldestFirstWhateverTheCase)
{
    const qint64 later = unpaid("S2", "B", "2005-03-09", "1");
    const qint64 earlier = unpaid("S1", "A", "2005-03-02", "1");
    SummaryValues paid;
    paid.paid = true;
    summaryRow(paid);
    SummaryValues other;
    other.salesPerson = QStringLiteral("MARY JONES");
    summaryRow(other);
    SummaryValues quoted;
    quoted.salesPerson = QStringLiteral("AL \"RED\" O'NEIL");
    const qint64 quotedRow = summaryRow(quoted);

    CommissionPayments payments(*m_database);
    QString error;
    const auto rows = payments.unpaid(QStringLiteral("John Smith"), &error);
    ASSERT_TRUE(rows) << error.toStdString();
    EXPECT_EQ(rowIdsOf(*rows), (QList<qint64>{earlier, later}));
    EXPECT_EQ(rows->at(0).value(QStringLiteral("Stock_Number")).toString(), QStringLiteral("S1"));

    const auto quotedRows = payments.unpaid(QStringLiteral("al \"red\" o'neil"), &error);
    ASSERT_TRUE(quotedRows) << error.toStdString();
    EXPECT_EQ(rowIdsOf(*quotedRows), QList<qint64>{quotedRow});
}

TEST_F(SheetPaymentTest, FileFollowsTheListedOrderWithMissingValuesAsNull)
{
    SummaryValues blank;
    blank.customer = QVariant();
    blank.totalCommission = QVariant();
    const qint64 noValues = summaryRow(blank);
    const qint64 later = unpaid("S2", "LATER", "2005-03-09", "100");

    const SheetPayment::Outcome outcome =
        SheetPayment::pay(*m_database, dataFilePath(), {kJohn, {later, noValues}});
    ASSERT_TRUE(outcome.paid) << outcome.error.toStdString();
    EXPECT_TRUE(outcome.paidElsewhere.isEmpty());
    EXPECT_EQ(outcome.tally, Money::dollars(100)); // the missing total counts as 0
    EXPECT_EQ(m_dir.readBytes(QStringLiteral("data.txt")),
              QByteArray("\"LATER\",\"S2\",\"NT\",1500,450,50,30,100\r\n"
                         "#NULL#,\"A1234\",\"NT\",1500,450,50,30,#NULL#\r\n"));
    EXPECT_EQ(paidRows(), (QList<qint64>{noValues, later}));
}

// Two halves of a split stored before splits were kept in whole cents hold
// half a cent each. The sheet pays each row at what it prints, so its lines,
// its total and its spreadsheet file add up to the same amount.
TEST_F(SheetPaymentTest, HalfCentRowsArePaidAtTheCentTheyPrint)
{
    SummaryValues half;
    half.stockNumber = QStringLiteral("40177");
    half.customer = QString::fromUtf8("ZOË DUPRÉ");
    half.payableGross = QStringLiteral("2083.3667");
    half.commission = QStringLiteral("312.505");
    half.spiff = QStringLiteral("0");
    half.warranty = QStringLiteral("0");
    half.totalCommission = QStringLiteral("312.505");
    const qint64 first = summaryRow(half);
    half.stockNumber = QStringLiteral("40178");
    const qint64 second = summaryRow(half);
    const qint64 whole = unpaid("U88", "ANN LEE", "2005-03-08", "787.5");

    const SheetPayment::Outcome outcome = SheetPayment::pay(
        *m_database, dataFilePath(),
        {.salesPerson = QString::fromUtf8("John Smith"), .rowIds = {first, second, whole}});
    ASSERT_TRUE(outcome.paid) << outcome.error.toStdString();
    EXPECT_EQ(outcome.tally, Money::fromCents(141252));
    EXPECT_EQ(m_dir.readBytes(QStringLiteral("data.txt")),
              QByteArray("\"ZOË DUPRÉ\",\"40177\",\"NT\",2083.37,312.51,0,0,312.51\r\n"
                         "\"ZOË DUPRÉ\",\"40178\",\"NT\",2083.37,312.51,0,0,312.51\r\n"
                         "\"ANN LEE\",\"U88\",\"NT\",1500,450,50,30,787.5\r\n"));

    QString error;
    const std::optional<RecordedSheet> recorded =
        SheetRecords(m_database->connection()).find(outcome.sheetId, &error);
    ASSERT_TRUE(recorded) << error.toStdString();
    CommissionSheetReport report;
    const ReportDocument sheet = report.runRecorded(*recorded);
    QStringList printed;
    for (const PlacedText &line : ReportRead::placementsOf(sheet, QStringLiteral("txtTotalCommission")))
        printed << line.text;
    EXPECT_EQ(printed, (QStringList{"$312.51", "$312.51", "$787.50"}));
    EXPECT_EQ(ReportRead::textOf(sheet, QStringLiteral("Field3")), QStringLiteral("$1412.52"));

    ASSERT_TRUE(ReportCsv::save(m_dir.filePath(QStringLiteral("sheet.csv")),
                                CommissionSheetReport::csvColumns(), report.rows(), &error))
        << error.toStdString();
    const auto csv = ReportRead::csvRows(m_dir.readBytes(QStringLiteral("sheet.csv")));
    ASSERT_TRUE(csv);
    QStringList totals;
    for (const QStringList &line : csv->mid(1))
        totals << line.value(7);
    EXPECT_EQ(totals, (QStringList{"312.51", "312.51", "787.50"}));
}

// A listed row already paid, no longer stored or of another salesperson is
// not passed over: the sheet the user saw is paid whole or not at all, and
// the rows in the way are named.
TEST_F(SheetPaymentTest, ARowNoLongerUnpaidPaysNothingAndNamesTheRow)
{
    const qint64 later = unpaid("S2", "LATER", "2005-03-09", "100");
    SummaryValues alreadyPaid;
    alreadyPaid.paid = true;
    const qint64 paidBefore = summaryRow(alreadyPaid);
    SummaryValues marys;
    marys.salesPerson = QStringLiteral("MARY JONES");
    const qint64 mary = summaryRow(marys);
    m_dir.writeBytes(QStringLiteral("data.txt"), "last week\r\n");

    const SheetPayment::Outcome outcome =
        SheetPayment::pay(*m_database, dataFilePath(),
                          {QStringLiteral("john smith"), {later, paidBefore, 999, mary}});
    EXPECT_FALSE(outcome.paid);
    EXPECT_EQ(outcome.sheetId, 0);
    EXPECT_EQ(outcome.paidElsewhere, (QList<qint64>{paidBefore, 999, mary}));
    EXPECT_EQ(paidRows(), QList<qint64>{paidBefore}); // as it was before
    EXPECT_EQ(m_dir.readBytes(QStringLiteral("data.txt")), QByteArray("last week\r\n"));
}

// The deals are paid on a recorded sheet all the same: the file is put right
// at the next start, never the other way round.
TEST_F(SheetPaymentTest, AFileThatCannotBeWrittenIsReportedWithTheSheetRecorded)
{
    const qint64 row = unpaid("S1", "A", "2005-03-02", "1");
    // A folder in the file's place: the new file cannot be put there.
    ASSERT_TRUE(QDir(m_dir.folder().path()).mkdir(QStringLiteral("data.txt")));

    const SheetPayment::Outcome outcome =
        SheetPayment::pay(*m_database, dataFilePath(), {kJohn, {row}});
    EXPECT_TRUE(outcome.paid);
    EXPECT_FALSE(outcome.fileWritten);
    EXPECT_TRUE(outcome.error.startsWith(QStringLiteral(
        "The sheet was recorded and the deals are paid; data.txt could not be written: ")))
        << outcome.error.toStdString();
    EXPECT_TRUE(outcome.error.endsWith(
        QStringLiteral(". It will be written again at the next start.")));
    EXPECT_EQ(paidRows(), QList<qint64>{row});
}

// A full disk shows only when data.txt is synced. The sheet is recorded all
// the same: the message says so, the file keeps last week's deals whole, and
// the next start writes it.
TEST_F(SheetPaymentTest, AFullDiskIsReportedAndTheFileWrittenAtTheNextStart)
{
    m_dir.writeBytes(QStringLiteral("data.txt"), "last week\r\n");
    SummaryValues accented;
    accented.stockNumber = QStringLiteral("40177");
    accented.customer = QString::fromUtf8("ZOË");
    accented.totalCommission = QStringLiteral("350");
    const qint64 row = summaryRow(accented);
    {
        const InjectedFailure fullDisk(DurableFile::Step::Sync, ENOSPC);
        const SheetPayment::Outcome outcome =
            SheetPayment::pay(*m_database, dataFilePath(), {kJohn, {row}});
        EXPECT_TRUE(outcome.paid);
        EXPECT_FALSE(outcome.fileWritten);
        EXPECT_EQ(outcome.error,
                  QStringLiteral("The sheet was recorded and the deals are paid; data.txt could "
                                 "not be written: No space left on device (syncing the new file "
                                 "to the disk). It will be written again at the next start."));
    }
    EXPECT_EQ(paidRows(), QList<qint64>{row});
    EXPECT_EQ(m_dir.readBytes(QStringLiteral("data.txt")), QByteArray("last week\r\n"));
    QString error;
    ASSERT_TRUE(SheetDataFile::restore(*m_database, dataFilePath(), &error)) << error.toStdString();
    EXPECT_EQ(m_dir.readBytes(QStringLiteral("data.txt")),
              QByteArray("\"ZOË\",\"40177\",\"NT\",1500,450,50,30,350\r\n"));
}

TEST_F(SheetPaymentTest, MarkingsTakenOffAgainLeaveTheRowsUnpaid)
{
    const qint64 first = unpaid("S1", "A", "2005-03-02", "1");
    const qint64 second = unpaid("S2", "B", "2005-03-03", "2");
    ASSERT_TRUE(SheetPayment::pay(*m_database, dataFilePath(), {kJohn, {first, second}}).paid);
    QString error;
    EXPECT_TRUE(CommissionPayments(*m_database).markUnpaid({first, second}, &error))
        << error.toStdString();
    EXPECT_TRUE(paidRows().isEmpty());
}

// The file fails at its very last step, once the sheet and its markings are
// committed: they stay, the failure is reported, and the record writes the
// file once it can be written.
TEST_F(SheetPaymentTest, AFileFailingAfterTheCommitLeavesTheSheetRecorded)
{
    const qint64 first = unpaid("S1", "A", "2005-03-02", "1");
    const qint64 second = unpaid("S2", "B", "2005-03-03", "2");
    int commits = 0;
    // At the payment's commit a folder takes the file's place, so that
    // putting the written file there fails.
    CommitHook hook(m_database->connection(), [&] {
        if (++commits == 1) {
            EXPECT_TRUE(QDir(m_dir.folder().path()).mkpath(QStringLiteral("data.txt/held")));
        }
        return 0;
    });
    const SheetPayment::Outcome outcome =
        SheetPayment::pay(*m_database, dataFilePath(), {kJohn, {first, second}});
    EXPECT_EQ(commits, 1);
    EXPECT_TRUE(outcome.paid);
    EXPECT_FALSE(outcome.fileWritten);
    EXPECT_NE(outcome.sheetId, 0);
    EXPECT_TRUE(outcome.error.startsWith(QStringLiteral(
        "The sheet was recorded and the deals are paid; data.txt could not be written: ")))
        << outcome.error.toStdString();
    EXPECT_EQ(paidRows(), (QList<qint64>{first, second}));

    ASSERT_TRUE(QDir(dataFilePath()).removeRecursively());
    QString error;
    ASSERT_TRUE(SheetDataFile::restore(*m_database, dataFilePath(), &error)) << error.toStdString();
    EXPECT_EQ(m_dir.readBytes(QStringLiteral("data.txt")),
              QByteArray("\"A\",\"S1\",\"NT\",1500,450,50,30,1\r\n"
                         "\"B\",\"S2\",\"NT\",1500,450,50,30,2\r\n"));
}

TEST_F(SheetPaymentTest, PaysTheRowsOfTheListedSalespersonInAnyLetterCase)
{
    const qint64 johns = unpaid("S1", "A", "2005-03-02", "1");
    SummaryValues marys;
    marys.salesPerson = QStringLiteral("MARY JONES");
    const qint64 mary = summaryRow(marys);
    const SheetPayment::Outcome refused = SheetPayment::pay(
        *m_database, dataFilePath(), {QStringLiteral("john smith"), {mary, johns}});
    EXPECT_FALSE(refused.paid);
    EXPECT_EQ(refused.paidElsewhere, QList<qint64>{mary});
    EXPECT_TRUE(paidRows().isEmpty());

    const SheetPayment::Outcome outcome =
        SheetPayment::pay(*m_database, dataFilePath(), {QStringLiteral("john smith"), {johns}});
    ASSERT_TRUE(outcome.paid) << outcome.error.toStdString();
    EXPECT_EQ(paidRows(), QList<qint64>{johns});
    EXPECT_EQ(outcome.tally, Money::dollars(1));
}

// Two commissions of 500,000,000,000,000 add up beyond what can be held; so
// does a tally that fits with a bonus that takes it beyond.
TEST_F(SheetPaymentTest, ATotalBeyondTheRangePaysNothingAndLeavesTheFile)
{
    const qint64 first = unpaid("S1", "A", "2005-03-02", "500000000000000");
    const qint64 second = unpaid("S2", "B", "2005-03-03", "500000000000000");
    m_dir.writeBytes(QStringLiteral("data.txt"), "earlier sheet\r\n");
    const SheetPayment::Sheet sheets[] = {
        {kJohn, {first, second}, Money()},
        {kJohn, {first}, Money::dollars(500000000000000)},
    };
    for (const SheetPayment::Sheet &sheet : sheets) {
        const SheetPayment::Outcome outcome = SheetPayment::pay(*m_database, dataFilePath(), sheet);
        EXPECT_FALSE(outcome.paid);
        EXPECT_EQ(outcome.sheetId, 0);
        EXPECT_EQ(outcome.error,
                  QStringLiteral("The total commission of the listed deals is too large to print."));
        EXPECT_TRUE(paidRows().isEmpty());
        EXPECT_EQ(m_dir.readBytes(QStringLiteral("data.txt")), QByteArray("earlier sheet\r\n"));
    }
}

} // namespace
