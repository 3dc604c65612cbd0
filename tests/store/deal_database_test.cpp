#include "store/deal_database.h"
#include "store/sql_transaction.h"
#include "store/store_schema.h"
#include "store/recall_columns.h"
#include "child_test.h"
#include "store_test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <unistd.h>

namespace {

// Makes an SQLite file with a statement run in it, outside any DealDatabase.
void makeSqliteFile(const QString &path, const QStringList &statements)
{
    const QString name = QStringLiteral("test-raw-sqlite");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        for (const QString &statement : statements) {
            QSqlQuery query(db);
            EXPECT_TRUE(query.exec(statement)) << statement.toStdString();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

TEST(DealDatabase, AMissingFileIsCreatedWithTheTablesInTheirDocumentedOrder)
{
    TempProgramFolder dir;
    DealDatabase database(dir.folder());
    QString error;
    ASSERT_TRUE(database.open(&error)) << error.toStdString();
    EXPECT_TRUE(dir.exists(QStringLiteral("Sales Log2.mdb")));

    const QStringList summary = {"Date",         "Unit",     "Stock_Number",  "Customer_Name",
                                 "Sales_Person", "TCU",      "Payable_Gross", "Commission",
                                 "Spiff",        "Warranty", "UnitCount",     "TotalCommission",
                                 "Paid",         "DealId",   "SheetId"};
    const QStringList log = {"Date", "StockNumber", "Unit", "CustomerName", "SalesPerson",
                             "Type", "Gross",       "TCU",  "DealId"};
    EXPECT_EQ(columnsOf(database, QStringLiteral("SalesSummary")), summary);
    EXPECT_EQ(columnsOf(database, QStringLiteral("SalesLog")), log);
    const QStringList recall = {
        "Date",     "SalesPerson", "Customer", "StockNo",  "Year",     "Unit",      "TCU",
        "SaleType", "Price",       "Cost",     "RTCD1",    "RTCD2",    "RTCD3",     "RTCD4",
        "RTCD5",    "RTCP1",       "RTCP2",    "RTCP3",    "RTCP4",    "RTCP5",     "ATCD1",
        "ATCD2",    "ATCD3",       "ATCD4",    "ATCD5",    "ATCP1",    "ATCP2",     "ATCP3",
        "ATCP4",    "ATCP5",       "Allow",    "OVAllow",  "TrdStock", "OA",        "UA",
        "Pack",     "CommRate",    "ChkWarranty", "Gross", "Comm",     "Warranty",  "Spiff",
        "TtlComm",  "Split",       "Salesman2", "DealId"};
    EXPECT_EQ(columnsOf(database, QStringLiteral("RecallDeal")), recall);
    EXPECT_EQ(columnsOf(database, QStringLiteral("SalesPersons")), QStringList{"Name"});
    EXPECT_EQ(single(database, QStringLiteral("PRAGMA user_version")).toInt(), 9);
    EXPECT_EQ(single(database, QStringLiteral("PRAGMA foreign_keys")).toInt(), 1);

    DealStore store(database);
    EXPECT_EQ(store.salesPersons(), QStringList{QStringLiteral("House")});
}

TEST(DealDatabase, LookupsByStockNumberSalespersonAndDateUseIndexes)
{
    TempProgramFolder dir;
    DealDatabase database(dir.folder());
    ASSERT_TRUE(database.open(nullptr));
    const QStringList lookups = {
        "SELECT * FROM SalesSummary WHERE Stock_Number = 'A1'",
        "SELECT * FROM SalesLog WHERE StockNumber = 'a1'",
        "SELECT * FROM RecallDeal WHERE StockNo = 'a1'",
        "SELECT * FROM SalesSummary WHERE Sales_Person = 'X' AND Date BETWEEN '2005-01-01' AND "
        "'2005-12-31'",
        "SELECT * FROM SalesLog WHERE TCU = 'NT' AND Date BETWEEN '2005-01-01' AND '2005-12-31'",
        "SELECT * FROM SalesSummary WHERE DealId = 1",
        "SELECT * FROM SalesLog WHERE DealId = 1",
        "SELECT rowid, * FROM SalesSummary WHERE Sales_Person = 'x' AND Paid = 0 ORDER BY Date, "
        "rowid",
    };
    for (const QString &lookup : lookups) {
        QSqlQuery plan(database.connection());
        ASSERT_TRUE(plan.exec(QStringLiteral("EXPLAIN QUERY PLAN ") + lookup));
        ASSERT_TRUE(plan.next());
        EXPECT_TRUE(plan.value(3).toString().contains(QStringLiteral("USING INDEX")))
            << lookup.toStdString() << ": " << plan.value(3).toString().toStdString();
    }
    // A salesperson's unpaid rows are listed through the index of unpaid rows alone.
    QSqlQuery plan(database.connection());
    ASSERT_TRUE(plan.exec(QStringLiteral("EXPLAIN QUERY PLAN SELECT rowid, * FROM SalesSummary "
                                         "WHERE Sales_Person = 'x' AND Paid = 0 ORDER BY Date, "
                                         "rowid")));
    ASSERT_TRUE(plan.next());
    EXPECT_EQ(
        plan.value(3).toString(),
        QStringLiteral("SEARCH SalesSummary USING INDEX SalesSummary_Unpaid (Sales_Person=?)"));
    EXPECT_FALSE(plan.next()); // no sorting step
}

TEST(DealDatabase, AFileThatIsNotOneOfOursIsRefusedAndLeftUntouched)
{
    struct Case
    {
        const char *name;
        QByteArray bytes;
    };
    QByteArray access("\x00\x01\x00\x00Standard Jet DB\x00", 20);
    access.append(QByteArray(2048, '\x5a'));
    QByteArray damaged("SQLite format 3\0", 16);
    damaged.append(QByteArray(4080, '\xff'));
    const Case cases[] = {
        {"text file", QByteArray("Date,Customer\r\n03/07/05,BOB BROWN\r\n")},
        {"access file", access},
        {"damaged sqlite header", damaged},
        {"empty file", QByteArray()},
    };
    for (const Case &c : cases) {
        TempProgramFolder dir;
        dir.writeBytes(QStringLiteral("Sales Log2.mdb"), c.bytes);
        QString error;
        {
            DealDatabase database(dir.folder());
            EXPECT_FALSE(database.open(&error)) << c.name;
            EXPECT_FALSE(database.isOpen()) << c.name;
        }
        EXPECT_TRUE(error.contains(DealDatabase::pathIn(dir.folder()))) << error.toStdString();
        EXPECT_TRUE(error.contains(QStringLiteral("not a deal database"))) << error.toStdString();
        EXPECT_EQ(dir.readBytes(QStringLiteral("Sales Log2.mdb")), c.bytes) << c.name;
    }
}

TEST(DealDatabase, AnSqliteFileWithoutTheDealTablesGetsNoTablesCreated)
{
    TempProgramFolder dir;
    const QString path = DealDatabase::pathIn(dir.folder());
    makeSqliteFile(path, {QStringLiteral("CREATE TABLE Inventory (Stock TEXT)"),
                          QStringLiteral("INSERT INTO Inventory VALUES ('A1')")});
    const QByteArray before = dir.readBytes(QStringLiteral("Sales Log2.mdb"));
    QString error;
    {
        DealDatabase database(dir.folder());
        EXPECT_FALSE(database.open(&error));
    }
    EXPECT_TRUE(error.contains(QStringLiteral("no table SalesSummary"))) << error.toStdString();
    EXPECT_EQ(dir.readBytes(QStringLiteral("Sales Log2.mdb")), before);
}

TEST(DealDatabase, AFileOfANewerVersionIsRefused)
{
    TempProgramFolder dir;
    {
        DealDatabase database(dir.folder());
        ASSERT_TRUE(database.open(nullptr));
        execute(database, QStringLiteral("PRAGMA user_version = 10"));
    }
    DealDatabase database(dir.folder());
    QString error;
    EXPECT_FALSE(database.open(&error));
    EXPECT_TRUE(error.contains(QStringLiteral("newer version"))) << error.toStdString();
}

TEST(DealDatabase, EachObjectHasItsOwnConnectionRemovedWithIt)
{
    TempProgramFolder dir;
    QString first;
    {
        DealDatabase a(dir.folder());
        DealDatabase b(dir.folder());
        ASSERT_TRUE(a.open(nullptr));
        ASSERT_TRUE(b.open(nullptr));
        first = a.connection().connectionName();
        EXPECT_NE(first, b.connection().connectionName());
        DealStore storeA(a);
        DealStore storeB(b);
        ASSERT_TRUE(storeA.save(plainExampleDeal(), nullptr).has_value());
        EXPECT_EQ(storeB.allDeals().size(), 1); // a write on one is seen by the other
    }
    EXPECT_FALSE(QSqlDatabase::contains(first));
}

TEST(DealDatabase, AFolderThatDoesNotExistGivesAnErrorNamingTheFile)
{
    DealDatabase database(ProgramFolder(QStringLiteral("/nonexistent/tarvex")));
    QString error;
    EXPECT_FALSE(database.open(&error));
    EXPECT_TRUE(error.contains(QStringLiteral("Sales Log2.mdb"))) << error.toStdString();
}

// A write transaction takes the write lock as it begins, so a second writer
// on another connection is turned away at once rather than the first one
// failing half-way through its writes.
TEST(DealDatabase, AWriteTransactionHoldsTheLockFromItsStart)
{
    TempProgramFolder dir;
    DealDatabase database(dir.folder());
    ASSERT_TRUE(database.open(nullptr));
    const QString name = QStringLiteral("second writer");
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        other.setDatabaseName(dir.filePath(QStringLiteral("Sales Log2.mdb")));
        other.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
        ASSERT_TRUE(other.open());
        QSqlQuery second(other);
        {
            SqlTransaction first(database.connection());
            QString error;
            ASSERT_TRUE(first.begin(&error)) << error.toStdString();
            EXPECT_FALSE(second.exec(QStringLiteral("BEGIN IMMEDIATE")));
            EXPECT_TRUE(second.lastError().text().contains(QStringLiteral("locked")))
                << second.lastError().text().toStdString();
        } // rolled back
        EXPECT_TRUE(second.exec(QStringLiteral("BEGIN IMMEDIATE")));
        EXPECT_TRUE(second.exec(QStringLiteral("ROLLBACK")));
        second.finish();
        other.close();
    }
    QSqlDatabase::removeDatabase(name);
}

// A database the program may not write beside is its own, intact, database:
// the message says where it is and what cannot be written. The database is
// opened by a child process as a user who may not write there: the
// administrator, who may write anywhere, carries on as nobody.
const char *const kLockedFolder = "TARVEX_TEST_LOCKED_FOLDER";
const char *const kLockedMessage = "TARVEX_TEST_LOCKED_MESSAGE";

// Run only as the child of the next test.
TEST(DealDatabaseLockedChild, RefusesTheDatabase)
{
    const QString folder = qEnvironmentVariable(kLockedFolder);
    if (folder.isEmpty())
        GTEST_SKIP() << "run by DealDatabase.AFolderOrFileThatCannotBeWrittenIsNamedAndTheDatabaseKept";
    if (::geteuid() == 0) {
        ASSERT_EQ(::setgid(65534), 0);
        ASSERT_EQ(::setuid(65534), 0);
    }
    DealDatabase database{ProgramFolder(folder)};
    QString error;
    EXPECT_FALSE(database.open(&error));
    EXPECT_EQ(error, qEnvironmentVariable(kLockedMessage));
}

TEST(DealDatabase, AFolderOrFileThatCannotBeWrittenIsNamedAndTheDatabaseKept)
{
    TempProgramFolder dir;
    const QString path = DealDatabase::pathIn(dir.folder());
    {
        DealDatabase database(dir.folder());
        QString error;
        ASSERT_TRUE(database.open(&error)) << error.toStdString();
    }
    const QByteArray before = dir.readBytes(QStringLiteral("Sales Log2.mdb"));
    const QString tail = QStringLiteral(". Deals cannot be saved there. The database is intact "
                                        "and was left as it is; give this user the right to "
                                        "write there, or move the program's folder.");
    const auto folderMode = QFile::permissions(dir.folder().path());
    const auto fileMode = QFile::permissions(path);
    const auto readAll = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    const auto enterAll = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    const auto writeAll = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    struct Case
    {
        QFileDevice::Permissions folder;
        QFileDevice::Permissions file;
        QString why;
    };
    const Case cases[] = {
        {readAll | enterAll, readAll | writeAll,
         QStringLiteral("the folder \"%1\" cannot be written")
             .arg(QDir::toNativeSeparators(dir.folder().path()))},
        {readAll | enterAll | writeAll, readAll,
         QStringLiteral("the file cannot be written (it is read-only)")},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(QFile::setPermissions(path, c.file));
        ASSERT_TRUE(QFile::setPermissions(dir.folder().path(), c.folder));
        const QString expected = QStringLiteral("The deal database \"%1\" cannot be used because %2")
                                     .arg(QDir::toNativeSeparators(path), c.why) +
                                 tail;
        const ChildEnd end =
            runChildTest(QStringLiteral("DealDatabaseLockedChild.RefusesTheDatabase"),
                         {{QString::fromLatin1(kLockedFolder), dir.folder().path()},
                          {QString::fromLatin1(kLockedMessage), expected}});
        QFile::setPermissions(dir.folder().path(), folderMode);
        QFile::setPermissions(path, fileMode);
        EXPECT_FALSE(end.crashed);
        EXPECT_EQ(end.exitCode, 0) << end.output.toStdString();
        EXPECT_TRUE(end.output.contains("[  PASSED  ] 1 test")) << end.output.toStdString();
    }
    EXPECT_EQ(QFile::permissions(dir.folder().path()), folderMode);
    EXPECT_EQ(dir.readBytes(QStringLiteral("Sales Log2.mdb")), before);
    EXPECT_EQ(QDir(dir.folder().path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("Sales Log2.mdb")});
}

} // namespace

namespace {

// Another desk that ends, from a connection of its own on a thread of its
// own, the first connection to the database found waiting on a lock (within
// ten seconds), as a server shutting down or an administrator would.
class LockWaiterEnder
{
public:
    explicit LockWaiterEnder(const ServerDatabase &server)
        : m_thread([this, &server] { run(server); })
    {
    }
    ~LockWaiterEnder()
    {
        if (m_thread.joinable())
            m_thread.join();
    }
    Q_DISABLE_COPY_MOVE(LockWaiterEnder)

