// database.conf: where the deals are kept. Without the file, the SQLite file
// of the data folder; with it, a PostgreSQL server, or a message naming the
// file and the line at fault and no location at all.
#include "store/store_location.h"
#include "temp_program_folder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

using Engine = StoreLocation::Engine;

std::optional<StoreLocation> locationWith(const TempProgramFolder &dir, const QByteArray &text,
                                          QString *error)
{
    dir.writeBytes(QStringLiteral("database.conf"), text);
    return StoreLocation::of(dir.folder(), error);
}

TEST(StoreLocation, WithoutDatabaseConfTheDealsStayInTheFolderSqliteFile)
{
    const TempProgramFolder dir;
    QString error = QStringLiteral("left from before");
    const std::optional<StoreLocation> location = StoreLocation::of(dir.folder(), &error);
    ASSERT_TRUE(location.has_value()) << error.toStdString();
    EXPECT_EQ(error, QString());
    EXPECT_EQ(location->engine, Engine::SQLite);
    EXPECT_EQ(location->filePath, dir.folder().path() + QStringLiteral("/Sales Log2.mdb"));
    EXPECT_EQ(location->describe(), dir.folder().path() + QStringLiteral("/Sales Log2.mdb"));
}

TEST(StoreLocation, EngineSqliteKeepsTheFileWhateverServerLinesRemain)
{
    const QByteArray texts[] = {
        "engine = sqlite\n",
        "# back on the file while the server is moved\n"
        "engine = SQLite\nhost = db.example.local\ndatabase = tarvex\nport = 5433\n",
    };
    for (const QByteArray &text : texts) {
        SCOPED_TRACE(text.toStdString());
        const TempProgramFolder dir;
        QString error;
        const std::optional<StoreLocation> location = locationWith(dir, text, &error);
        ASSERT_TRUE(location.has_value()) << error.toStdString();
        EXPECT_EQ(location->engine, Engine::SQLite);
        EXPECT_EQ(location->filePath, dir.folder().path() + QStringLiteral("/Sales Log2.mdb"));
    }
}

