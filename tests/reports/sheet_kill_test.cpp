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
#include "store/deal_unwinds.h"
#include "store/sales_ledger.h"

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
// Set: the sheet also deducts JOHN SMITH's open chargebacks and settles his draws.
constexpr char kLedgerVariable[] = "TARVEX_TEST_KILL_LEDGER";
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
    QList<qint64> chargebacks;
    if (qEnvironmentVariableIsSet(kLedgerVariable)) {
        const auto open = SalesLedger(database).openChargebacks(QStringLiteral("JOHN SMITH"), &error);
        ASSERT_TRUE(open) << error.toStdString();
        for (const Chargeback &line : *open)
            chargebacks << line.id;
    }
    // Steps 1 to 6 are those of paying up to the commit; the later ones are
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
                           .bonusDescription = {},
                           .chargebackIds = chargebacks,
                           .on = QDate(2005, 3, 12)},
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
    // With `ledger`, the round also unwinds a paid deal, whose chargeback
    // the sheet deducts, and records a draw it recovers.
    void round(int step, bool ledger = false)
    {
        SCOPED_TRACE(testing::Message() << "killed at step " << step);
        ++m_deals;
        if (ledger)
            chargebackAndDraw();
        unpaid(qPrintable(QStringLiteral("K%1").arg(m_deals)), "ELAN AUTO", "2005-03-02",
               "437.5");
        m_database.reset(); // the parent lets go of the file, as another program would

        QList<std::pair<QString, QString>> variables = {
            {QString::fromLatin1(kFolderVariable), m_folder.path()},
            {QString::fromLatin1(kStepVariable), QString::number(step)}};
        if (ledger)
            variables.append({QString::fromLatin1(kLedgerVariable), QStringLiteral("1")});
        const ChildEnd end = runChildTest(QStringLiteral("SheetKillChild.PayAndEndAtStep"),
                                          variables, 30000);
        ASSERT_EQ(end.exitCode, step == 0 ? 0 : kKilledExitCode) << end.output.toStdString();

        // The next start.
        m_database = std::make_unique<DealDatabase>(folder());
        QString error;
        ASSERT_TRUE(m_database->open(&error)) << error.toStdString();
        ASSERT_TRUE(SheetDataFile::restore(*m_database, dataFile(), &error)) << error.toStdString();
        expectRecordAndFileAgree(step);
    }

    void chargebackAndDraw()
    {
        SummaryValues returned;
        returned.stockNumber = QStringLiteral("R%1").arg(m_deals);
        returned.totalCommission = QStringLiteral("100");
        const qint64 row = summaryRow(returned);
        const SheetPayment::Outcome paid = SheetPayment::pay(
            *m_database, dataFile(), {.salesPerson = QStringLiteral("JOHN SMITH"), .rowIds = {row}});
        ASSERT_TRUE(paid.paid) << paid.error.toStdString();
        const DealId deal =
            rows(QStringLiteral("SELECT DealId FROM SalesSummary WHERE rowid = %1").arg(row))
                .value(0)
                .value(0)
                .toLongLong();
        const DealUnwinds::Outcome unwound = DealUnwinds(*m_database).unwind(
            {.deal = deal, .on = QDate(2005, 3, 10), .reason = QStringLiteral("Returned vehicle")});
        ASSERT_TRUE(unwound.done) << unwound.error.toStdString();
        QString error;
        ASSERT_TRUE(SalesLedger(*m_database).recordDraw(QStringLiteral("JOHN SMITH"),
                                                        QDate(2005, 3, 1), Money::dollars(100),
                                                        true, &error))
            << error.toStdString();
        ++m_chargebacksLeft;
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
            const auto charged = rows(QStringLiteral("SELECT StockNumber FROM Ledger WHERE "
                                                     "Kind = 'Chargeback' AND SheetId = %1")
                                          .arg(sheet.at(0).toLongLong()));
            EXPECT_EQ(lines.count(QStringLiteral("\r\n")), stocks.size() + charged.size());
            for (const QVariantList &stock : charged)
                EXPECT_EQ(lines.count(QStringLiteral(",\"%1\",").arg(stock.at(0).toString())), 1);
            for (const QVariantList &stock : stocks)
                EXPECT_EQ(lines.count(QStringLiteral(",\"%1\",").arg(stock.at(0).toString())), 1);
        }
        // A kill before the commit leaves the deal unpaid; from the commit on
        // it is paid.
        const bool committed = step == 0 || step >= int(SheetPayment::Step::Committed);
        EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM SalesSummary WHERE Paid = 0")),
                  QList<QVariantList>{{committed ? 0 : 1 + m_unpaidLeft}});
        m_unpaidLeft = committed ? 0 : m_unpaidLeft + 1;
        // The chargebacks go with the sheet, and a draw is never recovered
        // past what was paid out, nor by a sheet that is not recorded.
        EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM Ledger WHERE Kind = 'Chargeback' "
                                      "AND SheetId IS NULL")),
                  QList<QVariantList>{{committed ? 0 : m_chargebacksLeft}});
        if (committed)
            m_chargebacksLeft = 0;
        EXPECT_EQ(rows(QStringLiteral("SELECT (SELECT coalesce(sum(Amount), 0) FROM Ledger WHERE "
                                      "Kind = 'Draw recovered') <= (SELECT coalesce(sum(Amount), "
                                      "0) FROM Ledger WHERE Kind = 'Draw')")),
                  QList<QVariantList>{{1}});
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
    int m_chargebacksLeft = 0;
};

TEST_F(SheetKill, AKillBetweenAnyTwoStepsIsPutRightAtTheNextStart)
{
    for (int step = 1; step <= kKillSteps; ++step)
        round(step);
    round(0);
}

// The same with a chargeback to deduct and a draw to recover on each sheet:
// every line is recorded with its sheet or not at all.
TEST_F(SheetKill, AKillWhilePayingChargebacksAndDrawsLeavesEveryLineWithItsSheetOrOpen)
{
    for (int step = 1; step <= kKillSteps; ++step)
        round(step, true);
    round(0, true);
    // Every round's $100.00 draw is recovered once, by its own sheet or the next.
    EXPECT_EQ(rows(QStringLiteral("SELECT sum(Amount) FROM Ledger WHERE Kind = 'Draw recovered'")),
              QList<QVariantList>{{Money::dollars(100 * (kKillSteps + 1)).units()}});
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
