#include "deal_worksheet_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

using Icon = Prompts::Icon;
using Buttons = Prompts::Buttons;

const char *const kValid = "You must enter a valid number";
const char *const kDollars = "You must enter an amount in dollars!";

struct LeaveCase
{
    const char *name;
    const char *field;
    const char *typed;
    const char *message; // nullptr: none
    Icon icon;
    const char *afterwards;
    bool focusBack;
    // Another field and what it holds after the leave, if any.
    const char *otherField = nullptr;
    const char *otherText = nullptr;
};

void PrintTo(const LeaveCase &c, std::ostream *out)
{
    *out << c.name << ": " << c.field << " typed \"" << c.typed << "\", message "
         << (c.message ? c.message : "(none)") << ", afterwards \"" << c.afterwards << '"'
         << (c.focusBack ? ", focus back" : "");
    if (c.otherField)
        *out << ", " << c.otherField << " \"" << c.otherText << '"';
}

class FieldLeave : public DealWorksheetTest, public ::testing::WithParamInterface<LeaveCase>
{
};

// Types into the field, leaves it for the date picker (which has no check
// of its own) and looks at what the check did.
TEST_P(FieldLeave, ChecksTheFieldWhenItIsLeft)
{
    const LeaveCase &c = GetParam();
    start();
    form->setSalesPersons({});
    combo(QStringLiteral("Combo3"))->setEditText(QStringLiteral("Dealer Cash"));
    combo(QStringLiteral("Combo12"))->setEditText(QStringLiteral("A"));
    showActive();

    QWidget *field = control(QString::fromLatin1(c.field));
    moveFocusTo(field);
    if (auto *comboBox = qobject_cast<QComboBox *>(field))
        comboBox->setEditText(QString::fromLatin1(c.typed));
    else
        QTest::keyClicks(field, QString::fromLatin1(c.typed));

    if (c.message)
        prompts.expectMessage(QString::fromLatin1(c.message), {}, c.icon, Buttons::Ok);
    moveFocusTo(control(QStringLiteral("dtpDate")));
    prompts.verify();

    EXPECT_EQ(text(QString::fromLatin1(c.field)).toStdString(), c.afterwards);
    EXPECT_EQ(focusedControl() == field, c.focusBack);
    if (c.otherField) {
        EXPECT_EQ(text(QString::fromLatin1(c.otherField)).toStdString(), c.otherText);
    }

    // Leaving again without a change asks again only about a refused text
    // that was left in the field.
    if (c.focusBack && QByteArray(c.afterwards) == c.typed)
        prompts.expectMessage(QString::fromLatin1(c.message), {}, c.icon, Buttons::Ok);
    moveFocusTo(control(QStringLiteral("dtpDate")));
}

