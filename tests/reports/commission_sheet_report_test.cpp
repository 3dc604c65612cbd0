#include "report_test_support.h"
#include "reports/commission_sheet_report.h"
#include "temp_program_folder.h"

#include <gtest/gtest.h>

using ReportRead::placementsOf;
using ReportRead::textOf;

namespace {

class CommissionSheetPrint : public ::testing::Test
{
protected:
    ReportDocument run(const QByteArray &data, const CommissionSheetFigures &figures)
    {
        dir.writeBytes(QStringLiteral("data.txt"), data);
        QString error;
        std::optional<ReportDocument> document =
            report.run(dir.filePath(QStringLiteral("data.txt")), figures, &error);
        EXPECT_TRUE(document.has_value()) << error.toStdString();
        return document.value_or(ReportDocument());
    }

    TempProgramFolder dir;
    CommissionSheetReport report;
};

const QByteArray kTwoDeals = "\"BOB BROWN\",\"A1234\",\"NT\",1500,300,20,30,350\r\n"
                             "\"ANN LEE\",\"12345\",\"UC\",2100.25,437.5,#NULL#,0,437.5\r\n";

TEST_F(CommissionSheetPrint, FooterAddsTheBonusToTheTally)
{
    const ReportDocument sheet =
        run(kTwoDeals, {.salesPerson = QStringLiteral("John Smith"),
                        .weekEnd = QStringLiteral("3/12/2005"),
                        .tally = QStringLiteral("787.5"),
                        .bonus = QStringLiteral("100"),
                        .bonusDescription = QStringLiteral("Plateau Bonus")});
    const std::pair<const char *, const char *> expected[] = {
        {"Label1", "Commission Sheet"}, {"Label3", "John Smith"},
        {"Field2", "3/12/2005"},        {"Label13", "Commission: "},
        {"Field3", "$787.50"},          {"Label14", "Plateau Bonus: "},
        {"Field4", "$100.00"},          {"Label15", "Total Commission: "},
        {"Field5", "$887.50"},
    };
    for (const auto &[control, text] : expected)
        EXPECT_EQ(textOf(sheet, QString::fromLatin1(control)), QString::fromLatin1(text))
            << control;
}

TEST_F(CommissionSheetPrint, ABonusAndTallyBeyondTheRangePrintTheOverflowMark)
{
    const ReportDocument sheet =
        run(kTwoDeals, {.salesPerson = QStringLiteral("Mary Jones"),
                        .weekEnd = QStringLiteral("3/12/2005"),
                        .tally = QStringLiteral("922337203685477"),
                        .bonus = QStringLiteral("1"),
                        .bonusDescription = QStringLiteral("Bonus")});
    EXPECT_EQ(textOf(sheet, QStringLiteral("Field3")), QStringLiteral("$922337203685477.00"));
    EXPECT_EQ(textOf(sheet, QStringLiteral("Field5")), QStringLiteral("** OVERFLOW **"));
}

TEST_F(CommissionSheetPrint, DetailPrintsEachDealOfTheFileWithItsAmountsFormatted)
{
    const ReportDocument sheet = run(kTwoDeals, {.tally = QStringLiteral("787.5")});
    const std::pair<const char *, QStringList> columns[] = {
        {"txtCustomer_Name", {QStringLiteral("BOB BROWN"), QStringLiteral("ANN LEE")}},
        {"txtStock_Number", {QStringLiteral("A1234"), QStringLiteral("12345")}},
        {"txtTCU", {QStringLiteral("NT"), QStringLiteral("UC")}},
        {"txtPayable_Gross", {QStringLiteral("1,500.00"), QStringLiteral("2,100.25")}},
        {"txtCommission", {QStringLiteral("$300.00"), QStringLiteral("$437.50")}},
        {"txtSpiff", {QStringLiteral("$20.00"), QString()}},
        {"txtWarranty", {QStringLiteral("$30.00"), QStringLiteral("$0.00")}},
        {"txtTotalCommission", {QStringLiteral("$350.00"), QStringLiteral("$437.50")}},
    };
    for (const auto &[control, texts] : columns) {
        QStringList printed;
        for (const PlacedText &placed : placementsOf(sheet, QString::fromLatin1(control)))
            printed << placed.text;
        EXPECT_EQ(printed, texts) << control;
    }
    EXPECT_EQ(textOf(sheet, QStringLiteral("Field1")), std::nullopt); // the hidden page footer
}

TEST_F(CommissionSheetPrint, EveryControlFitsTheLandscapePage)
{
    const ReportDocument sheet = run(kTwoDeals, {});
    const qreal printable = sheet.pageLayout().paintRect(QPageLayout::Inch).width();
    EXPECT_GE(printable, 9.5208);
    for (int page = 0; page < sheet.pageCount(); ++page) {
        for (const PlacedItem &item : sheet.page(page)) {
            const qreal right = item.kind == PlacedItem::Kind::Line
                                    ? std::max(item.line().x1(), item.line().x2())
                                    : item.box.right();
            EXPECT_LE(right, printable) << item.control.toStdString();
        }
    }
}

TEST_F(CommissionSheetPrint, LargestAmountsPrintWhole)
{
    const ReportDocument sheet =
        run("\"ZOË ÅBERG-LINDQVIST\",\"998877\",\"NT\",99999999.99,99999999.99,99999999.99,"
            "99999999.99,99999999.99\r\n",
            {.salesPerson = QStringLiteral("John Smith"), .tally = QStringLiteral("99999999.99")});
    EXPECT_EQ(ReportRead::printingFaults(sheet), QStringList());
    EXPECT_EQ(textOf(sheet, QStringLiteral("txtSpiff")), QStringLiteral("$99,999,999.99"));
    EXPECT_EQ(textOf(sheet, QStringLiteral("txtPayable_Gross")), QStringLiteral("99,999,999.99"));
    EXPECT_EQ(textOf(sheet, QStringLiteral("Field3")), QStringLiteral("$99999999.99"));
}

// The saved lines reopen with the same total as the printed sheet.
TEST_F(CommissionSheetPrint, SavedAsCsvItAddsUpToTheTally)
{
    const ReportDocument sheet =
        run(kTwoDeals + "\"O'HARA, \"\"RED\"\" JR\",\"9031\",\"UT\",800,240,0,0,240\r\n",
            {.tally = QStringLiteral("1027.5")});
    const QString path = dir.filePath(QStringLiteral("sheet.csv"));
    QString error;
    ASSERT_TRUE(ReportCsv::save(path, CommissionSheetReport::csvColumns(), report.rows(), &error))
        << error.toStdString();

    const std::optional<QList<QStringList>> rows = ReportRead::csvRows(dir.readBytes(QStringLiteral("sheet.csv")));
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 4);
    EXPECT_EQ(rows->at(0), (QStringList{"Customer", "Stock Number", "Car/Truck", "Gross",
                                        "Commission", "Spiff", "Warranty", "Total Commission"}));
    EXPECT_EQ(rows->at(2), (QStringList{"ANN LEE", "12345", "UC", "2100.25", "437.50", "", "0.00",
                                        "437.50"}));
    EXPECT_EQ(rows->at(3).at(0), QStringLiteral("O'HARA, \"RED\" JR"));
    EXPECT_EQ(rows->at(1).at(7), QStringLiteral("350.00"));
    EXPECT_EQ(rows->at(3).at(7), QStringLiteral("240.00"));
    // 350.00 + 437.50 + 240.00, as the sheet prints it under its lines.
    EXPECT_EQ(textOf(sheet, QStringLiteral("Field3")), QStringLiteral("$1027.50"));
}

