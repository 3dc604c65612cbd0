#include "common/quoted_items.h"
#include "temp_program_folder.h"

#include "test_printers.h"

#include <gtest/gtest.h>

namespace {

QStringList items(std::initializer_list<const char *> texts)
{
    QStringList list;
    for (const char *t : texts)
        list.append(QString::fromUtf8(t));
    return list;
}

TEST(QuotedItemsWrite, WritesQuotedItemsCommaSeparatedWithCrLf)
{
    TempProgramFolder dir;
    const QString path = dir.filePath(QStringLiteral("dp.dat"));
    ASSERT_TRUE(QuotedItems::writeFile(path, {items({"300", "500"})},
                                       QuotedItems::WriteMode::Replace));
    EXPECT_EQ(dir.readBytes(QStringLiteral("dp.dat")), QByteArray("\"300\",\"500\"\r\n"));
    ASSERT_TRUE(QuotedItems::writeFile(path, {items({"30"})}, QuotedItems::WriteMode::Replace));
    EXPECT_EQ(dir.readBytes(QStringLiteral("dp.dat")), QByteArray("\"30\"\r\n"));
}

TEST(QuotedItemsWrite, AppendCreatesAMissingFileAndAddsLines)
{
    TempProgramFolder dir;
    const QString path = dir.filePath(QStringLiteral("unit.txt"));
    ASSERT_TRUE(QuotedItems::writeFile(path, {items({"Explorer Spt"})},
                                       QuotedItems::WriteMode::Append));
    ASSERT_TRUE(QuotedItems::writeFile(path, {items({"F-150, XLT"})},
                                       QuotedItems::WriteMode::Append));
    EXPECT_EQ(dir.readBytes(QStringLiteral("unit.txt")),
              QByteArray("\"Explorer Spt\"\r\n\"F-150, XLT\"\r\n"));
}

TEST(QuotedItemsWrite, RefusesADoubleQuoteAndWritesNothing)
{
    TempProgramFolder dir;
    dir.writeBytes(QStringLiteral("PW.txt"), "\"old\"\r\n");
    QString error;
    EXPECT_FALSE(QuotedItems::writeFile(dir.filePath(QStringLiteral("PW.txt")),
                                        {items({"new\"one"})}, QuotedItems::WriteMode::Replace,
                                        &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(dir.readBytes(QStringLiteral("PW.txt")), QByteArray("\"old\"\r\n"));
    EXPECT_FALSE(QuotedItems::writeFile(dir.filePath(QStringLiteral("unit.txt")),
                                        {items({"a", "b\""})}, QuotedItems::WriteMode::Append));
    EXPECT_FALSE(dir.exists(QStringLiteral("unit.txt")));
}

TEST(QuotedItemsRoundTrip, AwkwardItemsComeBackWhole)
{
    TempProgramFolder dir;
    const QString path = dir.filePath(QStringLiteral("unit.txt"));
    const QList<QStringList> lines = {items({"Cap, Cover"}), items({"   "}), items({""}),
                                      items({"Café Ñ"}), items({"a", "", "b"})};
    ASSERT_TRUE(QuotedItems::writeFile(path, lines, QuotedItems::WriteMode::Replace));
    EXPECT_EQ(QuotedItems::readFile(path),
              items({"Cap, Cover", "   ", "", "Café Ñ", "a", "", "b"}));
}

struct ReadCase
{
    const char *name;
    QByteArray bytes;
    QStringList expected;
};

void PrintTo(const ReadCase &c, std::ostream *out)
{
    *out << c.name << ": " << ::testing::PrintToString(c.bytes.toStdString()) << " -> ["
         << c.expected.join(QStringLiteral("|")).toStdString() << ']';
}

class QuotedItemsRead : public ::testing::TestWithParam<ReadCase>
{};

TEST_P(QuotedItemsRead, FollowsTheReadingRule)
{
    EXPECT_EQ(QuotedItems::parse(GetParam().bytes), GetParam().expected) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Files, QuotedItemsRead,
    ::testing::Values(
        ReadCase{"empty", "", {}},
        ReadCase{"two quoted", "\"300\",\"500\"\r\n", items({"300", "500"})},
        ReadCase{"unquoted legacy", "300, 500 \r\n", items({"300", "500"})},
        ReadCase{"unquoted leading blanks", "   Explorer Spt\r\n", items({"Explorer Spt"})},
        ReadCase{"no final line end", "\"30\"", items({"30"})},
        ReadCase{"lone LF and CR", "\"a\"\n\"b\"\r\"c\"", items({"a", "b", "c"})},
        ReadCase{"blank lines hold nothing", "\"a\"\r\n\r\n  \r\n\"b\"\r\n", items({"a", "b"})},
        ReadCase{"empty quoted item", "\"\"\r\n", items({""})},
        ReadCase{"comma before line end", "\"a\",\r\n", items({"a", ""})},
        ReadCase{"unterminated quote", "\"abc", items({"abc"})},
        ReadCase{"text after closing quote", "\"a\"x,\"b\"", items({"a", "b"})},
        ReadCase{"legacy 8-bit byte", QByteArray("\"Caf\xe9 \x80\"\r\n"),
                 items({"Caf\xc3\xa9 \xe2\x82\xac"})},
        ReadCase{"UTF-8 with BOM", QByteArray("\xEF\xBB\xBF\"Caf\xc3\xa9\"\r\n"),
                 items({"Caf\xc3\xa9"})}));

TEST(QuotedItemsRead, MissingFileIsAnError)
{
    TempProgramFolder dir;
    QString error;
    EXPECT_FALSE(QuotedItems::readFile(dir.filePath(QStringLiteral("none.txt")), &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
