// Values of an Access row read from their stored bytes.
#include "legacy/access_value.h"

#include <gtest/gtest.h>

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (int value : values)
        result.append(char(value));
    return result;
}

TEST(AccessBytesTest, CurrencyIsTheStoredCountOfTenThousandths)
{
    // 219.2150 and -887.6300 as Jet stores them.
    const AccessValue half = AccessBytes::currency(bytes({0x16, 0x73, 0x21, 0x00, 0, 0, 0, 0}));
    ASSERT_EQ(half.kind, AccessValue::Kind::Currency);
    EXPECT_EQ(half.integer, 2192150);
    EXPECT_EQ(half.display(), QStringLiteral("219.2150"));
    const AccessValue negative =
        AccessBytes::currency(bytes({0xf4, 0x8e, 0x78, 0xff, 0xff, 0xff, 0xff, 0xff}));
    EXPECT_EQ(negative.integer, -8876300);
    EXPECT_EQ(negative.display(), QStringLiteral("-887.6300"));
    EXPECT_EQ(AccessBytes::currency(bytes({1, 2, 3})).kind, AccessValue::Kind::Unreadable);
}

TEST(AccessBytesTest, DatesCountDaysFromTheEndOf1899)
{
    // 29 February 2004 is day 38046; 1.5 is noon on 31 December 1899.
    const AccessValue leap = AccessBytes::dateTime(bytes({0, 0, 0, 0, 0xc0, 0x93, 0xe2, 0x40}));
    ASSERT_EQ(leap.kind, AccessValue::Kind::DateTime);
    EXPECT_EQ(leap.date, QDate(2004, 2, 29));
    EXPECT_EQ(leap.time, QTime(0, 0));
    const AccessValue noon = AccessBytes::dateTime(bytes({0, 0, 0, 0, 0, 0, 0xf8, 0x3f}));
    EXPECT_EQ(noon.date, QDate(1899, 12, 31));
    EXPECT_EQ(noon.time, QTime(12, 0));
    // Before 1899 the day counts back and the time of day still forward:
    // -1.25 is 29 December 1899, 06:00.
    const AccessValue before = AccessBytes::dateTime(bytes({0, 0, 0, 0, 0, 0, 0xf4, 0xbf}));
    EXPECT_EQ(before.date, QDate(1899, 12, 29));
    EXPECT_EQ(before.time, QTime(6, 0));
    // Not a number.
    const AccessValue nan = AccessBytes::dateTime(bytes({0, 0, 0, 0, 0, 0, 0xf8, 0x7f}));
    EXPECT_EQ(nan.kind, AccessValue::Kind::Unreadable);
}

TEST(AccessBytesTest, Jet4TextCompressedAndNot)
{
    // "JOSÉ PEÑA" compressed: one byte a character after FF FE.
    const AccessValue compressed =
        AccessBytes::jet4Text(bytes({0xff, 0xfe, 'J', 'O', 'S', 0xc9, ' ', 'P', 'E', 0xd1, 'A'}));
    ASSERT_EQ(compressed.kind, AccessValue::Kind::Text);
    EXPECT_EQ(compressed.text, QStringLiteral("JOSÉ PEÑA"));
    // A 00 byte switches to two-byte characters and back: "A€B".
    const AccessValue mixed =
        AccessBytes::jet4Text(bytes({0xff, 0xfe, 'A', 0x00, 0xac, 0x20, 0x00, 'B'}));
    EXPECT_EQ(mixed.text, QStringLiteral("A€B"));
    // Plain UTF-16LE: "Zoë".
    EXPECT_EQ(AccessBytes::jet4Text(bytes({'Z', 0, 'o', 0, 0xeb, 0})).text, QStringLiteral("Zoë"));
    EXPECT_EQ(AccessBytes::jet4Text(bytes({'Z', 0, 'o'})).kind, AccessValue::Kind::Unreadable);
}

TEST(AccessBytesTest, Jet3TextIsWindows1252)
{
    EXPECT_EQ(AccessBytes::jet3Text(bytes({'C', 'a', 'p', '\\', 0x80, ' ', 0xf1, 0x92})).text,
              QStringLiteral("Cap\\€ ñ’"));
}

TEST(AccessBytesTest, UnitCountsAreExactOnlyWhenStoredExactly)
{
    // Single 0.5 and 1.
    const AccessValue half = AccessBytes::singleNumber(bytes({0, 0, 0, 0x3f}));
    EXPECT_EQ(AccessBytes::tenThousandths(half), 5000);
    const AccessValue one = AccessBytes::singleNumber(bytes({0, 0, 0x80, 0x3f}));
    EXPECT_EQ(AccessBytes::tenThousandths(one), 10000);
    // Single 0.1 is the Single nearest to 0.1000.
    const AccessValue tenth = AccessBytes::singleNumber(bytes({0xcd, 0xcc, 0xcc, 0x3d}));
    EXPECT_EQ(AccessBytes::tenThousandths(tenth), 1000);
    // Single 1/3 has no four-decimal number of its own.
    const AccessValue third = AccessBytes::singleNumber(bytes({0xab, 0xaa, 0xaa, 0x3e}));
    EXPECT_EQ(AccessBytes::tenThousandths(third), std::nullopt);
    // A Double 0.5.
    const AccessValue doubleHalf = AccessBytes::doubleNumber(bytes({0, 0, 0, 0, 0, 0, 0xe0, 0x3f}));
    EXPECT_EQ(AccessBytes::tenThousandths(doubleHalf), 5000);
}

TEST(AccessBytesTest, WholeNumbersOfEachWidth)
{
    EXPECT_EQ(AccessBytes::integer(bytes({0xd3, 0x07, 0, 0})).integer, 2003);
    EXPECT_EQ(AccessBytes::integer(bytes({0xff, 0xff})).integer, -1);
    EXPECT_EQ(AccessBytes::integer(bytes({0xff})).integer, 255);
    EXPECT_EQ(AccessBytes::integer(bytes({1, 2, 3})).kind, AccessValue::Kind::Unreadable);
}

} // namespace
