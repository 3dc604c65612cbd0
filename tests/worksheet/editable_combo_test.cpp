// The worksheet's combos build their completer and list popup only when first
// needed; typing and the list must work as in a combo built whole at once.
#include "deal_worksheet_fixture.h"

#include "worksheet/ui/editable_combo.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QLayout>
#include <QTest>

namespace {

// Types into a combo that has never had the focus, the way the keyboard
// reaches it once it has: through the combo.
TEST_F(DealWorksheetTest, TypingIntoAComboNeverFocusedCompletesFromItsList)
{
    start();
    showActive();
    const struct
    {
        const char *combo;
        const char *typed;
        const char *shown;
    } cases[] = {
        {"Combo3", "Dea", "Dealer Cash"},  // a reduction description
        {"Combo10", "Cap/", "Cap/Cover"},  // an accessory with a slash
        {"Combo1", "Cap\\", "Cap\\Cover"}, // and the same with a backslash
        {"Combo12", "X", "X"},             // sale type
        {"txtTCU", "U", "UT"},             // the first match in list order
        {"Combo4", "dea", "dea"},          // letter case counts
        {"Combo5", "Zzz", "Zzz"},          // free text stays as typed
    };
    for (const auto &c : cases) {
        QComboBox *box = combo(QString::fromLatin1(c.combo));
        moveFocusTo(box);
        QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(c.typed));
        EXPECT_EQ(box->currentText().toStdString(), c.shown) << c.combo;
    }
}

// A combo first reached by a click, not by the Tab key, completes alike.
TEST_F(DealWorksheetTest, AComboFirstClickedCompletesFromItsList)
{
    start();
    showActive();
    QComboBox *box = combo(QStringLiteral("Combo8"));
    QTest::mouseClick(box->lineEdit(), Qt::LeftButton);
    ASSERT_EQ(focusedControl(), box);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Rem"));
    EXPECT_EQ(box->currentText(), QStringLiteral("Remote Start"));
    EXPECT_EQ(box->lineEdit()->selectedText(), QStringLiteral("ote Start"));
}

// The unit list is filled from unit.txt after the combo is built; completion
// offers what the list holds when the user types, also after a reload.
TEST_F(DealWorksheetTest, UnitCompletionFollowsTheUnitList)
{
    writeSetting(QStringLiteral("unit.txt"), "\"Taurus\"\r\n\"Explorer\"\r\n");
    start();
    showActive();
    writeSetting(QStringLiteral("unit.txt"), "\"Taurus\"\r\n\"Escape Hybrid\"\r\n");
    form->reloadStandingFigures();
    QComboBox *unit = combo(QStringLiteral("cboUnit"));
    moveFocusTo(unit);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Esc"));
    EXPECT_EQ(unit->currentText(), QStringLiteral("Escape Hybrid"));
    unit->setEditText(QString());
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Exp"));
    EXPECT_EQ(unit->currentText(), QStringLiteral("Exp"));
}

// Once given, the completer is the one the combo keeps: inline, case
// sensitive, over the combo's own list.
TEST_F(DealWorksheetTest, AComboFocusedOnceKeepsOneCaseSensitiveInlineCompleter)
{
    start();
    showActive();
    QComboBox *box = combo(QStringLiteral("Combo9"));
    moveFocusTo(box);
    QCompleter *completer = box->completer();
    ASSERT_NE(completer, nullptr);
    EXPECT_EQ(completer->model(), box->model());
    EXPECT_EQ(completer->caseSensitivity(), Qt::CaseSensitive);
    EXPECT_EQ(completer->completionMode(), QCompleter::InlineCompletion);
    moveFocusTo(control(QStringLiteral("dtpDate")));
    moveFocusTo(box);
    EXPECT_EQ(box->completer(), completer);
}

// Two worksheet combos never share a completer, whichever is typed in first.
TEST_F(DealWorksheetTest, EachComboCompletesFromItsOwnList)
{
    start();
    showActive();
    QComboBox *reductions = combo(QStringLiteral("Combo6"));
    QComboBox *additions = combo(QStringLiteral("Combo11"));
    moveFocusTo(additions);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Mis"));
    moveFocusTo(reductions);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Mis"));
    EXPECT_EQ(additions->currentText(), QStringLiteral("Misc."));
    EXPECT_EQ(reductions->currentText(), QStringLiteral("Misc. Credit"));
}

// The list popup, built when first opened, is the one an editable combo
// built at once has: every item, a scroll bar when needed, the same kind of
// item drawing and margins.
TEST(EditableCombo, ItsListPopupMatchesAComboMadeEditableAtOnce)
{
    QWidget window;
    const QStringList items = {"TST Pkg.",     "Bedliner",      "Cap/Cover", "Running Boards",
                               "Stripe",       "Certification", "UCI",       "Service",
                               "Detail",       "Spoiler",       "Hypertech", "Bug\\Vent",
                               "Remote Start", "Alarm",         "Misc."};
    QComboBox *lazy = makeEditableCombo(&window, QStringLiteral("lazy"), items);
    auto *eager = new QComboBox(&window);
    eager->setEditable(true);
    eager->addItems(items);
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));

    EXPECT_TRUE(lazy->isEditable());
    EXPECT_EQ(lazy->objectName(), QStringLiteral("lazy"));
    EXPECT_EQ(lazy->currentIndex(), -1);
    EXPECT_EQ(lazy->currentText(), QString());
    EXPECT_EQ(lazy->insertPolicy(), QComboBox::NoInsert);
    lazy->showPopup();
    eager->showPopup();
    QAbstractItemView *lazyList = lazy->view();
    QAbstractItemView *eagerList = eager->view();
    EXPECT_TRUE(lazyList->isVisible());
    EXPECT_EQ(lazyList->model()->rowCount(), 15);
    EXPECT_EQ(lazyList->model()->index(12, 0).data().toString(), QStringLiteral("Remote Start"));
    EXPECT_EQ(lazyList->verticalScrollBarPolicy(), eagerList->verticalScrollBarPolicy());
    EXPECT_STREQ(lazyList->itemDelegate()->metaObject()->className(),
                 eagerList->itemDelegate()->metaObject()->className());
    EXPECT_EQ(lazyList->parentWidget()->contentsMargins(),
              eagerList->parentWidget()->contentsMargins());
    EXPECT_EQ(lazyList->parentWidget()->layout()->contentsMargins(),
              eagerList->parentWidget()->layout()->contentsMargins());
    EXPECT_EQ(lazy->sizeHint(), eager->sizeHint());
    lazy->hidePopup();
    eager->hidePopup();

    // Choosing from the list puts the item in the box.
    lazy->setCurrentIndex(2);
    EXPECT_EQ(lazy->currentText(), QStringLiteral("Cap/Cover"));
}

} // namespace
