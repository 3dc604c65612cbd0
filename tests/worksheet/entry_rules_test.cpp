#include "worksheet/entry_rules.h"

#include "common/money_format.h"
#include "test_printers.h"

#include <gtest/gtest.h>

namespace {

struct SaleTypeCase
{
    const char *saleType;
    const char *firstReduction;
    bool wrongLength;
};

void PrintTo(const SaleTypeCase &c, std::ostream *out)
{
    *out << "sale type \"" << c.saleType << "\" -> \"" << c.firstReduction << '"'
         << (c.wrongLength ? ", wrong length" : "");
}

class SaleTypes : public ::testing::TestWithParam<SaleTypeCase>
{};

TEST_P(SaleTypes, NameTheFirstReductionForCashSales)
{
    const SaleTypeCase &c = GetParam();
    const EntryRules::SaleTypeOutcome outcome =
        EntryRules::leaveSaleType(QString::fromUtf8(c.saleType));
    EXPECT_EQ(outcome.firstReduction, QString::fromUtf8(c.firstReduction));
    EXPECT_EQ(outcome.wrongLength, c.wrongLength);
}

// Every sale type of the list, the cash ones and the rest, and the texts
// that are not one character.
INSTANTIATE_TEST_SUITE_P(
    Codes, SaleTypes,
    ::testing::Values(SaleTypeCase{"A", "A/X/Z Cash", false}, SaleTypeCase{"X", "A/X/Z Cash", false},
                      SaleTypeCase{"Z", "A/X/Z Cash", false}, SaleTypeCase{"D", "A/X/Z Cash", false},
                      SaleTypeCase{"P", "A/X/Z Cash", false}, SaleTypeCase{"0", "", false},
                      SaleTypeCase{"E", "", false}, SaleTypeCase{"L", "", false},
                      SaleTypeCase{"R", "", false}, SaleTypeCase{"a", "", false},
                      SaleTypeCase{"d", "", false}, SaleTypeCase{"É", "", false},
                      SaleTypeCase{"AB", "", true}, SaleTypeCase{"", "", true}));

TEST(EntryRules, FieldsAreRewrittenRoundedOnceFromTheirValue)
{
    EXPECT_EQ(EntryRules::asNumberInForm(QStringLiteral("0.00496"), MoneyFormat::dollars),
              QStringLiteral("$.00"));
    EXPECT_EQ(EntryRules::asNumberInForm(QStringLiteral("1234.56499"), MoneyFormat::dollars),
              QStringLiteral("$1234.56"));
    EXPECT_EQ(EntryRules::inForm(QStringLiteral("-0.00495"), MoneyFormat::currency),
              QStringLiteral("$0.00"));
    EXPECT_EQ(EntryRules::inForm(QStringLiteral("1,250.005"), MoneyFormat::currency),
              QStringLiteral("$1,250.01"));
    // Text that is not an amount stays as typed, or counts as 0.
    EXPECT_EQ(EntryRules::inForm(QStringLiteral("lots"), MoneyFormat::currency),
              QStringLiteral("lots"));
    EXPECT_EQ(EntryRules::asNumberInForm(QStringLiteral("99999999999999999999"),
                                         MoneyFormat::dollars),
              QStringLiteral("$.00"));
}

} // namespace