// Customers whose names a spreadsheet would take for a formula open as the
// names they are; amounts stay numbers, negative ones included.
TEST_F(CommissionSheetPrint, CsvTextThatLooksLikeAFormulaOpensAsText)
{
    run("\"=1+2\",\"+5\",\"NT\",-1500,-300,0,0,-300\r\n"
        "\"@SUM(A1)\",\"-12\",\"UC\",800,240,0,0,240\r\n"
        "\"\tTAB\",\"\rCR\",\"UT\",800,240,0,0,240\r\n"
        "\"ÉMILE = O'NEIL\",\"4410\",\"NC\",800,240,0,0,240\r\n",
        {.tally = QStringLiteral("420")});
    const QString path = dir.filePath(QStringLiteral("sheet.csv"));
    QString error;
    ASSERT_TRUE(ReportCsv::save(path, CommissionSheetReport::csvColumns(), report.rows(), &error))
        << error.toStdString();
    const QByteArray bytes = dir.readBytes(QStringLiteral("sheet.csv"));
    EXPECT_TRUE(bytes.contains("\r\n'=1+2,'+5,NT,-1500.00,-300.00,0.00,0.00,-300.00\r\n"))
        << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("\r\n'@SUM(A1),'-12,UC,800.00,")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("\r\n'\tTAB,\"'\rCR\",UT,")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("\r\nÉMILE = O'NEIL,4410,NC,800.00,")) << bytes.toStdString();
}

} // namespace
