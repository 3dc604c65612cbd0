#pragma once

#include "store/record_cursor.h"

#include <QList>
#include <QStringList>

class QLineEdit;
class RecordBar;

// The record a window shows in its bound fields: the cursor over the table,
// the line edits holding the field texts (one per field, in field order) and
// the browse bar that follows the cursor.
class RecordView
{
public:
    RecordView(RecordTable &table, QList<QLineEdit *> edits, RecordBar *bar);

    RecordCursor &cursor() { return m_cursor; }
    const RecordCursor &cursor() const { return m_cursor; }

    // The texts in the fields now.
    QStringList texts() const;
    // Whether the user changed a field of the row shown.
    bool isChanged() const { return m_cursor.isChanged(texts()); }
    // Whether every field of a new row is still empty.
    bool isBlank() const;

    // Fills the fields from the cursor and sets the bar's place.
    void show();

private:
    RecordCursor m_cursor;
    QList<QLineEdit *> m_edits;
    RecordBar *m_bar;
};
