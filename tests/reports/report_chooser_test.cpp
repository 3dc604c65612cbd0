#include "admin/ui/main_menu.h"
#include "report_test_support.h"
#include "reports/sales_log_report.h"
#include "reports/ui/report_chooser_command.h"
#include "reports/ui/report_chooser_window.h"
#include "reports/ui/report_page_view.h"
#include "reports/ui/report_preview.h"
#include "reports/ui/sales_report_printer.h"
#include "reports/report_rows.h"
#include "sales_reports_fixture.h"
#include "scripted_prompts.h"
#include "worksheet/ui/deal_worksheet.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QLabel>
#include <QFrame>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

using ReportRead::placementsOf;
using ReportRead::textOf;

namespace {

using Chosen = ReportChooserWindow::ChosenReport;
using Printed = std::pair<const char *, const char *>;

// Every placed text of a control, in order.
QStringList textsOf(const ReportDocument &document, const char *control)
{
    QStringList texts;
    for (const PlacedText &placed : placementsOf(document, QString::fromLatin1(control)))
        texts << placed.text;
    return texts;
}

void expectPrinted(const ReportDocument &document, std::initializer_list<Printed> expected)
{
    for (const auto &[control, printed] : expected)
        EXPECT_EQ(textOf(document, QString::fromLatin1(control)), QString::fromLatin1(printed))
            << control;
}

class ReportChooser : public SalesReportsTest
{
protected:
    void SetUp() override
    {
        addSalesPerson(QStringLiteral("Pat O'Brien"));
        chooser = std::make_unique<ReportChooserWindow>(*m_database, prompts,
                                                        [this] { ++commissionSheetsOpened; });
        chooser->printer().setShowStep([this](const QString &report, const ReportDocument &doc) {
            shown << report;
            document = doc;
        });
        chooser->show();
    }

