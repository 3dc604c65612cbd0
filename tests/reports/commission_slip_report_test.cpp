#include "report_test_support.h"
#include "reports/commission_slip_report.h"
#include "worksheet/deal.h"

#include <gtest/gtest.h>

using ReportRead::textOf;

namespace {

// The worked example of the commission calculation, as the worksheet shows it
// after Calculate: cost 20000, pack 300, reductions 1000 and 500, additions
// 300, selling price 23000, rate 30%, warranty 30, spiff 50.
Deal workedExample()
{
    Deal deal;
    deal.salesPerson = QStringLiteral("Jane Doe");
    deal.customer = QStringLiteral("john q. smith");
    deal.stockNumber = QStringLiteral("n1234a");
    deal.unitClass = QStringLiteral("NC");
    deal.saleType = QStringLiteral("r");
    deal.sellingPrice = QStringLiteral("23000");
    deal.cost = QStringLiteral("20000");
    deal.reductionDescriptions = {
        QStringLiteral("Holdback"), QStringLiteral("Advertising"), {}, {}, {}};
    deal.reductionAmounts = {QStringLiteral("1000"), QStringLiteral("500"), {}, {}, {}};
    deal.additionDescriptions = {QStringLiteral("Cap\\Cover"), {}, {}, {}, {}};
    deal.additionAmounts = {QStringLiteral("300"), {}, {}, {}, {}};
    deal.tradeStock = QStringLiteral("t567b");
    deal.pack = QStringLiteral("300");
    deal.commissionRate = QStringLiteral("30%");
    deal.warrantySold = true;
    deal.payableGross = QStringLiteral("$3900.00");
    deal.commission = QStringLiteral("$1170.00");
    deal.warranty = QStringLiteral("$30.00");
    deal.spiff = QStringLiteral("$50.00");
    deal.totalCommission = QStringLiteral("$1250.00");
    return deal;
}

Deal splitExample()
{
    Deal deal = workedExample();
    deal.split = true;
    deal.splitPartner = QStringLiteral("Bob Roe");
    return deal;
}

const QStringList kSplitTexts = {QStringLiteral("Label31"), QStringLiteral("Field35"),
                                 QStringLiteral("Label28"), QStringLiteral("Field36")};
const QStringList kSplitLines = {QStringLiteral("Line35"), QStringLiteral("Line37")};

class Slip : public ::testing::Test
{
protected:
    ReportDocument print(const Deal &deal)
    {
        report.fill(deal);
        return report.run();
    }

