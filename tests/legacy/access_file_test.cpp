// The older installation's Access file read through mdbtools' library and
// compared with the list of every value it holds.
#include "legacy/access_file.h"
#include "legacy_test_support.h"

#include <QJsonArray>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

// Whether a value read is the one listed; a message saying how not.
std::optional<std::string> differs(const AccessValue &read, const QString &type,
                                   const QJsonValue &listed)
{
    const auto say = [&](const QString &what) {
        return std::optional<std::string>(
            (what + QStringLiteral(", read ") + read.display()).toStdString());
    };
    if (listed.isNull())
        return read.isNull() ? std::nullopt : say(QStringLiteral("expected empty"));
    if (type == QLatin1String("Currency"))
        return read.kind == AccessValue::Kind::Currency &&
                       read.integer == tenThousandths(listed.toString())
                   ? std::nullopt
                   : say(QStringLiteral("expected ") + listed.toString());
    if (type == QLatin1String("Date/Time"))
        return read.kind == AccessValue::Kind::DateTime &&
                       read.date == QDate::fromString(listed.toString(), Qt::ISODate) &&
                       read.time == QTime(0, 0)
                   ? std::nullopt
                   : say(QStringLiteral("expected ") + listed.toString());
    if (type == QLatin1String("Yes/No"))
        return read.kind == AccessValue::Kind::YesNo && read.yes == listed.toBool()
                   ? std::nullopt
                   : say(QStringLiteral("expected yes/no"));
    if (type == QLatin1String("Number (Single)"))
        return read.kind == AccessValue::Kind::Number && read.number == listed.toDouble()
                   ? std::nullopt
                   : say(QStringLiteral("expected %1").arg(listed.toDouble()));
    if (type == QLatin1String("Number (Long Integer)"))
        return read.kind == AccessValue::Kind::Integer && read.integer == listed.toInteger()
                   ? std::nullopt
                   : say(QStringLiteral("expected %1").arg(listed.toInteger()));
    return read.kind == AccessValue::Kind::Text && read.text == listed.toString()
               ? std::nullopt
               : say(QStringLiteral("expected \"%1\"").arg(listed.toString()));
}

TEST(AccessFileTest, ReadsEveryValueOfTheOlderDatabaseExactly)
{
    AccessFile file;
    QString error;
    ASSERT_TRUE(file.open(fixturePath(), &error)) << error.toStdString();
    EXPECT_EQ(file.formatName(), QStringLiteral("Access 2000 (Jet 4)"));
    EXPECT_EQ(file.tableNames(),
              QStringList({QStringLiteral("SalesSummary"), QStringLiteral("SalesLog"),
                           QStringLiteral("RecallDeal"), QStringLiteral("SalesPersons")}));

    const QJsonObject tables = expectedFixture().value(QStringLiteral("tables")).toObject();
    ASSERT_EQ(tables.size(), 4);
    int compared = 0;
    for (auto it = tables.begin(); it != tables.end(); ++it) {
        const std::optional<AccessTable> table = file.readTable(it.key(), &error);
        ASSERT_TRUE(table) << error.toStdString();
        const QJsonArray columns = it.value().toObject().value(QStringLiteral("columns")).toArray();
        const QJsonArray rows = it.value().toObject().value(QStringLiteral("rows")).toArray();
        ASSERT_EQ(table->columns.size(), columns.size()) << it.key().toStdString();
        for (int c = 0; c < columns.size(); ++c) {
            EXPECT_EQ(table->columns.at(c).name, columns.at(c)[QStringLiteral("name")].toString());
            EXPECT_EQ(accessTypeName(table->columns.at(c).type),
                      columns.at(c)[QStringLiteral("type")].toString());
        }
        ASSERT_EQ(table->rows.size(), rows.size()) << it.key().toStdString();
        for (int r = 0; r < rows.size(); ++r) {
            for (int c = 0; c < columns.size(); ++c) {
                const QString name = columns.at(c)[QStringLiteral("name")].toString();
                const std::optional<std::string> difference =
                    differs(table->rows.at(r).at(c),
                            columns.at(c)[QStringLiteral("type")].toString(), rows.at(r)[name]);
                EXPECT_FALSE(difference) << it.key().toStdString() << " row " << r + 1 << " "
                                         << name.toStdString() << ": " << difference.value_or("");
                ++compared;
            }
        }
    }
    // 48 x 13 + 42 x 8 + 42 x 45 + 7 x 1
    EXPECT_EQ(compared, 624 + 336 + 1890 + 7);
}

TEST(AccessFileTest, AccentsAndAwkwardTextComeThroughAsTyped)
{
    AccessFile file;
    ASSERT_TRUE(file.open(fixturePath(), nullptr));
    const std::optional<AccessTable> log = file.readTable(QStringLiteral("SalesLog"), nullptr);
    ASSERT_TRUE(log);
    QStringList customers;
    for (const QList<AccessValue> &row : log->rows)
        customers << row.at(3).text;
    EXPECT_TRUE(customers.contains(QStringLiteral("IÑIGO MUÑOZ")));
    EXPECT_TRUE(customers.contains(QStringLiteral("ZOË NÚÑEZ")));
    EXPECT_TRUE(customers.contains(QStringLiteral("BOB \"BUDDY\" LANE")));
    EXPECT_TRUE(customers.contains(QStringLiteral("SMITH, JOHN")));
}

TEST(AccessFileTest, RefusesWhatIsNotAnAccessDatabase)
{
    TempProgramFolder dir;
    dir.writeBytes(QStringLiteral("notes.mdb"), QByteArray("Standard notes, not a database\n"));
    AccessFile file;
    QString error;
    EXPECT_FALSE(file.open(dir.filePath(QStringLiteral("notes.mdb")), &error));
    EXPECT_TRUE(error.endsWith(QStringLiteral("notes.mdb\" is not an Access database.")))
        << error.toStdString();
    EXPECT_FALSE(AccessFile::looksLikeAccess(dir.filePath(QStringLiteral("missing.mdb"))));
}

TEST(AccessFileTest, ATableCutShortIsRefusedNotReadInPart)
{
    // The first 150,000 bytes hold the start of RecallDeal but not its end.
    TempProgramFolder dir;
    dir.writeBytes(QStringLiteral("cut.mdb"), fixtureBytes().left(150000));
    AccessFile file;
    QString error;
    ASSERT_TRUE(file.open(dir.filePath(QStringLiteral("cut.mdb")), &error)) << error.toStdString();
    EXPECT_TRUE(file.readTable(QStringLiteral("SalesSummary"), &error));
    EXPECT_FALSE(file.readTable(QStringLiteral("RecallDeal"), &error));
    EXPECT_EQ(error, QStringLiteral("The table RecallDeal holds 42 rows, of which only 13 could be "
                                    "read: the file is damaged or incomplete."));
    EXPECT_FALSE(file.readTable(QStringLiteral("SalesPersons"), &error));
}

} // namespace
