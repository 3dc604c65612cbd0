#include "table_window.h"

#include "record_view.h"

#include "common/prompts.h"
#include "store/deal_database.h"
#include "store/record_table.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TableWindow::TableWindow(const Layout &layout, DealDatabase &database, Prompts &prompts,
                         QWidget *parent)
    : RecordWindow(std::make_unique<RecordTable>(database.connection(), layout.table, layout.fields,
                                                 layout.stockColumn),
                   prompts, parent),
      m_layout(layout)
{
    setObjectName(layout.objectName);
    setWindowTitle(layout.title);
    buildControls();
    bind(m_fields, m_data1);

    connect(m_cmdNew, &QPushButton::clicked, this, &TableWindow::newRecord);
    connect(m_cmdEdit, &QPushButton::clicked, this, &TableWindow::editRecord);
    connect(m_cmdDelete, &QPushButton::clicked, this, &TableWindow::deleteRecord);
    connect(m_cmdUpdate, &QPushButton::clicked, this, &TableWindow::saveRecord);
    connect(m_find, &QPushButton::clicked, this, &TableWindow::findRecord);
    connect(m_cmdExit, &QPushButton::clicked, this, &TableWindow::close);

    openOnFirstRecord();
}

void TableWindow::buildControls()
{
    auto *fields = new QGridLayout;
    for (int i = 0; i < m_layout.fields.size(); ++i) {
        auto *label = new QLabel(m_layout.fields.at(i).label, this);
        label->setObjectName(QStringLiteral("Label1_%1").arg(i));
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("Text1_%1").arg(i));
        edit->setReadOnly(m_layout.fields.at(i).readOnly);
        label->setBuddy(edit);
        fields->addWidget(label, i, 0);
        fields->addWidget(edit, i, 1);
        m_fields << edit;
    }

    m_data1 = new RecordBar(m_layout.caption, this);
    m_data1->setObjectName(QStringLiteral("Data1"));
    m_cmdNew = button(this, "cmdNew", "  New Record");
    m_cmdEdit = button(this, "cmdEdit", "  Edit Record");
    m_cmdDelete = button(this, "cmdDelete", " Delete Record");
    m_cmdUpdate = button(this, "cmdUpdate", "  Save Record");
    m_find = button(this, "Find", "  Find Record");
    m_cmdExit = button(this, "cmdExit", "Exit");

    auto *row = new QHBoxLayout;
    for (QPushButton *b : {m_cmdNew, m_cmdEdit, m_cmdDelete, m_cmdUpdate, m_find})
        row->addWidget(b);
    auto *exitRow = new QHBoxLayout;
    exitRow->addStretch();
    exitRow->addWidget(m_cmdExit);
    exitRow->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(m_data1);
    layout->addLayout(row);
    layout->addLayout(exitRow);
}

bool TableWindow::leaveRecord()
{
    RecordCursor &current = cursor();
    if (current.isAdding() && view().isBlank()) {
        current.abandonNew();
        return true;
    }
    if (!current.isAdding() && !view().isChanged())
        return true;
    return writeRecord();
}

bool TableWindow::writeRecord()
{
    QString error;
    bool changedElsewhere = false;
    if (cursor().write(view().texts(), &error, &changedElsewhere))
        return true;
    if (changedElsewhere) {
        prompts().message(error, windowTitle(), Prompts::Icon::Warning);
        showRecord();
    } else {
        prompts().message(error + QStringLiteral("\n\nThe record was not saved."), windowTitle(),
                          Prompts::Icon::Warning);
    }
    return false;
}

void TableWindow::dataError(const QString &error)
{
    prompts().message(error, windowTitle(), Prompts::Icon::Warning);
}

void TableWindow::newRecord()
{
    if (!leaveRecord())
        return;
    cursor().startNew();
    showRecord();
    m_fields.first()->setFocus();
}

void TableWindow::editRecord()
{
    // The fields are always open to typing; Edit takes the user to them.
    m_fields.first()->setFocus();
}

void TableWindow::saveRecord()
{
    if (writeRecord())
        showRecord();
}

void TableWindow::deleteRecord()
{
    // No question, and nothing is said when the delete cannot be done.
    QString ignored;
    cursor().removeCurrent(&ignored);
    showRecord();
}

void TableWindow::findRecord()
{
    const std::optional<QString> typed = prompts().input(
        QStringLiteral("Enter 'Stock Number' you wish to find"), QStringLiteral("Find"), QString());
    if (!typed)
        return;
    if (typed->isEmpty()) {
        prompts().message(QStringLiteral("You must enter a stock number!"));
        return;
    }
    if (!leaveRecord())
        return;
    showRecord();
    QString error;
    const std::optional<int> found = table().findFirst(m_layout.stockColumn, *typed, &error);
    if (!found) {
        dataError(error);
        return;
    }
    if (*found < 0) {
        prompts().message(QStringLiteral("No records matches your search"), QStringLiteral("Find"));
        return;
    }
    if (!cursor().moveTo(*found, &error))
        dataError(error);
    showRecord();
}

void TableWindow::closeEvent(QCloseEvent *event)
{
    if (!isClosingForExit() && !leaveRecord()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}
