// An import that cannot finish changes nothing: the Access file stays as it
// was, byte for byte, under its own name, and no half-made database is left.
#include "legacy/legacy_import.h"
#include "legacy/legacy_import_command.h"
#include "legacy_test_support.h"
#include "store/deal_database.h"
#include "store/deal_store.h"

#include <QFile>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

using Status = LegacyImportResult::Status;

const QString kDatabase = QStringLiteral("Sales Log2.mdb");
const QString kKilledFolder = QStringLiteral("TARVEX_TEST_KILLED_IMPORT_FOLDER");
const QString kReadOnlyFolder = QStringLiteral("TARVEX_TEST_READ_ONLY_IMPORT_FOLDER");

LegacyImportResult importIn(const TempProgramFolder &dir, const LegacyImportOptions &options = {})
{
    return LegacyImport(dir.folder(), dir.filePath(kDatabase)).run(options);
}

TEST(LegacyImportFailureTest, ACutShortCopyIsRefusedAndLeftAsItWas)
{
    // Cut in the middle of RecallDeal's rows, and before the roster, the
    // last table read.
    const QList<std::pair<int, QString>> cuts = {
        {150000, QStringLiteral("The table RecallDeal holds 42 rows, of which only 13 could be "
                                "read: the file is damaged or incomplete.")},
        {160000, QStringLiteral("The table SalesPersons could not be read: the file is damaged or "
                                "incomplete.")},
    };
    for (const auto &[size, why] : cuts) {
        TempProgramFolder dir;
        const QByteArray cut = fixtureBytes().left(size);
        dir.writeBytes(kDatabase, cut);
        const LegacyImportResult result = importIn(dir);
        EXPECT_EQ(result.status, Status::Failed);
        EXPECT_EQ(result.error,
                  QStringLiteral("\"%1\" could not be read. ").arg(dir.filePath(kDatabase)) + why);
        EXPECT_EQ(dir.readBytes(kDatabase), cut);
        EXPECT_EQ(folderNames(dir.folder().path()),
                  QStringList({kDatabase, QStringLiteral("import.log")}));
        EXPECT_TRUE(dir.readBytes(QStringLiteral("import.log"))
                        .endsWith("Nothing was changed: the Access file is as it was.\n"));
    }
}

TEST(LegacyImportFailureTest, AFileThatIsNotAccessIsRefused)
{
    TempProgramFolder dir;
    dir.writeBytes(kDatabase, QByteArray("\"Tom Briggs\",\"Lena Strand\"\r\n"));
    const LegacyImportResult result = importIn(dir);
    EXPECT_EQ(result.status, Status::Failed);
    EXPECT_EQ(result.error,
              QStringLiteral("\"%1\" is not an Access database.").arg(dir.filePath(kDatabase)));
    EXPECT_EQ(dir.readBytes(kDatabase), QByteArray("\"Tom Briggs\",\"Lena Strand\"\r\n"));
    EXPECT_FALSE(dir.exists(QStringLiteral("Sales Log2 (Access).mdb")));
}

// A refused file leaves no trace, and the report of an earlier import is
// never replaced by a failed one, also when the Access file is cut short.
TEST(LegacyImportFailureTest, AFailedImportKeepsTheEarlierReportAndARefusedOneWritesNone)
{
    TempProgramFolder elsewhere;
    elsewhere.writeBytes(QStringLiteral("names.mdb"), "\"Tom Briggs\",\"Lena Strand\"\r\n");
    elsewhere.writeBytes(QStringLiteral("cut.mdb"), fixtureBytes().left(150000));

    TempProgramFolder fresh;
    QString printed;
    QTextStream out(&printed);
    EXPECT_EQ(runLegacyImportCommand(elsewhere.filePath(QStringLiteral("names.mdb")),
                                     fresh.folder(), out),
              1);
    EXPECT_EQ(printed, QStringLiteral("Not imported: \"%1\" is not an Access database.\n"
                                      "Nothing was changed.\n")
                           .arg(elsewhere.filePath(QStringLiteral("names.mdb"))));
    EXPECT_EQ(folderNames(fresh.folder().path()), QStringList());

    TempProgramFolder earlier;
    const QByteArray report("Imported 2024-05-02: 43 deals from \"Sales Log2.mdb\".\n");
    earlier.writeBytes(QStringLiteral("import.log"), report);
    for (const char *file : {"names.mdb", "cut.mdb"}) {
        const LegacyImportResult result =
            LegacyImport(earlier.folder(), elsewhere.filePath(QString::fromLatin1(file))).run();
        EXPECT_EQ(result.status, Status::Failed) << file;
        EXPECT_FALSE(result.reportWritten) << file;
        EXPECT_EQ(earlier.readBytes(QStringLiteral("import.log")), report) << file;
        EXPECT_EQ(folderNames(earlier.folder().path()), QStringList{QStringLiteral("import.log")})
            << file;
    }
}

