#include "admin/ui/main_menu.h"
#include "admin/ui/setup_commands.h"
#include "common/quoted_items.h"
#include "scripted_prompts.h"
#include "temp_program_folder.h"
#include "worksheet/ui/deal_worksheet.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

using Answer = std::optional<QString>;

struct FigureCase
{
    const char *key; // a menu item; its toolbar twin carries the command
    QString prompt, title, offered, file;
    QString (DealWorksheet::*get)() const;
};

const FigureCase kFigures[] = {
    {"mnucomm", "Enter your normal commission percentage.                   (ie. enter 30% as 30).",
     "Default Comm Percent", "30", "dc.dat", &DealWorksheet::defaultCommission},
    {"mnuWarranty", "Enter your normal warranty spiff.", "Default Warranty Spiff", "30", "war.txt",
     &DealWorksheet::defaultWarranty},
    {"mnuMini", "Enter your normal mini deal.", "Default Mini", "100", "mini.txt",
     &DealWorksheet::defaultMini},
};

class SetupCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Stored values differ from the offered ones: the boxes offer the fixed defaults.
        dir.writeBytes("dp.dat", "\"350\",\"550\"\r\n");
        dir.writeBytes("dc.dat", "\"35\"\r\n");
        dir.writeBytes("war.txt", "\"25\"\r\n");
        dir.writeBytes("mini.txt", "\"150\"\r\n");
        dir.writeBytes("unit.txt", "\"Taurus\"\r\n\"explorer\"\r\n\"F-150\"");
    }
    void start()
    {
        form = std::make_unique<DealWorksheet>(dir.folder(), prompts);
        installSetupCommands(*new MainMenu(form.get()), *form, dir.folder(), prompts);
        form->startUp();
        stock()->setText("A1234"); // a deal being entered
    }
    void run(const char *key) { form->findChild<QAction *>(key)->trigger(); }
    template <class T = QWidget> T *control(const char *name) { return form->findChild<T *>(name); }
    QLineEdit *stock() { return control<QLineEdit>("Text1"); }
    QString packs() { return form->defaultNewPack() + ',' + form->defaultUsedPack(); }
    void expectPack(Answer newPack, Answer usedPack)
    {
        prompts.expectInput("Enter your normal New pack.", "Default New Car Pack", "300", newPack);
        prompts.expectInput("Enter your normal Used pack.", "Default Used CarPack", "500",
                            usedPack);
    }
    void expectAdd(Answer description)
    {
        prompts.expectInput("Add vehicle discription (ie. Explorer Spt)", "Add", "", description);
    }
    void expectWarning(const QString &text)
    {
        prompts.expectMessage(text, {}, Prompts::Icon::Warning, Prompts::Buttons::Ok);
    }
    QStringList items(const char *listName)
    {
        QStringList texts;
        if (auto *list = control<QListWidget>(listName))
            for (int row = 0; row < list->count(); ++row)
                texts.append(list->item(row)->text());
        if (auto *combo = control<QComboBox>(listName))
            for (int row = 0; row < combo->count(); ++row)
                texts.append(combo->itemText(row));
        return texts;
    }
    void clickUnit(int row)
    {
        auto *list = control<QListWidget>("List1");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }
    void press(const char *button) { control<QPushButton>(button)->click(); }
    bool panelShown() { return !control("Frame1")->isHidden(); }

    TempProgramFolder dir;
    ScriptedPrompts prompts;
    std::unique_ptr<DealWorksheet> form;
};

TEST_F(SetupCommandsTest, AnsweredFiguresAreKeptAndWrittenAsTyped)
{
    start();
    for (const QString answer : {"27.5", "$1,250.00", "0"}) {
        for (const FigureCase &c : kFigures) {
            prompts.expectInput(c.prompt, c.title, c.offered, answer);
            run(c.key);
            EXPECT_EQ(((*form).*c.get)(), answer) << c.key;
            EXPECT_EQ(dir.readBytes(c.file), '"' + answer.toUtf8() + "\"\r\n") << c.key;
        }
    }
    expectPack("250", "450");
    run("mnupack");
    EXPECT_EQ(dir.readBytes("dp.dat"), "\"250\",\"450\"\r\n");
    EXPECT_EQ(packs(), "250,450");
    EXPECT_EQ(stock()->text(), "A1234");
    // Warranty "0" switches entry off only at the next start-up.
    EXPECT_FALSE(control("Check1")->isHidden());
    form->startUp();
    EXPECT_TRUE(control("Check1")->isHidden());
}

