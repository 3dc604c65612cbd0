// The benchmark's server: made in a folder of its own, filled once from a
// deal file so that the program finds on it the same deals, and kept with
// its data between runs.
#include "bench_deals.h"
#include "bench_server.h"

#include "store/commission_payments.h"
#include "store/deal_database.h"
#include "store/deal_store.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace {

bool serverProgramsInstalled()
{
    return !QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty();
}

// A short folder for the cluster (its socket path is limited), stopped and
// removed at the end whatever the test did.
class ServerFolder
{
public:
    ServerFolder() : m_parent(QStringLiteral("/tmp/tarvex-bench-XXXXXX"))
    {
        // The server's own user must reach the folder inside.
        QFile::setPermissions(m_parent.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                   QFile::ExeOwner | QFile::ReadOther |
                                                   QFile::ExeOther);
    }
    ~ServerFolder()
    {
        QProcess::execute(QStringLiteral("bash"),
                          {QStringLiteral(TARVEX_TEST_SERVER_SCRIPT), QStringLiteral("stop"), path()});
    }
    QString path() const { return m_parent.path() + QStringLiteral("/server"); }
    QString parent() const { return m_parent.path(); }

private:
    QTemporaryDir m_parent;
};

// Three deals unlike one another: a split one, accents, a backslash and a
// digit-only stock number, and fields left empty.
QList<Deal> deals()
{
    std::mt19937 random(7);
    Deal split = BenchDeals::generatedDeal(0, random); // every fifth deal is split
    Deal accented = BenchDeals::generatedDeal(1, random);
    accented.customer = QStringLiteral("José Núñez");
    accented.unit = QStringLiteral("F-150 \\ XLT");
    accented.stockNumber = QStringLiteral("40417");
    Deal sparse = BenchDeals::generatedDeal(2, random);
    sparse.reductionDescriptions[0].clear();
    sparse.reductionAmounts[0].clear();
    sparse.spiff.clear();
    return {split, accented, sparse};
}

