#include "admin/ui/pay_plan_window.h"
#include "store/deal_store.h"
#include "store/pay_plan_store.h"
#include "tables_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace {

using Answer = Prompts::Answer;
using Buttons = Prompts::Buttons;
using Icon = Prompts::Icon;

const QString kTitle = QStringLiteral("Pay Plans");

class PayPlanWindowTest : public TablesTest
{
protected:
    PayPlanWindowTest()
    {
        setSalesPersons({QStringLiteral("John Smith"), QStringLiteral("Renée Côté")});
        StandingFigures standing;
        standing.newPack = QStringLiteral("300");
        standing.usedPack = QStringLiteral("500");
        standing.commission = QStringLiteral("30");
        standing.mini = QStringLiteral("100");
        standing.warranty = QStringLiteral("30");
        window = std::make_unique<PayPlanWindow>(*m_database, m_prompts,
                                                 [standing] { return standing; });
    }

    QString field(const char *name) { return edit(*window, QString::fromLatin1(name))->text(); }
    void type(const char *name, const QString &text)
    {
        edit(*window, QString::fromLatin1(name))->setText(text);
    }
    QPushButton *button(const char *name)
    {
        return window->findChild<QPushButton *>(QString::fromLatin1(name));
    }
    int versionCount() { return int(column(QStringLiteral("SELECT COUNT(*) FROM PayPlanVersions")).value(0).toInt()); }
    QString note() { return window->findChild<QLabel *>(QStringLiteral("lblNote"))->text(); }
    void chooseSalesPerson(int row)
    {
        window->findChild<QListWidget *>(QStringLiteral("lstSalesPersons"))->setCurrentRow(row);
    }
    // Adds John Smith's version from `date` with the figures of the form.
    void addVersion(const QString &date)
    {
        window->addVersion();
        type("txtEffectiveFrom", date);
        window->saveVersion();
    }
    void expectRefusal(const QString &message)
    {
        m_prompts.expectMessage(message, kTitle, Icon::Warning, Buttons::Ok);
    }

    std::unique_ptr<PayPlanWindow> window;
};

TEST_F(PayPlanWindowTest, ASalespersonWithoutAPlanUsesTheStandingFigures)
{
    EXPECT_EQ(window->objectName(), QStringLiteral("frmPayPlans"));
    EXPECT_EQ(window->salesPerson(), QStringLiteral("John Smith"));
    EXPECT_EQ(note(), QStringLiteral("John Smith has no pay plan: the standing figures apply. Add "
                                     "gives a plan."));
    EXPECT_FALSE(button("cmdSave")->isEnabled());
    EXPECT_FALSE(button("cmdDelete")->isEnabled());

    // Add starts from the standing figures, from today.
    window->addVersion();
    EXPECT_EQ(field("txtEffectiveFrom"), QDate::currentDate().toString(QStringLiteral("MM/dd/yyyy")));
    EXPECT_EQ(field("txtCommissionNC"), QStringLiteral("30"));
    EXPECT_EQ(field("txtMiniUT"), QStringLiteral("100"));
    EXPECT_EQ(field("txtPackNT"), QStringLiteral("300"));
    EXPECT_EQ(field("txtPackUC"), QStringLiteral("500"));
    EXPECT_EQ(field("txtCap"), QString());
    EXPECT_EQ(field("txtWarranty"), QStringLiteral("30"));
    type("txtEffectiveFrom", QStringLiteral("03/15/2026"));
    type("txtCommissionNC", QStringLiteral("27.5"));
    window->findChild<QComboBox *>(QStringLiteral("cboKindUC"))->setCurrentIndex(1);
    type("txtCommissionUC", QStringLiteral("250"));
    window->saveVersion();

    const auto versions = PayPlanStore(*m_database).versionsOf(QStringLiteral("John Smith"));
    ASSERT_TRUE(versions);
    ASSERT_EQ(versions->size(), 1);
    EXPECT_EQ(versions->at(0).effectiveFrom, QDate(2026, 3, 15));
    EXPECT_EQ(versions->at(0).terms[0].percent, Money::fromUnits(275000));
    EXPECT_EQ(versions->at(0).terms[2].kind, PlanTerms::Kind::Flat);
    EXPECT_EQ(versions->at(0).terms[2].flat, Money::dollars(250));
    EXPECT_EQ(window->shownVersion()->id, versions->at(0).id);
    auto *grid = window->findChild<QTableWidget *>(QStringLiteral("grdVersions"));
    EXPECT_EQ(grid->item(0, 0)->text(), QStringLiteral("03/15/2026"));
    EXPECT_EQ(grid->item(0, 1)->text(), QStringLiteral("No"));
}

