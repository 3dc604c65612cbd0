#include "commission_sheet_fixture.h"
#include "injected_failure.h"
#include "reports/sheet_data_file.h"
#include "reports/sheet_payment.h"
#include "store/audit_trail.h"
#include "store/sheet_records.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>

#include <cerrno>
#include <optional>

namespace {

class SheetRecordsTest : public CommissionSheetTest
{
protected:
    SheetPayment::Outcome pay(const QList<qint64> &rows)
    {
        return SheetPayment::pay(*m_database, dataFilePath(),
                                 {.salesPerson = QStringLiteral("John Smith"),
                                  .rowIds = rows,
                                  .bonus = Money::dollars(100),
                                  .weekEnding = QStringLiteral("03/12/2005"),
                                  .bonusDescription = QStringLiteral("Plateau Bonus")});
    }

    QVariantList column(const QString &statement, const QVariantList &values = {})
    {
        QSqlQuery query(m_database->connection());
        EXPECT_TRUE(query.prepare(statement));
        for (qsizetype i = 0; i < values.size(); ++i)
            query.bindValue(int(i), values.at(i));
        EXPECT_TRUE(query.exec()) << statement.toStdString();
        QVariantList result;
        while (query.next())
            result << query.value(0);
        return result;
    }

    QStringList actions()
    {
        QStringList names;
        for (const QVariant &action :
             column(QStringLiteral("SELECT Action FROM Audit ORDER BY AuditId")))
            names << action.toString();
        return names;
    }

    RecordedSheet sheet(qint64 id)
    {
        QString error;
        const std::optional<RecordedSheet> found =
            SheetRecords(m_database->connection()).find(id, &error);
        EXPECT_TRUE(found) << error.toStdString();
        return found.value_or(RecordedSheet());
    }

