#include "record_window.h"

#include "record_view.h"

#include "store/record_cursor.h"
#include "store/record_table.h"

#include <QEvent>
#include <QPushButton>

RecordWindow::RecordWindow(std::unique_ptr<RecordTable> table, Prompts &prompts, QWidget *parent)
    : QWidget(parent, Qt::Window), m_prompts(prompts), m_table(std::move(table))
{
}

RecordWindow::~RecordWindow() = default;

void RecordWindow::bind(const QList<QLineEdit *> &fields, RecordBar *bar)
{
    m_bar = bar;
    m_view = std::make_unique<RecordView>(*m_table, fields, bar);
    connect(bar, &RecordBar::stepRequested, this, &RecordWindow::step);
}

QPushButton *RecordWindow::button(QWidget *parent, const char *name, const char *caption)
{
    auto *result = new QPushButton(QString::fromLatin1(caption), parent);
    result->setObjectName(QString::fromLatin1(name));
    result->setAutoDefault(false);
    return result;
}

RecordCursor &RecordWindow::cursor() const
{
    return m_view->cursor();
}

void RecordWindow::openOnFirstRecord()
{
    QString error;
    if (!m_table->reload(&error) || !cursor().moveTo(0, &error))
        dataError(error);
    showRecord();
}

void RecordWindow::closeForExit()
{
    RecordCursor &current = cursor();
    const bool adding = current.isAdding();
    const bool keep = adding ? storesNewRecordOnLeave() && !m_view->isBlank() : m_view->isChanged();
    QString ignored; // a value that cannot be stored never could be
    if (keep)
        current.write(m_view->texts(), &ignored);
    if (current.isAdding())
        current.abandonNew();
    m_closingForExit = true;
    close();
    m_closingForExit = false;
}

void RecordWindow::showRecord()
{
    m_view->show();
}

void RecordWindow::step(RecordBar::Step step)
{
    int target = m_bar->target(step);
    if (target < 0 || !leaveRecord())
        return;
    // A new record written on the way is the last one now.
    if (step == RecordBar::Step::Last)
        target = m_table->rowCount() - 1;
    QString error;
    if (!cursor().moveTo(target, &error))
        dataError(error);
    showRecord();
}

bool RecordWindow::event(QEvent *event)
{
    // Quietly: a message box here would take the activation away and bring
    // it back again.
    if (event->type() == QEvent::WindowActivate && m_view && !cursor().isAdding() &&
        !m_view->isChanged()) {
        cursor().refresh(nullptr);
        showRecord();
    }
    return QWidget::event(event);
}