    template <typename Widget = QWidget> Widget *control(const char *name) const
    {
        auto *widget = chooser->findChild<Widget *>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    // Clicks a button the user can see, near its left end, where an option
    // button has its circle.
    void click(const char *name) const
    {
        auto *button = control<QAbstractButton>(name);
        EXPECT_TRUE(button->isVisible()) << name;
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }
    // The names of the frames that show, in window order.
    QStringList framesShown() const
    {
        QStringList names;
        for (const char *name : {"fraReport_0", "frmTCU", "fraSummary"}) {
            if (control(name)->isVisible())
                names << QString::fromLatin1(name);
        }
        return names;
    }
    void setRange(const QDate &start, const QDate &end) const
    {
        control<QDateTimeEdit>("dptStartDate")->setDate(start);
        control<QDateTimeEdit>("dptEndDate")->setDate(end);
    }
    void chooseSalesLog(const QString &vehicle) const
    {
        click("optSalesLog");
        control<QComboBox>("cboTCU")->setCurrentText(vehicle);
        click("cmdOK");
    }
    void chooseSummary(const QString &name) const
    {
        click("optSummery");
        control<QComboBox>("cboSalesPerson")->setEditText(name);
        click("cmdOK2");
    }

    void chooseStatement(const QString &name, const char *period) const
    {
        click("optStatement");
        control<QComboBox>("cboSalesPerson")->setEditText(name);
        click(period);
        click("cmdOK2");
    }

    ScriptedPrompts prompts;
    std::unique_ptr<ReportChooserWindow> chooser;
    int commissionSheetsOpened = 0;
    QStringList shown;
    ReportDocument document;
};

TEST_F(ReportChooser, OpensOnTheThreeOptionsWithTheLastMonth)
{
    EXPECT_EQ(chooser->objectName(), QStringLiteral("frmSalesLog"));
    EXPECT_EQ(chooser->windowTitle(), QStringLiteral("Reports"));
    EXPECT_EQ(framesShown(), QStringList{QStringLiteral("fraReport_0")});
    EXPECT_EQ(control<QComboBox>("cboTCU")->currentText(), QStringLiteral("New Truck"));
    EXPECT_EQ(control<QComboBox>("cboSalesPerson")->itemText(1), QStringLiteral("Pat O'Brien"));

    const QDateTime start = control<QDateTimeEdit>("dptStartDate")->dateTime();
    const QDateTime end = control<QDateTimeEdit>("dptEndDate")->dateTime();
    EXPECT_EQ(start.addDays(31), end);
    EXPECT_LE(qAbs(end.secsTo(QDateTime::currentDateTime())), 5);
    EXPECT_EQ(chooser->chosenReport(), Chosen::None);
}

TEST_F(ReportChooser, OptionsAndConfirmationsStepThroughTheFrames)
{
    click("optSalesLog");
    EXPECT_EQ(framesShown(), QStringList{QStringLiteral("frmTCU")});
    click("cmdOK");
    EXPECT_EQ(framesShown(), QStringList());
    EXPECT_EQ(chooser->chosenReport(), Chosen::SalesLog);
    EXPECT_EQ(control<QPushButton>("cmdSearch")->text(), QStringLiteral("SEARCH"));

    // Reset brings the options back cleared; the chosen report stays.
    click("cmdReset");
    EXPECT_EQ(framesShown(), QStringList{QStringLiteral("fraReport_0")});
    EXPECT_FALSE(control<QRadioButton>("optSalesLog")->isChecked());
    EXPECT_EQ(chooser->chosenReport(), Chosen::SalesLog);

    click("optSummery");
    EXPECT_EQ(framesShown(), QStringList{QStringLiteral("fraSummary")});
    click("cmdOK2");
    EXPECT_EQ(framesShown(), QStringList());
    EXPECT_EQ(chooser->chosenReport(), Chosen::Summary);
    EXPECT_EQ(control<QPushButton>("cmdSearch")->text(), QStringLiteral("PRINT"));

    click("cmdExit");
    EXPECT_FALSE(chooser->isVisible());
    EXPECT_EQ(commissionSheetsOpened, 0);
}

TEST_F(ReportChooser, CommissionReportOpensItsWindowAndClosesTheChooser)
{
    click("optCommision");
    EXPECT_EQ(commissionSheetsOpened, 1);
    EXPECT_FALSE(chooser->isVisible());
    EXPECT_FALSE(control("fraReport_0")->isVisibleTo(chooser.get()));
}

TEST_F(ReportChooser, SearchBeforeAnyReportIsConfirmedDoesNothing)
{
    click("optSalesLog");
    click("cmdSearch");
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_EQ(chooser->lastQuery(), SalesReportQuery());
}

TEST_F(ReportChooser, StartNotBeforeEndIsRefusedAndLeavesThePickers)
{
    chooseSalesLog(QStringLiteral("New Car"));
    auto *start = control<QDateTimeEdit>("dptStartDate");
    auto *end = control<QDateTimeEdit>("dptEndDate");
    // Picking a day keeps the time of day: the same day is the same moment.
    for (const QDate &day : {end->date(), end->date().addDays(1)}) {
        start->setDate(day);
        const QDateTime chosen = start->dateTime();
        prompts.expectMessage(QStringLiteral("Start date must be before End date!"),
                              QStringLiteral("Report Dates"), Prompts::Icon::None,
                              Prompts::Buttons::Ok);
        click("cmdSearch");
        prompts.verify();
        EXPECT_TRUE(shown.isEmpty());
        EXPECT_EQ(start->dateTime(), chosen);
        EXPECT_EQ(chooser->focusWidget(), start);
    }
    start->setDate(end->date().addDays(-1));
    click("cmdSearch");
    EXPECT_EQ(shown, QStringList{QStringLiteral("ActiveReport1")});
}

TEST_F(ReportChooser, SalesLogOfTheChosenVehicleTypeAndDays)
{
    save({QDate(2007, 11, 4), "UC", "9000", "John Smith", "BEFORE"});
    save({QDate(2007, 11, 5), "UC", "1000", "John Smith", "12345"});
    save({QDate(2007, 11, 8), "UT", "8000", "John Smith", "TRUCK"});
    save({QDate(2007, 11, 20), "uc", "2000", "Pat O'Brien", "B2", "John Smith"});
    save({QDate(2007, 12, 5), "UC", "4000", "John Smith", "C3"});
    save({QDate(2007, 12, 6), "UC", "9000", "John Smith", "AFTER"});
    setRange(QDate(2007, 11, 5), QDate(2007, 12, 5));
    chooseSalesLog(QStringLiteral("Used Car"));
    click("cmdSearch");

    ASSERT_EQ(shown, QStringList{QStringLiteral("ActiveReport1")});
    EXPECT_EQ(chooser->unitClassCode(), QStringLiteral("UC"));
    EXPECT_EQ(chooser->lastQuery().values,
              (QVariantList{QStringLiteral("UC"), QStringLiteral("2007-11-05"),
                            QStringLiteral("2007-12-05")}));
    EXPECT_EQ(textsOf(document, "txtSalesLog_StockNumber"),
              (QStringList{QStringLiteral("12345"), QStringLiteral("B2"), QStringLiteral("C3")}));
    // Each gross is the payable gross plus the pack of 300.
    expectPrinted(document, {{"Label1", "Used Cars"},
                             {"Field3", "11/05/07"},
                             {"Field4", " to "},
                             {"Field5", "12/05/07"},
                             {"txtSalesLog_Date", "11/05/07"},
                             {"txtSalesLog_Gross", "$1,300.00"},
                             {"Field2", "3"},
                             {"Field1", "$7,900.00"},
                             {"Label5", "$2633."}});
    // The pickers still show the days the user chose; a second search asks the same.
    EXPECT_EQ(control<QDateTimeEdit>("dptStartDate")->date(), QDate(2007, 11, 5));
    const SalesReportQuery first = chooser->lastQuery();
    click("cmdSearch");
    EXPECT_EQ(chooser->lastQuery(), first);
}

TEST_F(ReportChooser, VehicleTypesGiveTheirCodeAndTitle)
{
    const std::tuple<const char *, const char *, const char *> cases[] = {
        {"New Truck", "NT", "New Trucks"},
        {"New Car", "NC", "New Cars"},
        {"Used Truck", "UT", "Used Trucks"},
        {"Used Car", "UC", "Used Cars"},
    };
    for (const auto &[vehicle, code, title] : cases) {
        click("cmdReset");
        chooseSalesLog(QString::fromLatin1(vehicle));
        click("cmdSearch");
        EXPECT_EQ(chooser->unitClassCode(), QString::fromLatin1(code));
        EXPECT_EQ(chooser->lastQuery().values.value(0), QString::fromLatin1(code));
        EXPECT_EQ(
            chooser->printer().salesLog()->layout().control(QStringLiteral("Label1"))->caption(),
            QString::fromLatin1(title));
    }
}

TEST_F(ReportChooser, SummaryOfASalespersonWithAQuoteInTheName)
{
    save({QDate(2007, 11, 6), "NC", "1000", "Pat O'Brien", "A1"});
    save({QDate(2007, 11, 7), "NC", "4000", "John Smith", "B2", "Pat O'Brien"});
    save({QDate(2007, 11, 8), "UT", "3000", "Pat O'Brien", "C3"});
    save({QDate(2007, 11, 9), "UT", "5000", "John Smith", "OTHER"});
    setRange(QDate(2007, 11, 5), QDate(2007, 12, 5));
    chooseSummary(QStringLiteral("Pat O'Brien"));
    click("cmdSearch");

    ASSERT_EQ(shown, QStringList{QStringLiteral("ActiveReport2")});
    EXPECT_EQ(textsOf(document, "Field10"),
              (QStringList{QStringLiteral("1"), QStringLiteral("0.5"), QStringLiteral("1")}));
    expectPrinted(document, {{"Field1", "Pat O'Brien"},
                             {"Field2", "11/5/2007"},
                             {"Field3", "12/5/2007"},
                             {"Field11", "2.5"},
                             {"Field12", "$6,000"},
                             {"Field13", "$2,000"}});
}

TEST_F(ReportChooser, ReportsShowInTheirOwnReusedPreview)
{
    chooser->printer().setShowStep({});
    chooseSalesLog(QStringLiteral("New Car"));
    click("cmdSearch");
    click("cmdSearch");
    ReportPreview *preview = chooser->printer().preview(QStringLiteral("ActiveReport1"));
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_FALSE(preview->isModal());
    EXPECT_EQ(chooser->printer().preview(QStringLiteral("ActiveReport2")), nullptr);
    preview->close();
}

// The texts of a CSV column below its heading.
QStringList csvColumn(const QList<QStringList> &rows, int column)
{
    QStringList texts;
    for (int i = 1; i < rows.size(); ++i)
        texts << rows.at(i).at(column);
    return texts;
}

TEST_F(ReportChooser, SalesLogSavedAsCsvReopensWithThePrintedTotals)
{
    save({QDate(2007, 11, 5), "NT", "1000.25", "Pat O'Brien", "4410"});
    save({QDate(2007, 11, 20), "NT", "-250.10", "John Smith", "B2"});
    save({QDate(2007, 12, 1), "NT", "99999699.99", "John Smith", "C3", "Pat O'Brien"});
    setRange(QDate(2007, 11, 5), QDate(2007, 12, 5));
    chooser->printer().setShowStep({});
    chooseSalesLog(QStringLiteral("New Truck"));
    click("cmdSearch");
    ReportPreview *preview = chooser->printer().preview(QStringLiteral("ActiveReport1"));
    ASSERT_NE(preview, nullptr);
    auto *saveCsv = preview->findChild<QAction *>(QStringLiteral("actSaveCsv"));
    ASSERT_NE(saveCsv, nullptr);
    EXPECT_EQ(saveCsv->text(), QStringLiteral("Save as CSV…"));
    ASSERT_TRUE(saveCsv->isEnabled());

    const QString path = m_dir.filePath(QStringLiteral("log.csv"));
    prompts.expectSaveFile(path, [](const Prompts::SaveFile &request) {
        EXPECT_EQ(request.title, QStringLiteral("Save as CSV"));
        EXPECT_EQ(request.defaultSuffix, QStringLiteral("csv"));
    });
    saveCsv->trigger();
    prompts.verify();

    const std::optional<QList<QStringList>> rows =
        ReportRead::csvRows(m_dir.readBytes(QStringLiteral("log.csv")));
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 4);
    EXPECT_EQ(rows->at(0), (QStringList{"Date", "Stock #", "Unit", "Customer Name",
                                        "Sales Person", "Type", "Gross"}));
    EXPECT_EQ(rows->at(1), (QStringList{"2007-11-05", "4410", "2007 PICKUP", "CUSTOMER OF 4410",
                                        "PAT O'BRIEN", "R", "1300.25"}));
    EXPECT_EQ(csvColumn(*rows, 6), (QStringList{"1300.25", "49.90", "99999999.99"}));
    // The three grosses added up, as the log prints them.
    const ReportDocument &printed = preview->document();
    EXPECT_EQ(textOf(printed, QStringLiteral("Field1")), QStringLiteral("$100,001,350.14"));
    EXPECT_EQ(textOf(printed, QStringLiteral("Field2")), QStringLiteral("3"));
    preview->close();
}

// A deal saved at another desk while the preview is open is not on its
// pages, so it is not in the file either: the file holds the rows shown.
TEST_F(ReportChooser, CsvHoldsTheRowsOfThePagesShownNotADealSavedSince)
{
    save({QDate(2007, 11, 6), "UC", "800", "Pat O'Brien", "7001"});
    save({QDate(2007, 11, 9), "UC", "1200.40", "John Smith", "7002"});
    setRange(QDate(2007, 11, 5), QDate(2007, 12, 5));
    chooser->printer().setShowStep({});
    chooseSalesLog(QStringLiteral("Used Car"));
    click("cmdSearch");
    ReportPreview *preview = chooser->printer().preview(QStringLiteral("ActiveReport1"));
    ASSERT_NE(preview, nullptr);
    save({QDate(2007, 11, 7), "UC", "5000", "John Smith", "7003"});

    prompts.expectSaveFile(m_dir.filePath(QStringLiteral("log.csv")));
    preview->findChild<QAction *>(QStringLiteral("actSaveCsv"))->trigger();
    prompts.verify();
    const std::optional<QList<QStringList>> rows =
        ReportRead::csvRows(m_dir.readBytes(QStringLiteral("log.csv")));
    ASSERT_TRUE(rows);
    QStringList stockNumbers;
    for (const QStringList &row : rows->mid(1))
        stockNumbers << row.value(1);
    EXPECT_EQ(stockNumbers, (QStringList{"7001", "7002"}));
    EXPECT_EQ(textOf(preview->document(), QStringLiteral("Field2")), QStringLiteral("2"));
    preview->close();
}

TEST_F(ReportChooser, SummarySavedAsCsvReopensWithThePrintedTotals)
{
    save({QDate(2007, 11, 6), "NC", "1000", "Pat O'Brien", "A1"});
    save({QDate(2007, 11, 7), "NC", "4000.50", "John Smith", "B2", "Pat O'Brien"});
    save({QDate(2007, 11, 8), "UT", "3000", "Pat O'Brien", "C3"});
    setRange(QDate(2007, 11, 5), QDate(2007, 12, 5));
    chooser->printer().setShowStep({});
    chooseSummary(QStringLiteral("Pat O'Brien"));
    click("cmdSearch");
    ReportPreview *preview = chooser->printer().preview(QStringLiteral("ActiveReport2"));
    ASSERT_NE(preview, nullptr);
    const QString path = m_dir.filePath(QStringLiteral("summary.csv"));
    prompts.expectSaveFile(path);
    preview->findChild<QAction *>(QStringLiteral("actSaveCsv"))->trigger();
    prompts.verify();

    const std::optional<QList<QStringList>> rows =
        ReportRead::csvRows(m_dir.readBytes(QStringLiteral("summary.csv")));
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 4);
    EXPECT_EQ(rows->at(0), (QStringList{"Date", "Stock #", "Unit", "Customer", "Payable Gross",
                                        "Commission", "Unit Cnt"}));
    EXPECT_EQ(csvColumn(*rows, 4), (QStringList{"1000.00", "2000.25", "3000.00"}));
    EXPECT_EQ(csvColumn(*rows, 6), (QStringList{"1", "0.5", "1"}));
    // The columns added up, as the summary prints them (6,000.25 in whole dollars).
    const ReportDocument &printed = preview->document();
    EXPECT_EQ(textOf(printed, QStringLiteral("Field12")), QStringLiteral("$6,000"));
    EXPECT_EQ(textOf(printed, QStringLiteral("Field11")), QStringLiteral("2.5"));
    preview->close();
}