TEST_F(SetupCommandsTest, AnEmptyAnswerRestoresTheStoredValuesAndKeepsTheDeal)
{
    start();
    // A deal half typed: its pack and unit differ from the defaults.
    control<QLineEdit>("Text2")->setText("$275.00");
    control<QComboBox>("cboUnit")->setEditText("Ranger XL");
    const auto dealKept = [this](const char *key) {
        EXPECT_EQ(stock()->text(), "A1234") << key;
        EXPECT_EQ(control<QLineEdit>("Text2")->text(), "$275.00") << key;
        EXPECT_EQ(control<QComboBox>("cboUnit")->currentText(), "Ranger XL") << key;
    };
    const QList<std::pair<Answer, Answer>> packAnswers = {{std::nullopt, "450"}, {"250", ""}};
    for (const auto &[first, second] : packAnswers) {
        expectPack(first, second);
        run("tbrPack");
        EXPECT_EQ(dir.readBytes("dp.dat"), "\"350\",\"550\"\r\n");
        EXPECT_EQ(packs(), "350,550");
        dealKept("tbrPack");
    }
    for (const Answer &answer : {Answer(), Answer(QString())}) {
        for (const FigureCase &c : kFigures) {
            const QByteArray stored = dir.readBytes(c.file);
            prompts.expectInput(c.prompt, c.title, c.offered, answer);
            run(c.key);
            EXPECT_EQ(((*form).*c.get)(), QuotedItems::parse(stored).value(0)) << c.key;
            EXPECT_EQ(dir.readBytes(c.file), stored) << c.key;
            dealKept(c.key);
        }
    }
    prompts.verify(); // and no message about the files
}

TEST_F(SetupCommandsTest, AnAnswerThatIsNoNumberIsRefusedAndAskedAgain)
{
    start();
    const QString notANumber = "You must enter a valid number";
    for (const FigureCase &c : kFigures) {
        for (const QString refused : {"abc", "   ", "3\"0", "1O0"}) {
            prompts.expectInput(c.prompt, c.title, c.offered, refused);
            prompts.expectMessage(notANumber, {}, Prompts::Icon::None, Prompts::Buttons::Ok);
        }
        prompts.expectInput(c.prompt, c.title, c.offered, "45");
        run(c.key);
        prompts.verify();
        EXPECT_EQ(((*form).*c.get)(), "45") << c.key;
        EXPECT_EQ(dir.readBytes(c.file), "\"45\"\r\n") << c.key;
    }
    // Each pack box asks again on its own; Cancel after a refusal restores both.
    prompts.expectInput("Enter your normal New pack.", "Default New Car Pack", "300", "3OO");
    prompts.expectMessage(notANumber, {}, Prompts::Icon::None, Prompts::Buttons::Ok);
    expectPack("325", "x");
    prompts.expectMessage(notANumber, {}, Prompts::Icon::None, Prompts::Buttons::Ok);
    prompts.expectInput("Enter your normal Used pack.", "Default Used CarPack", "500",
                        std::nullopt);
    run("mnupack");
    prompts.verify();
    EXPECT_EQ(packs(), "350,550");
    EXPECT_EQ(dir.readBytes("dp.dat"), "\"350\",\"550\"\r\n");
    EXPECT_EQ(stock()->text(), "A1234");
}

TEST_F(SetupCommandsTest, ADoubleQuoteInADescriptionIsRefused)
{
    start();
    // A refused description may be typed again; the series goes on.
    expectAdd("F\"250");
    expectWarning("A unit description cannot contain a double quote (\"). The description was "
                  "not added.");
    expectAdd("Ranger");
    expectAdd(std::nullopt);
    run("mnuAddUnit");
    EXPECT_TRUE(dir.readBytes("unit.txt").endsWith("\"F-150\"\r\n\"Ranger\"\r\n"));
}

