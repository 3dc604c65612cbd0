#include "admin/ui/table_window.h"
#include "tables_fixture.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <functional>

namespace {

using Buttons = Prompts::Buttons;
using Icon = Prompts::Icon;

const QString kFindPrompt = QStringLiteral("Enter 'Stock Number' you wish to find");
const QString kNotSaved = QStringLiteral("\n\nThe record was not saved.");

// SalesLog fields.
const QString kStock = QStringLiteral("Text1_1");
const QString kCustomer = QStringLiteral("Text1_3");
const QString kGross = QStringLiteral("Text1_6");

class TableWindowTest : public TablesTest
{
protected:
    std::unique_ptr<TableWindow> salesLogWindow()
    {
        return std::make_unique<TableWindow>(TableWindow::salesLogLayout(), *m_database, m_prompts);
    }
    QString field(TableWindow &window, const QString &name) { return edit(window, name)->text(); }
    void type(TableWindow &window, const QString &name, const QString &text)
    {
        edit(window, name)->setText(text);
    }
    // Find, answering the input box; then the message expected, if any.
    void find(TableWindow &window, std::optional<QString> answer, const QString &message = {},
              const QString &title = {})
    {
        m_prompts.expectInput(kFindPrompt, QStringLiteral("Find"), QString(), std::move(answer));
        if (!message.isEmpty())
            m_prompts.expectMessage(message, title, Icon::None, Buttons::Ok);
        click(window, "Find");
        m_prompts.verify();
    }
    QVariantList customers()
    {
        return column(QStringLiteral("SELECT CustomerName FROM SalesLog ORDER BY rowid"));
    }
};

TEST_F(TableWindowTest, EachWindowHasItsLabelsFieldsAndButtons)
{
    struct Case
    {
        TableWindow::Layout layout;
        const char *name;
        const char *title;
        const char *caption;
        QStringList labels;
    };
    const Case cases[] = {
        {TableWindow::salesSummaryLayout(),
         "frmSalesSummary",
         "SalesSummary Database",
         "Step through records",
         {"Date", "Unit", "Stock #", "Customer", "Sales Person", "TCU", "Gross", "Commisssion",
          "Spiff", "Warranty", "Unit Count", "Ttl Comm", "Paid"}},
        {TableWindow::salesLogLayout(),
         "frmfrmSales",
         " SalesLog DataBase",
         " Step through records",
         {"Date:", "Stock #", "Unit Disc.", "Customer", "Sales Person", "Sale Tyle", "Gross",
          "TCU"}},
    };
    const std::pair<const char *, const char *> buttons[] = {
        {"cmdNew", "  New Record"},      {"cmdEdit", "  Edit Record"},
        {"cmdDelete", " Delete Record"}, {"cmdUpdate", "  Save Record"},
        {"Find", "  Find Record"},       {"cmdExit", "Exit"},
    };
    for (const Case &c : cases) {
        TableWindow window(c.layout, *m_database, m_prompts);
        EXPECT_EQ(window.objectName(), QString::fromLatin1(c.name));
        EXPECT_EQ(window.windowTitle(), QString::fromLatin1(c.title));
        EXPECT_EQ(window.findChild<QWidget *>(QStringLiteral("Data1"))
                      ->findChild<QLabel *>(QStringLiteral("lblCaption"))
                      ->text(),
                  QString::fromLatin1(c.caption));
        for (int i = 0; i < c.labels.size(); ++i) {
            auto *label = window.findChild<QLabel *>(QStringLiteral("Label1_%1").arg(i));
            ASSERT_NE(label, nullptr) << c.name << i;
            EXPECT_EQ(label->text(), c.labels.at(i));
            EXPECT_EQ(label->buddy(), edit(window, QStringLiteral("Text1_%1").arg(i)));
        }
        EXPECT_EQ(window.findChild<QLineEdit *>(QStringLiteral("Text1_%1").arg(c.labels.size())),
                  nullptr);
        for (const auto &[name, caption] : buttons)
            EXPECT_EQ(window.findChild<QPushButton *>(QString::fromLatin1(name))->text(),
                      QString::fromLatin1(caption));
    }
}

TEST_F(TableWindowTest, FindAsksForAStockNumberAndLandsOnTheFirstMatch)
{
    salesLogRow(QStringLiteral("A1"), QStringLiteral("ANN"));
    salesLogRow(QStringLiteral("B2"), QStringLiteral("BOB"));
    salesLogRow(QStringLiteral("O'NEIL"), QStringLiteral("CAL"));
    salesLogRow(QStringLiteral("B2"), QStringLiteral("DON"));
    auto window = salesLogWindow();
    click(*window, "cmdLast");

    find(*window, std::nullopt); // Cancel: nothing
    EXPECT_EQ(field(*window, kCustomer), QStringLiteral("DON"));

    find(*window, QString(), QStringLiteral("You must enter a stock number!"));
    EXPECT_EQ(field(*window, kCustomer), QStringLiteral("DON"));

    struct Case
    {
        const char *typed;
        const char *customer; // nullptr: not found
    };
    const Case cases[] = {
        {"b2", "BOB"},   {"O'NEIL", "CAL"},        {"A1", "ANN"},
        {"Z9", nullptr}, {"' OR '1'='1", nullptr}, {"A", nullptr},
    };
    for (const Case &c : cases) {
        const QString before = field(*window, kCustomer);
        find(*window, QString::fromLatin1(c.typed),
             c.customer ? QString() : QStringLiteral("No records matches your search"),
             QStringLiteral("Find"));
        EXPECT_EQ(field(*window, kCustomer), c.customer ? QString::fromLatin1(c.customer) : before)
            << c.typed;
    }
}

TEST_F(TableWindowTest, DeleteRemovesTheShownRecordWithoutAQuestion)
{
    for (const char *customer : {"ANN", "BOB", "CAL"})
        salesLogRow(QString::fromLatin1(customer), QString::fromLatin1(customer));
    auto window = salesLogWindow();
    click(*window, "cmdNext");
    click(*window, "cmdDelete");
    EXPECT_EQ(customers(), (QVariantList{QStringLiteral("ANN"), QStringLiteral("CAL")}));
    EXPECT_EQ(field(*window, kCustomer), QStringLiteral("CAL"));

    click(*window, "cmdDelete"); // the last one: the one before it shows
    EXPECT_EQ(field(*window, kCustomer), QStringLiteral("ANN"));
    click(*window, "cmdDelete");
    EXPECT_TRUE(customers().isEmpty());
    EXPECT_EQ(field(*window, kCustomer), QString());

    click(*window, "cmdDelete"); // an empty table: nothing to say
    EXPECT_TRUE(m_prompts.recorded().isEmpty());
    // The deals themselves are left to the worksheet.
    EXPECT_EQ(column(QStringLiteral("SELECT count(*) FROM RecallDeal")).value(0).toInt(), 3);
}

TEST_F(TableWindowTest, AMoneyEditIsStoredExactlyAndShownAsTyped)
{
    const qint64 deal = salesLogRow(QStringLiteral("A1"), QStringLiteral("ANN"), 39000000);
    salesLogRow(QStringLiteral("B2"), QStringLiteral("BOB"));
    auto window = salesLogWindow();
    EXPECT_EQ(field(*window, kGross), QStringLiteral("3900"));

    type(*window, kGross, QStringLiteral("1250.5"));
    click(*window, "cmdNext"); // leaving the record writes it
    click(*window, "cmdFirst");
    EXPECT_EQ(field(*window, kGross), QStringLiteral("1250.5"));
    type(*window, kGross, QStringLiteral("$1,234.56"));
    click(*window, "cmdUpdate");
    EXPECT_EQ(field(*window, kGross), QStringLiteral("1234.56"));

    EXPECT_EQ(column(QStringLiteral("SELECT Gross FROM SalesLog WHERE rowid = 1")).value(0),
              QVariant(qint64(12345600)));
    // Only the field changed is written: the row keeps its deal and its other values.
    EXPECT_EQ(column(QStringLiteral("SELECT DealId FROM SalesLog WHERE rowid = 1")).value(0),
              QVariant(deal));
    EXPECT_EQ(column(QStringLiteral("SELECT Date FROM SalesLog WHERE rowid = 1")).value(0),
              QVariant(QStringLiteral("2005-03-07")));
}

TEST_F(TableWindowTest, ATextThatIsNoNumberIsRefusedAndNothingIsWritten)
{
    salesLogRow(QStringLiteral("A1"), QStringLiteral("ANN"), 39000000);
    salesLogRow(QStringLiteral("B2"), QStringLiteral("BOB"));
    auto window = salesLogWindow();
    type(*window, kCustomer, QStringLiteral("ANNE"));
    type(*window, kGross, QStringLiteral("12a"));
    const QString refusal =
        QStringLiteral("Gross: \"12a\" is not a number. Type a plain amount such as 1250.50.") +
        kNotSaved;
    for (const char *route : {"cmdUpdate", "cmdNext", "cmdExit"}) {
        m_prompts.expectMessage(refusal, QStringLiteral(" SalesLog DataBase"), Icon::Warning,
                                Buttons::Ok);
        click(*window, route);
        m_prompts.verify();
        EXPECT_EQ(field(*window, kCustomer), QStringLiteral("ANNE")) << route;
        EXPECT_EQ(field(*window, kGross), QStringLiteral("12a")) << route;
    }
    EXPECT_EQ(customers(), (QVariantList{QStringLiteral("ANN"), QStringLiteral("BOB")}));
    EXPECT_EQ(column(QStringLiteral("SELECT Gross FROM SalesLog WHERE rowid = 1")).value(0),
              QVariant(qint64(39000000)));
}

TEST_F(TableWindowTest, ANewRecordJoinsTheSavedDealOfItsStockNumber)
{
    const qint64 deal = salesLogRow(QStringLiteral("A1"), QStringLiteral("ANN"));
    auto window = salesLogWindow();

    click(*window, "cmdNew");
    type(*window, kStock, QStringLiteral("Z9"));
    m_prompts.expectMessage(
        QStringLiteral("No saved deal has the stock number \"Z9\". Every record here belongs to a "
                       "deal: save the deal on the worksheet first, or type the stock number of "
                       "a saved deal.") +
            kNotSaved,
        QStringLiteral(" SalesLog DataBase"), Icon::Warning, Buttons::Ok);
    click(*window, "cmdUpdate");
    m_prompts.verify();

    type(*window, kStock, QStringLiteral("a1"));
    type(*window, kCustomer, QStringLiteral("AL"));
    click(*window, "cmdUpdate");
    EXPECT_EQ(customers(), (QVariantList{QStringLiteral("ANN"), QStringLiteral("AL")}));
    EXPECT_EQ(column(QStringLiteral("SELECT DealId FROM SalesLog WHERE CustomerName = 'AL'")),
              QVariantList{QVariant(deal)});
    EXPECT_EQ(field(*window, kCustomer), QStringLiteral("AL"));

    // A new record left empty is dropped when the user moves away.
    click(*window, "cmdNew");
    click(*window, "cmdFirst");
    EXPECT_EQ(customers().size(), 2);
    EXPECT_EQ(field(*window, kCustomer), QStringLiteral("ANN"));
}

// As the program ends nothing more is asked: what can be stored is written,
// what cannot is dropped, and the window goes.
TEST_F(TableWindowTest, ClosingForExitWritesWhatCanBeStoredAndDropsTheRest)
{
    salesLogRow(QStringLiteral("4471"), QStringLiteral("ANN"), 39000000);
    salesLogRow(QStringLiteral("B2"), QStringLiteral("BOB"));
    auto window = salesLogWindow();
    window->show();
    type(*window, kCustomer, QStringLiteral("Zoë"));
    window->closeForExit();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(customers(), (QVariantList{QStringLiteral("Zoë"), QStringLiteral("BOB")}));

    struct Pending
    {
        const char *name;
        std::function<void(TableWindow &)> type;
    };
    const Pending unstorable[] = {
        {"gross that is no number",
         [this](TableWindow &w) {
             type(w, kCustomer, QStringLiteral("ANNE"));
             type(w, kGross, QStringLiteral("abc"));
         }},
        {"new record of no saved deal",
         [this](TableWindow &w) {
             click(w, "cmdNew");
             type(w, kStock, QStringLiteral("Z9"));
         }},
    };
    for (const Pending &pending : unstorable) {
        window->openOnFirstRecord();
        window->show();
        pending.type(*window);
        window->closeForExit(); // no message: none is expected
        m_prompts.verify();
        EXPECT_FALSE(window->isVisible()) << pending.name;
        EXPECT_EQ(customers(), (QVariantList{QStringLiteral("Zoë"), QStringLiteral("BOB")}))
            << pending.name;
    }
    EXPECT_EQ(column(QStringLiteral("SELECT Gross FROM SalesLog WHERE rowid = 1")).value(0),
              QVariant(qint64(39000000)));
}

TEST_F(TableWindowTest, TheSummaryWindowEditsItsUnitCountButNeverItsPaidFlag)
{
    const qint64 deal = savedDeal(QStringLiteral("40177"));
    execute(QStringLiteral("INSERT INTO SalesSummary (Stock_Number, UnitCount, Paid, DealId) "
                           "VALUES ('40177', 5000, 0, ?)"),
            {deal});
    execute(QStringLiteral("INSERT INTO SalesSummary (Stock_Number, UnitCount, Paid, DealId) "
                           "VALUES ('40177', 10000, 1, ?)"),
            {deal});
    TableWindow window(TableWindow::salesSummaryLayout(), *m_database, m_prompts);
    const QString paid = QStringLiteral("Text1_12");
    EXPECT_TRUE(edit(window, paid)->isReadOnly());
    EXPECT_FALSE(edit(window, QStringLiteral("Text1_10"))->isReadOnly());
    EXPECT_EQ(field(window, QStringLiteral("Text1_10")), QStringLiteral("0.5"));
    EXPECT_EQ(field(window, paid), QStringLiteral("False"));

    // Even text put in the read-only field is not written: paying is a sheet's.
    type(window, QStringLiteral("Text1_10"), QStringLiteral("1"));
    type(window, paid, QStringLiteral("yes"));
    click(window, "cmdUpdate");
    EXPECT_EQ(field(window, paid), QStringLiteral("False"));
    click(window, "cmdNext");
    EXPECT_EQ(field(window, paid), QStringLiteral("True"));
    type(window, paid, QStringLiteral("False"));
    click(window, "cmdNew");
    EXPECT_EQ(field(window, paid), QString());

    // A new row starts unpaid whatever its field says.
    type(window, QStringLiteral("Text1_2"), QStringLiteral("40177"));
    type(window, QStringLiteral("Text1_4"), QString::fromUtf8("JOSÉ"));
    type(window, QStringLiteral("Text1_10"), QStringLiteral("0.5"));
    type(window, paid, QStringLiteral("True"));
    click(window, "cmdUpdate");
    m_prompts.verify();
    EXPECT_EQ(field(window, paid), QStringLiteral("False"));
    EXPECT_EQ(column(QStringLiteral("SELECT UnitCount || '/' || Paid FROM SalesSummary "
                                    "ORDER BY rowid")),
              (QVariantList{QStringLiteral("10000/0"), QStringLiteral("10000/1"),
                            QStringLiteral("5000/0")}));
}

TEST_F(TableWindowTest, ComingBackShowsRowsWrittenElsewhereButKeepsAChangeInProgress)
{
    salesLogRow(QStringLiteral("A1"), QStringLiteral("ANN"));
    auto window = salesLogWindow();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    salesLogRow(QStringLiteral("B2"), QStringLiteral("BOB"));
    execute(QStringLiteral("UPDATE SalesLog SET CustomerName = 'ANNE' WHERE rowid = 1"));
    comeBackTo(*window);
    EXPECT_EQ(field(*window, kCustomer), QStringLiteral("ANNE"));
    click(*window, "cmdLast");
    EXPECT_EQ(field(*window, kCustomer), QStringLiteral("BOB"));

    type(*window, kCustomer, QStringLiteral("ROBERT"));
    execute(QStringLiteral("UPDATE SalesLog SET CustomerName = 'X' WHERE rowid = 2"));
    comeBackTo(*window);
    EXPECT_EQ(field(*window, kCustomer), QStringLiteral("ROBERT"));
}

} // namespace
