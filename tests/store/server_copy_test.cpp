// A desk's file copied to an empty server database: every row, value by
// value, with its keys; a server that holds deals already, or a copy failing
// at its last table, leaves the server as it was; the file is only read.
#include "store_test_support.h"

#include "store/server_copy.h"

#include <QFile>
#include <QSqlQuery>
#include <QTextStream>

namespace {

// Each table with the key its rows are compared in order of.
const std::pair<const char *, const char *> kTables[] = {
    {"SalesPersons", "rowid"}, {"RecallDeal", "DealId"}, {"Sheets", "SheetId"},
    {"SalesSummary", "rowid"}, {"SalesLog", "rowid"},    {"Audit", "AuditId"},
};

// A value as the same text on either engine: dates as ISO text, numbers
// as decimal digits, no value as "NULL".
QString comparable(const QVariant &value)
{
    if (value.isNull())
        return QStringLiteral("NULL");
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(Qt::ISODate);
    return value.toString();
}

QList<QStringList> rowsOf(const DealDatabase &database, const char *table, const char *key,
                          const QStringList &columns)
{
    QSqlQuery query(database.connection());
    EXPECT_TRUE(query.exec(QStringLiteral("SELECT \"%1\", %2 FROM \"%3\" ORDER BY \"%1\"")
                               .arg(QString::fromLatin1(key), StoreSql::columnList(columns),
                                    QString::fromLatin1(table))))
        << query.lastError().text().toStdString();
    QList<QStringList> rows;
    while (query.next()) {
        QStringList row;
        for (int i = 0; i <= columns.size(); ++i)
            row << comparable(query.value(i));
        rows << row;
    }
    return rows;
}

class ServerCopyTest : public StoreTest
{
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_TEST_SERVER();
        m_target = std::make_unique<ServerDatabase>();
        m_onServer = std::make_unique<DealDatabase>(m_target->settings());
        QString error;
        ASSERT_TRUE(m_onServer->open(&error)) << error.toStdString();
    }

    // Deals of every kind: split, each sale type, digit-only stock numbers,
    // accents, both allowance options; a paid row on a sheet; a roster.
    void fillTheFile()
    {
        saved(splitExampleDeal());
        const char *saleTypes[] = {"A", "X", "Z", "D", "P", "0", "E", "L", "R"};
        int n = 0;
        for (const char *type : saleTypes) {
            Deal deal = dealFor(QString::number(7000 + n), QStringLiteral("Zoë Ångström %1").arg(n));
            deal.saleType = QString::fromLatin1(type);
            deal.overAllow = n % 2 == 0;
            deal.underAllow = n % 2 != 0;
            deal.allowance = QStringLiteral("1250.5");
            ++n;
            saved(deal);
        }
        const DealId gone = saved(dealFor(QStringLiteral("GONE"), QStringLiteral("Gone")));
        EXPECT_TRUE(m_store->remove(gone, nullptr)); // a gap in the identities
        execute(*m_database, QStringLiteral("INSERT INTO \"SalesPersons\" (\"Name\") VALUES "
                                            "('JOSÉ PEÑA'), ('MARY JONES')"));
        execute(*m_database,
                QStringLiteral("INSERT INTO \"Sheets\" (\"SalesPerson\", \"WeekEnding\", "
                               "\"Bonus\", \"Total\", \"PrintedAt\", \"Lines\") VALUES ('JOHN "
                               "SMITH', '3/11/2005', 500000, 11700000, '2005-03-11 17:00:00', "
                               "'a line')"));
        execute(*m_database, QStringLiteral("UPDATE \"SalesSummary\" SET \"Paid\" = 1, "
                                            "\"SheetId\" = 1 WHERE rowid = 1"));
    }

    void expectSameRows()
    {
        for (const auto &[table, key] : kTables) {
            SCOPED_TRACE(table);
            const QStringList columns = columnsOf(*m_onServer, QString::fromLatin1(table));
            ASSERT_FALSE(columns.isEmpty());
            const QList<QStringList> inFile = rowsOf(*m_database, table, key, columns);
            EXPECT_FALSE(inFile.isEmpty());
            EXPECT_EQ(rowsOf(*m_onServer, table, key, columns), inFile);
        }
    }