// Each bad figure is named in a message and nothing is saved; the form keeps
// what was typed.
TEST_F(PayPlanWindowTest, BadFiguresAreRefusedByNameAndNothingIsSaved)
{
    addVersion(QStringLiteral("03/01/2026"));
    ASSERT_EQ(versionCount(), 1);
    struct Case
    {
        const char *field;
        const char *typed;
        const char *message;
    };
    const Case cases[] = {
        {"txtCommissionNT", "101", "The New Truck commission must be a percent from 0 to 100."},
        {"txtPackUT", "-1", "The Used Truck pack must not be negative."},
        {"txtMiniNC", "lots", "The New Car mini deal \"lots\" is not an amount."},
        {"txtCap", "50", "The cap $50.00 is below the New Car mini deal $100.00: a deal's "
                         "commission could not be both."},
        {"txtEffectiveFrom", "13/01/2026",
         "The effective date \"13/01/2026\" is not a date: type it as MM/DD/YYYY."},
        {"txtEffectiveFrom", "03/01/2026",
         "John Smith already has a version from 03/01/2026: choose another date, or change that "
         "version."},
    };
    for (const Case &c : cases) {
        window->addVersion();
        type("txtEffectiveFrom", QStringLiteral("04/01/2026"));
        type(c.field, QString::fromLatin1(c.typed));
        expectRefusal(QString::fromLatin1(c.message));
        window->saveVersion();
        m_prompts.verify();
        EXPECT_EQ(field(c.field), QString::fromLatin1(c.typed));
        // The draft is dropped without saving before the next case.
        m_prompts.expectMessage(QStringLiteral("The new version of John Smith is not saved. Drop it?"),
                                kTitle, Icon::Question, Buttons::YesNo, Answer::Yes);
    }
    window->close();
    EXPECT_EQ(versionCount(), 1);
}

// A version a saved deal was worked out by is shown read-only; asked to
// change or delete it, the window says why not.
TEST_F(PayPlanWindowTest, AUsedVersionSaysItCannotBeChanged)
{
    addVersion(QStringLiteral("03/01/2026"));
    const qint64 id = window->shownVersion()->id;
    Deal deal;
    deal.date = QDate(2026, 3, 2);
    deal.salesPerson = QStringLiteral("John Smith");
    deal.stockNumber = QStringLiteral("4471");
    deal.payableGross = QStringLiteral("1000");
    deal.pack = QStringLiteral("300");
    deal.planVersion = id;
    QString error;
    ASSERT_TRUE(DealStore(*m_database).save(deal, &error)) << error.toStdString();

    window->reload();
    EXPECT_TRUE(edit(*window, QStringLiteral("txtCommissionNC"))->isReadOnly());
    EXPECT_EQ(note(), QStringLiteral("Saved deals were worked out with this version: it cannot be "
                                     "changed. A change to the plan is a new version from a later "
                                     "date (Add)."));
    expectRefusal(QStringLiteral("Saved deals were worked out with this version, so it cannot be "
                                 "changed any more. To change the plan, add a new version from a "
                                 "later date."));
    window->saveVersion();
    expectRefusal(QStringLiteral("Saved deals were worked out with this version, so it cannot be "
                                 "deleted."));
    window->deleteVersion();
    m_prompts.verify();
    EXPECT_EQ(versionCount(), 1);

    // Add copies the version in force and gives a new one from a later date.
    window->addVersion();
    EXPECT_EQ(field("txtCommissionNC"), QStringLiteral("30"));
    EXPECT_FALSE(edit(*window, QStringLiteral("txtCommissionNC"))->isReadOnly());
    type("txtEffectiveFrom", QStringLiteral("04/01/2026"));
    type("txtCommissionNC", QStringLiteral("32"));
    window->saveVersion();
    EXPECT_EQ(versionCount(), 2);
    EXPECT_EQ(window->shownVersion()->effectiveFrom, QDate(2026, 4, 1));
}

