// The worksheet's save, recall and delete commands end to end: the real
// worksheet window, the real store on a temporary database, scripted prompts.
#include "scripted_prompts.h"
#include "second_desk.h"
#include "store_test_support.h"

#include "store/ui/deal_commands.h"
#include "store/ui/deal_finder_window.h"
#include "worksheet/ui/deal_worksheet.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlRecord>

#include <functional>

namespace {

using Answer = Prompts::Answer;
using Buttons = Prompts::Buttons;
using Icon = Prompts::Icon;

const QString kSaveQuestion = QStringLiteral("Do you want to save this record?");
const QString kDataError =
    QStringLiteral("There is an error in the data! Make sure you entered all required data.");

class DealCommandsTest : public StoreTest
{
protected:
    DealCommandsTest()
    {
        form = std::make_unique<DealWorksheet>(m_dir.folder(), prompts);
        form->startUp();
        commands = std::make_unique<DealCommands>(*form, *m_store, prompts);
        commands->loadSalesPersons();
    }

    ~DealCommandsTest() override
    {
        commands.reset();
        form.reset();
    }

    void expectSaveQuestion(Answer answer)
    {
        prompts.expectMessage(kSaveQuestion, QStringLiteral("Save Record"), Icon::None,
                              Buttons::YesNoCancel, answer);
    }

    void expectSaved(const QString &customer)
    {
        prompts.expectMessage(QStringLiteral("Data for %1 saved.").arg(customer),
                              QStringLiteral("Save"), Icon::None, Buttons::Ok);
    }

    // Saves the deal on the worksheet, answering Yes.
    void saveShown(const Deal &deal)
    {
        form->showDeal(deal);
        expectSaveQuestion(Answer::Yes);
        expectSaved(deal.customer);
        commands->saveDeal();
        prompts.verify();
    }

    // Finds deals through the finder as the user does and recalls the
    // `position`-th one found (0 = first).
    void recall(const QString &stockNumber, int position = 0)
    {
        commands->openFinder();
        DealFinderWindow *finder = commands->finder();
        ASSERT_NE(finder, nullptr);
        finder->findChild<QLineEdit *>(QStringLiteral("txtSearchString"))->setText(stockNumber);
        finder->findChild<QPushButton *>(QStringLiteral("cmdFind"))->click();
        for (int i = 0; i < position; ++i)
            finder->findChild<QAbstractButton *>(QStringLiteral("cmdNext"))->click();
        finder->findChild<QPushButton *>(QStringLiteral("cmdLoad"))->click();
    }

    bool visible(const QString &name) const
    {
        const QWidget *widget = form->findChild<QWidget *>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget && !widget->isHidden();
    }

    QString text(const QString &name) const
    {
        return form->findChild<QLineEdit *>(name)->text();
    }