    bool ended()
    {
        if (m_thread.joinable())
            m_thread.join();
        return m_ended;
    }

private:
    void run(const ServerDatabase &server)
    {
        const QString name = QStringLiteral("lock-waiter-ender");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
            db.setHostName(server.host());
            db.setPort(server.port());
            db.setUserName(server.user());
            db.setDatabaseName(server.name());
            if (db.open()) {
                QSqlQuery query(db);
                for (int i = 0; i < 1000 && !m_ended; ++i) {
                    query.prepare(QStringLiteral(
                        "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = ? "
                        "AND wait_event_type = 'Lock' AND pid <> pg_backend_pid()"));
                    query.addBindValue(server.name());
                    m_ended = query.exec() && query.next();
                    query.finish();
                    if (!m_ended)
                        std::this_thread::sleep_for(std::chrono::milliseconds(10));
                }
                db.close();
            }
        }
        QSqlDatabase::removeDatabase(name);
    }

    bool m_ended = false;
    std::thread m_thread;
};

// The server ends the connection while the desk waits to check the
// database: that is said as it is, never as a database that is not ours,
// and the server's words stay on the line of the sentence.
TEST(DealDatabase, AServerConnectionLostWhileOpeningIsNamedAsSuch)
{
    SKIP_WITHOUT_TEST_SERVER();
    ServerDatabase server;
    ASSERT_TRUE(server.isValid()) << server.error().toStdString();
    // Another desk holds the lock under which a desk checks the database.
    QSqlDatabase holder = server.connect(QStringLiteral("schema-lock-holder"));
    QSqlQuery hold(holder);
    ASSERT_TRUE(hold.exec(QStringLiteral("BEGIN")));
    ASSERT_TRUE(hold.exec(QStringLiteral("SELECT pg_advisory_xact_lock(1414682200)")));

    QString error;
    {
        LockWaiterEnder ender(server);
        DealDatabase desk(server.settings());
        EXPECT_FALSE(desk.open(&error));
        ASSERT_TRUE(ender.ended());
    }
    EXPECT_TRUE(error.startsWith(QStringLiteral("The connection to the server was lost while the "
                                                "deal database ")))
        << error.toStdString();
    EXPECT_TRUE(error.endsWith(QStringLiteral("). Nothing was changed; start Tarvex again once "
                                              "the server can be reached.")))
        << error.toStdString();
    EXPECT_FALSE(error.contains(u'\n') || error.contains(u'\t')) << error.toStdString();
    EXPECT_FALSE(error.contains(QStringLiteral("not a deal database"))) << error.toStdString();
    hold.exec(QStringLiteral("ROLLBACK"));
}

} // namespace