// The draw a month is typed beside the cap and warranty, recoverable unless
// unchecked; a bad one is refused by name, and a used version shows its draw
// as it was.
TEST_F(PayPlanWindowTest, TheDrawIsSavedWithTheVersionAndShownAsSaved)
{
    auto *recoverable = window->findChild<QCheckBox *>(QStringLiteral("chkDrawRecoverable"));
    ASSERT_NE(recoverable, nullptr);
    EXPECT_EQ(recoverable->text(), QStringLiteral("Recoverable"));
    window->addVersion();
    EXPECT_EQ(field("txtDraw"), QString());
    EXPECT_TRUE(recoverable->isChecked());
    type("txtEffectiveFrom", QStringLiteral("03/01/2026"));
    type("txtDraw", QStringLiteral("-$500.00"));
    expectRefusal(QStringLiteral("The draw per month must not be negative."));
    window->saveVersion();
    m_prompts.verify();
    type("txtDraw", QStringLiteral("five hundred"));
    expectRefusal(QStringLiteral("The draw per month \"five hundred\" is not an amount."));
    window->saveVersion();
    m_prompts.verify();
    ASSERT_EQ(versionCount(), 0);

    type("txtDraw", QStringLiteral("$1,200.00"));
    recoverable->setChecked(false);
    window->saveVersion();
    const auto versions = PayPlanStore(*m_database).versionsOf(QStringLiteral("John Smith"));
    ASSERT_TRUE(versions);
    ASSERT_EQ(versions->size(), 1);
    EXPECT_EQ(versions->at(0).drawPerMonth, Money::dollars(1200));
    EXPECT_FALSE(versions->at(0).drawRecoverable);

    // Once a deal was worked out by it, the draw cannot be changed either.
    Deal deal;
    deal.date = QDate(2026, 3, 2);
    deal.salesPerson = QStringLiteral("John Smith");
    deal.stockNumber = QStringLiteral("88120");
    deal.payableGross = QStringLiteral("1000");
    deal.pack = QStringLiteral("300");
    deal.planVersion = versions->at(0).id;
    QString error;
    ASSERT_TRUE(DealStore(*m_database).save(deal, &error)) << error.toStdString();
    window->reload();
    EXPECT_EQ(field("txtDraw"), QStringLiteral("1200"));
    EXPECT_TRUE(edit(*window, QStringLiteral("txtDraw"))->isReadOnly());
    EXPECT_FALSE(recoverable->isChecked());
    EXPECT_FALSE(recoverable->isEnabled());
}

TEST_F(PayPlanWindowTest, AnUnusedVersionIsDeletedAfterTheQuestion)
{
    chooseSalesPerson(1);
    addVersion(QStringLiteral("05/01/2026"));
    ASSERT_EQ(window->salesPerson(), QStringLiteral("Renée Côté"));
    const QString question =
        QStringLiteral("Do you want to delete the pay plan version of Renée Côté from 05/01/2026?");
    m_prompts.expectMessage(question, kTitle, Icon::Question, Buttons::YesNo, Answer::No);
    window->deleteVersion();
    EXPECT_EQ(versionCount(), 1);
    m_prompts.expectMessage(question, kTitle, Icon::Question, Buttons::YesNo, Answer::Yes);
    window->deleteVersion();
    EXPECT_EQ(versionCount(), 0);
    EXPECT_EQ(window->shownVersion(), std::nullopt);
}

