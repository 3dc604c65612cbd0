// The server floor's statements and the rows it copies in.
#include "raw_postgres.h"

#include <gtest/gtest.h>

namespace {

using RawPostgres::copyField;
using RawPostgres::numberedMarks;

TEST(NumberedMarks, NumbersEachMarkOutsideQuotesInOrder)
{
    EXPECT_EQ(numberedMarks("SELECT \"DealId\" FROM \"RecallDeal\" WHERE \"StockNo\" = ?"),
              "SELECT \"DealId\" FROM \"RecallDeal\" WHERE \"StockNo\" = $1");
    EXPECT_EQ(numberedMarks("INSERT INTO \"Audit\" (\"At\", \"Why?\") VALUES (?, ?, '?', ?)"),
              "INSERT INTO \"Audit\" (\"At\", \"Why?\") VALUES ($1, $2, '?', $3)");
    // A quote doubled inside text neither ends it nor begins another.
    EXPECT_EQ(numberedMarks("SELECT 'O''Brien?' WHERE a = ?"),
              "SELECT 'O''Brien?' WHERE a = $1");
    EXPECT_EQ(numberedMarks("SELECT 1"), "SELECT 1");
    std::string twelve;
    for (int i = 0; i < 12; ++i)
        twelve += "?,";
    EXPECT_EQ(numberedMarks(twelve), "$1,$2,$3,$4,$5,$6,$7,$8,$9,$10,$11,$12,");
}

TEST(CopyField, EscapesWhatWouldEndOrBreakTheFieldAndTellsNullFromEmpty)
{
    EXPECT_EQ(copyField(std::nullopt), "\\N");
    EXPECT_EQ(copyField(std::string()), "");
    EXPECT_EQ(copyField(std::string("\\N")), "\\\\N");
    EXPECT_EQ(copyField(std::string("Dealer Cash\t$500.00")), "Dealer Cash\\t$500.00");
    EXPECT_EQ(copyField(std::string("line one\r\nline two")), "line one\\r\\nline two");
    EXPECT_EQ(copyField(std::string("C:\\Deals")), "C:\\\\Deals");
    EXPECT_EQ(copyField(std::string("JOSÉ NÚÑEZ")), "JOSÉ NÚÑEZ");
}

} // namespace