TEST_F(ReportChooser, StatementOfAMonthTheYearToDateOrTwoDates)
{
    save({QDate(2007, 1, 9), "UC", "2000", "Pat O'Brien", "JAN"});
    save({QDate(2007, 11, 6), "NC", "1000", "Pat O'Brien", "4410"});
    save({QDate(2007, 11, 7), "NC", "4000", "John Smith", "B2", "Pat O'Brien"});
    save({QDate(2007, 12, 1), "NT", "3000", "Pat O'Brien", "DEC"});
    save({QDate(2007, 11, 9), "UT", "5000", "John Smith", "OTHER"});

    click("optStatement");
    EXPECT_EQ(framesShown(), QStringList{QStringLiteral("fraSummary")});
    EXPECT_TRUE(control("fraStatement")->isVisible());
    EXPECT_EQ(control<QLabel>("Label7")->text(), QStringLiteral("Statement"));
    control<QDateEdit>("dtpMonth")->setDate(QDate(2007, 11, 20));
    control<QComboBox>("cboSalesPerson")->setEditText(QStringLiteral("Pat O'Brien"));
    click("cmdOK2");
    EXPECT_EQ(chooser->chosenReport(), Chosen::Statement);
    EXPECT_EQ(control<QPushButton>("cmdSearch")->text(), QStringLiteral("PRINT"));
    click("cmdSearch");
    ASSERT_EQ(shown, QStringList{QStringLiteral("rptStatement")});
    expectPrinted(document, {{"fldSalesPerson", "Pat O'Brien"}, {"fldPeriod", "November 2007"}});
    EXPECT_EQ(textsOf(document, "txtReference"), (QStringList{"4410", "B2", "", "", "", ""}));
    EXPECT_EQ(textsOf(document, "txtStatus"), (QStringList{"Unpaid", "Unpaid", "", "", "", ""}));
    EXPECT_EQ(textsOf(document, "txtUnits"), (QStringList{"1", "0.5", "", "", "1.5", "2.5"}));
    EXPECT_EQ(textsOf(document, "fldPart"), (QStringList{"Deals", "Totals"}));

    // The year to the end date; then the two dates, whose start must come first.
    click("cmdReset");
    setRange(QDate(2007, 11, 7), QDate(2007, 12, 5));
    chooseStatement(QStringLiteral("Pat O'Brien"), "optYearToDate");
    click("cmdSearch");
    expectPrinted(document, {{"fldPeriod", "1/1/2007 to 12/5/2007"}});
    EXPECT_EQ(textsOf(document, "txtReference").mid(0, 4),
              (QStringList{"JAN", "4410", "B2", "DEC"}));

    click("cmdReset");
    chooseStatement(QStringLiteral("Pat O'Brien"), "optDates");
    control<QDateTimeEdit>("dptStartDate")->setDate(QDate(2007, 12, 5));
    prompts.expectMessage(QStringLiteral("Start date must be before End date!"),
                          QStringLiteral("Report Dates"), Prompts::Icon::None,
                          Prompts::Buttons::Ok);
    click("cmdSearch");
    prompts.verify();
    EXPECT_EQ(shown.size(), 2);
    control<QDateTimeEdit>("dptStartDate")->setDate(QDate(2007, 11, 7));
    click("cmdSearch");
    expectPrinted(document, {{"fldPeriod", "11/7/2007 to 12/5/2007"}});
    EXPECT_EQ(textsOf(document, "txtReference").mid(0, 2), (QStringList{"B2", "DEC"}));

    // The summary's step reads as before once the statement was chosen.
    click("cmdReset");
    click("optSummery");
    EXPECT_EQ(control<QLabel>("Label7")->text(), QStringLiteral("Summary Report"));
    EXPECT_FALSE(control("fraStatement")->isVisible());
    click("cmdOK2");
    EXPECT_EQ(chooser->chosenReport(), Chosen::Summary);
}