TEST(LegacyImportFailureTest, CancelUndoesEverything)
{
    TempProgramFolder dir;
    placeFixture(dir);
    int calls = 0;
    int total = 0;
    LegacyImportOptions options;
    options.progress = [&](int done, int all) {
        calls = done;
        total = all;
        return done < 120; // Cancel late, among the SalesLog rows
    };
    const LegacyImportResult result = importIn(dir, options);
    EXPECT_EQ(result.status, Status::Cancelled);
    EXPECT_EQ(calls, 120);
    EXPECT_EQ(total, 7 + 43 + 48 + 42);
    EXPECT_EQ(dir.readBytes(kDatabase), fixtureBytes());
    EXPECT_EQ(folderNames(dir.folder().path()), QStringList({kDatabase}));
}

// Run only as the child of the next test: imports and is killed after 100 rows.
TEST(LegacyImportKilledChild, ImportsUntilKilled)
{
    const QString folder = qEnvironmentVariable(kKilledFolder.toLatin1().constData());
    if (folder.isEmpty())
        GTEST_SKIP() << "run by LegacyImportFailureTest.AKillMidImportLeavesTheOldState";
    LegacyImportOptions options;
    options.killAfterRows = 100;
    LegacyImport(ProgramFolder(folder), ProgramFolder(folder).filePath(kDatabase)).run(options);
    FAIL() << "the import was not killed";
}

TEST(LegacyImportFailureTest, AKillMidImportLeavesTheOldState)
{
    TempProgramFolder dir;
    placeFixture(dir);
    const ChildEnd end = runChildTest(QStringLiteral("LegacyImportKilledChild.ImportsUntilKilled"),
                                      {{kKilledFolder, dir.folder().path()}});
    ASSERT_TRUE(end.crashed) << end.output.toStdString();
    EXPECT_EQ(dir.readBytes(kDatabase), fixtureBytes());
    EXPECT_FALSE(dir.exists(QStringLiteral("Sales Log2 (Access).mdb")));

    // The next import clears what the killed one left and completes.
    const LegacyImportResult again = importIn(dir);
    ASSERT_EQ(again.status, Status::Imported) << again.error.toStdString();
    EXPECT_EQ(folderNames(dir.folder().path()),
              QStringList({QStringLiteral("Sales Log2 (Access).mdb"), kDatabase,
                           QStringLiteral("import.log")}));
    EXPECT_EQ(dir.readBytes(QStringLiteral("Sales Log2 (Access).mdb")), fixtureBytes());
}

// Run only as the child of the next test: a user who may not write the folder.
TEST(LegacyImportReadOnlyChild, ImportsIntoAFolderItMayNotWrite)
{
    const QString folder = qEnvironmentVariable(kReadOnlyFolder.toLatin1().constData());
    if (folder.isEmpty())
        GTEST_SKIP() << "run by LegacyImportFailureTest.AReadOnlyFolderIsRefused";
    if (::geteuid() == 0) {
        // The administrator may write anywhere: carry on as nobody.
        ASSERT_EQ(::setgid(65534), 0);
        ASSERT_EQ(::setuid(65534), 0);
    }
    const LegacyImportResult result =
        LegacyImport(ProgramFolder(folder), ProgramFolder(folder).filePath(kDatabase)).run();
    EXPECT_EQ(result.status, Status::Failed);
    EXPECT_TRUE(result.error.startsWith(
        QStringLiteral("The new database could not be made in the program folder.")))
        << result.error.toStdString();
}