// Every control of the form is reached with the Tab key, in reading order.
TEST_F(PayPlanWindowTest, TheKeyboardReachesEveryControlInOrder)
{
    QStringList expected{"lstSalesPersons", "grdVersions", "txtEffectiveFrom"};
    for (const char *code : {"NC", "NT", "UC", "UT"}) {
        for (const char *prefix : {"cboKind", "txtCommission", "txtMini", "txtPack"})
            expected << QString::fromLatin1(prefix) + QString::fromLatin1(code);
    }
    expected << "txtCap" << "txtWarranty" << "txtDraw" << "chkDrawRecoverable" << "cmdAdd" << "cmdSave" << "cmdDelete" << "cmdClose";
    QStringList chain;
    QWidget *first = window->findChild<QWidget *>(QStringLiteral("lstSalesPersons"));
    QWidget *w = first;
    do {
        if (expected.contains(w->objectName()))
            chain << w->objectName();
        w = w->nextInFocusChain();
    } while (w != first);
    EXPECT_EQ(chain, expected);
}

// The tiers on either engine: typed in the grid, saved with the version,
// shown again as saved, copied by Add and changed while no deal uses them.
class PayPlanTiersOnEngines : public TablesTest,
                              public ::testing::WithParamInterface<StoreEngine::Engine>
{
protected:
    PayPlanTiersOnEngines() : TablesTest(GetParam()) {}

    void SetUp() override
    {
        if (GetParam() == StoreEngine::Engine::PostgreSQL)
            SKIP_WITHOUT_TEST_SERVER();
        setSalesPersons({QStringLiteral("John Smith"), QStringLiteral("Renée Côté")});
        window = std::make_unique<PayPlanWindow>(*m_database, m_prompts, [] {
            StandingFigures standing;
            standing.commission = QStringLiteral("25");
            return standing;
        });
        window->findChild<QListWidget *>(QStringLiteral("lstSalesPersons"))->setCurrentRow(1);
    }

    QTableWidget *tiers() { return window->findChild<QTableWidget *>(QStringLiteral("grdTiers")); }
    QComboBox *combo(const char *name)
    {
        return window->findChild<QComboBox *>(QString::fromLatin1(name));
    }
    QPushButton *button(const char *name)
    {
        return window->findChild<QPushButton *>(QString::fromLatin1(name));
    }
    // Adds a tier row with Add Tier and types its four cells: the first into
    // the editor Add Tier opens there, as a person would.
    void typeTier(const QStringList &cells)
    {
        button("cmdAddTier")->click();
        const int row = tiers()->rowCount() - 1;
        ASSERT_EQ(tiers()->currentRow(), row);
        QLineEdit *editor = nullptr;
        for (QLineEdit *e : tiers()->viewport()->findChildren<QLineEdit *>())
            editor = e;
        ASSERT_NE(editor, nullptr);
        editor->setText(cells.at(0));
        for (int column = 1; column < 4; ++column)
            tiers()->item(row, column)->setText(cells.at(column));
    }
    QStringList tierRow(int row)
    {
        QStringList cells;
        for (int column = 0; column < 4; ++column)
            cells << tiers()->item(row, column)->text();
        return cells;
    }
    QList<PayPlanVersion> versions()
    {
        QString error;
        const auto read =
            PayPlanStore(*m_database).versionsOf(QStringLiteral("Renée Côté"), &error);
        EXPECT_TRUE(read) << error.toStdString();
        return read.value_or(QList<PayPlanVersion>());
    }

    std::unique_ptr<PayPlanWindow> window;
};

INSTANTIATE_TEST_SUITE_P(
    Engines, PayPlanTiersOnEngines,
    ::testing::Values(StoreEngine::Engine::SQLite, StoreEngine::Engine::PostgreSQL),
    [](const ::testing::TestParamInfo<StoreEngine::Engine> &engine) {
        return std::string(engine.param == StoreEngine::Engine::SQLite ? "SQLite" : "PostgreSQL");
    });