TEST_F(ReportChooser, StatementSavedAsCsvHoldsEveryLine)
{
    save({QDate(2007, 11, 6), "NC", "1000", "Pat O'Brien", "4410"});
    save({QDate(2007, 11, 7), "NC", "4000.50", "Pat O'Brien", "B2", "John Smith"});
    chooser->printer().setShowStep({});
    control<QDateEdit>("dtpMonth")->setDate(QDate(2007, 11, 1));
    chooseStatement(QStringLiteral("Pat O'Brien"), "optMonth");
    click("cmdSearch");
    ReportPreview *preview = chooser->printer().preview(QStringLiteral("rptStatement"));
    ASSERT_NE(preview, nullptr);
    const QString path = m_dir.filePath(QStringLiteral("statement.csv"));
    prompts.expectSaveFile(path);
    preview->findChild<QAction *>(QStringLiteral("actSaveCsv"))->trigger();
    prompts.verify();
    // Pat sold the split deal first: his half of 4,000.50 takes the odd cent.
    EXPECT_EQ(m_dir.readBytes(QStringLiteral("statement.csv")),
              QByteArray("\xEF\xBB\xBF"
                         "Part,Date,Stock #,Customer / Line,Class,Units,Gross,Commission,Spiff,"
                         "Warranty,Total,Status,In Net\r\n"
                         "Deals,2007-11-06,4410,CUSTOMER OF 4410,NC,1,1000.00,250.00,0.00,0.00,"
                         "250.00,Unpaid,\r\n"
                         "Deals,2007-11-07,B2,CUSTOMER OF B2,NC,0.5,2000.25,500.07,0.00,0.00,"
                         "500.07,Unpaid,\r\n"
                         "Totals,,,Net paid in the period,,,,,,,0.00,,\r\n"
                         "Totals,,,Sheets' net pay,,,,,,,0.00,,\r\n"
                         "Totals,,,\"Month to date, November 2007\",,1.5,,,,,0.00,,\r\n"
                         "Totals,,,\"Year to date, 1/1/2007 to 11/30/2007\",,1.5,,,,,0.00,,\r\n"));
    preview->close();
}

