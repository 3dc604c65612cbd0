#include "admin/ui/main_menu.h"
#include "commission_sheet_fixture.h"
#include "report_test_support.h"
#include "reports/ui/commission_sheet_opener.h"
#include "reports/ui/commission_sheet_window.h"
#include "reports/ui/sheet_history_window.h"
#include "second_desk.h"
#include "store/deal_store.h"
#include "store/pay_plan_store.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QToolBar>

using ReportRead::textOf;

namespace {

const QString kDataFile = QStringLiteral("data.txt");

class CommissionWindow : public CommissionSheetTest
{
protected:
    CommissionWindow()
    {
        execute(QStringLiteral("DELETE FROM SalesPersons"));
        for (const char *name : {"John Smith", "Mary Jones"})
            execute(QStringLiteral("INSERT INTO SalesPersons (Name) VALUES (?)"),
                    {QString::fromLatin1(name)});
        main = std::make_unique<QMainWindow>();
        menu = new MainMenu(main.get());
        form = std::make_unique<CommissionSheetWindow>(*m_database, m_dir.folder(), m_prompts, menu->toolBar());
        form->setShowStep([this](const ReportDocument &sheet) { sheets << sheet; });
    }

    template <typename T> T *control(const char *name) const
    {
        T *found = form->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QTableWidget *grid() const { return control<QTableWidget>("MSFlexGrid1"); }
    QPushButton *button(const char *name) const { return control<QPushButton>(name); }
    QString hiddenText(const char *name) const { return control<QLineEdit>(name)->text(); }

    void click(const char *name)
    {
        QPushButton *target = button(name);
        ASSERT_TRUE(target->isEnabled()) << name;
        QTest::mouseClick(target, Qt::LeftButton);
    }

    void select(const QString &salesPerson)
    {
        control<QComboBox>("cboSalesPerson")->setEditText(salesPerson);
        click("cmdSelect");
    }

    // The texts of one grid column, top to bottom (2 = Stock_Number).
    QStringList column(int index) const
    {
        QStringList texts;
        for (int row = 0; row < grid()->rowCount(); ++row)
            texts << grid()->item(row, index)->text();
        return texts;
    }

    void expectBonus(const QString &amount, std::optional<QString> description = std::nullopt)
    {
        m_prompts.expectInput(QStringLiteral("Enter amount of bonus or spiff"),
                              QStringLiteral("Bonus / Spiffs"), QString(), amount);
        if (description)
            m_prompts.expectInput(QStringLiteral("Enter type of bonus (ie. Plateau Bonus)"),
                                  QStringLiteral("Bonus / Spiff"), QStringLiteral("Plateau Bonus"),
                                  description);
    }

    void expectWeekEnding(std::optional<QString> answer)
    {
        m_prompts.expectInput(QStringLiteral("Enter 'Week-Ending' date."),
                              QStringLiteral("Week-Ending Date"), QStringLiteral("MM/DD/YYYY"),
                              answer);
    }

    // Prints John Smith's deals, no bonus, and expects the print refused for
    // `why`: no sheet, nothing paid, the earlier hand-off file as it was.
    void expectPrintRefused(const QString &why)
    {
        m_dir.writeBytes(kDataFile, "earlier sheet\r\n");
        select(QStringLiteral("John Smith"));
        expectBonus(QString());
        expectWeekEnding(QStringLiteral("3/12/2005"));
        m_prompts.expectMessage(QStringLiteral("The commission sheet could not be printed. No "
                                               "deal has been marked paid.\n\n") +
                                    why,
                                QStringLiteral("Error!"), Prompts::Icon::Critical,
                                Prompts::Buttons::Ok);
        click("cmdPrintSheet");
        m_prompts.verify();
        EXPECT_TRUE(sheets.isEmpty());
        EXPECT_TRUE(paidRows().isEmpty());
        EXPECT_EQ(m_dir.readBytes(kDataFile), QByteArray("earlier sheet\r\n"));
    }

    std::unique_ptr<QMainWindow> main;
    MainMenu *menu = nullptr;
    std::unique_ptr<CommissionSheetWindow> form;
    QList<ReportDocument> sheets;
};

TEST_F(CommissionWindow, HasEveryControlAndTheGridsColumns)
{
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Commissions"));
    const std::pair<const char *, const char *> buttons[] = {{"cmdSelect", "OK"},
                                                             {"cmdDelete", "Remove Record"},
                                                             {"cmdPrintSheet", "Print Sheet"},
                                                             {"cmdExit", "Exit"}};
    for (const auto &[name, caption] : buttons)
        EXPECT_EQ(button(name)->text(), QString::fromLatin1(caption));
    for (const char *name : {"txtTally", "txtBonus", "txtBonus2", "txtWeekEnd"})
        EXPECT_TRUE(control<QLineEdit>(name)->isHidden()) << name;
    EXPECT_EQ(control<QComboBox>("cboSalesPerson")->itemText(1), QStringLiteral("Mary Jones"));

    ASSERT_EQ(grid()->columnCount(), 13);
    EXPECT_EQ(grid()->horizontalHeaderItem(2)->text(), QStringLiteral("Stock_Number"));
    QList<int> hidden;
    for (int c = 0; c < 13; ++c) {
        if (grid()->isColumnHidden(c))
            hidden << c;
    }
    EXPECT_EQ(hidden, (QList<int>{4, 5, 10, 12})); // Sales_Person, TCU, UnitCount, Paid
    const int dpi = grid()->logicalDpiX();
    EXPECT_EQ(grid()->columnWidth(1), 1600 * dpi / 1440);
    EXPECT_EQ(grid()->verticalHeader()->width(), 300 * dpi / 1440);
}

// Headings and values show whole at the opening size: amounts right-aligned
// with two decimals, dates on one line.
TEST_F(CommissionWindow, GridShowsHeadingsAndValuesWhole)
{
    unpaid("774410", "ANN LEE", "2025-12-28", "437.5");
    unpaid("N55", "ZOE ABERG", "2025-09-30", "12345.67");
    form->show();
    form->Form_Activate();
    select(QStringLiteral("John Smith"));
    ASSERT_EQ(grid()->rowCount(), 2);
    EXPECT_EQ(column(0), (QStringList{QStringLiteral("9/30/2025"), QStringLiteral("12/28/2025")}));
    EXPECT_EQ(column(7), (QStringList{QStringLiteral("450.00"), QStringLiteral("450.00")}));
    EXPECT_EQ(column(11), (QStringList{QStringLiteral("12345.67"), QStringLiteral("437.50")}));
    EXPECT_FALSE(grid()->wordWrap());

    const QFontMetrics metrics(grid()->font());
    int shown = 0;
    for (int c = 0; c < grid()->columnCount(); ++c) {
        if (grid()->isColumnHidden(c))
            continue;
        shown += grid()->columnWidth(c);
        const QString heading = grid()->horizontalHeaderItem(c)->text();
        EXPECT_GE(grid()->columnWidth(c), grid()->horizontalHeader()->sectionSizeHint(c))
            << heading.toStdString();
        for (int row = 0; row < grid()->rowCount(); ++row) {
            QTableWidgetItem *item = grid()->item(row, c);
            EXPECT_GT(grid()->columnWidth(c), metrics.horizontalAdvance(item->text()))
                << heading.toStdString();
            const bool amount = c >= 6 && c <= 11;
            EXPECT_EQ(bool(item->textAlignment() & Qt::AlignRight), amount)
                << heading.toStdString();
        }
    }
    // Every shown column fits the window as it opened.
    EXPECT_LE(shown, grid()->viewport()->width());
}

// At 1024 pixels wide, even the longest values leave every listed column in
// view, with no scrolling sideways; a text cut short shows whole as a tip.
TEST_F(CommissionWindow, EveryColumnIsInViewAt1024PixelsWide)
{
    SummaryValues longest;
    longest.stockNumber = QStringLiteral("77441099");
    longest.customer = QString::fromUtf8("ZOË ÅBERG-LINDQVIST JR");
    longest.payableGross = QStringLiteral("999999.99");
    longest.commission = QStringLiteral("999999.99");
    longest.spiff = QStringLiteral("999999.99");
    longest.warranty = QStringLiteral("999999.99");
    longest.totalCommission = QStringLiteral("999999.99");
    for (int i = 0; i < 40; ++i)
        summaryRow(longest); // enough rows for the grid to scroll up and down
    execute(QStringLiteral("UPDATE SalesSummary SET Unit = '2025 SILVERADO 3500H'"));
    form->resize(1024, 600);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    select(QStringLiteral("John Smith"));
    QTest::qWait(20);
    ASSERT_EQ(grid()->rowCount(), 40);
    EXPECT_EQ(form->width(), 1024);
    EXPECT_FALSE(grid()->horizontalScrollBar()->isVisible());
    int shown = 0;
    for (int c = 0; c < grid()->columnCount(); ++c) {
        if (grid()->isColumnHidden(c))
            continue;
        shown += grid()->columnWidth(c);
        EXPECT_GE(grid()->columnWidth(c), 30) << c;
    }
    EXPECT_LE(shown, grid()->viewport()->width());
    EXPECT_EQ(grid()->item(0, 3)->toolTip(), QString::fromUtf8("ZOË ÅBERG-LINDQVIST JR"));
    EXPECT_EQ(grid()->item(0, 11)->text(), QStringLiteral("999999.99"));
}

// Two deals with one stock number: each row pays its own deal, once.
TEST_F(CommissionWindow, PrintPaysEachListedDealAndShowsTheSheet)
{
    unpaid("A1234", "ANN LEE", "2005-03-03", "437.5");
    unpaid("A1234", "BOB BROWN", "2005-03-02", "350");
    SummaryValues other;
    other.salesPerson = QStringLiteral("MARY JONES");
    summaryRow(other);
    form->Form_Activate();
    EXPECT_FALSE(button("cmdPrintSheet")->isEnabled());
    select(QStringLiteral("John Smith"));
    EXPECT_EQ(column(3), (QStringList{QStringLiteral("BOB BROWN"), QStringLiteral("ANN LEE")}));
    EXPECT_EQ(column(0), (QStringList{QStringLiteral("3/2/2005"), QStringLiteral("3/3/2005")}));
    EXPECT_EQ(column(11), (QStringList{QStringLiteral("350.00"), QStringLiteral("437.50")}));

    expectBonus(QStringLiteral("100"), QStringLiteral("Plateau Bonus"));
    expectWeekEnding(QStringLiteral("03/12/2005"));
    click("cmdPrintSheet");
    m_prompts.verify();

    ASSERT_EQ(sheets.size(), 1);
    EXPECT_EQ(textOf(sheets.first(), QStringLiteral("Field3")), QStringLiteral("$787.50"));
    EXPECT_EQ(textOf(sheets.first(), QStringLiteral("Field5")), QStringLiteral("$887.50"));
    EXPECT_EQ(textOf(sheets.first(), QStringLiteral("Field2")), QStringLiteral("03/12/2005"));
    EXPECT_EQ(hiddenText("txtTally"), QStringLiteral("787.5"));
    EXPECT_EQ(m_dir.readBytes(kDataFile),
              QByteArray("\"BOB BROWN\",\"A1234\",\"NT\",1500,450,50,30,350\r\n"
                         "\"ANN LEE\",\"A1234\",\"NT\",1500,450,50,30,437.5\r\n"));
    EXPECT_EQ(paidRows().size(), 2);
    EXPECT_FALSE(button("cmdPrintSheet")->isEnabled());
    EXPECT_FALSE(button("cmdDelete")->isEnabled());

    select(QStringLiteral("John Smith"));
    EXPECT_EQ(grid()->rowCount(), 0);
}

TEST_F(CommissionWindow, RemovedRowsStayUnpaidAndTheLastRowStays)
{
    unpaid("S1", "A", "2005-03-02", "1");
    const qint64 second = unpaid("S2", "B", "2005-03-03", "2");
    select(QStringLiteral("John Smith"));
    grid()->setCurrentCell(0, 1);
    click("cmdDelete");
    EXPECT_EQ(column(2), QStringList{QStringLiteral("S2")});

    m_prompts.expectMessage(QStringLiteral("You cannot remove the last record!"),
                            QStringLiteral("Error!"), Prompts::Icon::None, Prompts::Buttons::Ok);
    click("cmdDelete");
    m_prompts.verify();
    EXPECT_EQ(grid()->rowCount(), 1);

    expectBonus(QString());
    expectWeekEnding(QStringLiteral("3/12/05"));
    click("cmdPrintSheet");
    EXPECT_EQ(paidRows(), QList<qint64>{second});
    select(QStringLiteral("John Smith"));
    EXPECT_EQ(column(2), QStringList{QStringLiteral("S1")});
}

TEST_F(CommissionWindow, ASecondPrintKeepsTheWeekEndingAndANilBonusAsksNoDescription)
{
    unpaid("S1", "A", "2005-03-02", "350");
    select(QStringLiteral("John Smith"));
    expectBonus(QStringLiteral("50"), QStringLiteral("Spiff"));
    expectWeekEnding(QStringLiteral("3/12/2005"));
    click("cmdPrintSheet");

    for (const char *answer : {"0", "none"}) {
        select(QStringLiteral("John Smith"));
        expectBonus(QString::fromLatin1(answer)); // no description, no week-ending date
        click("cmdPrintSheet");
        m_prompts.verify();
        EXPECT_EQ(textOf(sheets.last(), QStringLiteral("Field2")), QStringLiteral("3/12/2005"));
        EXPECT_EQ(textOf(sheets.last(), QStringLiteral("Label14")), QStringLiteral(": "));
        EXPECT_EQ(textOf(sheets.last(), QStringLiteral("Field4")), QString());
    }
    // Nothing listed: an empty tally and an empty hand-off file.
    EXPECT_EQ(textOf(sheets.last(), QStringLiteral("Field3")), QString());
    EXPECT_EQ(m_dir.readBytes(kDataFile), QByteArray());
}

TEST_F(CommissionWindow, AnInvalidWeekEndingIsAskedAgainAndCancelAbandonsThePrint)
{
    unpaid("S1", "A", "2005-03-02", "350");
    select(QStringLiteral("John Smith"));
    expectBonus(QStringLiteral("100"), QStringLiteral("Plateau Bonus"));
    expectWeekEnding(QStringLiteral("MM/DD/YYYY"));
    m_prompts.expectMessage(QStringLiteral("You must enter a valid date! ie. (MM/DD/YYY)"),
                            QStringLiteral("Week-End Date"), Prompts::Icon::None,
                            Prompts::Buttons::Ok);
    expectWeekEnding(std::nullopt);
    click("cmdPrintSheet");
    m_prompts.verify();

    EXPECT_TRUE(sheets.isEmpty());
    EXPECT_TRUE(paidRows().isEmpty());
    EXPECT_FALSE(m_dir.exists(kDataFile));
    EXPECT_TRUE(button("cmdPrintSheet")->isEnabled());
}

TEST_F(CommissionWindow, AFailedPaymentIsReportedAndPaysNothing)
{
    unpaid("S1", "A", "2005-03-02", "350");
    unpaid("S2", "B", "2005-03-03", "2");
    refusePaying(QStringLiteral("S2")); // fails with "disk trouble"
    expectPrintRefused(QStringLiteral("disk trouble"));
}

// The name box changed after listing: the sheet, the file and the paid
// marks all stay with the salesperson whose deals are listed.
TEST_F(CommissionWindow, TheSheetNamesAndPaysTheSalespersonListedNotTheNameBox)
{
    const qint64 johns = unpaid("S1", "ANN LEE", "2005-03-02", "350");
    SummaryValues marys;
    marys.salesPerson = QStringLiteral("MARY JONES");
    marys.stockNumber = QStringLiteral("S1"); // the same stock number as John's deal
    summaryRow(marys);
    select(QStringLiteral("John Smith"));
    control<QComboBox>("cboSalesPerson")->setEditText(QStringLiteral("Mary Jones"));
    expectBonus(QString());
    expectWeekEnding(QStringLiteral("3/12/2005"));
    click("cmdPrintSheet");
    m_prompts.verify();

    ASSERT_EQ(sheets.size(), 1);
    EXPECT_EQ(textOf(sheets.first(), QStringLiteral("Label3")), QStringLiteral("John Smith"));
    EXPECT_EQ(paidRows(), QList<qint64>{johns});
    EXPECT_EQ(m_dir.readBytes(kDataFile),
              QByteArray("\"ANN LEE\",\"S1\",\"NT\",1500,450,50,30,350\r\n"));
}

TEST_F(CommissionWindow, ASheetTotalBeyondTheRangeIsRefusedAndPaysNothing)
{
    unpaid("S1", "A", "2005-03-02", "500000000000000");
    unpaid("S2", "B", "2005-03-03", "500000000000000");
    expectPrintRefused(
        QStringLiteral("The total commission of the listed deals is too large to print."));
    EXPECT_EQ(hiddenText("txtTally"), QString());
}

// A bonus too large to hold is refused and asked for again; a Cancel there
// is no bonus, as at the first asking.
TEST_F(CommissionWindow, ABonusTooLargeIsRefusedAndAskedForAgain)
{
    unpaid("S1", "A", "2005-03-02", "350");
    const auto tooLarge = [this] {
        m_prompts.expectMessage(QStringLiteral("The amount of the bonus is too large."),
                                QStringLiteral("Bonus / Spiffs"), Prompts::Icon::Warning,
                                Prompts::Buttons::Ok);
    };
    select(QStringLiteral("John Smith"));
    expectBonus(QStringLiteral("99999999999999999999"));
    tooLarge();
    expectBonus(QStringLiteral("1000000000000000 cash"));
    tooLarge();
    expectBonus(QStringLiteral("100"), QStringLiteral("Plateau Bonus"));
    expectWeekEnding(QStringLiteral("3/12/2005"));
    click("cmdPrintSheet");
    m_prompts.verify();
    ASSERT_EQ(sheets.size(), 1);
    EXPECT_EQ(textOf(sheets.last(), QStringLiteral("Field4")), QStringLiteral("$100.00"));
    EXPECT_EQ(textOf(sheets.last(), QStringLiteral("Field5")), QStringLiteral("$450.00"));

    unpaid("S2", "B", "2005-03-03", "20");
    select(QStringLiteral("John Smith"));
    expectBonus(QStringLiteral("-99999999999999999999"));
    tooLarge();
    m_prompts.expectInput(QStringLiteral("Enter amount of bonus or spiff"),
                          QStringLiteral("Bonus / Spiffs"), QString(), std::nullopt);
    click("cmdPrintSheet");
    m_prompts.verify();
    ASSERT_EQ(sheets.size(), 2);
    EXPECT_EQ(textOf(sheets.last(), QStringLiteral("Field4")), QString());
    EXPECT_EQ(textOf(sheets.last(), QStringLiteral("Field5")), QStringLiteral("$20.00"));
}

// The toolbar is off while the window is open, however the window closes.
TEST_F(CommissionWindow, TheOpenerKeepsOneWindowThatTurnsTheToolbarOff)
{
    const std::function<void()> open =
        commissionSheetOpener(menu->toolBar(), *m_database, m_dir.folder(), m_prompts, main.get());
    main->show();
    open();
    auto *opened = main->findChild<CommissionSheetWindow *>(QStringLiteral("Form2"));
    ASSERT_NE(opened, nullptr);
    EXPECT_TRUE(opened->isWindow());
    QTRY_VERIFY(!menu->toolBar()->isEnabled()); // on activation

    unpaid("S1", "A", "2005-03-02", "350");
    opened->findChild<QComboBox *>()->setEditText(QStringLiteral("John Smith"));
    opened->findChild<QPushButton *>(QStringLiteral("cmdSelect"))->click();
    opened->findChild<QLineEdit *>(QStringLiteral("txtWeekEnd"))
        ->setText(QStringLiteral("3/12/05"));
    open();
    EXPECT_EQ(main->findChildren<CommissionSheetWindow *>().size(), 1);
    EXPECT_EQ(opened->findChild<QTableWidget *>()->rowCount(), 1); // still as it was

    opened->findChild<QPushButton *>(QStringLiteral("cmdExit"))->click();
    EXPECT_FALSE(opened->isVisible());
    EXPECT_TRUE(menu->toolBar()->isEnabled());

    open(); // afresh
    EXPECT_EQ(main->findChildren<CommissionSheetWindow *>().size(), 1);
    EXPECT_EQ(opened->findChild<QTableWidget *>()->rowCount(), 0);
    EXPECT_TRUE(opened->findChild<QLineEdit *>(QStringLiteral("txtWeekEnd"))->text().isEmpty());
    QTRY_VERIFY(!menu->toolBar()->isEnabled());
    opened->close(); // the window frame's close
    EXPECT_TRUE(menu->toolBar()->isEnabled());
}

// Reprint Sheet… lists the recorded sheets newest first and prints one again
// exactly as it was, paying nothing.
TEST_F(CommissionWindow, AReprintPlacesTheSameTextsAsTheFirstPrint)
{
    unpaid("A1234", "ANN LEE", "2005-03-03", "437.5");
    unpaid("2040", "BOB BROWN", "2005-03-02", "350");
    select(QStringLiteral("John Smith"));
    expectBonus(QStringLiteral("100"), QStringLiteral("Plateau Bonus"));
    expectWeekEnding(QStringLiteral("03/12/2005"));
    click("cmdPrintSheet");
    unpaid("9", "CY DOE", "2005-03-04", "1");
    select(QStringLiteral("John Smith"));
    expectBonus(QString());
    click("cmdPrintSheet");
    m_prompts.verify();
    ASSERT_EQ(sheets.size(), 2);
    const QByteArray dataFile = m_dir.readBytes(kDataFile);

    EXPECT_EQ(button("cmdReprint")->text(), QStringLiteral("Reprint Sheet\u2026"));
    click("cmdReprint");
    SheetHistoryWindow *history = form->sheetHistory();
    ASSERT_NE(history, nullptr);
    EXPECT_EQ(history->objectName(), QStringLiteral("frmSheets"));
    auto *list = history->findChild<QTableWidget *>(QStringLiteral("grdSheets"));
    ASSERT_EQ(list->rowCount(), 2);
    EXPECT_EQ(list->item(0, 1)->text(), QStringLiteral("$1.00"));      // the newest first
    EXPECT_EQ(list->item(1, 0)->text(), QStringLiteral("03/12/2005")); // week ending
    EXPECT_EQ(list->item(1, 1)->text(), QStringLiteral("$887.50"));    // the sheet's foot

    list->setCurrentCell(1, 0);
    history->findChild<QPushButton *>(QStringLiteral("cmdReprintSheet"))->click();
    ASSERT_EQ(sheets.size(), 3);
    const auto described = [](const ReportDocument &sheet) {
        QStringList texts;
        for (const PlacedText &placed : sheet.placedTexts())
            texts << QStringLiteral("%1 %2 %3 %4 %5")
                         .arg(placed.page)
                         .arg(placed.x)
                         .arg(placed.y)
                         .arg(placed.control, placed.text);
        return texts;
    };
    EXPECT_EQ(described(sheets.at(2)), described(sheets.at(0)));
    EXPECT_TRUE(described(sheets.at(0)).join(u'|').contains(QStringLiteral("Field5 $887.50")));
    EXPECT_EQ(paidRows().size(), 3);
    EXPECT_EQ(m_dir.readBytes(kDataFile), dataFile); // the hand-off file is left alone
}

// A sheet paid on deals worked out by a pay plan reprints as first printed
// after the plan has changed: the deals keep the figures they were saved with.
TEST_F(CommissionWindow, ASheetReprintsUnchangedAfterThePlanChanges)
{
    PayPlanStore plans(*m_database);
    PayPlanVersion version;
    version.salesPerson = QStringLiteral("John Smith");
    version.effectiveFrom = QDate(2005, 3, 1);
    version.terms[0].percent = Money::dollars(25);
    const std::optional<qint64> versionId = plans.add(version, nullptr);
    ASSERT_TRUE(versionId);
    Deal deal;
    deal.date = QDate(2005, 3, 7);
    deal.salesPerson = QStringLiteral("John Smith");
    deal.customer = QStringLiteral("Élodie Brûlé");
    deal.stockNumber = QStringLiteral("77401");
    deal.unitClass = QStringLiteral("NC");
    deal.pack = QStringLiteral("300");
    deal.payableGross = QStringLiteral("2500.04");
    deal.commission = QStringLiteral("625.01");
    deal.spiff = QStringLiteral("0");
    deal.warranty = QStringLiteral("$.00");
    deal.totalCommission = QStringLiteral("625.01");
    deal.split = true;
    deal.splitPartner = QStringLiteral("Mary Jones");
    deal.splitShare = QStringLiteral("60");
    deal.planVersion = versionId;
    QString error;
    ASSERT_TRUE(DealStore(*m_database).save(deal, &error)) << error.toStdString();

    select(QStringLiteral("John Smith"));
    expectBonus(QString());
    expectWeekEnding(QStringLiteral("03/12/2005"));
    click("cmdPrintSheet");
    m_prompts.verify();
    ASSERT_EQ(sheets.size(), 1);
    // 60% of $625.01 is $375.006: the row pays $375.01, Mary's $250.00.
    EXPECT_EQ(textOf(sheets.at(0), QStringLiteral("Field3")), QStringLiteral("$375.01"));

    version.effectiveFrom = QDate(2005, 3, 5);
    version.terms[0].percent = Money::dollars(35);
    ASSERT_TRUE(plans.add(version, nullptr));
    click("cmdReprint");
    SheetHistoryWindow *history = form->sheetHistory();
    ASSERT_NE(history, nullptr);
    history->findChild<QTableWidget *>(QStringLiteral("grdSheets"))->setCurrentCell(0, 0);
    history->findChild<QPushButton *>(QStringLiteral("cmdReprintSheet"))->click();
    ASSERT_EQ(sheets.size(), 2);
    QStringList first, again;
    for (const PlacedText &placed : sheets.at(0).placedTexts())
        first << placed.control + u' ' + placed.text;
    for (const PlacedText &placed : sheets.at(1).placedTexts())
        again << placed.control + u' ' + placed.text;
    EXPECT_EQ(again, first);
}

TEST_F(CommissionWindow, VoidingAsksNamingTheSheetAndItsDealsComeBackUnpaid)
{
    unpaid("S1", "ANN LEE", "2005-03-03", "437.5");
    select(QStringLiteral("John Smith"));
    expectBonus(QString());
    expectWeekEnding(QStringLiteral("3/12/05"));
    click("cmdPrintSheet");
    click("cmdReprint");
    SheetHistoryWindow *history = form->sheetHistory();
    auto *voidSheet = history->findChild<QPushButton *>(QStringLiteral("cmdVoidSheet"));

    const QString question = QStringLiteral(
        "Void the commission sheet of John Smith for the week ending 3/12/05, total $437.50?\n\n"
        "Its deals become unpaid again and will be listed on the next sheet.");
    m_prompts.expectMessage(question, QStringLiteral("Void Sheet"), Prompts::Icon::Question,
                            Prompts::Buttons::YesNo, Prompts::Answer::No);
    voidSheet->click();
    EXPECT_EQ(paidRows().size(), 1);

    m_prompts.expectMessage(question, QStringLiteral("Void Sheet"), Prompts::Icon::Question,
                            Prompts::Buttons::YesNo, Prompts::Answer::Yes);
    voidSheet->click();
    m_prompts.verify();
    EXPECT_TRUE(paidRows().isEmpty());
    auto *list = history->findChild<QTableWidget *>(QStringLiteral("grdSheets"));
    EXPECT_FALSE(list->item(0, 3)->text().isEmpty()); // voided at

    const qsizetype printed = sheets.size();
    m_prompts.expectMessage(
        QStringLiteral("This sheet was voided on %1 and cannot be printed again.")
            .arg(list->item(0, 3)->text()),
        QStringLiteral("Commission Sheets"), Prompts::Icon::Warning, Prompts::Buttons::Ok);
    history->findChild<QPushButton *>(QStringLiteral("cmdReprintSheet"))->click();
    m_prompts.verify();
    EXPECT_EQ(sheets.size(), printed);

    select(QStringLiteral("John Smith"));
    EXPECT_EQ(column(2), QStringList{QStringLiteral("S1")});
}

// An accented name, chosen as the roster writes it, finds the rows the
// worksheet saved in capitals, heads the sheet, and finds the sheet again in
// any letter case.
TEST_F(CommissionWindow, AnAccentedSalespersonIsListedPaidNamedAndFoundAgain)
{
    execute(QStringLiteral("INSERT INTO SalesPersons (Name) VALUES (?)"),
            {QString::fromUtf8("José Peña")});
    for (const char *stock : {"40177", "40178"}) {
        SummaryValues row;
        row.stockNumber = QString::fromLatin1(stock);
        row.salesPerson = QString::fromUtf8("JOSÉ PEÑA");
        row.customer = QString::fromUtf8("ZOË ÅBERG");
        row.totalCommission = QStringLiteral("312.5");
        summaryRow(row);
    }
    unpaid("A1", "ANN LEE", "2005-03-03", "437.5"); // John Smith's

    select(QString::fromUtf8("José Peña"));
    EXPECT_EQ(column(2), (QStringList{QStringLiteral("40177"), QStringLiteral("40178")}));
    expectBonus(QStringLiteral("50"), QString::fromUtf8("Prime à la vente"));
    expectWeekEnding(QStringLiteral("03/12/2005"));
    click("cmdPrintSheet");
    m_prompts.verify();

    ASSERT_EQ(sheets.size(), 1);
    EXPECT_EQ(textOf(sheets.first(), QStringLiteral("Label3")), QString::fromUtf8("José Peña"));
    EXPECT_EQ(textOf(sheets.first(), QStringLiteral("Label14")),
              QString::fromUtf8("Prime à la vente: "));
    EXPECT_EQ(textOf(sheets.first(), QStringLiteral("Field3")), QStringLiteral("$625.00"));
    EXPECT_EQ(textOf(sheets.first(), QStringLiteral("Field5")), QStringLiteral("$675.00"));
    EXPECT_EQ(m_dir.readBytes(kDataFile),
              QByteArray("\"ZO\xc3\x8b \xc3\x85""BERG\",\"40177\",\"NT\",1500,450,50,30,312.5\r\n"
                         "\"ZO\xc3\x8b \xc3\x85""BERG\",\"40178\",\"NT\",1500,450,50,30,312.5\r\n"));
    EXPECT_EQ(paidRows().size(), 2);

    // The sheet is found whichever way the name is typed.
    for (const char *typed : {"JOSÉ PEÑA", "josé peña"}) {
        control<QComboBox>("cboSalesPerson")->setEditText(QString::fromUtf8(typed));
        click("cmdReprint");
        auto *list =
            form->sheetHistory()->findChild<QTableWidget *>(QStringLiteral("grdSheets"));
        ASSERT_EQ(list->rowCount(), 1) << typed;
        EXPECT_EQ(list->item(0, 0)->text(), QStringLiteral("03/12/2005"));
        EXPECT_EQ(list->item(0, 1)->text(), QStringLiteral("$675.00")); // the bonus included
    }
}

class CommissionWindowTwoDesks : public CommissionWindow, public SecondDesk
{
};

// The window lists three deals; another desk pays one of them before this
// one prints. Nothing is paid here, the user is told which deal and the list
// is read again, from which the sheet then prints.
TEST_F(CommissionWindowTwoDesks, ADealPaidAtAnotherDeskIsNamedAndTheListReadAgain)
{
    unpaid("40177", "CARL DIAZ", "2005-03-02", "350");
    const qint64 taken = unpaid("A1234", "BOB BROWN", "2005-03-03", "437.5");
    unpaid("U5530A", "ANN LEE", "2005-03-04", "100");
    m_dir.writeBytes(kDataFile, "last week\r\n");
    select(QStringLiteral("John Smith"));
    ASSERT_EQ(grid()->rowCount(), 3);
    atOtherDesk(*m_database, QStringLiteral("UPDATE SalesSummary SET Paid = 1 WHERE rowid = ?"),
                {taken});

    expectBonus(QString());
    expectWeekEnding(QStringLiteral("03/12/2005"));
    m_prompts.expectMessage(
        QStringLiteral("These deals were paid or removed at another desk since the list was "
                       "shown:\n\nStock # A1234, 03/03/2005, BOB BROWN\n\nNothing has been "
                       "marked paid and no sheet was printed. The list now shows the deals still "
                       "unpaid; print the sheet again from it."),
        QStringLiteral("Commissions"), Prompts::Icon::Warning, Prompts::Buttons::Ok);
    click("cmdPrintSheet");
    m_prompts.verify();
    EXPECT_TRUE(sheets.isEmpty());
    EXPECT_EQ(paidRows(), QList<qint64>{taken});
    EXPECT_EQ(m_dir.readBytes(kDataFile), QByteArray("last week\r\n"));
    EXPECT_EQ(column(2), (QStringList{QStringLiteral("40177"), QStringLiteral("U5530A")}));
    EXPECT_TRUE(button("cmdPrintSheet")->isEnabled());

    expectBonus(QString());
    click("cmdPrintSheet");
    m_prompts.verify();
    ASSERT_EQ(sheets.size(), 1);
    EXPECT_EQ(hiddenText("txtTally"), QStringLiteral("450"));
    EXPECT_EQ(paidRows().size(), 3);
}

} // namespace