    CommissionSlipReport report;
};

TEST_F(Slip, WorkedExamplePrintsEveryFieldInItsForm)
{
    const ReportDocument page = print(workedExample());
    ASSERT_EQ(page.pageCount(), 1);
    const std::pair<const char *, const char *> expected[] = {
        {"Label30", "COMMISSION SHEET"},
        {"Field1", "JANE DOE"},
        {"Field5", "N1234A"},
        {"Field4", "R"},
        {"Field38", "JOHN Q. SMITH"},
        {"Field37", "T567B"},
        {"Field2", "$23,000.00"},
        {"Field3", "$20,000.00"},
        {"Field28", "$300.00"},
        {"Field11", "Holdback"},
        {"Field12", "Advertising"},
        {"Field6", "$1,000.00"},
        {"Field7", "$500.00"},
        {"Field8", ""},
        {"Field21", "Cap\\Cover"},
        {"Field16", "$300.00"},
        {"Field29", "$3,900.00"},
        {"Field30", "30%"},
        {"Field31", "$1,170.00"},
        {"Field32", "$30.00"}, // its "$#,##0" format is for data, not for text set here
        {"Field33", "$50.00"},
        {"Field34", "$1,250.00"},
        {"Field26", ""},
        {"Label20", "OVER/UNDER ALLOWANCE:"},
        {"Label29", "APPROVED BY:"},
    };
    for (const auto &[control, text] : expected)
        EXPECT_EQ(textOf(page, QString::fromLatin1(control)), QString::fromUtf8(text)) << control;
}

TEST_F(Slip, AmountsKeepTheirTextWhenEmptyOrNotANumber)
{
    Deal deal = workedExample();
    deal.sellingPrice.clear();
    deal.cost = QStringLiteral("see invoice");
    deal.additionAmounts[2] = QStringLiteral("1250"); // Field18, format "#,##0.00"
    deal.allowance = QStringLiteral("-200");          // Field27, format "#,##0.00"
    deal.commissionRate = QStringLiteral("30");       // as entered, not 3000%
    const ReportDocument page = print(deal);

    EXPECT_EQ(textOf(page, QStringLiteral("Field2")), QString());
    EXPECT_EQ(textOf(page, QStringLiteral("Field3")), QStringLiteral("see invoice"));
    EXPECT_EQ(textOf(page, QStringLiteral("Field18")), QStringLiteral("$1,250.00"));
    EXPECT_EQ(textOf(page, QStringLiteral("Field27")), QStringLiteral("-$200.00"));
    EXPECT_EQ(textOf(page, QStringLiteral("Field30")), QStringLiteral("30"));
}

TEST_F(Slip, SplitDealShowsPartnerAndEachHalf)
{
    const ReportDocument page = print(splitExample());
    EXPECT_EQ(textOf(page, QStringLiteral("Label31")), QStringLiteral("&"));
    EXPECT_EQ(textOf(page, QStringLiteral("Field35")), QStringLiteral("BOB ROE"));
    EXPECT_EQ(textOf(page, QStringLiteral("Label28")), QStringLiteral("SPLIT DEAL "));
    EXPECT_EQ(textOf(page, QStringLiteral("Field36")), QStringLiteral("Split = $625.00"));
    const QStringList lines = ReportRead::linesOn(page, 0);
    for (const QString &line : kSplitLines)
        EXPECT_TRUE(lines.contains(line)) << line.toStdString();
    EXPECT_EQ(lines.size(), 39);
}

TEST_F(Slip, SplitHalfOfTheTotal)
{
    const std::pair<const char *, const char *> cases[] = {
        {"$1234.50", "Split = $617.25"},
        // An odd cent goes to the first salesperson, and the slip shows both
        // amounts, which add up to the total.
        {"$1,234.55", "Split = $617.28 / $617.27"},
        {"$.00", "Split = $0.00"},
        {"", "Split = "}, // not calculated yet: no amount to halve
        {"n/a", "Split = "},
    };
    for (const auto &[total, line] : cases) {
        Deal deal = splitExample();
        deal.totalCommission = QString::fromLatin1(total);
        EXPECT_EQ(textOf(print(deal), QStringLiteral("Field36")), QString::fromLatin1(line))
            << total;
    }
}

// A share other than 50 shows each salesperson's amount, first the one who
// takes the share, as their summary rows keep them.
TEST_F(Slip, SplitByShareShowsBothAmounts)
{
    Deal deal = splitExample();
    deal.totalCommission = QStringLiteral("$1250.00");
    deal.splitShare = QStringLiteral("60");
    EXPECT_EQ(textOf(print(deal), QStringLiteral("Field36")),
              QStringLiteral("Split = $750.00 / $500.00"));
    deal.totalCommission = QStringLiteral("$100.01");
    deal.splitShare = QStringLiteral("33");
    EXPECT_EQ(textOf(print(deal), QStringLiteral("Field36")),
              QStringLiteral("Split = $33.00 / $67.01"));
}

TEST_F(Slip, PlainDealAfterSplitShowsNoneOfTheSplit)
{
    print(splitExample());
    const ReportDocument page = print(workedExample());
    for (const QString &control : kSplitTexts)
        EXPECT_EQ(textOf(page, control), std::nullopt) << control.toStdString();
    const QStringList lines = ReportRead::linesOn(page, 0);
    for (const QString &line : kSplitLines)
        EXPECT_FALSE(lines.contains(line)) << line.toStdString();
    EXPECT_EQ(lines.size(), 37);
}

TEST_F(Slip, AllowanceCaptionFollowsTheOptionsOfEachPrint)
{
    struct Case
    {
        bool under;
        bool over;
        const char *caption;
    };
    // In sequence on one report, so a caption of the print before must not stay.
    const Case cases[] = {
        {false, false, "OVER/UNDER ALLOWANCE:"}, {true, false, "UNDER ALLOWANCE"},
        {false, false, "OVER/UNDER ALLOWANCE:"}, {false, true, "OVER ALLOWANCE"},
        {false, false, "OVER/UNDER ALLOWANCE:"},
    };
    for (const Case &c : cases) {
        Deal deal = workedExample();
        deal.underAllow = c.under;
        deal.overAllow = c.over;
        EXPECT_EQ(textOf(print(deal), QStringLiteral("Label20")), QString::fromLatin1(c.caption));
    }
}

TEST_F(Slip, PlacesTheTitleAndFieldsWhereTheLayoutSays)
{
    const ReportDocument page = print(workedExample());
    const auto title = ReportRead::placementsOf(page, QStringLiteral("Label30"));
    ASSERT_EQ(title.size(), 1);
    EXPECT_DOUBLE_EQ(title.first().x, 1.9792);
    EXPECT_DOUBLE_EQ(title.first().y, 0);
    // The detail follows the report header.
    const auto gross = ReportRead::placementsOf(page, QStringLiteral("Field29"));
    ASSERT_EQ(gross.size(), 1);
    EXPECT_DOUBLE_EQ(gross.first().x, 2.8125);
    EXPECT_DOUBLE_EQ(gross.first().y, 0.3125 + 6.5625);
    // Everything fits the printable area of one letter page.
    const QSizeF area = page.pageLayout().paintRect(QPageLayout::Inch).size();
    for (const PlacedItem &item : page.page(0)) {
        const QRectF box = item.kind == PlacedItem::Kind::Line
                               ? QRectF(item.line().p1(), item.line().p2()).normalized()
                               : item.box;
        EXPECT_TRUE(box.left() >= 0 && box.top() >= 0 && box.right() <= area.width() &&
                    box.bottom() <= area.height())
            << item.control.toStdString();
    }
}

} // namespace
