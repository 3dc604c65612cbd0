// Starting Tarvex in a folder an older installation left: the question, the
// import with its progress dialog, and the worksheet on the imported deals.
#include "admin/first_password.h"
#include "app/tarvex_program.h"
#include "legacy_test_support.h"
#include "scripted_prompts.h"
#include "worksheet/ui/deal_worksheet.h"

#include <QApplication>
#include <QComboBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using Answer = Prompts::Answer;
using Icon = Prompts::Icon;
using Buttons = Prompts::Buttons;

const QString kQuestion = QStringLiteral(
    "\"Sales Log2.mdb\" in this folder is an Access database, left by an older installation. "
    "Import its deals into Tarvex now?\n\nThe Access file is kept unchanged as \"Sales Log2 "
    "(Access).mdb\".");

class LegacyStartupTest : public ::testing::Test
{
protected:
    LegacyStartupTest()
    {
        placeFixture(dir);
        prompts.expectInputPrompt(FirstPassword::choosePrompt(), QStringLiteral("pw"));
        prompts.expectInputPrompt(FirstPassword::confirmPrompt(), QStringLiteral("pw"));
    }

    bool start()
    {
        program = std::make_unique<TarvexProgram>(dir.folder(), prompts);
        program->setEndProgram([] {});
        return program->start();
    }

    TempProgramFolder dir;
    ScriptedPrompts prompts;
    std::unique_ptr<TarvexProgram> program;
};

TEST_F(LegacyStartupTest, YesImportsAndTheWorksheetComesUpOnTheImportedRoster)
{
    prompts.expectMessage(kQuestion, {}, Icon::Question, Buttons::YesNo, Answer::Yes);
    prompts.expectMessage(
        QStringLiteral("Imported 42 deals and 6 salespeople from the Access database.\n"
                       "1 row could not be tied to a deal; it was imported as a deal of its own.\n"
                       "1 value did not arrive as it was; the report says which.\n"
                       "The Access file is kept unchanged as \"Sales Log2 (Access).mdb\".\n"
                       "The import report is \"%1\".")
            .arg(dir.filePath(QStringLiteral("import.log"))),
        {}, Icon::Information, Buttons::Ok);
    ASSERT_TRUE(start());
    ASSERT_NE(program->mainWindow(), nullptr);
    EXPECT_TRUE(program->mainWindow()->isVisible());
    const auto *names = program->mainWindow()->findChild<QComboBox *>(QStringLiteral("DBCombo1"));
    ASSERT_NE(names, nullptr);
    EXPECT_GE(names->findText(QStringLiteral("José Peña")), 0);
    EXPECT_EQ(names->findText(QStringLiteral("House")), -1);
    EXPECT_EQ(dir.readBytes(QStringLiteral("Sales Log2 (Access).mdb")), fixtureBytes());
}

TEST_F(LegacyStartupTest, NoEndsTheProgramTouchingNothing)
{
    prompts.expectMessage(kQuestion, {}, Icon::Question, Buttons::YesNo, Answer::No);
    EXPECT_FALSE(start());
    EXPECT_EQ(program->mainWindow(), nullptr);
    EXPECT_EQ(dir.readBytes(QStringLiteral("Sales Log2.mdb")), fixtureBytes());
    EXPECT_EQ(folderNames(dir.folder().path()),
              QStringList({QStringLiteral("PW.txt"), QStringLiteral("Sales Log2.mdb")}));
}

TEST_F(LegacyStartupTest, CancelInTheProgressDialogUndoesTheImport)
{
    prompts.expectMessage(kQuestion, {}, Icon::Question, Buttons::YesNo, Answer::Yes);
    prompts.expectMessage(QStringLiteral("The import was cancelled. Nothing was changed: \"Sales "
                                         "Log2.mdb\" is still the Access database.\n\nTarvex will "
                                         "close."),
                          {}, Icon::Information, Buttons::Ok);
    // Presses Cancel once the dialog shows some rows done.
    int seenDone = 0;
    QTimer presser;
    QObject::connect(&presser, &QTimer::timeout, [&] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            auto *dialog = qobject_cast<QProgressDialog *>(window);
            if (!dialog || window->objectName() != QLatin1String("frmLegacyImport") ||
                dialog->value() < 60)
                continue;
            seenDone = dialog->value();
            EXPECT_EQ(dialog->maximum(), 140);
            if (auto *cancel = dialog->findChild<QPushButton *>())
                cancel->click();
            presser.stop();
        }
    });
    presser.start(0);
    EXPECT_FALSE(start());
    EXPECT_GE(seenDone, 60);
    EXPECT_LT(seenDone, 140);
    EXPECT_EQ(dir.readBytes(QStringLiteral("Sales Log2.mdb")), fixtureBytes());
    EXPECT_EQ(folderNames(dir.folder().path()),
              QStringList({QStringLiteral("PW.txt"), QStringLiteral("Sales Log2.mdb")}));
}

} // namespace
