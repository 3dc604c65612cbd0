#include "commission_sheet_fixture.h"
#include "injected_failure.h"
#include "report_test_support.h"
#include "reports/sheet_payment.h"
#include "store/commission_payments.h"

#include <QDir>

namespace {

using SheetPaymentTest = CommissionSheetTest;

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

TEST_F(SheetPaymentTest, FileFollowsTheListedOrderAndPassesOverRowsAlreadyPaid)
{
    SummaryValues blank;
    blank.customer = QVariant();
    blank.totalCommission = QVariant();
    const qint64 noValues = summaryRow(blank);
    const qint64 later = unpaid("S2", "LATER", "2005-03-09", "100");
    SummaryValues alreadyPaid;
    alreadyPaid.paid = true;
    const qint64 paidBefore = summaryRow(alreadyPaid);

    const SheetPayment::Outcome outcome =
        SheetPayment::pay(*m_database, dataFilePath(), {later, paidBefore, noValues, 999});
    ASSERT_TRUE(outcome.paid) << outcome.error.toStdString();
    EXPECT_EQ(outcome.tally, Money::dollars(100)); // the missing total counts as 0
    EXPECT_EQ(m_dir.readBytes(QStringLiteral("data.txt")),
              QByteArray("\"LATER\",\"S2\",\"NT\",1500,450,50,30,100\r\n"
                         "#NULL#,\"A1234\",\"NT\",1500,450,50,30,#NULL#\r\n"));
    EXPECT_EQ(paidRows(), (QList<qint64>{noValues, later, paidBefore}));
}

TEST_F(SheetPaymentTest, AFileThatCannotBeWrittenPaysNothing)
{
    const qint64 row = unpaid("S1", "A", "2005-03-02", "1");
    // A folder in the file's place: the new file cannot be put there.
    ASSERT_TRUE(QDir(m_dir.folder().path()).mkdir(QStringLiteral("data.txt")));

    const SheetPayment::Outcome outcome = SheetPayment::pay(*m_database, dataFilePath(), {row});
    EXPECT_FALSE(outcome.paid);
    EXPECT_FALSE(outcome.markingsLeft);
    EXPECT_TRUE(outcome.error.startsWith(QStringLiteral("\"data.txt\" could not be written")))
        << outcome.error.toStdString();
    EXPECT_TRUE(paidRows().isEmpty());
}

// A full disk shows only when data.txt is synced; nothing is paid and the
// file keeps last week's deals.
TEST_F(SheetPaymentTest, AFullDiskOrATotalBeyondTheRangePaysNothing)
{
    m_dir.writeBytes(QStringLiteral("data.txt"), "last week\r\n");
    const qint64 row = unpaid("40177", "ZOË", "2005-03-02", "350");
    {
        const InjectedFailure fullDisk(DurableFile::Step::Sync, ENOSPC);
        const SheetPayment::Outcome outcome =
            SheetPayment::pay(*m_database, dataFilePath(), {row});
        EXPECT_FALSE(outcome.paid);
        EXPECT_EQ(outcome.error, QStringLiteral("\"data.txt\" could not be written: No space left "
                                                "on device (syncing the new file to the disk)"));
    }
    EXPECT_TRUE(paidRows().isEmpty());

    const qint64 huge = unpaid("S2", "B", "2005-03-03", "922337203685477");
    const SheetPayment::Outcome outcome =
        SheetPayment::pay(*m_database, dataFilePath(), {row, huge});
    EXPECT_FALSE(outcome.paid);
    EXPECT_EQ(outcome.error, QStringLiteral("The total commission of the listed deals is too "
                                            "large to be worked out. Check the deals' amounts."));
    EXPECT_TRUE(paidRows().isEmpty());
    EXPECT_EQ(m_dir.readBytes(QStringLiteral("data.txt")), QByteArray("last week\r\n"));
}

TEST_F(SheetPaymentTest, MarkingsTakenOffAgainLeaveTheRowsUnpaid)
{
    const qint64 first = unpaid("S1", "A", "2005-03-02", "1");
    const qint64 second = unpaid("S2", "B", "2005-03-03", "2");
    ASSERT_TRUE(SheetPayment::pay(*m_database, dataFilePath(), {first, second}).paid);
    QString error;
    EXPECT_TRUE(CommissionPayments(*m_database).markUnpaid({first, second}, &error))
        << error.toStdString();
    EXPECT_TRUE(paidRows().isEmpty());
}

} // namespace