TEST_P(PayPlanTiersOnEngines, TiersAreSavedShownCopiedAndChanged)
{
    QStringList texts;
    for (int column = 0; column < tiers()->columnCount(); ++column)
        texts << tiers()->horizontalHeaderItem(column)->text();
    for (const char *name : {"cboTierMode", "cboTierClasses"}) {
        for (int i = 0; i < combo(name)->count(); ++i)
            texts << combo(name)->itemText(i);
    }
    EXPECT_EQ(texts, (QStringList{"Units From", "Percent", "Bonus a Unit", "Mini", "Retroactive",
                                  "Marginal", "All classes", "New only", "Used only"}));

    window->addVersion();
    edit(*window, QStringLiteral("txtEffectiveFrom"))->setText(QStringLiteral("03/01/2026"));
    typeTier({"12", "28%", "", ""});
    typeTier({"", "", "", ""}); // a blank row is no tier
    typeTier({"20", "33", "", "$250.00"});
    typeTier({"25.5", "", "$75.00", ""});
    combo("cboTierMode")->setCurrentIndex(1);
    combo("cboTierClasses")->setCurrentIndex(1);
    window->saveVersion();
    m_prompts.verify();

    QList<PayPlanVersion> saved = versions();
    ASSERT_EQ(saved.size(), 1);
    const QList<VolumeTier> expected{
        {Money::dollars(12), Money::dollars(28), std::nullopt, std::nullopt},
        {Money::dollars(20), Money::dollars(33), std::nullopt, Money::dollars(250)},
        {Money::fromUnits(255000), std::nullopt, Money::dollars(75), std::nullopt}};
    EXPECT_EQ(saved.at(0).tiers, expected);
    EXPECT_EQ(saved.at(0).tierMode, TierMode::Marginal);
    EXPECT_EQ(saved.at(0).tierClasses, TierClasses::NewOnly);

    // Shown again as saved, the blank row gone.
    window->reload();
    ASSERT_EQ(tiers()->rowCount(), 3);
    EXPECT_EQ(tierRow(0), (QStringList{"12", "28", "", ""}));
    EXPECT_EQ(tierRow(1), (QStringList{"20", "33", "", "250"}));
    EXPECT_EQ(tierRow(2), (QStringList{"25.5", "", "75", ""}));
    EXPECT_EQ(combo("cboTierMode")->currentText(), QStringLiteral("Marginal"));
    EXPECT_EQ(combo("cboTierClasses")->currentText(), QStringLiteral("New only"));

    // Add copies them into the new version.
    window->addVersion();
    EXPECT_EQ(tiers()->rowCount(), 3);
    EXPECT_EQ(tierRow(2), (QStringList{"25.5", "", "75", ""}));
    edit(*window, QStringLiteral("txtEffectiveFrom"))->setText(QStringLiteral("04/01/2026"));
    window->saveVersion();
    saved = versions();
    ASSERT_EQ(saved.size(), 2);
    EXPECT_EQ(saved.at(0).effectiveFrom, QDate(2026, 4, 1));
    EXPECT_EQ(saved.at(0).tiers, expected);
    EXPECT_EQ(saved.at(0).tierMode, TierMode::Marginal);

    // The April version, used by no deal, loses its first tier and counts
    // used units only, retroactively; March keeps its tiers.
    ASSERT_EQ(window->shownVersion()->effectiveFrom, QDate(2026, 4, 1));
    tiers()->setCurrentCell(0, 1);
    button("cmdRemoveTier")->click();
    combo("cboTierMode")->setCurrentIndex(0);
    combo("cboTierClasses")->setCurrentIndex(2);
    window->saveVersion();
    saved = versions();
    ASSERT_EQ(saved.size(), 2);
    EXPECT_EQ(saved.at(0).tiers, expected.mid(1));
    EXPECT_EQ(saved.at(0).tierMode, TierMode::Retroactive);
    EXPECT_EQ(saved.at(0).tierClasses, TierClasses::UsedOnly);
    EXPECT_EQ(saved.at(1).tiers, expected);
    m_prompts.verify();
}

