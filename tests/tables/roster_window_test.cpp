#include "admin/ui/roster_window.h"
#include "tables_fixture.h"

#include <QLabel>
#include <QPushButton>

namespace {

using Answer = Prompts::Answer;
using Buttons = Prompts::Buttons;
using Icon = Prompts::Icon;

const QString kAddedTail = QStringLiteral(" has been added... It will show the next time you load "
                                          "Tarvex");

class RosterTest : public TablesTest
{
protected:
    QStringList names()
    {
        QStringList result;
        for (const QVariant &name :
             column(QStringLiteral("SELECT Name FROM SalesPersons ORDER BY rowid")))
            result << name.toString();
        return result;
    }
    QString shownName(RosterWindow &window)
    {
        return edit(window, QStringLiteral("txtFields"))->text();
    }
    bool saveEnabled(RosterWindow &window)
    {
        return window.findChild<QPushButton *>(QStringLiteral("cmdUpdate"))->isEnabled();
    }
    void expectDeleteQuestion(const QString &name, Answer answer)
    {
        m_prompts.expectMessage(QStringLiteral("Do you want to delete ") + name +
                                    QStringLiteral(" from the database?"),
                                {}, Icon::None, Buttons::YesNoCancel, answer);
    }
};

TEST_F(RosterTest, OpensOnTheFirstSalespersonWithSaveDisabledAndItsTabOrder)
{
    setSalesPersons({QStringLiteral("ANN"), QStringLiteral("BOB")});
    RosterWindow window(*m_database, m_prompts);
    EXPECT_EQ(window.objectName(), QStringLiteral("frmAdd2"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Add/Delete Salesperson"));
    EXPECT_EQ(window.findChild<QLabel *>(QStringLiteral("Label1"))->text(),
              QStringLiteral("Sales Person:"));
    EXPECT_NE(window.findChild<QLabel *>(QStringLiteral("Label2")), nullptr);
    EXPECT_EQ(window.findChild<QWidget *>(QStringLiteral("data2"))
                  ->findChild<QLabel *>(QStringLiteral("lblCaption"))
                  ->text(),
              QStringLiteral(" Step through records"));
    EXPECT_EQ(shownName(window), QStringLiteral("ANN"));
    EXPECT_FALSE(saveEnabled(window));

    QWidget *at = edit(window, QStringLiteral("txtFields"));
    const std::pair<const char *, const char *> order[] = {
        {"cmdAdd", "Add"},   {"cmdDelete", "Delete"}, {"cmdUpdate", "Save"},
        {"cmdEdit", "Edit"}, {"cmdClose", "Close"},
    };
    for (const auto &[name, caption] : order) {
        at = at->nextInFocusChain();
        EXPECT_EQ(at->objectName(), QString::fromLatin1(name));
        EXPECT_EQ(static_cast<QPushButton *>(at)->text(), QString::fromLatin1(caption));
    }
}

TEST_F(RosterTest, TheLastSalespersonIsNeverDeleted)
{
    setSalesPersons({QStringLiteral("ANN")});
    RosterWindow window(*m_database, m_prompts);
    m_prompts.expectMessage(
        QStringLiteral("You cannot delete the last record. Add your new salesperson then delete."),
        QStringLiteral("Last Record Error"), Icon::None, Buttons::Ok);
    click(window, "cmdDelete");
    m_prompts.verify();
    EXPECT_EQ(names(), QStringList{QStringLiteral("ANN")});
}

TEST_F(RosterTest, DeleteRemovesTheCurrentSalespersonOnlyOnYes)
{
    struct Case
    {
        Answer answer;
        QStringList left;
        const char *shown;
    };
    const Case cases[] = {
        {Answer::Yes, {QStringLiteral("BOB")}, "BOB"},
        {Answer::No, {QStringLiteral("ANN"), QStringLiteral("BOB")}, "ANN"},
        {Answer::Cancel, {QStringLiteral("ANN"), QStringLiteral("BOB")}, "ANN"},
    };
    for (const Case &c : cases) {
        setSalesPersons({QStringLiteral("ANN"), QStringLiteral("BOB")});
        RosterWindow window(*m_database, m_prompts);
        expectDeleteQuestion(QStringLiteral("ANN"), c.answer);
        click(window, "cmdDelete");
        m_prompts.verify();
        EXPECT_EQ(names(), c.left);
        EXPECT_EQ(shownName(window), QString::fromLatin1(c.shown));
    }
}

TEST_F(RosterTest, SaveAfterEditSaysAddedAndMovesOn)
{
    setSalesPersons({QStringLiteral("ANN"), QStringLiteral("BOB")});
    RosterWindow window(*m_database, m_prompts);
    click(window, "cmdEdit");
    EXPECT_TRUE(saveEnabled(window));
    edit(window, QStringLiteral("txtFields"))->setText(QStringLiteral("ANNE"));
    m_prompts.expectMessage(QStringLiteral("ANNE") + kAddedTail, {}, Icon::None, Buttons::Ok);
    click(window, "cmdUpdate");
    m_prompts.verify();
    EXPECT_EQ(names(), (QStringList{QStringLiteral("ANNE"), QStringLiteral("BOB")}));
    EXPECT_EQ(shownName(window), QStringLiteral("BOB"));
    EXPECT_FALSE(saveEnabled(window));
}

TEST_F(RosterTest, AddThenSaveAppendsTheNameEvenAnEmptyOne)
{
    for (const QString &name : {QStringLiteral("CAL"), QString()}) {
        setSalesPersons({QStringLiteral("ANN")});
        RosterWindow window(*m_database, m_prompts);
        click(window, "cmdAdd");
        EXPECT_TRUE(saveEnabled(window));
        EXPECT_EQ(shownName(window), QString());
        edit(window, QStringLiteral("txtFields"))->setText(name);
        m_prompts.expectMessage(name + kAddedTail, {}, Icon::None, Buttons::Ok);
        click(window, "cmdUpdate");
        m_prompts.verify();
        EXPECT_EQ(names(), (QStringList{QStringLiteral("ANN"), name}));
        // The new row is the last: there is no next one to move to.
        EXPECT_EQ(shownName(window), name);
    }
}

TEST_F(RosterTest, MovingAwayDropsAnUnsavedAddButWritesAChangedName)
{
    setSalesPersons({QStringLiteral("ANN"), QStringLiteral("BOB")});
    RosterWindow window(*m_database, m_prompts);
    click(window, "cmdAdd");
    edit(window, QStringLiteral("txtFields"))->setText(QStringLiteral("CAL"));
    click(window, "cmdFirst");
    EXPECT_EQ(names(), (QStringList{QStringLiteral("ANN"), QStringLiteral("BOB")}));
    EXPECT_EQ(shownName(window), QStringLiteral("ANN"));
    EXPECT_FALSE(saveEnabled(window));

    edit(window, QStringLiteral("txtFields"))->setText(QStringLiteral("ANNA"));
    click(window, "cmdNext");
    EXPECT_EQ(names(), (QStringList{QStringLiteral("ANNA"), QStringLiteral("BOB")}));
    EXPECT_EQ(shownName(window), QStringLiteral("BOB"));

    click(window, "cmdAdd");
    window.close();
    EXPECT_EQ(names(), (QStringList{QStringLiteral("ANNA"), QStringLiteral("BOB")}));
}

TEST_F(RosterTest, ClosingForExitWritesAChangedNameQuietlyAndDropsAnUnsavedAdd)
{
    setSalesPersons({QStringLiteral("ANN"), QStringLiteral("BOB")});
    RosterWindow window(*m_database, m_prompts);
    window.show();
    edit(window, QStringLiteral("txtFields"))->setText(QStringLiteral("ANNA"));
    window.closeForExit();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(names(), (QStringList{QStringLiteral("ANNA"), QStringLiteral("BOB")}));

    window.openOnFirstRecord();
    window.show();
    click(window, "cmdAdd");
    edit(window, QStringLiteral("txtFields"))->setText(QStringLiteral("CAL"));
    window.closeForExit();
    EXPECT_EQ(names(), (QStringList{QStringLiteral("ANNA"), QStringLiteral("BOB")}));

    // A name that cannot be written is dropped without a message.
    window.openOnFirstRecord();
    window.show();
    edit(window, QStringLiteral("txtFields"))->setText(QStringLiteral("ANNE"));
    execute(QStringLiteral("DROP TABLE SalesPersons"));
    window.closeForExit();
    EXPECT_FALSE(window.isVisible());
}

TEST_F(RosterTest, DataErrorsAreReportedWithTheDatabaseWords)
{
    setSalesPersons({QStringLiteral("ANN")});
    RosterWindow window(*m_database, m_prompts);
    execute(QStringLiteral("DROP TABLE SalesPersons"));
    click(window, "cmdEdit");
    m_prompts.expectMessage(QStringLiteral("Data error event hit err:no such table: SalesPersons"),
                            {}, Icon::None, Buttons::Ok);
    edit(window, QStringLiteral("txtFields"))->setText(QStringLiteral("ANNE"));
    click(window, "cmdUpdate");
    m_prompts.verify();
    EXPECT_TRUE(saveEnabled(window));
}

} // namespace
