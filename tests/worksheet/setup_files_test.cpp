// unit.txt as Add Unit and the removal panel change it: one encoding for the
// whole file, old bytes kept, and only the lines removed taken out.
#include "common/quoted_items.h"
#include "temp_program_folder.h"
#include "worksheet/setup_files.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

using Result = SetupFiles::Result;

struct AddCase
{
    const char *name;
    QByteArray before;
    bool missing; // no unit.txt at all
    QString added;
    QByteArray after;
};

TEST(SetupFilesUnits, AddUnitWritesInTheFilesOwnEncoding)
{
    const QByteArray olderFile = "\"Coup\xE9\"\r\n\"Bronco\"\r\n";
    const AddCase cases[] = {
        {"utf8 file takes utf8", "\"Coupé\"\r\n", false, "Señor", "\"Coupé\"\r\n\"Señor\"\r\n"},
        {"older file keeps its bytes", olderFile, false, "Señor",
         olderFile + "\"Se\xF1or\"\r\n"},
        {"euro sign fits the older encoding", olderFile, false, "Ka €",
         olderFile + "\"Ka \x80\"\r\n"},
        {"a letter the older encoding lacks turns the file to utf8", olderFile, false, "Łada",
         "\"Coupé\"\r\n\"Bronco\"\r\n\"Łada\"\r\n"},
        {"older file without a final line end", "\"Coup\xE9\"", false, "Ranger",
         "\"Coup\xE9\"\r\n\"Ranger\"\r\n"},
        {"older file without a final line end turned to utf8", "\"Coup\xE9\"", false, "Łada",
         "\"Coupé\"\r\n\"Łada\"\r\n"},
        {"no final line end", "\"Taurus\"\r\n\"F-150\"", false, "123",
         "\"Taurus\"\r\n\"F-150\"\r\n\"123\"\r\n"},
        {"missing file is made in utf8", "", true, "Écru", "\"Écru\"\r\n"},
    };
    for (const AddCase &c : cases) {
        TempProgramFolder dir;
        if (!c.missing)
            dir.writeBytes(QStringLiteral("unit.txt"), c.before);
        SetupFiles files(dir.folder());
        EXPECT_EQ(files.appendUnit(c.added), Result::Written) << c.name;
        EXPECT_EQ(dir.readBytes(QStringLiteral("unit.txt")), c.after) << c.name;
        // Read back, the added description is what was typed.
        EXPECT_EQ(files.readUnits().value_or(QStringList()).last(), c.added) << c.name;
    }
}

TEST(SetupFilesUnits, AFailedRewriteLeavesTheOlderFileAsItWas)
{
    TempProgramFolder dir;
    const QByteArray olderFile = "\"Coup\xE9\"\r\n";
    dir.writeBytes(QStringLiteral("unit.txt"), olderFile);
    // A description with a double quote is refused before anything is written.
    SetupFiles files(dir.folder());
    EXPECT_EQ(files.appendUnit(QStringLiteral("Łada \"X\"")), Result::Refused);
    EXPECT_EQ(dir.readBytes(QStringLiteral("unit.txt")), olderFile);
    EXPECT_EQ(files.message(), QStringLiteral("A unit description cannot contain a double quote "
                                              "(\"). The description was not added."));
}

struct RemoveCase
{
    const char *name;
    QByteArray before;
    QList<SetupFiles::UnitLine> removed;
    QByteArray after;
};

TEST(SetupFilesUnits, TheRemovalPanelTakesOutExactlyTheLinesRemoved)
{
    const RemoveCase cases[] = {
        {"a line added since the list was read stays",
         "\"Taurus\"\r\n\"Bronco\"\r\n\"Newly Added\"\r\n",
         {{"Bronco", 0}},
         "\"Taurus\"\r\n\"Newly Added\"\r\n"},
        {"the second of two equal lines",
         "\"Taurus\"\r\n\"F-150\"\r\n\"Taurus\"\r\n\"4711\"\r\n",
         {{"Taurus", 1}},
         "\"Taurus\"\r\n\"F-150\"\r\n\"4711\"\r\n"},
        {"the older encoding is kept", "\"Coup\xE9\"\r\n\"Bronco\"\r\n\"Se\xF1or\"\r\n",
         {{"Bronco", 0}},
         "\"Coup\xE9\"\r\n\"Se\xF1or\"\r\n"},
        {"everything removed", "\"Écru\"\r\n\"Zulu\"", {{"Zulu", 0}, {"Écru", 0}}, ""},
        {"a line gone meanwhile leaves the file untouched", "\"Taurus\",\"F-150\"\r\n\r\n",
         {{"Bronco", 0}, {"Taurus", 1}},
         "\"Taurus\",\"F-150\"\r\n\r\n"},
    };
    for (const RemoveCase &c : cases) {
        TempProgramFolder dir;
        dir.writeBytes(QStringLiteral("unit.txt"), c.before);
        SetupFiles files(dir.folder());
        EXPECT_EQ(files.removeUnits(c.removed), Result::Written) << c.name;
        EXPECT_EQ(dir.readBytes(QStringLiteral("unit.txt")), c.after) << c.name;
    }
}

TEST(SetupFilesUnits, AUnitFileThatCannotBeReadIsNeitherAddedToNorRewritten)
{
    TempProgramFolder dir;
    QDir(dir.folder().path()).mkdir(QStringLiteral("unit.txt"));
    SetupFiles files(dir.folder());
    const QString path = QDir::toNativeSeparators(dir.filePath(QStringLiteral("unit.txt")));
    EXPECT_EQ(files.removeUnits({{"Taurus", 0}}), Result::Failed);
    EXPECT_TRUE(files.message().startsWith(
        QStringLiteral("The unit list could not be saved in %1:\n").arg(path)))
        << files.message().toStdString();
    EXPECT_EQ(files.appendUnit(QStringLiteral("Ranger")), Result::Failed);
    EXPECT_TRUE(files.message().startsWith(
        QStringLiteral("The unit description could not be added to %1:\n").arg(path)))
        << files.message().toStdString();
}

TEST(QuotedItemsEncoding, Windows1252HoldsItsOwnCharactersOnly)
{
    using QuotedItems::Encoding;
    EXPECT_EQ(QuotedItems::encode(QStringLiteral("Coupé € Š"), Encoding::Windows1252),
              QByteArray("Coup\xE9 \x80 \x8A"));
    EXPECT_EQ(QuotedItems::encode(QStringLiteral("Łada"), Encoding::Windows1252), std::nullopt);
    EXPECT_EQ(QuotedItems::encodingOf("\"Coup\xE9\"\r\n"), Encoding::Windows1252);
    EXPECT_EQ(QuotedItems::encodingOf("\"Coupé\"\r\n"), Encoding::Utf8);
    EXPECT_EQ(QuotedItems::encodingOf(""), Encoding::Utf8);
    // Every byte the reader gives a character to is written back the same.
    QByteArray all;
    for (int byte = 0x20; byte <= 0xFF; ++byte)
        all.append(char(byte));
    all.append('\xFF'); // not valid UTF-8 whatever comes before
    EXPECT_EQ(QuotedItems::encode(QuotedItems::decode(all), Encoding::Windows1252), all);
}

} // namespace