    bool restore()
    {
        QString error;
        return SheetDataFile::restore(*m_database, dataFilePath(), &error);
    }
};

const QByteArray kTwoLines("\"ANN LEE\",\"S1\",\"NT\",1500,450,50,30,350\r\n"
                           "\"BOB BROWN\",\"2040\",\"NT\",1500,450,50,30,437.5\r\n");

TEST_F(SheetRecordsTest, PayingRecordsTheSheetItsRowsAndTheAuditInOneGo)
{
    const qint64 first = unpaid("S1", "ANN LEE", "2005-03-02", "350");
    const qint64 second = unpaid("2040", "BOB BROWN", "2005-03-03", "437.5");
    const SheetPayment::Outcome outcome = pay({first, second});
    ASSERT_TRUE(outcome.paid) << outcome.error.toStdString();
    EXPECT_TRUE(outcome.fileWritten);

    const RecordedSheet recorded = sheet(outcome.sheetId);
    EXPECT_EQ(recorded.heading.salesPerson, QStringLiteral("John Smith"));
    EXPECT_EQ(recorded.heading.weekEnding, QStringLiteral("03/12/2005"));
    EXPECT_EQ(recorded.heading.bonus, Money::dollars(100));
    EXPECT_EQ(recorded.total, Money::fromCents(78750));
    EXPECT_EQ(recorded.totalCommission(), Money::fromCents(88750));
    EXPECT_FALSE(recorded.isVoided());
    EXPECT_EQ(recorded.lines, kTwoLines);
    EXPECT_EQ(m_dir.readBytes(QStringLiteral("data.txt")), kTwoLines);
    EXPECT_EQ(column(QStringLiteral("SELECT SheetId FROM SalesSummary ORDER BY rowid")),
              (QVariantList{outcome.sheetId, outcome.sheetId}));
    EXPECT_EQ(actions(), (QStringList{QStringLiteral("Sheet paid"), QStringLiteral("Paid on sheet"),
                                      QStringLiteral("Paid on sheet")}));
    EXPECT_EQ(column(QStringLiteral("SELECT StockNumber FROM Audit WHERE Action = 'Paid on sheet' "
                                    "ORDER BY AuditId")),
              (QVariantList{QStringLiteral("S1"), QStringLiteral("2040")}));
    EXPECT_EQ(column(QStringLiteral("SELECT After FROM Audit WHERE Action = 'Sheet paid'")),
              QVariantList{QStringLiteral("WeekEnding: 03/12/2005\nBonusDescription: Plateau "
                                          "Bonus\nBonus: 100\nTotal: 787.5")});
    EXPECT_EQ(QDir(m_dir.folder().path())
                  .entryList(QDir::Hidden | QDir::Files)
                  .filter(QStringLiteral("data.txt.")),
              QStringList());
}

TEST_F(SheetRecordsTest, AFailureBeforeTheCommitRecordsNothing)
{
    const qint64 first = unpaid("S1", "ANN LEE", "2005-03-02", "350");
    const qint64 second = unpaid("S2", "BOB BROWN", "2005-03-03", "437.5");
    refusePaying(QStringLiteral("S2")); // the last row's marking fails
    const SheetPayment::Outcome outcome = pay({first, second});
    EXPECT_FALSE(outcome.paid);
    EXPECT_EQ(outcome.error, QStringLiteral("disk trouble"));
    EXPECT_TRUE(paidRows().isEmpty());
    EXPECT_EQ(column(QStringLiteral("SELECT count(*) FROM Sheets")), QVariantList{0});
    EXPECT_TRUE(actions().isEmpty());
    EXPECT_FALSE(m_dir.exists(QStringLiteral("data.txt")));
}

// The database commit goes through; the disk is full when data.txt is written.
TEST_F(SheetRecordsTest, AFullDiskIsReportedPlainlyAndTheNextStartWritesTheFile)
{
    const qint64 earlier = unpaid("S1", "ANN LEE", "2005-03-02", "350");
    ASSERT_TRUE(pay({earlier}).fileWritten);
    const QByteArray earlierSheet = m_dir.readBytes(QStringLiteral("data.txt"));
    SummaryValues accented;
    accented.stockNumber = QStringLiteral("2040");
    accented.customer = QString::fromUtf8("ÉLODIE CÔTÉ");
    accented.totalCommission = QStringLiteral("437.5");
    const qint64 row = summaryRow(accented);

    std::optional<InjectedFailure> fullDisk(std::in_place, DurableFile::Step::Write, ENOSPC);
    const SheetPayment::Outcome outcome = pay({row});
    EXPECT_TRUE(outcome.paid);
    EXPECT_FALSE(outcome.fileWritten);
    EXPECT_EQ(outcome.error,
              QStringLiteral("The sheet was recorded and the deals are paid; data.txt could not "
                             "be written: No space left on device (writing the new file). It "
                             "will be written again at the next start."));
    // The file is whole: still the earlier sheet, no half-written file in its place.
    EXPECT_EQ(m_dir.readBytes(QStringLiteral("data.txt")), earlierSheet);
    EXPECT_EQ(QDir(m_dir.folder().path())
                  .entryList(QDir::Hidden | QDir::Files)
                  .filter(QStringLiteral("data.txt.")),
              QStringList());
    EXPECT_EQ(paidRows(), (QList<qint64>{earlier, row}));

    // The disk is still full at the next start: it says so again.
    EXPECT_FALSE(restore());
    fullDisk.reset();
    EXPECT_TRUE(restore());
    EXPECT_EQ(m_dir.readBytes(QStringLiteral("data.txt")),
              QByteArray("\"ÉLODIE CÔTÉ\",\"2040\",\"NT\",1500,450,50,30,437.5\r\n"));
}

TEST_F(SheetRecordsTest, StartUpWritesAMissingOrStaleFileAndLeavesOneWithoutSheetsAlone)
{
    m_dir.writeBytes(QStringLiteral("data.txt"), "from the older program\r\n");
    EXPECT_TRUE(restore());
    EXPECT_EQ(m_dir.readBytes(QStringLiteral("data.txt")),
              QByteArray("from the older program\r\n"));

    const qint64 row = unpaid("S1", "ANN LEE", "2005-03-02", "350");
    ASSERT_TRUE(pay({row}).fileWritten);
    const QByteArray lines("\"ANN LEE\",\"S1\",\"NT\",1500,450,50,30,350\r\n");
    QFile::remove(dataFilePath());
    EXPECT_TRUE(restore());
    EXPECT_EQ(m_dir.readBytes(QStringLiteral("data.txt")), lines);
    m_dir.writeBytes(QStringLiteral("data.txt"), QByteArray()); // the 0-byte file of a full disk
    EXPECT_TRUE(restore());
    EXPECT_EQ(m_dir.readBytes(QStringLiteral("data.txt")), lines);
}

TEST_F(SheetRecordsTest, AVoidedSheetsRowsArePaidAgainOnANewSheetOnly)
{
    const qint64 first = unpaid("S1", "ANN LEE", "2005-03-02", "350");
    const qint64 second = unpaid("S2", "BOB BROWN", "2005-03-03", "437.5");
    const qint64 sheetId = pay({first, second}).sheetId;
    SheetRecords records(m_database->connection());
    QString error;
    ASSERT_EQ(records.voidSheet(sheetId, &error), SheetRecords::VoidOutcome::Voided)
        << error.toStdString();
    EXPECT_TRUE(paidRows().isEmpty());
    EXPECT_EQ(column(QStringLiteral("SELECT count(*) FROM SalesSummary WHERE SheetId IS NOT "
                                    "NULL")),
              QVariantList{0});
    EXPECT_TRUE(sheet(sheetId).isVoided());
    EXPECT_EQ(records.voidSheet(sheetId, &error), SheetRecords::VoidOutcome::AlreadyVoided);
    EXPECT_EQ(actions().mid(3),
              (QStringList{QStringLiteral("Unpaid by void"), QStringLiteral("Unpaid by void"),
                           QStringLiteral("Sheet voided")}));

    const SheetPayment::Outcome again = pay({second});
    ASSERT_TRUE(again.paid);
    EXPECT_NE(again.sheetId, sheetId);
    EXPECT_EQ(sheet(again.sheetId).lines,
              QByteArray("\"BOB BROWN\",\"S2\",\"NT\",1500,450,50,30,437.5\r\n"));
    // The voided sheet stays voided; its rows cannot be unpaid through it again.
    EXPECT_EQ(records.voidSheet(sheetId, &error), SheetRecords::VoidOutcome::AlreadyVoided);
    EXPECT_EQ(paidRows(), QList<qint64>{second});
}

TEST_F(SheetRecordsTest, ASheetWithARowChangedSinceCannotBeVoided)
{
    const qint64 first = unpaid("S1", "ANN LEE", "2005-03-02", "350");
    const qint64 second = unpaid("S2", "BOB BROWN", "2005-03-03", "437.5");
    SheetRecords records(m_database->connection());
    QString error;

    const qint64 changed = pay({first, second}).sheetId;
    execute(QStringLiteral("UPDATE SalesSummary SET Commission = 1 WHERE rowid = ?"), {second});
    EXPECT_EQ(records.voidSheet(changed, &error), SheetRecords::VoidOutcome::RowsChanged);
    EXPECT_EQ(paidRows(), (QList<qint64>{first, second}));
    EXPECT_FALSE(sheet(changed).isVoided());

    const qint64 third = unpaid("S3", "CY DOE", "2005-03-04", "1");
    const qint64 deleted = pay({third}).sheetId;
    execute(QStringLiteral("DELETE FROM SalesSummary WHERE rowid = ?"), {third});
    EXPECT_EQ(records.voidSheet(deleted, &error), SheetRecords::VoidOutcome::RowsChanged);
}

TEST_F(SheetRecordsTest, DataFileFollowsTheNewestSheetStillValid)
{
    const qint64 first = unpaid("S1", "ANN LEE", "2005-03-02", "350");
    pay({first});
    const QByteArray firstLines = m_dir.readBytes(QStringLiteral("data.txt"));
    const qint64 second = unpaid("S2", "BOB BROWN", "2005-03-03", "437.5");
    const qint64 latest = pay({second}).sheetId;
    QString error;
    ASSERT_EQ(SheetRecords(m_database->connection()).voidSheet(latest, &error),
              SheetRecords::VoidOutcome::Voided);
    EXPECT_TRUE(restore());
    EXPECT_EQ(m_dir.readBytes(QStringLiteral("data.txt")), firstLines);
}

// Once the only sheet is voided its deals are unpaid again: the file lists
// none of them, as after a sheet that paid nothing.
TEST_F(SheetRecordsTest, DataFileIsEmptyOnceNoSheetIsValid)
{
    m_dir.writeBytes(QStringLiteral("data.txt"), "from the older program\r\n");
    SummaryValues accented;
    accented.stockNumber = QStringLiteral("7781");
    accented.customer = QString::fromUtf8("ÉLODIE CÔTÉ");
    const qint64 only = pay({summaryRow(accented)}).sheetId;
    ASSERT_EQ(m_dir.readBytes(QStringLiteral("data.txt")),
              QByteArray("\"ÉLODIE CÔTÉ\",\"7781\",\"NT\",1500,450,50,30,530\r\n"));
    QString error;
    ASSERT_EQ(SheetRecords(m_database->connection()).voidSheet(only, &error),
              SheetRecords::VoidOutcome::Voided);
    EXPECT_TRUE(restore());
    EXPECT_EQ(m_dir.readBytes(QStringLiteral("data.txt")), QByteArray());
    EXPECT_TRUE(QFile::exists(dataFilePath()));
}

// Two desks sharing one database each hand their own sheets on: a desk's
// data.txt, written again at its start, follows the newest sheet printed at
// that desk, not another desk's.
TEST_F(SheetRecordsTest, EachDesksDataFileFollowsTheSheetsPrintedThere)
{
    TempProgramFolder otherDesk;
    const QString otherFile = otherDesk.filePath(QStringLiteral("data.txt"));
    const qint64 ours = unpaid("S1", "ANN LEE", "2005-03-02", "350");
    ASSERT_TRUE(pay({ours}).fileWritten);
    const QByteArray ourLines("\"ANN LEE\",\"S1\",\"NT\",1500,450,50,30,350\r\n");
    SummaryValues accented;
    accented.stockNumber = QStringLiteral("2040");
    accented.customer = QString::fromUtf8("ÉLODIE CÔTÉ");
    const qint64 theirs = summaryRow(accented);
    ASSERT_TRUE(SheetPayment::pay(*m_database, otherFile,
                                  {.salesPerson = QStringLiteral("John Smith"), .rowIds = {theirs}})
                    .fileWritten);
    const QByteArray theirLines("\"ÉLODIE CÔTÉ\",\"2040\",\"NT\",1500,450,50,30,530\r\n");

    // Both desks start again with their files lost.
    QFile::remove(dataFilePath());
    QFile::remove(otherFile);
    QString error;
    EXPECT_TRUE(restore());
    EXPECT_TRUE(SheetDataFile::restore(*m_database, otherFile, &error)) << error.toStdString();
    EXPECT_EQ(m_dir.readBytes(QStringLiteral("data.txt")), ourLines);
    EXPECT_EQ(otherDesk.readBytes(QStringLiteral("data.txt")), theirLines);
    EXPECT_EQ(column(QStringLiteral("SELECT DeskFolder FROM Sheets ORDER BY SheetId")),
              (QVariantList{m_dir.folder().path(), otherDesk.folder().path()}));

    // The other desk voids its only sheet: its file empties, ours stays.
    const qint64 theirSheet = column(QStringLiteral("SELECT max(SheetId) FROM Sheets")).value(0).toLongLong();
    ASSERT_EQ(SheetRecords(m_database->connection()).voidSheet(theirSheet, &error),
              SheetRecords::VoidOutcome::Voided);
    EXPECT_TRUE(SheetDataFile::restore(*m_database, otherFile, &error)) << error.toStdString();
    EXPECT_TRUE(restore());
    EXPECT_EQ(otherDesk.readBytes(QStringLiteral("data.txt")), QByteArray());
    EXPECT_EQ(m_dir.readBytes(QStringLiteral("data.txt")), ourLines);
}

} // namespace