// The preview paints the pages in view, not the whole report.
TEST_F(ReportChooser, PreviewPaintsOnlyThePagesInView)
{
    ReportRows rows;
    for (int i = 0; i < 3000; ++i)
        rows.append({{QStringLiteral("Date"), QStringLiteral("2007-11-06")},
                     {QStringLiteral("TCU"), QStringLiteral("NC")},
                     {QStringLiteral("Unit"), QStringLiteral("2007 PICKUP")}});
    chooser->printer().setShowStep({});
    chooser->printer().showSalesLog(rows, QStringLiteral("New Cars"), QDate(2007, 11, 5),
                                    QDate(2007, 12, 5));
    ReportPreview *preview = chooser->printer().preview(QStringLiteral("ActiveReport1"));
    ASSERT_NE(preview, nullptr);
    ASSERT_GT(preview->pageCount(), 80);
    preview->resize(820, 900);
    QTest::qWait(50);
    preview->pageView()->viewport()->repaint();
    const int firstLook = preview->pageView()->paintedPages();
    EXPECT_GE(firstLook, 1);
    EXPECT_LE(firstLook, 6);
    preview->pageView()->showPage(40);
    preview->pageView()->viewport()->repaint();
    EXPECT_EQ(preview->pageView()->currentPage(), 40);
    preview->pageView()->showPage(preview->pageCount() - 1);
    preview->pageView()->viewport()->repaint();
    EXPECT_LE(preview->pageView()->paintedPages(), firstLook + 12);
    preview->close();
}

