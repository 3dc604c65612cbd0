#include "record_cursor.h"

#include "record_table.h"

#include <optional>

RecordCursor::RecordCursor(RecordTable &table) : m_table(table), m_shown(blanks())
{
}

QStringList RecordCursor::blanks() const
{
    QStringList texts;
    for (qsizetype i = 0; i < m_table.fields().size(); ++i)
        texts << QString();
    return texts;
}

int RecordCursor::position() const
{
    return m_adding ? m_table.rowCount() : m_position;
}

bool RecordCursor::isChanged(const QStringList &texts) const
{
    return texts != m_shown;
}

bool RecordCursor::refresh(QString *error)
{
    const qint64 rowId = m_table.rowIdAt(m_position);
    if (!m_table.reload(error)) {
        m_adding = false;
        m_position = -1;
        m_shown = blanks();
        return false;
    }
    const int now = m_table.positionOf(rowId);
    return moveTo(now >= 0 ? now : m_position, error);
}

bool RecordCursor::moveTo(int position, QString *error)
{
    m_adding = false;
    const int count = m_table.rowCount();
    m_position = count == 0 ? -1 : qBound(0, position, count - 1);
    m_shown = blanks();
    if (m_position < 0)
        return true;
    const std::optional<QStringList> texts = m_table.read(m_position, error);
    if (!texts)
        return false;
    m_shown = *texts;
    return true;
}

void RecordCursor::startNew()
{
    m_adding = true;
    m_shown = blanks();
}

void RecordCursor::abandonNew()
{
    if (m_adding)
        moveTo(m_position, nullptr);
}

bool RecordCursor::write(const QStringList &texts, QString *error, bool *changedElsewhere)
{
    int written = m_position;
    if (m_adding) {
        const std::optional<int> added = m_table.append(texts, error);
        if (!added)
            return false;
        written = *added;
    } else if (m_position < 0) {
        return true;
    } else {
        bool there = false;
        if (!m_table.update(m_position, m_shown, texts, error, &there)) {
            if (there)
                moveTo(m_position, nullptr);
            if (changedElsewhere)
                *changedElsewhere = there;
            return false;
        }
    }
    // The row shows as stored (1,250.50 comes back as 1250.5); should it not
    // read back, it shows as written.
    if (!moveTo(written, nullptr))
        m_shown = texts;
    return true;
}

bool RecordCursor::removeCurrent(QString *error)
{
    if (m_adding) {
        abandonNew();
        return true;
    }
    if (m_position < 0)
        return true;
    if (!m_table.remove(m_position, error))
        return false;
    return moveTo(m_position, error);
}