    ScriptedPrompts prompts;
    std::unique_ptr<DealWorksheet> form;
    std::unique_ptr<DealCommands> commands;
};

TEST_F(DealCommandsTest, SavingWritesTheDealOnceAndRefusesASecondSave)
{
    saveShown(plainExampleDeal());
    EXPECT_EQ(dealTableCounts(), (std::array<int, 3>{1, 1, 1}));
    EXPECT_TRUE(form->isDealSaved());

    prompts.expectMessage(QStringLiteral("This record has already been saved!"),
                          QStringLiteral("Error!"), Icon::None, Buttons::Ok);
    commands->saveDeal();
    EXPECT_EQ(dealTableCounts(), (std::array<int, 3>{1, 1, 1}));

    // Clearing allows the next deal to be saved.
    form->clearDeal();
    EXPECT_FALSE(form->isDealSaved());
}

TEST_F(DealCommandsTest, NoOrCancelWritesNothing)
{
    form->showDeal(plainExampleDeal());
    for (Answer answer : {Answer::No, Answer::Cancel}) {
        expectSaveQuestion(answer);
        commands->saveDeal();
        EXPECT_EQ(form->messageResult(), answer);
    }
    EXPECT_EQ(dealTableCounts(), (std::array<int, 3>{0, 0, 0}));
    EXPECT_FALSE(form->isDealSaved());
}

TEST_F(DealCommandsTest, ASaveBeforeCalculateTakesTheErrorPathAndLeavesNoRow)
{
    Deal deal = plainExampleDeal();
    deal.payableGross.clear();
    deal.commission.clear();
    deal.totalCommission.clear();
    form->showDeal(deal);
    expectSaveQuestion(Answer::Yes);
    prompts.expectMessage(kDataError, QStringLiteral("Error!"), Icon::Warning, Buttons::Ok);
    commands->saveDeal();

    EXPECT_EQ(dealTableCounts(), (std::array<int, 3>{0, 0, 0}));
    EXPECT_FALSE(form->isDealSaved());
    EXPECT_FALSE(visible(QStringLiteral("cmdDeleteRecall")));
    EXPECT_FALSE(form->isFlagRecall());
    EXPECT_EQ(form->command2Caption(), QStringLiteral("Print"));
}

// A store that cannot take the deal says why; the data message would send
// the user retyping a deal that was right.
TEST_F(DealCommandsTest, AFailureOfTheStoreSaysWhatTheStoreSaidAndWritesNothing)
{
    struct Case
    {
        const char *name;
        std::function<void()> breakStore;
        QString message;
    };
    const Case cases[] = {
        {"disk full",
         [&] {
             // The database may not grow: deals are saved until it is full.
             execute(*m_database, QStringLiteral("PRAGMA max_page_count = 1"));
             for (int i = 0; i < 2000; ++i) {
                 if (!m_store->save(dealFor(QString::number(7000 + i), QStringLiteral("Filler")),
                                    nullptr))
                     break;
             }
         },
         QStringLiteral("The deal was not saved: the disk is full.")},
        {"read-only", [&] { execute(*m_database, QStringLiteral("PRAGMA query_only = 1")); },
         QStringLiteral("The deal was not saved: the database cannot be written.")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        c.breakStore();
        const std::array<int, 3> before = dealTableCounts();
        form->clearDeal();
        form->showDeal(dealFor(QStringLiteral("40177"), QStringLiteral("Zoë Ångström")));
        expectSaveQuestion(Answer::Yes);
        prompts.expectMessage(c.message, QStringLiteral("Error!"), Icon::Warning, Buttons::Ok);
        commands->saveDeal();
        prompts.verify();
        EXPECT_FALSE(form->isDealSaved());
        EXPECT_EQ(form->deal().customer, QStringLiteral("Zoë Ångström"));
        EXPECT_EQ(dealTableCounts(), before);
        execute(*m_database, QStringLiteral("PRAGMA query_only = 0"));
        execute(*m_database, QStringLiteral("PRAGMA max_page_count = 1073741823"));
    }
}

TEST_F(DealCommandsTest, ARecalledSplitDealShowsItsPartnerAndUpdateState)
{
    saveShown(splitExampleDeal());
    form->clearDeal();

    recall(QStringLiteral("A1234"));
    EXPECT_EQ(form->state(), WorksheetState::Recalled);
    EXPECT_EQ(form->command2Caption(), QStringLiteral("Update"));
    EXPECT_EQ(form->saveCommandCaption(), QStringLiteral("Update"));
    EXPECT_TRUE(visible(QStringLiteral("cmdDeleteRecall")));
    EXPECT_FALSE(visible(QStringLiteral("lblWarn")));
    EXPECT_EQ(form->summaryRows(), 2);
    EXPECT_TRUE(form->deal().split);
    EXPECT_EQ(form->deal().splitPartner, QStringLiteral("Mary Jones"));
    EXPECT_TRUE(visible(QStringLiteral("DBCombo2")));
    // Stored figures come back as plain numbers, not recalculated.
    EXPECT_EQ(text(QStringLiteral("Text21")), QStringLiteral("3900"));
    EXPECT_EQ(text(QStringLiteral("Text1")), QStringLiteral("A1234"));
}

TEST_F(DealCommandsTest, UpdatingARecalledDealReplacesItsRows)
{
    saveShown(splitExampleDeal());
    form->clearDeal();
    recall(QStringLiteral("a1234"));

    Deal corrected = form->deal();
    corrected.split = false;
    corrected.splitPartner.clear();
    corrected.customer = QStringLiteral("Bob Browne");
    form->showDeal(corrected);
    expectSaveQuestion(Answer::Yes);
    expectSaved(QStringLiteral("Bob Browne"));
    commands->saveDeal();

    EXPECT_EQ(dealTableCounts(), (std::array<int, 3>{1, 1, 1}));
    EXPECT_EQ(tableRows(*m_database, QStringLiteral("RecallDeal")).at(0).value("Customer"),
              QStringLiteral("BOB BROWNE"));
    EXPECT_EQ(form->command2Caption(), QStringLiteral("Print"));
    EXPECT_FALSE(visible(QStringLiteral("cmdDeleteRecall")));
    EXPECT_FALSE(form->isFlagRecall());
    EXPECT_TRUE(form->isDealSaved());
}

TEST_F(DealCommandsTest, AnsweringNoInUpdateModeKeepsTheStoredDealAndTheUpdateState)
{
    saveShown(plainExampleDeal());
    form->clearDeal();
    recall(QStringLiteral("A1234"));
    const auto before = tableRows(*m_database, QStringLiteral("RecallDeal"));

    expectSaveQuestion(Answer::No);
    commands->saveDeal();
    EXPECT_EQ(dealTableCounts(), (std::array<int, 3>{1, 1, 1}));
    EXPECT_EQ(tableRows(*m_database, QStringLiteral("RecallDeal")).at(0), before.at(0));
    EXPECT_EQ(form->command2Caption(), QStringLiteral("Update"));

    // A later Yes still replaces the deal rather than adding a copy.
    expectSaveQuestion(Answer::Yes);
    expectSaved(QStringLiteral("BOB BROWN"));
    commands->saveDeal();
    EXPECT_EQ(dealTableCounts(), (std::array<int, 3>{1, 1, 1}));
}

TEST_F(DealCommandsTest, AFailedUpdateKeepsTheOldDealAndARetryReplacesIt)
{
    saveShown(plainExampleDeal());
    form->clearDeal();
    recall(QStringLiteral("A1234"));

    Deal broken = form->deal();
    broken.payableGross = QStringLiteral("lots");
    form->showDeal(broken);
    expectSaveQuestion(Answer::Yes);
    prompts.expectMessage(kDataError, QStringLiteral("Error!"), Icon::Warning, Buttons::Ok);
    commands->saveDeal();
    EXPECT_EQ(dealTableCounts(), (std::array<int, 3>{1, 1, 1}));

    broken.payableGross = QStringLiteral("3800");
    form->showDeal(broken);
    expectSaveQuestion(Answer::Yes);
    expectSaved(QStringLiteral("BOB BROWN"));
    commands->saveDeal();
    EXPECT_EQ(dealTableCounts(), (std::array<int, 3>{1, 1, 1}));
    EXPECT_EQ(tableRows(*m_database, QStringLiteral("RecallDeal")).at(0).value("Gross"),
              QVariant(qint64(38000000)));
}

TEST_F(DealCommandsTest, APaidDealShowsTheWarningAndIsNeverSavedAgain)
{
    saveShown(plainExampleDeal());
    form->clearDeal();
    execute(*m_database, QStringLiteral("UPDATE SalesSummary SET Paid = 1"));

    recall(QStringLiteral("A1234"));
    EXPECT_EQ(form->state(), WorksheetState::RecalledAndPaid);
    EXPECT_TRUE(form->isDealPaid());
    EXPECT_TRUE(visible(QStringLiteral("lblWarn")));
    EXPECT_FALSE(visible(QStringLiteral("cmdDeleteRecall")));
    EXPECT_EQ(form->command2Caption(), QStringLiteral("Print"));
    EXPECT_FALSE(form->isCommand2Enabled());
    EXPECT_EQ(form->saveCommandCaption(), QStringLiteral("Save"));
    EXPECT_FALSE(form->saveCommandEnabled());

    // Any route that reaches the save (the print command saves an unsaved
    // deal) is refused: a second copy would be paid twice.
    prompts.expectMessage(QStringLiteral("This deal has been \"PAID\" and cannot be saved again."),
                          QStringLiteral("Error!"), Icon::Warning, Buttons::Ok);
    commands->saveDeal();
    EXPECT_EQ(dealTableCounts(), (std::array<int, 3>{1, 1, 1}));
}

TEST_F(DealCommandsTest, PrintingSavesAnUnsavedDealOnceAndNeverAPaidOne)
{
    form->showDeal(plainExampleDeal());
    expectSaveQuestion(Answer::Yes);
    expectSaved(QStringLiteral("Bob Brown"));
    commands->saveAfterPrint();
    commands->saveAfterPrint(); // printed again: already saved, nothing asked
    EXPECT_EQ(dealTableCounts(), (std::array<int, 3>{1, 1, 1}));

    form->clearDeal();
    execute(*m_database, QStringLiteral("UPDATE SalesSummary SET Paid = 1"));
    recall(QStringLiteral("A1234"));
    commands->saveAfterPrint(); // a paid deal is reprinted without a question
    EXPECT_EQ(dealTableCounts(), (std::array<int, 3>{1, 1, 1}));
}

TEST_F(DealCommandsTest, DeleteRemovesOnlyTheRecalledDealAfterYes)
{
    saveShown(dealFor(QStringLiteral("B777"), QStringLiteral("First Buyer")));
    form->clearDeal();
    Deal second = splitExampleDeal();
    second.stockNumber = QStringLiteral("B777");
    second.customer = QStringLiteral("Second Buyer");
    saveShown(second);
    form->clearDeal();
    ASSERT_EQ(dealTableCounts(), (std::array<int, 3>{3, 2, 2}));

    recall(QStringLiteral("b777"), 1);
    ASSERT_EQ(text(QStringLiteral("txtCustomer")), QStringLiteral("SECOND BUYER"));

    const QString question = QStringLiteral("Do you want to Delete SECOND BUYER from database?");
    prompts.expectMessage(question, QStringLiteral("Delete Record"), Icon::None,
                          Buttons::YesNoCancel, Answer::No);
    form->findChild<QPushButton *>(QStringLiteral("cmdDeleteRecall"))->click();
    EXPECT_EQ(dealTableCounts(), (std::array<int, 3>{3, 2, 2}));
    EXPECT_EQ(form->state(), WorksheetState::Recalled);

    prompts.expectMessage(question, QStringLiteral("Delete Record"), Icon::None,
                          Buttons::YesNoCancel, Answer::Yes);
    form->findChild<QPushButton *>(QStringLiteral("cmdDeleteRecall"))->click();
    EXPECT_EQ(dealTableCounts(), (std::array<int, 3>{1, 1, 1}));
    EXPECT_EQ(tableRows(*m_database, QStringLiteral("RecallDeal")).at(0).value("Customer"),
              QStringLiteral("FIRST BUYER"));
    EXPECT_EQ(form->state(), WorksheetState::NewDeal);
    EXPECT_TRUE(text(QStringLiteral("Text1")).isEmpty());
    EXPECT_FALSE(commands->recalledDeal().has_value());
}

TEST_F(DealCommandsTest, RecallClearsTheWorksheetFirstAndExitLeavesItAlone)
{
    form->showDeal(plainExampleDeal());
    commands->openFinder();
    EXPECT_TRUE(text(QStringLiteral("Text1")).isEmpty());
    commands->finder()->findChild<QPushButton *>(QStringLiteral("cmdExit"))->click();
    EXPECT_FALSE(form->isFlagRecall());
    EXPECT_EQ(form->state(), WorksheetState::NewDeal);
}

class DealCommandsTwoDesks : public DealCommandsTest, public SecondDesk
{
};

// The deal is recalled here; another desk changes it; the correction made
// here is refused, nothing is written, and the worksheet keeps what was typed.
TEST_F(DealCommandsTwoDesks, ACorrectionOfADealChangedAtAnotherDeskIsRefused)
{
    saveShown(splitExampleDeal());
    form->clearDeal();
    recall(QStringLiteral("a1234"));
    ASSERT_TRUE(commands->recalledDeal());
    atOtherDesk(*m_database, QStringLiteral("UPDATE RecallDeal SET Customer = 'CARL DIAZ'"));

    Deal corrected = form->deal();
    corrected.customer = QStringLiteral("Bob Browne");
    form->showDeal(corrected);
    expectSaveQuestion(Answer::Yes);
    prompts.expectMessage(
        QStringLiteral("This deal was changed, paid or deleted at another desk since it was "
                       "recalled. Your correction was not saved. Recall the deal again to see it "
                       "as it is now."),
        QStringLiteral("Error!"), Icon::Warning, Buttons::Ok);
    commands->saveDeal();
    prompts.verify();

    EXPECT_EQ(dealTableCounts(), (std::array<int, 3>{2, 1, 1}));
    EXPECT_EQ(tableRows(*m_database, QStringLiteral("RecallDeal")).at(0).value("Customer"),
              QStringLiteral("CARL DIAZ"));
    EXPECT_EQ(text(QStringLiteral("txtCustomer")), QStringLiteral("Bob Browne"));
    EXPECT_FALSE(form->isDealSaved());
    EXPECT_EQ(form->command2Caption(), QStringLiteral("Update"));

    // Recalled again, the deal as the other desk left it is corrected.
    form->clearDeal();
    recall(QStringLiteral("A1234"));
    EXPECT_EQ(text(QStringLiteral("txtCustomer")), QStringLiteral("CARL DIAZ"));
    expectSaveQuestion(Answer::Yes);
    expectSaved(QStringLiteral("CARL DIAZ"));
    commands->saveDeal();
    prompts.verify();
    EXPECT_EQ(dealTableCounts(), (std::array<int, 3>{2, 1, 1}));
}

TEST_F(DealCommandsTwoDesks, ADeleteOfADealPaidAtAnotherDeskIsRefused)
{
    saveShown(dealFor(QStringLiteral("40177"), QString::fromUtf8("Zoë Åberg")));
    form->clearDeal();
    recall(QStringLiteral("40177"));
    atOtherDesk(*m_database, QStringLiteral("UPDATE SalesSummary SET Paid = 1"));

    prompts.expectMessage(QString::fromUtf8("Do you want to Delete ZOË ÅBERG from database?"),
                          QStringLiteral("Delete Record"), Icon::None, Buttons::YesNoCancel,
                          Answer::Yes);
    prompts.expectMessage(
        QStringLiteral("This deal was changed, paid or deleted at another desk since it was "
                       "recalled. It was not deleted. Recall the deal again to see it as it is "
                       "now."),
        QStringLiteral("Delete Record"), Icon::Warning, Buttons::Ok);
    form->findChild<QPushButton *>(QStringLiteral("cmdDeleteRecall"))->click();
    prompts.verify();
    EXPECT_EQ(dealTableCounts(), (std::array<int, 3>{1, 1, 1}));
    EXPECT_EQ(form->state(), WorksheetState::Recalled);
}

} // namespace