INSTANTIATE_TEST_SUITE_P(
    Fields, FieldLeave,
    ::testing::Values(
        LeaveCase{"PriceNotANumber", "Text3", "12a", kValid, Icon::None, "", true},
        LeaveCase{"PriceGrouped", "Text3", "$1,250.50", nullptr, Icon::None, "$1,250.50", false},
        LeaveCase{"CostNotANumberStays", "Text13", "12a", kValid, Icon::None, "12a", true},
        LeaveCase{"PackNotANumber", "Text2", "x", kValid, Icon::None, "", true},
        LeaveCase{"PackInCurrencyForm", "Text2", "1250", nullptr, Icon::None, "$1,250.00", false},
        LeaveCase{"WarrantyNotANumber", "txtWarranty", "x", kValid, Icon::None, "", true},
        LeaveCase{"Addition1", "Text6", "12a", kDollars, Icon::Warning, "", true},
        LeaveCase{"Addition2", "Text8", "12a", kDollars, Icon::Warning, "", true},
        LeaveCase{"Addition3", "Text10", "-", kDollars, Icon::Warning, "", true},
        LeaveCase{"Addition4", "Text12", "abc", kDollars, Icon::Warning, "", true},
        LeaveCase{"Addition5", "Text5", "1.2.3", kDollars, Icon::Warning, "", true},
        LeaveCase{"AdditionBeyondRange", "Text5", "9999999999999999", kDollars, Icon::Warning, "",
                  true},
        LeaveCase{"AdditionFine", "Text5", "125.5", nullptr, Icon::None, "125.5", false},
        // Forms without a digit, and digits the calculation would drop.
        LeaveCase{"PriceDollarPoint", "Text3", "$.", kValid, Icon::None, "", true},
        LeaveCase{"CostNegativeDollarPoint", "Text13", "-$.", kValid, Icon::None, "-$.", true},
        LeaveCase{"WarrantyDollarSignPoint", "txtWarranty", "$-.", kValid, Icon::None, "", true},
        LeaveCase{"AdditionNineteenDecimals", "Text6", "0.0000000000000000051", kDollars,
                  Icon::Warning, "", true},
        LeaveCase{"PriceEighteenDecimals", "Text3", "1.000000000000000005", nullptr, Icon::None,
                  "1.000000000000000005", false},
        LeaveCase{"PriceZerosPastEighteen", "Text3", "$2.50000000000000000000", nullptr,
                  Icon::None, "$2.50000000000000000000", false},
        LeaveCase{"SpiffBecomesZero", "txtSpiff", "abc", kDollars, Icon::Warning, "0", true},
        LeaveCase{"ReductionUnchecked", "Text4_0", "abc", nullptr, Icon::None, "abc", false},
        LeaveCase{"RateUnchecked", "Text22", "abc%", nullptr, Icon::None, "abc%", false},
        LeaveCase{"StockNumber8", "Text1", "12345678", nullptr, Icon::None, "12345678", false},
        LeaveCase{"StockNumber9", "Text1", "123456789", "Stock number must be less than 8 digits",
                  Icon::None, "123456789", true},
        LeaveCase{"Customer22", "txtCustomer", "ABCDEFGHIJKLMNOPQRSTUV", nullptr, Icon::None,
                  "ABCDEFGHIJKLMNOPQRSTUV", false},
        LeaveCase{"Customer23", "txtCustomer", "ABCDEFGHIJKLMNOPQRSTUVW",
                  "Customer's name must be 22 characters or less!", Icon::None,
                  "ABCDEFGHIJKLMNOPQRSTUVW", true},
        LeaveCase{"Unit20", "cboUnit", "ABCDEFGHIJKLMNOPQRST", nullptr, Icon::None,
                  "ABCDEFGHIJKLMNOPQRST", false},
        LeaveCase{"Unit21", "cboUnit", "ABCDEFGHIJKLMNOPQRSTU",
                  "Unit discription must be 20 characters or less", Icon::None,
                  "ABCDEFGHIJKLMNOPQRSTU", true},
        LeaveCase{"UsedTruck", "txtTCU", "UT", nullptr, Icon::None, "UT", false, "Text2",
                  "$500.00"},
        LeaveCase{"UsedCarResetsSaleType", "txtTCU", "UC", nullptr, Icon::None, "UC", false,
                  "Combo12", "0"},
        LeaveCase{"LowerCaseIsNew", "txtTCU", "ut", nullptr, Icon::None, "ut", false, "Text2",
                  "$300.00"},
        LeaveCase{"NewKeepsSaleType", "txtTCU", "NC", nullptr, Icon::None, "NC", false, "Combo12",
                  "A"},
        LeaveCase{"SaleTypeZ", "Combo12", "Z", nullptr, Icon::None, "Z", false, "Combo3",
                  "A/X/Z Cash"},
        LeaveCase{"SaleTypeE", "Combo12", "E", nullptr, Icon::None, "E", false, "Combo3", ""},
        LeaveCase{"SaleTypeTwoLetters", "Combo12", "AB", "Must be 1 character only", Icon::None,
                  "AB", false, "Combo3", ""},
        LeaveCase{"SaleTypeEmpty", "Combo12", "", "Must be 1 character only", Icon::None, "", false,
                  "Combo3", ""}),
    [](const ::testing::TestParamInfo<LeaveCase> &param) { return param.param.name; });

// A check that puts the focus back does not set off the check of the field
// the user was going to; that field is checked when it is really left.
TEST_F(DealWorksheetTest, AFieldTakingTheFocusBackDoesNotCheckTheNextOne)
{
    start();
    showActive();
    line(QStringLiteral("Text13"))->setText(QStringLiteral("bad"));
    moveFocusTo(line(QStringLiteral("Text3")));
    QTest::keyClicks(line(QStringLiteral("Text3")), QStringLiteral("12a"));

    prompts.expectMessage(QString::fromLatin1(kValid), {}, Icon::None, Buttons::Ok);
    moveFocusTo(line(QStringLiteral("Text13")));
    prompts.verify();
    EXPECT_EQ(focusedControl(), line(QStringLiteral("Text3")));

    moveFocusTo(line(QStringLiteral("Text13")));
    EXPECT_EQ(prompts.recorded().size(), 1);
    prompts.expectMessage(QString::fromLatin1(kValid), {}, Icon::None, Buttons::Ok);
    moveFocusTo(line(QStringLiteral("Text3")));
    prompts.verify();
    EXPECT_EQ(focusedControl(), line(QStringLiteral("Text13")));
}

// Only a move to another control of the program leaves a field: the window
// losing activation (to a message box, another window) does not.
TEST_F(DealWorksheetTest, LosingActivationLeavesNoField)
{
    start();
    showActive();
    moveFocusTo(line(QStringLiteral("Text3")));
    QTest::keyClicks(line(QStringLiteral("Text3")), QStringLiteral("12a"));

    activateAnotherWindowAndReturn();
    EXPECT_TRUE(prompts.recorded().isEmpty());
    EXPECT_EQ(focusedControl(), line(QStringLiteral("Text3")));
}

