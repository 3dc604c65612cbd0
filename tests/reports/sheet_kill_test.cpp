// A kill at any moment of paying a commission sheet: the program is stopped
// between two steps (in a child process, as kill -9 would stop it, without
// unwinding), then started afresh. The database is whole, every paid row is
// on exactly one recorded sheet that lists it, and data.txt holds the last
// sheet.
#include "child_test.h"
#include "commission_sheet_fixture.h"
#include "common/durable_file.h"
#include "reports/sheet_data_file.h"
#include "reports/sheet_payment.h"
#include "store/commission_payments.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <cstdlib>
#include <iostream>

namespace {

constexpr char kFolderVariable[] = "TARVEX_TEST_KILL_FOLDER";
constexpr char kStepVariable[] = "TARVEX_TEST_KILL_STEP";
constexpr int kKilledExitCode = 9;

// The steps of writing data.txt at which the program can be stopped: the new
// file created and empty, written, synced, closed, and in place.
const QList<DurableFile::Step> kFileSteps = {DurableFile::Step::Write, DurableFile::Step::Sync,
                                             DurableFile::Step::Close, DurableFile::Step::Rename,
                                             DurableFile::Step::SyncFolder};
// Every moment at which a round stops the program.
const int kKillSteps = SheetPayment::kStepCount + int(kFileSteps.size());

// Run by the tests below in a child process, never on its own: starts as the
// program does (data.txt put right), pays every unpaid row of JOHN SMITH on
// a sheet and ends the process at the step named.
TEST(SheetKillChild, PayAndEndAtStep)
{
    if (qEnvironmentVariableIsEmpty(kFolderVariable))
        GTEST_SKIP() << "run by the kill tests in a child process";
    const ProgramFolder folder(qEnvironmentVariable(kFolderVariable));
    const int step = qEnvironmentVariableIntValue(kStepVariable);
    const QString dataFile = folder.filePath(QStringLiteral("data.txt"));
    DealDatabase database(folder);
    QString error;
    ASSERT_TRUE(database.open(&error)) << error.toStdString();
    ASSERT_TRUE(SheetDataFile::restore(database, dataFile, &error)) << error.toStdString();
    const auto rows = CommissionPayments(database).unpaid(QStringLiteral("JOHN SMITH"), &error);
    ASSERT_TRUE(rows) << error.toStdString();
    QList<qint64> ids;
    for (const SummaryRow &row : *rows)
        ids << row.rowId;
    // Steps 1 to 5 are those of paying up to the commit; the later ones are
    // the steps of writing data.txt after the commit (not those of the file
    // put right before the sheet).
    bool committed = false;
    SheetPayment::Hooks hooks;
    hooks.reached = [step, &committed](SheetPayment::Step reached) {
        committed = reached == SheetPayment::Step::Committed;
        if (int(reached) == step)
            std::_Exit(kKilledExitCode);
    };
    DurableFile::setFailureSeam([step, &committed](DurableFile::Step reached) {
        if (committed && kFileSteps.indexOf(reached) + SheetPayment::kStepCount + 1 == step)
            std::_Exit(kKilledExitCode);
        return 0;
    });
    const SheetPayment::Outcome outcome =
        SheetPayment::pay(database, dataFile,
                          {.salesPerson = QStringLiteral("JOHN SMITH"),
                           .rowIds = ids,
                           .bonus = std::nullopt,
                           .weekEnding = QStringLiteral("3/12/2005"),
                           .bonusDescription = {}},
                          hooks);
    DurableFile::setFailureSeam({});
    EXPECT_TRUE(outcome.paid && outcome.fileWritten) << outcome.error.toStdString();
}

class SheetKill : public CommissionSheetTest
{
protected:
    // The rounds run in memory where there is a memory file system: a kill
    // leaves the files as the page cache holds them either way, and a
    // hundred rounds take a few seconds instead of waiting on the disk.
    SheetKill()
        : m_folder((QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                              : QDir::tempPath()) +
                   QStringLiteral("/tarvex-kill-XXXXXX"))
    {
        m_database = std::make_unique<DealDatabase>(folder());
        QString error;
        EXPECT_TRUE(m_database->open(&error)) << error.toStdString();
    }

    ProgramFolder folder() const { return ProgramFolder(m_folder.path()); }
    QString dataFile() const { return folder().filePath(QStringLiteral("data.txt")); }

    // One round: a new unpaid deal, a child that pays and is killed at
    // `step` (0: not killed), then a fresh start and the checks.
    void round(int step)
    {
        SCOPED_TRACE(testing::Message() << "killed at step " << step);
        unpaid(qPrintable(QStringLiteral("K%1").arg(++m_deals)), "ELAN AUTO", "2005-03-02",
               "437.5");
        m_database.reset(); // the parent lets go of the file, as another program would

        const ChildEnd end =
            runChildTest(QStringLiteral("SheetKillChild.PayAndEndAtStep"),
                         {{QString::fromLatin1(kFolderVariable), m_folder.path()},
                          {QString::fromLatin1(kStepVariable), QString::number(step)}},
                         30000);
        ASSERT_EQ(end.exitCode, step == 0 ? 0 : kKilledExitCode) << end.output.toStdString();

        // The next start.
        m_database = std::make_unique<DealDatabase>(folder());
        QString error;
        ASSERT_TRUE(m_database->open(&error)) << error.toStdString();
        ASSERT_TRUE(SheetDataFile::restore(*m_database, dataFile(), &error)) << error.toStdString();
        expectRecordAndFileAgree(step);
    }