TEST(LegacyImportFailureTest, AReadOnlyFolderIsRefused)
{
    TempProgramFolder dir;
    placeFixture(dir);
    const auto readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                          QFile::ReadOther | QFile::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(dir.filePath(kDatabase),
                                      QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    ASSERT_TRUE(QFile::setPermissions(dir.folder().path(), readOnly));
    const ChildEnd end =
        runChildTest(QStringLiteral("LegacyImportReadOnlyChild.ImportsIntoAFolderItMayNotWrite"),
                     {{kReadOnlyFolder, dir.folder().path()}});
    QFile::setPermissions(dir.folder().path(), readOnly | QFile::WriteOwner);
    EXPECT_FALSE(end.crashed);
    EXPECT_EQ(end.exitCode, 0) << end.output.toStdString();
    EXPECT_EQ(dir.readBytes(kDatabase), fixtureBytes());
    EXPECT_EQ(folderNames(dir.folder().path()), QStringList({kDatabase}));
}

TEST(LegacyImportCommandTest, ImportsAFileFromElsewhereIntoAFolderWithoutDeals)
{
    TempProgramFolder dir;
    TempProgramFolder elsewhere;
    elsewhere.writeBytes(QStringLiteral("old.mdb"), fixtureBytes());
    // A database of this program, its roster grown by one, no deals yet.
    {
        DealDatabase database(dir.folder());
        ASSERT_TRUE(database.open(nullptr));
        QSqlQuery add(database.connection());
        ASSERT_TRUE(
            add.exec(QStringLiteral("INSERT INTO SalesPersons (Name) VALUES ('Pat Quinn')")));
    }
    QString printed;
    QTextStream out(&printed);
    EXPECT_EQ(
        runLegacyImportCommand(elsewhere.filePath(QStringLiteral("old.mdb")), dir.folder(), out),
        0);
    EXPECT_TRUE(printed.startsWith(QStringLiteral(
        "Imported 42 deals and 7 salespeople from the Access database.\n"
        "1 row could not be tied to a deal; it was imported as a deal of its own.\n")))
        << printed.toStdString();
    EXPECT_EQ(elsewhere.readBytes(QStringLiteral("old.mdb")), fixtureBytes());
    EXPECT_FALSE(dir.exists(QStringLiteral("Sales Log2 (Access).mdb")));

    DealDatabase database(dir.folder());
    ASSERT_TRUE(database.open(nullptr));
    DealStore store(database);
    EXPECT_EQ(store.allDeals().size(), 43);
    EXPECT_EQ(store.salesPersons().last(), QStringLiteral("Pat Quinn"));
    // The summary counts every name stored: the file's six and the one kept.
    EXPECT_EQ(store.salesPersons().size() - store.salesPersons().count(QString()), 7);

    // A second import would mix two histories: refused, nothing changed.
    QString again;
    QTextStream secondOut(&again);
    EXPECT_EQ(runLegacyImportCommand(elsewhere.filePath(QStringLiteral("old.mdb")), dir.folder(),
                                     secondOut),
              1);
    EXPECT_EQ(again,
              QStringLiteral("Not imported: The deal database \"%1\" already holds deals; an "
                             "Access database is imported only into a database without "
                             "any.\nNothing was changed.\n")
                  .arg(dir.filePath(kDatabase)));
    EXPECT_EQ(store.allDeals().size(), 43);
}

TEST(LegacyImportCommandTest, AMissingFileIsNamed)
{
    TempProgramFolder dir;
    QString printed;
    QTextStream out(&printed);
    EXPECT_EQ(
        runLegacyImportCommand(dir.filePath(QStringLiteral("nowhere.mdb")), dir.folder(), out), 1);
    EXPECT_EQ(printed,
              QStringLiteral("Not imported: There is no file \"%1\".\nNothing was changed.\n")
                  .arg(dir.filePath(QStringLiteral("nowhere.mdb"))));
    EXPECT_FALSE(dir.exists(kDatabase));
}

// From the command line the reason goes to the error stream, not with the
// summary an import prints.
TEST(LegacyImportCommandTest, WhyNotGoesToTheErrorStream)
{
    TempProgramFolder dir;
    QString printed;
    QString errors;
    QTextStream out(&printed);
    QTextStream errorStream(&errors);
    EXPECT_EQ(runLegacyImportCommand(dir.filePath(QStringLiteral("Ventes Été.mdb")), dir.folder(),
                                     out, &errorStream),
              1);
    EXPECT_EQ(printed, QString());
    EXPECT_EQ(errors, QStringLiteral("Not imported: There is no file \"%1\".\nNothing was changed.\n")
                          .arg(dir.filePath(QStringLiteral("Ventes Été.mdb"))));
}

} // namespace