    std::unique_ptr<ServerDatabase> m_target;
    std::unique_ptr<DealDatabase> m_onServer;
};

TEST_F(ServerCopyTest, EveryRowReachesTheServerValueByValueAndNewDealsFollowTheCopied)
{
    fillTheFile();
    const QByteArray fileBefore = m_dir.readBytes(QStringLiteral("Sales Log2.mdb"));
    QString report;
    QString error;
    ASSERT_TRUE(ServerCopy::copy(*m_database, *m_onServer, &report, &error))
        << error.toStdString();
    expectSameRows();
    EXPECT_TRUE(report.contains(QStringLiteral("RecallDeal: 10 rows\nSheets: 1 rows\n")))
        << report.toStdString();
    EXPECT_EQ(m_dir.readBytes(QStringLiteral("Sales Log2.mdb")), fileBefore);

    // The server's own writes go on after the copied identities.
    DealStore onServer(*m_onServer);
    EXPECT_EQ(onServer.dealCount(), 10);
    EXPECT_EQ(onServer.findByCustomerPart(QStringLiteral("ångström 3")).size(), 1);
    const std::optional<DealId> next =
        onServer.save(dealFor(QStringLiteral("8000"), QStringLiteral("Next")), &error);
    ASSERT_TRUE(next) << error.toStdString();
    EXPECT_EQ(*next, 12);
    execute(*m_onServer, QStringLiteral("INSERT INTO \"SalesPersons\" (\"Name\") VALUES ('NEW')"));
    EXPECT_EQ(single(*m_onServer, QStringLiteral("SELECT rowid FROM \"SalesPersons\" WHERE "
                                                 "\"Name\" = 'NEW'"))
                  .toLongLong(),
              4);
}

TEST_F(ServerCopyTest, AServerThatHoldsDealsOrFailsAtTheLastTableKeepsWhatItHad)
{
    fillTheFile();
    DealStore onServer(*m_onServer);
    const std::optional<DealId> there =
        onServer.save(dealFor(QStringLiteral("1"), QStringLiteral("There")), nullptr);
    ASSERT_TRUE(there);
    QString error;
    EXPECT_FALSE(ServerCopy::copy(*m_database, *m_onServer, nullptr, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Nothing was copied: the database \""))) << error.toStdString();
    EXPECT_TRUE(error.endsWith(QStringLiteral(" already holds deals, sheets or salespeople; deals "
                                              "are copied only into a database that holds none.")))
        << error.toStdString();
    EXPECT_EQ(onServer.dealCount(), 1);

    // Emptied again, then the audit trail, copied last, fails.
    ASSERT_TRUE(onServer.remove(*there, nullptr));
    execute(*m_onServer, QStringLiteral("DELETE FROM \"Audit\""));
    failInserts(*m_onServer, QStringLiteral("Audit"), QStringLiteral("disk full"));
    EXPECT_FALSE(ServerCopy::copy(*m_database, *m_onServer, nullptr, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("disk full"))) << error.toStdString();
    for (const char *table : {"RecallDeal", "SalesSummary", "SalesLog", "Sheets", "Audit"})
        EXPECT_EQ(rowCount(*m_onServer, QString::fromLatin1(table)), 0) << table;
    EXPECT_EQ(rowCount(*m_onServer, QStringLiteral("SalesPersons")), 1);
}

TEST(ServerCopyCommand, AFolderWithoutAServerOrAFileIsToldSo)
{
    TempProgramFolder dir;
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    EXPECT_EQ(ServerCopy::runCommand(dir.folder(), outStream, errStream), 2);
    errStream.flush();
    EXPECT_EQ(err, QStringLiteral("The data folder's database.conf names no PostgreSQL server "
                                  "to copy the deals to.\n"));

    dir.writeBytes(QStringLiteral("database.conf"),
                   "engine = postgresql\nhost = /nowhere\ndatabase = shop\n");
    err.clear();
    EXPECT_EQ(ServerCopy::runCommand(dir.folder(), outStream, errStream), 1);
    errStream.flush();
    EXPECT_EQ(err, QStringLiteral("There is no deal database \"%1\" to copy.\n")
                       .arg(dir.folder().filePath(QStringLiteral("Sales Log2.mdb"))));
    EXPECT_TRUE(out.isEmpty());
}

} // namespace