// Tiers out of order are refused by name and nothing is saved; once they
// are put right, the version is saved with them.
TEST_P(PayPlanTiersOnEngines, TiersOutOfOrderAreRefused)
{
    window->addVersion();
    edit(*window, QStringLiteral("txtEffectiveFrom"))->setText(QStringLiteral("05/01/2026"));
    typeTier({"20", "33", "", ""});
    typeTier({"12", "28", "", ""});
    m_prompts.expectMessage(QStringLiteral("Tier 2 starts from 12 units, not above tier 1 (20 "
                                           "units): list the tiers from the fewest units up, each "
                                           "from a count of its own."),
                            kTitle, Icon::Warning, Buttons::Ok);
    window->saveVersion();
    m_prompts.verify();
    EXPECT_TRUE(versions().isEmpty());
    EXPECT_EQ(tierRow(1), (QStringList{"12", "28", "", ""}));

    tiers()->item(0, 0)->setText(QStringLiteral("8"));
    window->saveVersion();
    const QList<PayPlanVersion> saved = versions();
    ASSERT_EQ(saved.size(), 1);
    ASSERT_EQ(saved.at(0).tiers.size(), 2);
    EXPECT_EQ(saved.at(0).tiers.at(0).unitsFrom, Money::dollars(8));
    EXPECT_EQ(saved.at(0).tiers.at(1).percent, Money::dollars(28));
}

// A version a saved deal was worked out by shows its tiers but takes no
// change to them.
TEST_P(PayPlanTiersOnEngines, AUsedVersionsTiersAreReadOnly)
{
    window->addVersion();
    edit(*window, QStringLiteral("txtEffectiveFrom"))->setText(QStringLiteral("03/01/2026"));
    typeTier({"12", "28", "", ""});
    window->saveVersion();
    Deal deal;
    deal.date = QDate(2026, 3, 9);
    deal.salesPerson = QStringLiteral("Renée Côté");
    deal.stockNumber = QStringLiteral("30417");
    deal.payableGross = QStringLiteral("2400");
    deal.pack = QStringLiteral("300");
    deal.planVersion = window->shownVersion()->id;
    QString error;
    ASSERT_TRUE(DealStore(*m_database).save(deal, &error)) << error.toStdString();

    window->reload();
    ASSERT_EQ(tiers()->rowCount(), 1);
    EXPECT_EQ(tierRow(0), (QStringList{"12", "28", "", ""}));
    EXPECT_EQ(tiers()->editTriggers(), QAbstractItemView::NoEditTriggers);
    for (const char *name : {"cmdAddTier", "cmdRemoveTier"})
        EXPECT_FALSE(button(name)->isEnabled()) << name;
    for (const char *name : {"cboTierMode", "cboTierClasses"})
        EXPECT_FALSE(combo(name)->isEnabled()) << name;
    window->addTier();
    tiers()->setCurrentCell(0, 0);
    window->removeTier();
    EXPECT_EQ(tiers()->rowCount(), 1);

    // Add gives a new version whose tiers can be changed.
    window->addVersion();
    EXPECT_NE(tiers()->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_TRUE(button("cmdAddTier")->isEnabled());
    EXPECT_TRUE(combo("cboTierMode")->isEnabled());
    m_prompts.expectMessage(QStringLiteral("The new version of Renée Côté is not saved. Drop it?"),
                            kTitle, Icon::Question, Buttons::YesNo, Answer::Yes);
    window->close();
    m_prompts.verify();
}

// With the tiers below the plan's figures, the window still fits a
// 1024 x 768 screen with room for its frame and a task bar.
TEST_F(PayPlanWindowTest, FitsA1024By768Screen)
{
    EXPECT_LE(window->sizeHint().width(), 1024 - 16);
    EXPECT_LE(window->sizeHint().height(), 768 - 80);
    EXPECT_LE(window->minimumSizeHint().height(), 768 - 80);
}

} // namespace