TEST_F(ReportChooser, ThePreviewsPagesFollowTheKeysAndEscapeClosesIt)
{
    ReportRows rows;
    for (int i = 0; i < 300; ++i)
        rows.append({{QStringLiteral("Date"), QStringLiteral("2007-11-06")},
                     {QStringLiteral("TCU"), QStringLiteral("UT")},
                     {QStringLiteral("Unit"), QString::fromUtf8("2007 CAMIÓN")}});
    chooser->printer().setShowStep({});
    chooser->printer().showSalesLog(rows, QStringLiteral("Used Trucks"), QDate(2007, 11, 5),
                                    QDate(2007, 12, 5));
    ReportPreview *preview = chooser->printer().preview(QStringLiteral("ActiveReport1"));
    ASSERT_NE(preview, nullptr);
    ASSERT_GT(preview->pageCount(), 5);
    ASSERT_TRUE(QTest::qWaitForWindowActive(preview));
    const auto press = [preview](Qt::Key key) {
        QTest::keyClick(preview->pageView(), key);
        return preview->pageView()->currentPage();
    };
    EXPECT_EQ(press(Qt::Key_PageDown), 1);
    EXPECT_EQ(press(Qt::Key_PageDown), 2);
    EXPECT_EQ(press(Qt::Key_PageUp), 1);
    EXPECT_EQ(press(Qt::Key_End), preview->pageCount() - 1);
    EXPECT_EQ(press(Qt::Key_Home), 0);
    QTest::keyClick(preview->pageView(), Qt::Key_Escape);
    EXPECT_FALSE(preview->isVisible());
}

