#include "deal_worksheet_fixture.h"

#include "worksheet/ui/center_form.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

namespace {

using Icon = Prompts::Icon;
using Buttons = Prompts::Buttons;

// Every documented control: its objectName and, where it has one, caption.
TEST_F(DealWorksheetTest, EveryControlCarriesItsNameAndCaption)
{
    start();
    EXPECT_EQ(form->objectName(), QStringLiteral("Form1"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Tarvex"));
    const struct
    {
        const char *name;
        const char *caption;
    } captions[] = {
        {"Label1", "COMMISSION CALCULATOR"},
        {"Label22", "Date:"},
        {"Label13", "Salesperson:"},
        {"Label5", "Customer Name:"},
        {"Label12", "Stock#"},
        {"Label9", "Year"},
        {"Label6", "Unit:"},
        {"Label23", "T/C/U:"},
        {"Label11", "Sale Type:"},
        {"Label8", "Selling Price:"},
        {"Label7", "Cost/ACV:"},
        {"Label3", "Reductions to cost:"},
        {"Label4", "Additions to cost:"},
        {"Label2", "Trade Information"},
        {"Label14", "Appraisal: (ACV)"},
        {"lblStock", "T/I Stock #"},
        {"Label15", "Over/Under Allow:"},
        {"Option2", "Over Allow"},
        {"Option1", "Under Allow"},
        {"Label21", "Pack"},
        {"Label17", "Commission Rate:"},
        {"Check1", "Warranty"},
        {"Label16", "Payable   Gross"},
        {"Label18", "Commission:"},
        {"Label24", "Warranty:"},
        {"Label25", "Spiff:"},
        {"Label26", "Total Comm"},
        {"Label19", "Split?"},
        {"ToggleButton1", "No"},
        {"Label20", "Split with:"},
        {"Command2", "Print"},
        {"Command3", "Calculate"},
        {"cmdClear", "CLEAR"},
        {"cmdDeleteRecall", "Delete Record"},
        {"Command1", "Remove"},
        {"Command4", "Exit"},
        {"lblWarn", "This deal has been \"PAID\" and cannot be changed!"},
    };
    for (const auto &c : captions)
        EXPECT_EQ(control(QString::fromLatin1(c.name))->property("text").toString(),
                  QString::fromLatin1(c.caption))
            << c.name;
    EXPECT_EQ(control(QStringLiteral("Label25"))->toolTip(),
              QStringLiteral("Add any spiffs  here"));
    for (const char *name : {"Frame1", "List1", "Frame2", "FlagRecall", "Text4_0", "Text4_4"})
        control(QString::fromLatin1(name));
    EXPECT_TRUE(control<QDateEdit>(QStringLiteral("dtpDate"))->calendarPopup());
    EXPECT_TRUE(control<QAbstractButton>(QStringLiteral("ToggleButton1"))->isCheckable());
    EXPECT_FALSE(control(QStringLiteral("Command1"))->isEnabled());
    for (const char *hidden :
         {"Frame1", "List1", "Command1", "Command4", "Frame2", "FlagRecall", "cmdDeleteRecall",
          "lblWarn", "lblStock", "txtStock", "Option1", "Option2", "DBCombo2", "Label20"})
        EXPECT_FALSE(control(QString::fromLatin1(hidden))->isVisibleTo(form.get())) << hidden;
}

TEST_F(DealWorksheetTest, DescriptionListsAsOffered)
{
    start();
    const auto items = [this](const char *name) {
        QStringList list;
        QComboBox *c = combo(QString::fromLatin1(name));
        for (int i = 0; i < c->count(); ++i)
            list.append(c->itemText(i));
        return list;
    };
    EXPECT_EQ(items("Combo3").first(), QStringLiteral("A/X/Z Cash"));
    EXPECT_EQ(items("Combo10").at(2), QStringLiteral("Cap/Cover"));
    EXPECT_EQ(items("Combo11").at(2), QStringLiteral("Cap\\Cover"));
    EXPECT_EQ(items("Combo12"), QStringList({"0", "A", "D", "E", "L", "P", "R", "X"}));
    // Model years: next year down to nine years back, this year shown.
    const int year = QDate::currentDate().year();
    const QStringList years = items("cboYear");
    ASSERT_EQ(years.size(), 11);
    EXPECT_EQ(years.first(), QString::number(year + 1));
    EXPECT_EQ(years.last(), QString::number(year - 9));
    EXPECT_EQ(text(QStringLiteral("cboYear")), QString::number(year));
}

// The focus chain holds the fields in the documented order, and the Tab key
// walks it; like every option group, the two allowance options take one Tab
// stop (the arrow keys move between them). The date picker's own sections
// count as the date picker.
TEST_F(DealWorksheetTest, TabOrderIsTheDocumentedOne)
{
    start();
    line(QStringLiteral("Text19"))->setText(QStringLiteral("5000"));
    line(QStringLiteral("Text20"))->setText(QStringLiteral("200"));
    control<QAbstractButton>(QStringLiteral("ToggleButton1"))->setChecked(true);
    form->showDeleteRecall(true);
    showActive();

    QStringList expected = {
        "dtpDate",        "DBCombo1",      "txtCustomer", "Text1",    "cboYear",      "cboUnit",
        "txtTCU",         "Combo12",       "Text3",       "Text13",   "Combo3",       "Text4_0",
        "Combo4",         "Text4_1",       "Combo5",      "Text4_2",  "Combo6",       "Text4_3",
        "Combo7",         "Text4_4",       "Combo8",      "Text6",    "Combo9",       "Text8",
        "Combo10",        "Text10",        "Combo11",     "Combo1",   "Text5",        "Text19",
        "Text20",         "Text12",        "Option2",     "Option1",  "Text2",        "Text22",
        "Check1",         "ToggleButton1", "DBCombo2",    "txtSpiff", "txtTotalComm", "Command2",
        "Command3",       "cmdClear",      "Text23",      "Text21",   "txtWarranty",  "txtStock",
        "cmdDeleteRecall"};
    QWidget *date = control(QStringLiteral("dtpDate"));

    QStringList chain;
    for (QWidget *w = date->nextInFocusChain(); w != date; w = w->nextInFocusChain()) {
        if (expected.contains(w->objectName()))
            chain.append(w->objectName());
    }
    chain.prepend(date->objectName());
    EXPECT_EQ(chain.join(u' ').toStdString(), expected.join(u' ').toStdString());

    expected.removeOne(QStringLiteral("Option1"));
    moveFocusTo(date);
    QStringList visited;
    for (int press = 0; press < 80 && visited.size() < expected.size(); ++press) {
        QWidget *focused = focusedControl();
        while (focused && focused->parentWidget() == date)
            focused = date;
        const QString name = focused ? focused->objectName() : QStringLiteral("<none>");
        if (visited.isEmpty() || visited.last() != name)
            visited.append(name);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(visited.join(u' ').toStdString(), expected.join(u' ').toStdString());
}

TEST_F(DealWorksheetTest, StartUpCreatesMissingSettingsAndShowsTheDefaults)
{
    start();
    for (const char *file : {"dp.dat", "dc.dat", "war.txt", "mini.txt", "unit.txt"})
        EXPECT_TRUE(dir.exists(QString::fromLatin1(file))) << file;
    EXPECT_EQ(text(QStringLiteral("Text2")), QStringLiteral("$300.00"));
    EXPECT_EQ(text(QStringLiteral("Text22")), QStringLiteral("30%"));
    EXPECT_EQ(text(QStringLiteral("txtSpiff")), QStringLiteral("0"));
    EXPECT_EQ(text(QStringLiteral("txtWarranty")), QStringLiteral("0"));
    EXPECT_EQ(text(QStringLiteral("Combo12")), QStringLiteral("0"));
    EXPECT_EQ(control<QDateEdit>(QStringLiteral("dtpDate"))->date(), QDate::currentDate());
    EXPECT_EQ(form->defaultUsedPack(), QStringLiteral("500"));
    EXPECT_EQ(form->defaultMini(), QStringLiteral("100"));
    EXPECT_EQ(form->state(), WorksheetState::NewDeal);
    EXPECT_FALSE(form->isDealSaved());
    EXPECT_EQ(form->saveCommandCaption(), QStringLiteral("Save"));
    EXPECT_TRUE(form->saveCommandEnabled());
}

TEST_F(DealWorksheetTest, StoredFiguresAreShownAsStored)
{
    writeSetting(QStringLiteral("dp.dat"), "\"450\",\"800\"\r\n");
    writeSetting(QStringLiteral("dc.dat"), "\"25\"\r\n");
    writeSetting(QStringLiteral("unit.txt"), "\"Taurus\"\r\n\"explorer\"\r\n\"F-150\"\r\n");
    start();
    EXPECT_EQ(text(QStringLiteral("Text2")), QStringLiteral("$450.00"));
    EXPECT_EQ(text(QStringLiteral("Text22")), QStringLiteral("25%"));
    QComboBox *units = combo(QStringLiteral("cboUnit"));
    ASSERT_EQ(units->count(), 3);
    EXPECT_EQ(units->itemText(0), QStringLiteral("explorer"));
    EXPECT_EQ(units->itemText(1), QStringLiteral("F-150"));
    EXPECT_EQ(units->itemText(2), QStringLiteral("Taurus"));
    EXPECT_EQ(units->currentText(), QString());
}

TEST_F(DealWorksheetTest, EmptyUnitFileGivesAnEmptyList)
{
    writeSetting(QStringLiteral("unit.txt"), "");
    start();
    EXPECT_EQ(combo(QStringLiteral("cboUnit"))->count(), 0);
}

TEST_F(DealWorksheetTest, DescriptionsSortAsPeopleReadThem)
{
    writeSetting(QStringLiteral("unit.txt"),
                 "\"Zulu\"\r\n\"Écru\"\r\n\"Delta\"\r\n\"escort\"\r\n\"Edge\"\r\n\"4x4\"");
    start();
    QStringList shown;
    for (int i = 0; i < combo(QStringLiteral("cboUnit"))->count(); ++i)
        shown.append(combo(QStringLiteral("cboUnit"))->itemText(i));
    EXPECT_EQ(shown, QStringList({"4x4", "Delta", "Écru", "Edge", "escort", "Zulu"}));
}

TEST_F(DealWorksheetTest, SettingsThatCannotBeUsedAreToldInOneMessageAtStartUp)
{
    writeSetting(QStringLiteral("dc.dat"), QByteArray("\"\0\"\r\n", 5));
    writeSetting(QStringLiteral("war.txt"), "\"25\"\r\n");
    QDir(dir.folder().path()).mkdir(QStringLiteral("dp.dat"));
    QFile folder(dir.filePath(QStringLiteral("dp.dat")));
    folder.open(QIODevice::ReadOnly);
    prompts.expectMessage(
        QStringLiteral("Some settings files could not be used as they are:\n\n"
                       "dp.dat could not be read (%1): the defaults are used instead (new pack "
                       "300, used pack 500).\n"
                       "dc.dat holds no number for the commission percentage: the default, 30, is "
                       "used instead.\n\n"
                       "Commissions are worked out with the figures named. To keep other figures, "
                       "enter them again from the Setup menu.")
            .arg(folder.errorString()),
        {}, Icon::Warning, Buttons::Ok);
    start();
    prompts.verify();
    EXPECT_EQ(text(QStringLiteral("Text2")), QStringLiteral("$300.00"));
    EXPECT_EQ(text(QStringLiteral("Text22")), QStringLiteral("30%"));
    EXPECT_EQ(form->defaultWarranty(), QStringLiteral("25"));
    // Setup's reload reads the files again without a second message.
    form->reloadStandingFigures();
}

// On a small screen every control can still be reached: the window keeps
// inside the screen's free area and the worksheet scrolls within it. The
// removal panel opens over the controls below the unit list.
TEST_F(DealWorksheetTest, TheWorksheetFitsTheScreenWithTheRemovalPanelOpen)
{
    writeSetting(QStringLiteral("unit.txt"), "\"Taurus\"\r\n\"F-150\"\r\n\"4711\"\r\n");
    start();
    showActive();
    const QRect area = form->screen()->availableGeometry();
    EXPECT_TRUE(area.contains(form->frameGeometry()))
        << form->frameGeometry().width() << "x" << form->frameGeometry().height();
    const QSize before = form->size();

    form->openUnitPanel();
    QCoreApplication::processEvents();
    EXPECT_EQ(form->size(), before);
    QWidget *panel = control(QStringLiteral("Frame1"));
    QWidget *unit = combo(QStringLiteral("cboUnit"));
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->geometry().top(), unit->geometry().bottom() + 1);
    EXPECT_EQ(panel->geometry().left(), unit->geometry().left());
    EXPECT_GE(panel->width(), unit->width());

    // Scrolled to, each control shows whole.
    auto *scroll = control<QScrollArea>(QStringLiteral("worksheetArea"));
    const QRect viewport = scroll->viewport()->rect();
    for (const char *name : {"dtpDate", "txtCustomer", "Text13", "Combo7", "Text5", "Option1",
                             "Text2", "txtTotalComm", "DBCombo2", "cmdClear", "Command4",
                             "Command1", "List1"}) {
        QWidget *w = control(QString::fromLatin1(name));
        const QPoint at = w->mapTo(scroll->widget(), QPoint(0, 0));
        scroll->horizontalScrollBar()->setValue(at.x() + w->width() - viewport.width());
        scroll->verticalScrollBar()->setValue(at.y() + w->height() - viewport.height());
        QCoreApplication::processEvents();
        const QRect shown(w->mapTo(scroll->viewport(), QPoint(0, 0)), w->size());
        EXPECT_TRUE(viewport.contains(shown))
            << name << " " << shown.x() << "," << shown.y() << " " << shown.width() << "x"
            << shown.height() << " in " << viewport.width() << "x" << viewport.height();
    }
}

TEST_F(DealWorksheetTest, OnlyAWarrantyOfExactlyZeroHidesWarrantyEntry)
{
    for (const char *value : {"0", "00", "0.00", "30"}) {
        writeSetting(QStringLiteral("war.txt"), QByteArray("\"") + value + "\"\r\n");
        start();
        const bool off = QByteArray(value) == "0";
        for (const char *name : {"txtWarranty", "Check1", "Label24"})
            EXPECT_EQ(control(QString::fromLatin1(name))->isHidden(), off) << value << name;
        // Clearing never brings them back.
        form->clearDeal();
        EXPECT_EQ(control(QStringLiteral("Check1"))->isHidden(), off) << value;
    }
}

Deal everyFieldFilled()
{
    Deal d;
    d.date = QDate(2005, 3, 7);
    d.salesPerson = QStringLiteral("Bob Smith");
    d.customer = QStringLiteral("Jane Doe");
    d.stockNumber = QStringLiteral("A1234");
    d.year = QStringLiteral("2004");
    d.unit = QStringLiteral("Explorer Spt");
    d.unitClass = QStringLiteral("NT");
    d.saleType = QStringLiteral("A");
    d.sellingPrice = QStringLiteral("23000");
    d.cost = QStringLiteral("20000");
    d.reductionDescriptions = {"A/X/Z Cash", "FDFA", "Misc. Credit", "x", "y"};
    d.reductionAmounts = {"1000", "500", "1", "2", "3"};
    d.additionDescriptions = {"Stripe", "UCI", "Cap/Cover", "Alarm", "Misc."};
    d.additionAmounts = {"300", "4", "5", "6", "7"};
    d.appraisal = QStringLiteral("5000");
    d.tradeStock = QStringLiteral("T99");
    d.allowance = QStringLiteral("200");
    d.underAllow = true;
    d.pack = QStringLiteral("300");
    d.commissionRate = QStringLiteral("30");
    d.warrantySold = true;
    d.payableGross = QStringLiteral("3900");
    d.commission = QStringLiteral("1170");
    d.warranty = QStringLiteral("30");
    d.spiff = QStringLiteral("50");
    d.totalCommission = QStringLiteral("1250");
    d.split = true;
    d.splitPartner = QStringLiteral("Ann Lee");
    return d;
}

TEST_F(DealWorksheetTest, ShowDealFillsEveryFieldAsTypedWithoutMessages)
{
    start();
    Deal d = everyFieldFilled();
    d.appraisal = QStringLiteral("not a number"); // no message for a recalled deal
    form->showDeal(d);
    EXPECT_EQ(form->deal(), d);
    EXPECT_TRUE(control(QStringLiteral("txtStock"))->isVisibleTo(form.get()));
    EXPECT_TRUE(control(QStringLiteral("Option1"))->isVisibleTo(form.get()));
    EXPECT_TRUE(control(QStringLiteral("DBCombo2"))->isVisibleTo(form.get()));
    EXPECT_EQ(text(QStringLiteral("ToggleButton1")), QStringLiteral("Yes"));

    d.underAllow = false;
    d.overAllow = false;
    d.split = false;
    form->showDeal(d);
    EXPECT_EQ(form->deal(), d);
    EXPECT_FALSE(control(QStringLiteral("DBCombo2"))->isVisibleTo(form.get()));
}

TEST_F(DealWorksheetTest, ClearKeepsDateYearAndListsAndResetsEverythingElse)
{
    start();
    form->showDeal(everyFieldFilled());
    form->setSalesPersons({QStringLiteral("Ann Lee"), QStringLiteral("Bob Smith")});
    EXPECT_EQ(text(QStringLiteral("DBCombo1")), QStringLiteral("Bob Smith"));
    form->setFlagRecall(true);
    form->applyState(WorksheetState::RecalledAndPaid);
    form->setDealSaved(true);

    QTest::mouseClick(control(QStringLiteral("cmdClear")), Qt::LeftButton);

    Deal cleared;
    cleared.date = QDate(2005, 3, 7);
    cleared.year = QStringLiteral("2004");
    cleared.saleType = QStringLiteral("0");
    cleared.pack = QStringLiteral("$300.00");
    cleared.commissionRate = QStringLiteral("30%");
    cleared.warranty = QStringLiteral("0");
    cleared.spiff = QStringLiteral("0");
    EXPECT_EQ(form->deal(), cleared);
    EXPECT_FALSE(form->isFlagRecall());
    EXPECT_FALSE(form->isDealSaved());
    EXPECT_FALSE(form->isDealPaid());
    EXPECT_EQ(form->state(), WorksheetState::NewDeal);
    EXPECT_EQ(form->command2Caption(), QStringLiteral("Print"));
    EXPECT_TRUE(form->isCommand2Enabled());
    EXPECT_EQ(form->saveCommandCaption(), QStringLiteral("Save"));
    EXPECT_TRUE(form->saveCommandEnabled());
    EXPECT_EQ(text(QStringLiteral("ToggleButton1")), QStringLiteral("No"));
    for (const char *hidden : {"cmdDeleteRecall", "lblWarn", "txtStock", "lblStock", "Option1",
                               "Option2", "DBCombo2", "Label20"})
        EXPECT_FALSE(control(QString::fromLatin1(hidden))->isVisibleTo(form.get())) << hidden;
    EXPECT_EQ(combo(QStringLiteral("DBCombo2"))->count(), 2);
    EXPECT_EQ(combo(QStringLiteral("Combo3"))->count(), 5);
    EXPECT_EQ(combo(QStringLiteral("cboYear"))->count(), 11);
}

// Types the worked deal into the window.
void enterWorkedDeal(DealWorksheet &form)
{
    const auto set = [&form](const char *name, const char *value) {
        form.findChild<QLineEdit *>(QString::fromLatin1(name))->setText(QString::fromLatin1(value));
    };
    set("Text13", "20000");
    set("Text3", "23000");
    set("Text4_0", "1000");
    set("Text4_1", "500");
    set("Text6", "300");
    set("txtSpiff", "50");
    form.findChild<QCheckBox *>(QStringLiteral("Check1"))->setChecked(true);
}

TEST_F(DealWorksheetTest, CalculateShowsTheWorkedFiguresTwiceAlike)
{
    start();
    enterWorkedDeal(*form);
    for (int run = 0; run < 2; ++run) {
        QTest::mouseClick(control(QStringLiteral("Command3")), Qt::LeftButton);
        EXPECT_EQ(text(QStringLiteral("Text21")), QStringLiteral("$3900.00")) << run;
        EXPECT_EQ(text(QStringLiteral("Text23")), QStringLiteral("$1170.00")) << run;
        EXPECT_EQ(text(QStringLiteral("txtWarranty")), QStringLiteral("$30.00")) << run;
        EXPECT_EQ(text(QStringLiteral("txtTotalComm")), QStringLiteral("$1250.00")) << run;
        EXPECT_EQ(text(QStringLiteral("txtSpiff")), QStringLiteral("$50.00")) << run;
    }

    line(QStringLiteral("Text3"))->setText(QStringLiteral("19150"));
    form->calculateCommission();
    EXPECT_EQ(text(QStringLiteral("Text21")), QStringLiteral("$50.00"));
    EXPECT_EQ(text(QStringLiteral("Text23")), QStringLiteral("$100.00"));
    EXPECT_EQ(text(QStringLiteral("txtTotalComm")), QStringLiteral("$180.00"));
}

TEST_F(DealWorksheetTest, EachBadReductionIsReportedEmptiedAndTheFocusEndsOnTheLast)
{
    start();
    showActive();
    line(QStringLiteral("Text4_0"))->setText(QStringLiteral("abc"));
    line(QStringLiteral("Text4_1"))->setText(QStringLiteral("1000"));
    line(QStringLiteral("Text4_2"))->setText(QStringLiteral("12a"));
    line(QStringLiteral("Text4_4"))->setText(QStringLiteral("-"));
    line(QStringLiteral("Text3"))->setText(QStringLiteral("2000"));
    for (int i = 0; i < 3; ++i)
        prompts.expectMessage(QStringLiteral("You must enter an amount in dollars!"), {},
                              Icon::Warning, Buttons::Ok);
    form->calculateCommission();
    QCoreApplication::processEvents();
    prompts.verify();
    for (const char *name : {"Text4_0", "Text4_2", "Text4_4"})
        EXPECT_EQ(text(QString::fromLatin1(name)), QString()) << name;
    EXPECT_EQ(focusedControl(), control(QStringLiteral("Text4_4")));
    // 2000 - (1000 reduction ... ) : the refused ones count as 0.
    EXPECT_EQ(text(QStringLiteral("Text21")), QStringLiteral("$2700.00"));
}

TEST_F(DealWorksheetTest, AmountsBeyondTheRangeAreReportedAndLeaveTheResults)
{
    start();
    line(QStringLiteral("Text6"))->setText(QStringLiteral("900000000000000"));
    line(QStringLiteral("Text8"))->setText(QStringLiteral("900000000000000"));
    line(QStringLiteral("Text21"))->setText(QStringLiteral("$10.00"));
    prompts.expectMessage(QStringLiteral("The amounts are too large to calculate."), {},
                          Icon::Warning, Buttons::Ok);
    form->calculateCommission();
    EXPECT_EQ(text(QStringLiteral("Text21")), QStringLiteral("$10.00"));
}

TEST_F(DealWorksheetTest, StatesShowOnTheButtonsAndTellTheToolbar)
{
    start();
    QSignalSpy toolbar(form.get(), &DealWorksheet::saveCommandChanged);

    form->applyState(WorksheetState::Recalled);
    EXPECT_EQ(form->command2Caption(), QStringLiteral("Update"));
    EXPECT_TRUE(control(QStringLiteral("cmdDeleteRecall"))->isVisibleTo(form.get()));
    EXPECT_FALSE(control(QStringLiteral("lblWarn"))->isVisibleTo(form.get()));
    ASSERT_EQ(toolbar.count(), 1);
    EXPECT_EQ(toolbar.at(0).at(0).toString(), QStringLiteral("Update"));
    EXPECT_TRUE(toolbar.at(0).at(1).toBool());

    // A save leaves the buttons as they are.
    form->applyState(WorksheetState::Saved);
    EXPECT_TRUE(form->isDealSaved());
    EXPECT_EQ(form->command2Caption(), QStringLiteral("Update"));
    EXPECT_EQ(toolbar.count(), 1);

    form->applyState(WorksheetState::RecalledAndPaid);
    EXPECT_TRUE(form->isDealPaid());
    EXPECT_EQ(form->command2Caption(), QStringLiteral("Print"));
    EXPECT_FALSE(form->isCommand2Enabled());
    EXPECT_FALSE(control(QStringLiteral("cmdDeleteRecall"))->isVisibleTo(form.get()));
    EXPECT_TRUE(control(QStringLiteral("lblWarn"))->isVisibleTo(form.get()));
    ASSERT_EQ(toolbar.count(), 2);
    EXPECT_EQ(toolbar.at(1).at(0).toString(), QStringLiteral("Save"));
    EXPECT_FALSE(toolbar.at(1).at(1).toBool());
    EXPECT_EQ(form->saveCommandCaption(), QStringLiteral("Save"));
    EXPECT_FALSE(form->saveCommandEnabled());

    form->clearDeal();
    ASSERT_EQ(toolbar.count(), 3);
    EXPECT_TRUE(toolbar.at(2).at(1).toBool());
}

TEST_F(DealWorksheetTest, ButtonsAskForPrintAndDelete)
{
    start();
    form->showDeleteRecall(true);
    QSignalSpy print(form.get(), &DealWorksheet::printRequested);
    QSignalSpy remove(form.get(), &DealWorksheet::deleteRecallRequested);
    QTest::mouseClick(control(QStringLiteral("Command2")), Qt::LeftButton);
    QTest::mouseClick(control(QStringLiteral("cmdDeleteRecall")), Qt::LeftButton);
    EXPECT_EQ(print.count(), 1);
    EXPECT_EQ(remove.count(), 1);
}

TEST_F(DealWorksheetTest, ActivationAsksForTheRecallOnlyWhileFlagged)
{
    start();
    QSignalSpy recall(form.get(), &DealWorksheet::recallActivated);
    showActive();
    EXPECT_EQ(recall.count(), 0);

    form->setFlagRecall(true);
    activateAnotherWindowAndReturn();
    EXPECT_EQ(recall.count(), 1);

    form->clearDeal();
    form->handleActivation();
    EXPECT_EQ(recall.count(), 1);
}

TEST_F(DealWorksheetTest, CloseGuardCanKeepTheWindowOpen)
{
    start();
    form->show();
    bool allow = false;
    int asked = 0;
    form->setCloseGuard([&] {
        ++asked;
        return allow;
    });
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    allow = true;
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(asked, 2);
}

TEST(CenterForm, CentresOnTheScreenAndLetsLargeWindowsOverhang)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget small;
    small.resize(200, 100);
    CenterForm(&small);
    EXPECT_EQ(small.pos(), QPoint(area.left() + (area.width() - 200) / 2,
                                  area.top() + (area.height() - 100) / 2));

    QWidget large;
    large.resize(area.width() + 400, area.height() + 300);
    CenterForm(&large);
    EXPECT_LT(large.x(), 0);
    EXPECT_LT(large.y(), 0);

    CenterForm(nullptr); // nothing to do
}

} // namespace
