#include "worksheet/standing_figures.h"
#include "temp_program_folder.h"

#include "test_printers.h"

#include <gtest/gtest.h>

namespace {

TEST(StandingFigures, MissingFilesAreCreatedWithTheirDefaults)
{
    TempProgramFolder dir;
    const StandingFigures figures = StandingFigures::load(dir.folder());
    EXPECT_EQ(figures.newPack, QStringLiteral("300"));
    EXPECT_EQ(figures.usedPack, QStringLiteral("500"));
    EXPECT_EQ(figures.commission, QStringLiteral("30"));
    EXPECT_EQ(figures.warranty, QStringLiteral("30"));
    EXPECT_EQ(figures.mini, QStringLiteral("100"));
    EXPECT_TRUE(figures.units.isEmpty());
    EXPECT_EQ(dir.readBytes(QStringLiteral("dp.dat")), QByteArray("\"300\",\"500\"\r\n"));
    EXPECT_EQ(dir.readBytes(QStringLiteral("dc.dat")), QByteArray("\"30\"\r\n"));
    EXPECT_EQ(dir.readBytes(QStringLiteral("war.txt")), QByteArray("\"30\"\r\n"));
    EXPECT_EQ(dir.readBytes(QStringLiteral("mini.txt")), QByteArray("\"100\"\r\n"));
    EXPECT_TRUE(dir.exists(QStringLiteral("unit.txt")));
    EXPECT_EQ(dir.readBytes(QStringLiteral("unit.txt")), QByteArray());
}

TEST(StandingFigures, ValuesAreTextAsStoredAndShortFilesKeepDefaults)
{
    TempProgramFolder dir;
    dir.writeBytes(QStringLiteral("dp.dat"), "\"250\"\r\n"); // used pack missing
    dir.writeBytes(QStringLiteral("dc.dat"), "\"abc\"\r\n");
    dir.writeBytes(QStringLiteral("war.txt"), "");           // empty file
    dir.writeBytes(QStringLiteral("mini.txt"), "\"   \"\r\n");
    dir.writeBytes(QStringLiteral("unit.txt"), "\"Taurus\"\r\n\"explorer\"\r\n\"F-150\"\r\n");
    const StandingFigures figures = StandingFigures::load(dir.folder());
    EXPECT_EQ(figures.newPack, QStringLiteral("250"));
    EXPECT_EQ(figures.usedPack, QStringLiteral("500"));
    EXPECT_EQ(figures.commission, QStringLiteral("abc"));
    EXPECT_EQ(figures.warranty, QStringLiteral("30"));
    EXPECT_EQ(figures.mini, QStringLiteral("   "));
    EXPECT_EQ(figures.units,
              QStringList({QStringLiteral("Taurus"), QStringLiteral("explorer"),
                           QStringLiteral("F-150")}));
    // Existing files are never rewritten by reading them.
    EXPECT_EQ(dir.readBytes(QStringLiteral("dp.dat")), QByteArray("\"250\"\r\n"));
}

TEST(StandingFigures, OnlyAnExactZeroSwitchesWarrantyOff)
{
    StandingFigures figures;
    for (const char *value : {"0", "00", "0.00", " 0", ""}) {
        figures.warranty = QString::fromLatin1(value);
        EXPECT_EQ(figures.warrantyEntryOff(), QByteArray(value) == "0") << value;
    }
}

TEST(StandingFigures, AnUnreadableFolderStillGivesDefaults)
{
    QStringList problems;
    const StandingFigures figures =
        StandingFigures::load(ProgramFolder(QStringLiteral("/nonexistent/folder")), &problems);
    EXPECT_EQ(figures.newPack, QStringLiteral("300"));
    EXPECT_FALSE(problems.isEmpty());
}

} // namespace