TEST(BenchServer, FillsTheServerWithTheFilesDealsUnderTheSameIdentitiesAndKeepsThem)
{
    if (!serverProgramsInstalled()) {
        if (qgetenv("TARVEX_REQUIRE_PG") == "1")
            FAIL() << "no PostgreSQL server programs installed";
        GTEST_SKIP() << "no PostgreSQL server programs installed";
    }
    ServerFolder folder;
    const QString file = folder.parent() + QStringLiteral("/deals.mdb");
    QList<DealId> fileIds;
    QList<SummaryRow> fileUnpaid;
    QList<Deal> fileDeals; // as the program reads them from the file
    {
        DealDatabase database(file);
        QString error;
        ASSERT_TRUE(database.open(&error)) << error.toStdString();
        DealStore store(database);
        for (const Deal &deal : deals()) {
            const std::optional<DealId> id = store.save(deal, &error);
            ASSERT_TRUE(id) << error.toStdString();
            fileIds << *id;
        }
        // A deal removed leaves a gap the server's identities must not fill.
        ASSERT_TRUE(store.remove(fileIds.takeAt(1), &error)) << error.toStdString();
        ASSERT_TRUE(store.save(deals().at(1), &error)) << error.toStdString();
        fileIds = store.allDeals();
        for (const DealId id : fileIds)
            fileDeals << store.loadDeal(id).value();
        fileUnpaid = CommissionPayments(database).unpaid(QStringLiteral("Al Baker"), &error).value();
    }

    const QString script = QStringLiteral(TARVEX_TEST_SERVER_SCRIPT);
    {
        BenchServer server(script, folder.path());
        server.ensureDatabase(file);
        DealDatabase database(server.settings());
        QString error;
        ASSERT_TRUE(database.open(&error)) << error.toStdString();
        DealStore store(database);
        EXPECT_EQ(store.allDeals(), fileIds);
        EXPECT_EQ(store.dealCount(), 3);
        for (qsizetype i = 0; i < fileIds.size(); ++i)
            EXPECT_TRUE(store.loadDeal(fileIds.at(i)) == fileDeals.at(i)) << "deal " << fileIds.at(i);
        EXPECT_EQ(fileDeals.at(2).customer.toStdString(), "JOSÉ NÚÑEZ"); // stored in capitals
        EXPECT_EQ(fileDeals.at(2).unit, QStringLiteral("F-150 \\ XLT"));
        // The indexes were made again over the copied rows.
        EXPECT_EQ(store.findByCustomerPart(QStringLiteral("NÚÑ")), QList<DealId>{fileIds.at(2)});
        EXPECT_EQ(store.findByStockNumber(QStringLiteral("40417")), QList<DealId>{fileIds.at(2)});
        const std::optional<QList<SummaryRow>> unpaid =
            CommissionPayments(database).unpaid(QStringLiteral("al baker"), &error);
        ASSERT_TRUE(unpaid) << error.toStdString();
        ASSERT_EQ(unpaid->size(), fileUnpaid.size());
        for (qsizetype i = 0; i < unpaid->size(); ++i) {
            EXPECT_EQ(unpaid->at(i).rowId, fileUnpaid.at(i).rowId);
            // The server gives dates as dates, the file as ISO text.
            ASSERT_EQ(unpaid->at(i).values.size(), fileUnpaid.at(i).values.size());
            for (qsizetype c = 0; c < unpaid->at(i).values.size(); ++c) {
                const QVariant value = unpaid->at(i).values.at(c);
                const QVariant expected = fileUnpaid.at(i).values.at(c);
                const QString text = value.typeId() == QMetaType::QDate
                                         ? value.toDate().toString(Qt::ISODate)
                                         : value.toString();
                EXPECT_EQ(value.isNull(), expected.isNull()) << "column " << c;
                if (!expected.isNull()) {
                    EXPECT_EQ(text.toStdString(), expected.toString().toStdString())
                        << "column " << c;
                }
            }
        }
        // A deal saved on the server follows the copied ones.
        const std::optional<DealId> next = store.save(deals().at(0), &error);
        ASSERT_TRUE(next) << error.toStdString();
        EXPECT_GT(*next, fileIds.last());
        EXPECT_EQ(store.dealCount(), 4);
    }
    // Started again from its folder, the server still holds the same database,
    // which is not filled a second time.
    BenchServer again(script, folder.path());
    again.ensureDatabase(file);
    DealDatabase database(again.settings());
    QString error;
    ASSERT_TRUE(database.open(&error)) << error.toStdString();
    EXPECT_EQ(DealStore(database).dealCount(), 4);
}

// The script's exit code and what it wrote to standard error.
std::pair<int, QString> runScript(const QString &command, const QString &folder)
{
    QProcess process;
    process.start(QStringLiteral("bash"),
                  {QStringLiteral(TARVEX_TEST_SERVER_SCRIPT), command, folder});
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardError()).trimmed()};
}

TEST(TestServerScript, PauseAndResumeRefuseAFolderTheyDidNotMakeAndLeaveIt)
{
    QTemporaryDir other;
    const QString data = other.path() + QStringLiteral("/data");
    ASSERT_TRUE(QDir().mkpath(data));
    QFile version(data + QStringLiteral("/PG_VERSION"));
    ASSERT_TRUE(version.open(QIODevice::WriteOnly));
    version.write("15\n");
    version.close();
    QFile pid(data + QStringLiteral("/postmaster.pid"));
    ASSERT_TRUE(pid.open(QIODevice::WriteOnly));
    pid.close();

    const QString refused =
        QStringLiteral("test_server: %1 holds no server made by this script").arg(other.path());
    EXPECT_EQ(runScript(QStringLiteral("resume"), other.path()), std::pair(1, refused));
    EXPECT_EQ(runScript(QStringLiteral("pause"), other.path()), std::pair(1, refused));
    const QString missing = other.path() + QStringLiteral("/missing");
    EXPECT_EQ(runScript(QStringLiteral("resume"), missing),
              std::pair(1, QStringLiteral("test_server: there is no %1").arg(missing)));
    EXPECT_TRUE(QFile::exists(data + QStringLiteral("/PG_VERSION")));
    EXPECT_TRUE(QFile::exists(data + QStringLiteral("/postmaster.pid")));
    EXPECT_EQ(QDir(other.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{QStringLiteral("data")});
}

} // namespace
