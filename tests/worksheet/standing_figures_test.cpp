#include "worksheet/standing_figures.h"
#include "temp_program_folder.h"

#include "test_printers.h"
#include <QDir>
#include <QFile>

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

TEST(StandingFigures, NumbersAreKeptAsStoredAndEveryOtherValueTakesItsDefault)
{
    TempProgramFolder dir;
    dir.writeBytes(QStringLiteral("dp.dat"), "\"250.50\"\r\n"); // used pack missing
    dir.writeBytes(QStringLiteral("dc.dat"), "\"abc\"\r\n");
    dir.writeBytes(QStringLiteral("war.txt"), "");            // empty file
    dir.writeBytes(QStringLiteral("mini.txt"), QByteArray("\"\0\"\r\n", 5)); // a stray byte
    dir.writeBytes(QStringLiteral("unit.txt"), "\"Taurus\"\r\n\"explorer\"\r\n\"F-150\"\r\n");
    QStringList problems;
    const StandingFigures figures = StandingFigures::load(dir.folder(), &problems);
    EXPECT_EQ(figures.newPack, QStringLiteral("250.50"));
    EXPECT_EQ(figures.usedPack, QStringLiteral("500"));
    EXPECT_EQ(figures.commission, QStringLiteral("30"));
    EXPECT_EQ(figures.warranty, QStringLiteral("30"));
    EXPECT_EQ(figures.mini, QStringLiteral("100"));
    EXPECT_EQ(figures.units,
              QStringList({QStringLiteral("Taurus"), QStringLiteral("explorer"),
                           QStringLiteral("F-150")}));
    EXPECT_EQ(problems,
              QStringList({"dp.dat holds no number for the used pack: the default, 500, is used "
                           "instead.",
                           "war.txt holds no number for the warranty spiff: the default, 30, is "
                           "used instead.",
                           "dc.dat holds no number for the commission percentage: the default, "
                           "30, is used instead.",
                           "mini.txt holds no number for the mini deal: the default, 100, is "
                           "used instead."}));
    // Existing files are never rewritten by reading them.
    EXPECT_EQ(dir.readBytes(QStringLiteral("dp.dat")), QByteArray("\"250.50\"\r\n"));
}

TEST(StandingFigures, FilesThatCannotBeReadAreNamedWithTheDefaultsInUse)
{
    TempProgramFolder dir;
    // A settings file that is a folder cannot be read.
    for (const char *file : {"dp.dat", "unit.txt"})
        QDir(dir.folder().path()).mkdir(QString::fromLatin1(file));
    dir.writeBytes(QStringLiteral("dc.dat"), "\"  \"\r\n");
    QStringList problems;
    const StandingFigures figures = StandingFigures::load(dir.folder(), &problems);
    EXPECT_EQ(figures.newPack + ',' + figures.usedPack, QStringLiteral("300,500"));
    EXPECT_TRUE(figures.units.isEmpty());
    QFile folder(dir.filePath(QStringLiteral("dp.dat")));
    folder.open(QIODevice::ReadOnly);
    const QString reason = folder.errorString();
    EXPECT_EQ(problems,
              QStringList({QStringLiteral("dp.dat could not be read (%1): the defaults are used "
                                          "instead (new pack 300, used pack 500).")
                               .arg(reason),
                           "dc.dat holds no number for the commission percentage: the default, "
                           "30, is used instead.",
                           QStringLiteral("unit.txt could not be read (%1): the unit list is "
                                          "empty.")
                               .arg(reason)}));
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
