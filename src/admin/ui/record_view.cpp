#include "record_view.h"

#include "common/ui/record_bar.h"

#include "store/record_table.h"

#include <QLineEdit>

RecordView::RecordView(RecordTable &table, QList<QLineEdit *> edits, RecordBar *bar)
    : m_cursor(table), m_edits(std::move(edits)), m_bar(bar)
{
}

QStringList RecordView::texts() const
{
    QStringList result;
    for (const QLineEdit *edit : m_edits)
        result << edit->text();
    return result;
}

bool RecordView::isBlank() const
{
    for (const QLineEdit *edit : m_edits) {
        if (!edit->text().trimmed().isEmpty())
            return false;
    }
    return true;
}

void RecordView::show()
{
    const QStringList &shown = m_cursor.shown();
    for (int i = 0; i < m_edits.size(); ++i) {
        m_edits.at(i)->setText(shown.value(i));
        m_edits.at(i)->setCursorPosition(0);
    }
    m_bar->setPlace(m_cursor.position(), m_cursor.table().rowCount());
}