class ReportsCommand : public SalesReportsTest
{
protected:
    ReportsCommand()
        : form(std::make_unique<DealWorksheet>(m_dir.folder(), prompts)), menu(new MainMenu(form.get())),
          command(new ReportChooserCommand(*form, *m_database, prompts, [] {}))
    {
        menu->setCommand(QStringLiteral("tbrSalesLog"), [this] { command->openChooser(); });
    }

    ScriptedPrompts prompts;
    std::unique_ptr<DealWorksheet> form;
    MainMenu *menu;
    ReportChooserCommand *command;
};

TEST_F(ReportsCommand, OpensOneChooserOwnedByTheMainWindowAfreshOnceClosed)
{
    EXPECT_EQ(command->chooser(), nullptr);
    menu->action(QStringLiteral("tbrSalesLog"))->trigger();
    ReportChooserWindow *chooser = command->chooser();
    ASSERT_NE(chooser, nullptr);
    EXPECT_TRUE(chooser->isVisible());
    EXPECT_FALSE(chooser->isModal());
    EXPECT_EQ(chooser->parentWidget(), form.get());

    auto *option = chooser->findChild<QRadioButton *>(QStringLiteral("optSummery"));
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
    menu->action(QStringLiteral("tbrSalesLog"))->trigger();
    EXPECT_EQ(command->chooser(), chooser);
    EXPECT_TRUE(option->isChecked()); // brought up as it was

    chooser->close();
    menu->action(QStringLiteral("tbrSalesLog"))->trigger();
    EXPECT_EQ(command->chooser(), chooser);
    EXPECT_FALSE(option->isChecked());
    EXPECT_TRUE(chooser->findChild<QFrame *>(QStringLiteral("fraReport_0"))->isVisible());
}

} // namespace
