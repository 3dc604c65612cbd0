// Values of a damaged Access file that still decode are shown before they
// are imported, never taken in with no word.
#include "legacy/legacy_import.h"
#include "legacy/legacy_import_command.h"
#include "legacy/legacy_plausibility.h"
#include "legacy_test_support.h"
#include "store/deal_database.h"

#include <QSqlQuery>

#include <gtest/gtest.h>

namespace {

AccessValue currency(qint64 units)
{
    AccessValue value;
    value.kind = AccessValue::Kind::Currency;
    value.integer = units;
    return value;
}

AccessValue date(int year, int month, int day)
{
    AccessValue value;
    value.kind = AccessValue::Kind::DateTime;
    value.date = QDate(year, month, day);
    value.time = QTime(0, 0);
    return value;
}

AccessValue single(double number)
{
    AccessValue value;
    value.kind = AccessValue::Kind::Number;
    value.single = true;
    value.number = number;
    return value;
}

AccessValue text(const QString &content)
{
    AccessValue value;
    value.kind = AccessValue::Kind::Text;
    value.text = content;
    return value;
}

TEST(LegacyPlausibility, NamesEachValueBeyondWhatADealHolds)
{
    AccessTable summary;
    summary.name = QStringLiteral("SalesSummary");
    for (const char *column : {"Date", "Customer_Name", "Warranty", "UnitCount"})
        summary.columns << AccessColumn{QString::fromLatin1(column), AccessType::Other};
    // Plausible to the edge: ±$10,000,000, 1980 and 2100, half and whole units.
    summary.rows << QList<AccessValue>{date(1980, 1, 1), text(QStringLiteral("ZOË O'NEIL")),
                                       currency(100'000'000'000LL), single(0.5)};
    summary.rows << QList<AccessValue>{date(2100, 12, 31), AccessValue::null(),
                                       currency(-100'000'000'000LL), single(1)};
    summary.rows << QList<AccessValue>{date(1979, 12, 31),
                                       text(QStringLiteral("ANN\x01LEE")),
                                       currency(9'007'199'254'941'000LL), single(0.4375)};
    summary.rows << QList<AccessValue>{date(2101, 1, 1), text(QStringLiteral("BO\tB")),
                                       currency(-100'000'000'001LL), single(0)};

    QStringList described;
    for (const LegacyPlausibility::Suspect &suspect : LegacyPlausibility::check({&summary}))
        described << suspect.describe();
    EXPECT_EQ(described,
              (QStringList{
                  "SalesSummary row 3, Date = 1979-12-31: a date outside 1980 to 2100",
                  "SalesSummary row 3, Customer_Name = \"ANN\\x01LEE\": text with a control "
                  "character",
                  "SalesSummary row 3, Warranty = 900719925494.1000: an amount beyond "
                  "±$10,000,000",
                  "SalesSummary row 3, UnitCount = 0.4375: a unit count other than 0.5 or 1",
                  "SalesSummary row 4, Date = 2101-01-01: a date outside 1980 to 2100",
                  "SalesSummary row 4, Customer_Name = \"BO\\x09B\": text with a control "
                  "character",
                  "SalesSummary row 4, Warranty = -10000000.0001: an amount beyond ±$10,000,000",
                  "SalesSummary row 4, UnitCount = 0: a unit count other than 0.5 or 1",
              }));
}

// The fixture with one Currency value changed as a damaged copy changes it:
// RecallDeal row 15's cost of 19240.1234 becomes 900719925494.1000.
QByteArray damagedFixture()
{
    QByteArray bytes = fixtureBytes();
    const qint64 cost = 192401234;
    const qint64 damaged = 9'007'199'254'941'000LL;
    const QByteArray was(reinterpret_cast<const char *>(&cost), sizeof cost);
    const QByteArray now(reinterpret_cast<const char *>(&damaged), sizeof damaged);
    EXPECT_EQ(bytes.count(was), 1);
    bytes.replace(bytes.indexOf(was), was.size(), now);
    return bytes;
}

const QString kSuspect = QStringLiteral(
    "RecallDeal row 15, Cost = 900719925494.1000: an amount beyond ±$10,000,000");

TEST(LegacyPlausibility, ADamagedValueIsShownAndImportedOnlyWhenTheUserSaysSo)
{
    TempProgramFolder declined;
    declined.writeBytes(QStringLiteral("Sales Log2.mdb"), damagedFixture());
    QStringList asked;
    LegacyImportOptions no;
    no.importSuspects = [&asked](const QStringList &suspects) {
        asked = suspects;
        return false;
    };
    const LegacyImportResult refused =
        LegacyImport(declined.folder(), declined.filePath(QStringLiteral("Sales Log2.mdb")))
            .run(no);
    EXPECT_EQ(asked, QStringList{kSuspect});
    EXPECT_EQ(refused.status, LegacyImportResult::Status::Failed);
    EXPECT_EQ(declined.readBytes(QStringLiteral("Sales Log2.mdb")), damagedFixture());
    EXPECT_TRUE(QString::fromUtf8(declined.readBytes(QStringLiteral("import.log")))
                    .contains(QStringLiteral("Values that look damaged: 1 (")));

    TempProgramFolder taken;
    taken.writeBytes(QStringLiteral("Sales Log2.mdb"), damagedFixture());
    LegacyImportOptions yes;
    yes.importSuspects = [](const QStringList &) { return true; };
    const LegacyImportResult imported =
        LegacyImport(taken.folder(), taken.filePath(QStringLiteral("Sales Log2.mdb"))).run(yes);
    ASSERT_EQ(imported.status, LegacyImportResult::Status::Imported) << imported.error.toStdString();
    EXPECT_TRUE(imported.summaryLines().contains(
        QStringLiteral("1 value looked damaged and was imported as read:")));
    EXPECT_TRUE(imported.summaryLines().contains(QStringLiteral("  ") + kSuspect));
    EXPECT_TRUE(QString::fromUtf8(taken.readBytes(QStringLiteral("import.log")))
                    .contains(QStringLiteral("  ") + kSuspect + u'\n'));
}

// Without a terminal to ask at, the command imports nothing and says why.
TEST(LegacyPlausibility, TheCommandListsThemAndImportsNothingUnlessAnswered)
{
    TempProgramFolder elsewhere;
    elsewhere.writeBytes(QStringLiteral("old.mdb"), damagedFixture());
    TempProgramFolder dir;
    QString printed;
    QString errors;
    QTextStream out(&printed);
    QTextStream errorStream(&errors);
    EXPECT_EQ(runLegacyImportCommand(elsewhere.filePath(QStringLiteral("old.mdb")), dir.folder(),
                                     out, &errorStream),
              1);
    EXPECT_EQ(printed, QString());
    EXPECT_TRUE(errors.startsWith(QStringLiteral("These values of the Access database look "
                                                 "damaged:\n  ") +
                                  kSuspect + QStringLiteral("\nNot imported: 1 value of \"")))
        << errors.toStdString();
    EXPECT_FALSE(dir.exists(QStringLiteral("Sales Log2.mdb")));

    int asked = 0;
    EXPECT_EQ(runLegacyImportCommand(elsewhere.filePath(QStringLiteral("old.mdb")), dir.folder(),
                                     out, &errorStream, [&asked] { return ++asked > 0; }),
              0);
    EXPECT_EQ(asked, 1);
    DealDatabase database(dir.folder());
    ASSERT_TRUE(database.open(nullptr));
    QSqlQuery cost(database.connection());
    ASSERT_TRUE(cost.exec(QStringLiteral("SELECT count(*) FROM RecallDeal WHERE Cost = "
                                         "9007199254941000")));
    ASSERT_TRUE(cost.next());
    EXPECT_EQ(cost.value(0).toInt(), 1);
}

} // namespace