TEST(StoreLocation, ReadsTheServerInEveryWayTheFileMayBeWritten)
{
    struct Case
    {
        const char *name;
        QByteArray text;
        ServerSettings expected;
    };
    const Case cases[] = {
        {"the three lines needed",
         "engine = postgresql\nhost = db.example.local\ndatabase = tarvex\n",
         {"db.example.local", 5432, "tarvex", ""}},
        {"every key, Windows line ends, a byte-order mark, comments and blank lines",
         "\xEF\xBB\xBF# The dealership's shared store\r\n\r\n  Engine=PostgreSQL  \r\n"
         "HOST = 10.0.0.7\r\nport = 5433\r\n   # the sales floor's database\r\n"
         "database = sales_2026\r\nuser = verkäufer\r\n",
         {"10.0.0.7", 5433, "sales_2026", QStringLiteral("verkäufer")}},
        {"quoted values, a comment after a value, a socket folder, no last line end",
         "engine = 'postgresql'\nhost = /var/run/postgresql\n"
         "database = \"Sales Log\"   # as the server names it\nuser = \"\"\nport = 1",
         {"/var/run/postgresql", 1, "Sales Log", ""}},
        {"a # inside quotes belongs to the value",
         "engine = postgresql\nhost = db # the server\ndatabase = \"Sales #1\" # shared\n"
         "user = \"o'brien\"\n",
         {"db", 5432, "Sales #1", "o'brien"}},
        {"a digit-only database name and the highest port",
         "engine = postgresql\nport = 65535\nhost = db\ndatabase = 2026\n",
         {"db", 65535, "2026", ""}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const TempProgramFolder dir;
        QString error;
        const std::optional<StoreLocation> location = locationWith(dir, c.text, &error);
        ASSERT_TRUE(location.has_value()) << error.toStdString();
        EXPECT_EQ(error, QString());
        EXPECT_EQ(location->engine, Engine::PostgreSQL);
        EXPECT_EQ(location->filePath, QString());
        EXPECT_EQ(location->server.host, c.expected.host);
        EXPECT_EQ(location->server.port, c.expected.port);
        EXPECT_EQ(location->server.database, c.expected.database);
        EXPECT_EQ(location->server.user, c.expected.user);
    }
}

// The TLS settings: the mode as libpq names it, the root certificate found
// from the data folder, both handed to the driver; About says whether the
// connection is certain to be encrypted.
TEST(StoreLocation, TheTlsSettingsReachTheDriverAndAboutSaysWhetherTheyEncrypt)
{
    const TempProgramFolder dir;
    dir.writeBytes(QStringLiteral("root.crt"), "-----BEGIN CERTIFICATE-----\n");
    QString error;
    const std::optional<StoreLocation> location = locationWith(
        dir, "engine = postgresql\nhost = db.example.local\ndatabase = tarvex\n"
             "sslmode = Verify-Full\nsslrootcert = root.crt\n",
        &error);
    ASSERT_TRUE(location) << error.toStdString();
    const QString root = dir.filePath(QStringLiteral("root.crt"));
    EXPECT_EQ(location->server.sslMode, QStringLiteral("verify-full"));
    EXPECT_EQ(location->server.sslRootCert, root);
    EXPECT_EQ(location->server.connectOptions(),
              QStringLiteral("connect_timeout=10;application_name=Tarvex;sslmode=verify-full;"
                             "sslrootcert='%1'")
                  .arg(root));
    EXPECT_EQ(location->server.connectionNote(),
              QStringLiteral("The deals are kept in the database \"tarvex\" on db.example.local. "
                             "The connection to it is encrypted (sslmode verify-full)."));

    ServerSettings plain{QStringLiteral("10.0.0.7"), 5433, QStringLiteral("tarvex"), {}};
    EXPECT_EQ(plain.connectOptions(), QStringLiteral("connect_timeout=10;application_name=Tarvex"));
    EXPECT_EQ(plain.connectionNote(),
              QStringLiteral("The deals are kept in the database \"tarvex\" on 10.0.0.7, port "
                             "5433. The connection to it is not certain to be encrypted (sslmode "
                             "prefer): the deals may cross the network unencrypted. Set sslmode = "
                             "verify-full in database.conf."));
    plain.sslMode = QStringLiteral("require");
    EXPECT_TRUE(plain.encrypted());
    plain.sslMode = QStringLiteral("allow");
    EXPECT_FALSE(plain.encrypted());
    // A socket on this computer never crosses the network.
    const ServerSettings socket{QStringLiteral("/var/run/postgresql"), 5432, QStringLiteral("tarvex"), {}};
    EXPECT_TRUE(socket.encrypted());
    EXPECT_EQ(socket.connectionNote(),
              QStringLiteral("The deals are kept in the database \"tarvex\" on "
                             "/var/run/postgresql."));
    // A path with quotes and backslashes is quoted for the driver.
    ServerSettings odd = plain;
    odd.sslMode.clear();
    odd.sslRootCert = QStringLiteral("/certs/o'brien\\root.crt");
    EXPECT_EQ(odd.connectOptions(), QStringLiteral("connect_timeout=10;application_name=Tarvex;"
                                                   "sslrootcert='/certs/o\\'brien\\\\root.crt'"));

    const TempProgramFolder other;
    EXPECT_FALSE(locationWith(other, "engine = postgresql\nhost = db\ndatabase = t\n"
                                     "sslrootcert = missing.crt\n",
                              &error));
    EXPECT_EQ(error, other.filePath(QStringLiteral("database.conf")) +
                         QStringLiteral(", line 4: the sslrootcert file \"%1\" cannot be read")
                             .arg(other.filePath(QStringLiteral("missing.crt"))));
}

TEST(StoreLocation, AFaultIsNamedWithTheFileAndTheLineAndNothingIsChosen)
{
    struct Case
    {
        const char *name;
        QByteArray text;
        QString message; // after the file's path
    };
    const QByteArray server = "engine = postgresql\nhost = db.example.local\ndatabase = tarvex\n";
    const Case cases[] = {
        {"unknown key", "engine = postgresql\nHots = db\ndatabase = tarvex\n",
         ", line 2: unknown key \"Hots\"; the keys are engine, host, port, database, user, "
         "sslmode and sslrootcert"},
        {"unknown sslmode", server + "sslmode = verify\n",
         ", line 4: unknown sslmode \"verify\"; it is one of disable, allow, prefer, require, "
         "verify-ca, verify-full"},
        {"an sslrootcert with a semicolon", server + "sslrootcert = a;b.crt\n",
         ", line 4: the sslrootcert must name a file, without a semicolon in its name"},
        {"a quote not closed", "engine = postgresql\nhost = db\ndatabase = \"tarvex\n",
         ", line 3: the quoted database has no closing quote, or more than a comment after it"},
        {"text after the closing quote", "engine = postgresql\nhost = 'db' local\n",
         ", line 2: the quoted host has no closing quote, or more than a comment after it"},
        {"unknown engine", "# shared\nengine = mysql\nhost = db\ndatabase = tarvex\n",
         ", line 2: unknown engine \"mysql\"; the engine is postgresql or sqlite"},
        {"port 0", server + "port = 0\n",
         ", line 4: the port must be a number from 1 to 65535, not \"0\""},
        {"port above the range", server + "port = 65536\n",
         ", line 4: the port must be a number from 1 to 65535, not \"65536\""},
        {"port with letters", "port = 54x\n" + server,
         ", line 1: the port must be a number from 1 to 65535, not \"54x\""},
        {"negative port", server + "port = -5432\n",
         ", line 4: the port must be a number from 1 to 65535, not \"-5432\""},
        {"port with a sign", server + "port = +5432\n",
         ", line 4: the port must be a number from 1 to 65535, not \"+5432\""},
        {"port too long for a number", server + "port = 4294972728\n",
         ", line 4: the port must be a number from 1 to 65535, not \"4294972728\""},
        {"empty port", server + "port =\n",
         ", line 4: the port must be a number from 1 to 65535, not \"\""},
        {"port wrong even for the file engine", "engine = sqlite\nport = five\n",
         ", line 2: the port must be a number from 1 to 65535, not \"five\""},
        {"no database", "engine = postgresql\nhost = db.example.local\n",
         ": no database is given for the PostgreSQL server: add a line database = ..."},
        {"no host", "engine = postgresql\ndatabase = tarvex\n",
         ": no host is given for the PostgreSQL server: add a line host = ..."},
        {"empty database", "engine = postgresql\nhost = db\ndatabase =   \n",
         ", line 3: the database is empty"},
        {"empty host", "engine = postgresql\nhost = \"\"\ndatabase = tarvex\n",
         ", line 2: the host is empty"},
        {"no engine", "host = db.example.local\ndatabase = tarvex\n",
         ": no engine is named: add a line engine = postgresql (or engine = sqlite for the "
         "file in this folder)"},
        {"empty file", "",
         ": no engine is named: add a line engine = postgresql (or engine = "
         "sqlite for the file in this folder)"},
        {"a key given twice", server + "\nhost = db2.example.local\n",
         ", line 5: host is given a second time (first on line 2)"},
        {"a line that is no setting", "engine = postgresql\nhost db.example.local\n",
         ", line 2: this line is not a setting of the form key = value"},
        {"a database name PostgreSQL would cut short",
         "engine = postgresql\nhost = db\ndatabase = " + QByteArray(64, 'd') + "\n",
         ", line 3: the database is longer than the 63 bytes PostgreSQL keeps"},
        {"a user name PostgreSQL would cut short",
         server + "user = " + QByteArray(31, 'u') + QByteArray("äääää") + QByteArray(23, 'u') +
             "\n",
         ", line 4: the user is longer than the 63 bytes PostgreSQL keeps"},
        {"not UTF-8", "engine = postgresql\nhost = db\ndatabase = Verk\xe4ufer\n",
         ": the file is not UTF-8 text"},
        {"far too large", server + QByteArray(70 * 1024, '#'),
         ": the file is too large to be a database.conf"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const TempProgramFolder dir;
        QString error;
        const std::optional<StoreLocation> location = locationWith(dir, c.text, &error);
        EXPECT_FALSE(location.has_value());
        EXPECT_EQ(error, dir.filePath(QStringLiteral("database.conf")) + c.message);
        // A caller that wants no message gets the refusal all the same.
        EXPECT_FALSE(StoreLocation::of(dir.folder(), nullptr).has_value());
    }
}

TEST(StoreLocation, APasswordIsRefusedWithoutRepeatingIt)
{
    const QByteArray texts[] = {
        "engine = postgresql\nhost = db\ndatabase = tarvex\npassword = Sesam-öffne-dich\n",
        "engine = sqlite\nPassword=Sesam-öffne-dich\n",
    };
    const int lines[] = {4, 2};
    for (int i = 0; i < 2; ++i) {
        const TempProgramFolder dir;
        QString error;
        EXPECT_FALSE(locationWith(dir, texts[i], &error).has_value());
        EXPECT_EQ(error, dir.filePath(QStringLiteral("database.conf")) +
                             QStringLiteral(", line %1: database.conf holds no password: remove "
                                            "this line and put the password in ~/.pgpass, or let "
                                            "the server recognise the login (peer or certificate "
                                            "authentication)")
                                 .arg(lines[i]));
        EXPECT_FALSE(error.contains(QStringLiteral("Sesam")));
    }
    // Nor is a line that is not a setting repeated: it may be a password.
    const TempProgramFolder dir;
    QString error;
    EXPECT_FALSE(locationWith(dir, "engine = postgresql\nSesam-öffne-dich\n", &error));
    EXPECT_FALSE(error.contains(QStringLiteral("Sesam"))) << error.toStdString();
}

TEST(StoreLocation, ADatabaseConfThatCannotBeReadIsNeverTakenForAnAbsentOne)
{
    const TempProgramFolder dir;
    const QString path = dir.filePath(QStringLiteral("database.conf"));
    QString error;

    // A link to a shared drive that is not mounted.
    ASSERT_TRUE(QFile::link(QStringLiteral("/nonexistent-share/tarvex/database.conf"), path));
    EXPECT_FALSE(StoreLocation::of(dir.folder(), &error).has_value());
    EXPECT_EQ(error,
              path + QStringLiteral(": the file could not be read (No such file or directory)"));
    ASSERT_TRUE(QFile::remove(path));

    ASSERT_TRUE(QDir().mkdir(path));
    EXPECT_FALSE(StoreLocation::of(dir.folder(), &error).has_value());
    EXPECT_EQ(error, path + QStringLiteral(": the file could not be read (it is a folder)"));
}

TEST(StoreLocation, DescribesTheStoreForMessages)
{
    StoreLocation server;
    server.engine = Engine::PostgreSQL;
    server.server = {"db.example.local", 5432, "tarvex", "anna"};
    EXPECT_EQ(server.describe(), QStringLiteral("the database \"tarvex\" on db.example.local"));
    server.server = {"/var/run/postgresql", 5433, "Verkäufe 2026", ""};
    EXPECT_EQ(server.describe(),
              QStringLiteral("the database \"Verkäufe 2026\" on /var/run/postgresql, port 5433"));

    StoreLocation file;
    file.filePath = QStringLiteral("/home/anna/.local/share/Tarvex/Sales Log2.mdb");
    EXPECT_EQ(file.describe(), QStringLiteral("/home/anna/.local/share/Tarvex/Sales Log2.mdb"));
}

} // namespace