// Coming back to the window in another control than the one left is a leave:
// the field left behind is checked then.
TEST_F(DealWorksheetTest, ComingBackIntoAnotherControlChecksTheFieldLeft)
{
    start();
    showActive();
    moveFocusTo(line(QStringLiteral("Text3")));
    QTest::keyClicks(line(QStringLiteral("Text3")), QStringLiteral("12a"));

    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    line(QStringLiteral("Text13"))->setFocus(Qt::MouseFocusReason); // a click while inactive
    prompts.expectMessage(QString::fromLatin1(kValid), {}, Icon::None, Buttons::Ok);
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QCoreApplication::processEvents();
    prompts.verify();
    EXPECT_TRUE(line(QStringLiteral("Text3"))->text().isEmpty());
    EXPECT_EQ(focusedControl(), line(QStringLiteral("Text3")));
}

TEST_F(DealWorksheetTest, AppraisalIsCheckedAtEachKeyAndShowsTheTradeStockNumber)
{
    start();
    showActive();
    QLineEdit *appraisal = line(QStringLiteral("Text19"));
    moveFocusTo(appraisal);
    prompts.expectMessage(QString::fromLatin1(kValid), {}, Icon::None, Buttons::Ok);
    QTest::keyClick(appraisal, Qt::Key_Minus);
    prompts.verify();
    EXPECT_EQ(appraisal->text(), QStringLiteral("-"));
    EXPECT_EQ(focusedControl(), appraisal);
    EXPECT_TRUE(control(QStringLiteral("txtStock"))->isVisible());
    EXPECT_TRUE(control(QStringLiteral("lblStock"))->isVisible());

    QTest::keyClicks(appraisal, QStringLiteral("500"));
    appraisal->clear();
    EXPECT_FALSE(control(QStringLiteral("txtStock"))->isVisible());
    EXPECT_FALSE(control(QStringLiteral("lblStock"))->isVisible());
}

TEST_F(DealWorksheetTest, ClearingTheAllowanceHidesTheOptionsButKeepsTheChoice)
{
    start();
    showActive();
    QLineEdit *allowance = line(QStringLiteral("Text20"));
    auto *under = control<QRadioButton>(QStringLiteral("Option1"));
    QTest::keyClicks(allowance, QStringLiteral("400"));
    EXPECT_TRUE(under->isVisible());
    EXPECT_TRUE(control(QStringLiteral("Option2"))->isVisible());
    QTest::mouseClick(under, Qt::LeftButton);
    allowance->clear();
    EXPECT_FALSE(under->isVisible());
    EXPECT_TRUE(under->isChecked());
    EXPECT_TRUE(form->deal().underAllow);
}

TEST_F(DealWorksheetTest, SplitToggleShowsThePartner)
{
    start();
    showActive();
    auto *toggle = control<QPushButton>(QStringLiteral("ToggleButton1"));
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_EQ(toggle->text(), QStringLiteral("Yes"));
    EXPECT_TRUE(control(QStringLiteral("DBCombo2"))->isVisible());
    EXPECT_TRUE(control(QStringLiteral("Label20"))->isVisible());
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_EQ(toggle->text(), QStringLiteral("No"));
    EXPECT_FALSE(control(QStringLiteral("DBCombo2"))->isVisible());
    EXPECT_FALSE(control(QStringLiteral("Label20"))->isVisible());
}

// A commission typed over is re-totalled as it stands, below the mini deal.
TEST_F(DealWorksheetTest, OvertypedCommissionIsRetotalledWithoutTheMiniDeal)
{
    start();
    showActive();
    line(QStringLiteral("Text3"))->setText(QStringLiteral("23000"));
    line(QStringLiteral("Text13"))->setText(QStringLiteral("19000"));
    line(QStringLiteral("txtSpiff"))->setText(QStringLiteral("50"));
    control<QCheckBox>(QStringLiteral("Check1"))->setChecked(true);
    form->calculateCommission();

    QLineEdit *commission = line(QStringLiteral("Text23"));
    moveFocusTo(commission);
    commission->selectAll();
    QTest::keyClicks(commission, QStringLiteral("60"));
    moveFocusTo(control(QStringLiteral("dtpDate")));
    EXPECT_EQ(commission->text(), QStringLiteral("$60.00"));
    EXPECT_EQ(text(QStringLiteral("txtTotalComm")), QStringLiteral("$140.00"));
    EXPECT_EQ(text(QStringLiteral("txtSpiff")), QStringLiteral("$50.00"));

    commission->setText(QStringLiteral("1234.5"));
    moveFocusTo(commission);
    moveFocusTo(control(QStringLiteral("dtpDate")));
    EXPECT_EQ(commission->text(), QStringLiteral("$1,234.50"));
    EXPECT_EQ(text(QStringLiteral("txtTotalComm")), QStringLiteral("$1314.50"));
}

} // namespace
