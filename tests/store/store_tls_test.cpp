// Deals cross the network encrypted and to the right server: with
// verify-full and the root that signed the server's certificate the desk
// connects over TLS; a wrong root or a host name the certificate does not
// name is refused with the reason, and nothing is made on the server.
#include "own_server.h"
#include "store/deal_database.h"
#include "store_test_support.h"

#include <QSqlQuery>

namespace {

class TlsServer : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_TEST_SERVER();
        ASSERT_NE(server.settings().port, 0);
        ASSERT_TRUE(server.takeOnlyTls());
    }

    // The server over TCP at `host`, checked against `root`.
    ServerSettings overTcp(const char *host, const QString &root) const
    {
        ServerSettings settings = server.settings();
        settings.host = QString::fromLatin1(host);
        settings.sslMode = QStringLiteral("verify-full");
        settings.sslRootCert = root;
        return settings;
    }

    // Tables on the server's database, counted through the socket.
    int tables()
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("tls-count"));
        db.setHostName(server.settings().host);
        db.setPort(server.settings().port);
        db.setDatabaseName(server.settings().database);
        db.setUserName(server.settings().user);
        int count = -1;
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(QStringLiteral("SELECT COUNT(*) FROM information_schema.tables WHERE "
                                          "table_schema = 'public'")) &&
                query.next())
                count = query.value(0).toInt();
        }
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("tls-count"));
        return count;
    }

    OwnServer server;
};

TEST_F(TlsServer, VerifyFullWithTheRightRootConnectsEncrypted)
{
    DealDatabase database(overTcp("localhost", server.tlsRoot()));
    QString error;
    ASSERT_TRUE(database.open(&error)) << error.toStdString();
    QSqlQuery query(database.connection());
    ASSERT_TRUE(query.exec(QStringLiteral("SELECT ssl FROM pg_stat_ssl WHERE pid = "
                                          "pg_backend_pid()")) &&
                query.next());
    EXPECT_TRUE(query.value(0).toBool());
    QString why;
    EXPECT_TRUE(DealStore(database).save(plainExampleDeal(), &why)) << why.toStdString();
}

TEST_F(TlsServer, AWrongRootOrHostNameIsRefusedAndNothingIsMade)
{
    struct Case
    {
        const char *host;
        QString root;
        const char *reason; // what the server's words say
    };
    const Case cases[] = {
        {"localhost", server.otherTlsRoot(), "certificate verify failed"},
        {"127.0.0.1", server.tlsRoot(), "does not match host name \"127.0.0.1\""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.host);
        const ServerSettings settings = overTcp(c.host, c.root);
        DealDatabase database(settings);
        QString error;
        EXPECT_FALSE(database.open(&error));
        EXPECT_TRUE(error.startsWith(QStringLiteral("The deal database %1 could not be opened: the "
                                                    "server could not be reached, or refused the "
                                                    "login (")
                                         .arg(settings.describe())))
            << error.toStdString();
        EXPECT_TRUE(error.contains(QString::fromLatin1(c.reason))) << error.toStdString();
        EXPECT_TRUE(error.endsWith(QStringLiteral("). Nothing was changed."))) << error.toStdString();
        EXPECT_FALSE(error.contains(u'\n'));
    }
    // Unencrypted TCP is refused by this server at all.
    ServerSettings plain = overTcp("127.0.0.1", {});
    plain.sslMode = QStringLiteral("disable");
    QString error;
    EXPECT_FALSE(DealDatabase(plain).open(&error));
    EXPECT_TRUE(error.contains(QStringLiteral("no encryption"))) << error.toStdString();
    EXPECT_EQ(tables(), 0);
}

} // namespace