namespace {

// A salesperson's sheets are found as the commission sheet lists the
// person's rows: in any letter case, accented letters too.
TEST_F(SheetRecordsTest, ASalespersonsSheetsAreFoundInAnyLetterCaseAccentsIncluded)
{
    QList<qint64> sheets;
    for (const QString &name : {QString::fromUtf8("José Peña"), QStringLiteral("Jose Pena"),
                                QString::fromUtf8("ÉLODIE")}) {
        SummaryValues row;
        row.stockNumber = QStringLiteral("%1").arg(40177 + sheets.size());
        row.salesPerson = name.toUpper();
        const SheetPayment::Outcome outcome = SheetPayment::pay(
            *m_database, dataFilePath(), {.salesPerson = name, .rowIds = {summaryRow(row)}});
        ASSERT_TRUE(outcome.paid) << outcome.error.toStdString();
        sheets << outcome.sheetId;
    }
    const auto found = [this](const char *name) {
        QString error;
        const auto listed =
            SheetRecords(m_database->connection()).ofSalesPerson(QString::fromUtf8(name), &error);
        EXPECT_TRUE(listed) << error.toStdString();
        QList<qint64> ids;
        for (const RecordedSheet &sheet : listed.value_or(QList<RecordedSheet>()))
            ids << sheet.id;
        return ids;
    };
    EXPECT_EQ(found("JOSÉ PEÑA"), QList<qint64>{sheets.at(0)});
    EXPECT_EQ(found("josé peña"), QList<qint64>{sheets.at(0)});
    EXPECT_EQ(found("jose pena"), QList<qint64>{sheets.at(1)});
    EXPECT_EQ(found("élodie"), QList<qint64>{sheets.at(2)});
    EXPECT_EQ(found("JOSÉ"), QList<qint64>());
}

} // namespace