    QList<QVariantList> rows(const QString &statement)
    {
        QSqlQuery query(m_database->connection());
        EXPECT_TRUE(query.exec(statement)) << statement.toStdString();
        QList<QVariantList> result;
        while (query.next()) {
            QVariantList values;
            for (int i = 0; i < query.record().count(); ++i)
                values << query.value(i);
            result << values;
        }
        return result;
    }

    void expectRecordAndFileAgree(int step)
    {
        EXPECT_EQ(rows(QStringLiteral("PRAGMA integrity_check")),
                  QList<QVariantList>{{QStringLiteral("ok")}});
        // Every paid row is on a sheet, every row on a sheet is paid.
        EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM SalesSummary WHERE (Paid = 1) <> "
                                      "(SheetId IS NOT NULL)")),
                  QList<QVariantList>{{0}});
        // Each sheet lists exactly its rows, each once.
        for (const QVariantList &sheet :
             rows(QStringLiteral("SELECT SheetId, Lines FROM Sheets"))) {
            const QString lines = sheet.at(1).toString();
            const auto stocks = rows(QStringLiteral("SELECT Stock_Number FROM SalesSummary "
                                                    "WHERE SheetId = %1")
                                         .arg(sheet.at(0).toLongLong()));
            EXPECT_EQ(lines.count(QStringLiteral("\r\n")), stocks.size());
            for (const QVariantList &stock : stocks)
                EXPECT_EQ(lines.count(QStringLiteral(",\"%1\",").arg(stock.at(0).toString())), 1);
        }
        // A kill before the commit leaves the deal unpaid; from the commit on
        // it is paid.
        const bool committed = step == 0 || step >= int(SheetPayment::Step::Committed);
        EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM SalesSummary WHERE Paid = 0")),
                  QList<QVariantList>{{committed ? 0 : 1 + m_unpaidLeft}});
        m_unpaidLeft = committed ? 0 : m_unpaidLeft + 1;
        EXPECT_EQ(QDir(m_folder.path())
                      .entryList({QStringLiteral(".data.txt.*")}, QDir::Hidden | QDir::Files),
                  QStringList());
        const auto latest = rows(QStringLiteral("SELECT Lines FROM Sheets WHERE VoidedAt IS NULL "
                                                "ORDER BY SheetId DESC LIMIT 1"));
        if (!latest.isEmpty()) {
            QFile file(dataFile());
            EXPECT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll(), latest.first().first().toString().toUtf8());
        }
    }

    QTemporaryDir m_folder;
    int m_deals = 0;
    int m_unpaidLeft = 0;
};

TEST_F(SheetKill, AKillBetweenAnyTwoStepsIsPutRightAtTheNextStart)
{
    for (int step = 1; step <= kKillSteps; ++step)
        round(step);
    round(0);
}

constexpr char kSeedVariable[] = "TARVEX_KILL_SEED";

// The seed of the random kills: TARVEX_KILL_SEED replays an earlier run's,
// otherwise a new one. It is printed either way.
quint32 killSeed()
{
    bool given = false;
    const quint32 replayed = qEnvironmentVariable(kSeedVariable).toUInt(&given);
    const quint32 seed = given ? replayed : QRandomGenerator::global()->generate();
    std::cout << "Kill seed " << seed << " (" << kSeedVariable << '=' << seed
              << " replays these kills)" << std::endl;
    return seed;
}

// The steps a seed stops the program at, in order.
QList<int> killSteps(quint32 seed, int count)
{
    QRandomGenerator random(seed);
    QList<int> steps;
    for (int i = 0; i < count; ++i)
        steps << int(random.bounded(kKillSteps + 1));
    return steps;
}

TEST(SheetKillSeed, AGivenSeedIsPrintedAndReplaysTheSameKills)
{
    const QByteArray before = qgetenv(kSeedVariable);
    qputenv(kSeedVariable, "4021925");
    testing::internal::CaptureStdout();
    const quint32 seed = killSeed();
    const std::string printed = testing::internal::GetCapturedStdout();
    qputenv(kSeedVariable, before);
    if (before.isNull())
        qunsetenv(kSeedVariable);
    EXPECT_EQ(seed, 4021925u);
    EXPECT_EQ(printed, "Kill seed 4021925 (TARVEX_KILL_SEED=4021925 replays these kills)\n");
    EXPECT_EQ(killSteps(seed, 100), killSteps(4021925u, 100));
    EXPECT_NE(killSteps(seed, 100), killSteps(4021926u, 100));
    for (const int step : killSteps(seed, 100)) {
        EXPECT_GE(step, 0);
        EXPECT_LE(step, kKillSteps);
    }
}

TEST_F(SheetKill, AHundredKillsAtRandomSteps)
{
    const quint32 seed = killSeed();
    SCOPED_TRACE(testing::Message() << "seed " << seed << ", replayed with " << kSeedVariable
                                    << '=' << seed);
    for (const int step : killSteps(seed, 100)) {
        if (HasFatalFailure())
            break;
        round(step);
    }
}

} // namespace