TEST_F(SetupCommandsTest, AFileThatCannotBeWrittenIsReportedAndTheValueKept)
{
    // A settings file that is a folder can be neither read nor written.
    for (const char *file : {"mini.txt", "unit.txt"}) {
        QFile::remove(dir.filePath(file));
        QDir(dir.folder().path()).mkdir(file);
    }
    const QString mini = QDir::toNativeSeparators(dir.filePath("mini.txt"));
    const QString units = QDir::toNativeSeparators(dir.filePath("unit.txt"));
    QFile folder(units);
    folder.open(QIODevice::ReadOnly);
    const QString unreadable = folder.errorString();
    expectWarning(QString("Some settings files could not be used as they are:\n\n"
                          "mini.txt could not be read (%1): the defaults are used instead (mini "
                          "deal 100).\n"
                          "unit.txt could not be read (%1): the unit list is empty.\n\n"
                          "Commissions are worked out with the figures named. To keep other "
                          "figures, enter them again from the Setup menu.")
                      .arg(unreadable));
    start();
    QString reason;
    QuotedItems::writeFile(mini, {{"x"}}, QuotedItems::WriteMode::Replace, &reason);
    prompts.expectInput(kFigures[2].prompt, kFigures[2].title, "100", "175");
    expectWarning(QString("The setting could not be saved in %1:\n%2\n\nThe setting was not "
                          "changed.")
                      .arg(mini, reason));
    run("tbrMini");
    EXPECT_EQ(form->defaultMini(), "100");

    expectAdd("Ranger"); // the series ends at the failure
    expectWarning(
        QString("The unit description could not be added to %1:\n%2").arg(units, unreadable));
    run("tbrAddUnit");

    QuotedItems::readFile(units, &reason);
    expectWarning(QString("The unit list could not be read from %1:\n%2").arg(units, reason));
    run("tbrDeleteUnit");
    EXPECT_FALSE(panelShown());
}

TEST_F(SetupCommandsTest, AddUnitAppendsEachAnswerThenListsThemAllSorted)
{
    start();
    control<QComboBox>("cboUnit")->setEditText("Escort");
    expectAdd("Ranger");
    expectAdd("Aerostar");
    expectAdd(std::nullopt);
    run("mnuAddUnit");
    // The old file's last line had no line end; the new lines stand alone.
    EXPECT_EQ(dir.readBytes("unit.txt"),
              "\"Taurus\"\r\n\"explorer\"\r\n\"F-150\"\r\n\"Ranger\"\r\n\"Aerostar\"\r\n");
    EXPECT_EQ(items("cboUnit"), QStringList({"Aerostar", "explorer", "F-150", "Ranger", "Taurus"}));
    // The deal being entered stays as typed.
    EXPECT_EQ(stock()->text(), "A1234");
    EXPECT_EQ(control<QComboBox>("cboUnit")->currentText(), "Escort");
}

TEST_F(SetupCommandsTest, ADescriptionAddedWhileThePanelIsOpenOutlivesItsSave)
{
    start();
    form->show();
    run("mnuDeleteUnit");
    clickUnit(0);
    press("Command1"); // Taurus
    expectAdd("Newly Added");
    expectAdd(std::nullopt);
    run("mnuAddUnit");
    EXPECT_TRUE(panelShown());
    press("Command4"); // Save
    EXPECT_EQ(dir.readBytes("unit.txt"), "\"explorer\"\r\n\"F-150\"\r\n\"Newly Added\"\r\n");
    EXPECT_TRUE(items("cboUnit").contains("Newly Added"));
}

TEST_F(SetupCommandsTest, TheRemovalPanelRewritesUnitTxtOnlyAfterAChoice)
{
    start();
    form->show();
    const QByteArray before = dir.readBytes("unit.txt");
    run("mnuDeleteUnit");
    EXPECT_TRUE(panelShown());
    EXPECT_EQ(items("List1"), QStringList({"Taurus", "explorer", "F-150"}));
    EXPECT_FALSE(control("Command1")->isEnabled());
    press("Command4"); // "Exit"
    EXPECT_FALSE(panelShown());
    EXPECT_EQ(dir.readBytes("unit.txt"), before);

    run("tbrDeleteUnit");
    clickUnit(1);
    EXPECT_EQ(control<QPushButton>("Command4")->text(), "Save");
    press("Command1");
    press("Command1"); // nothing is chosen any more
    EXPECT_EQ(items("List1"), QStringList({"Taurus", "F-150"}));
    press("Command4");
    EXPECT_EQ(dir.readBytes("unit.txt"), "\"Taurus\"\r\n\"F-150\"\r\n");
    EXPECT_EQ(items("cboUnit").size(), 3); // not reloaded

    // "Save" stays; removing everything leaves an empty file.
    run("tbrDeleteUnit");
    EXPECT_EQ(control<QPushButton>("Command4")->text(), "Save");
    for (int left = 2; left > 0; --left) {
        clickUnit(0);
        press("Command1");
    }
    press("Command4");
    EXPECT_EQ(dir.readBytes("unit.txt"), "");
    form->startUp();
    EXPECT_TRUE(items("cboUnit").isEmpty());

    QFile::remove(dir.filePath("unit.txt"));
    run("tbrDeleteUnit");
    EXPECT_TRUE(panelShown());
    EXPECT_TRUE(items("List1").isEmpty());
}

} // namespace
