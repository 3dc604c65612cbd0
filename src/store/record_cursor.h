#pragma once

#include <QString>
#include <QStringList>

class RecordTable;

// Where a record-at-a-time window stands in its table: on a stored row, on a
// new row that is not written yet, or nowhere (an empty table); with the texts
// it shows for that row, so that the window can tell what the user changed.
//
// A new row lives only here until it is written; leaving it without writing
// drops it, so no half-made row is ever left in the table.
class RecordCursor
{
public:
    explicit RecordCursor(RecordTable &table);

    RecordTable &table() const { return m_table; }

    // The stored row shown; -1 when none. While a new row is being made it is
    // rowCount(), the place after the last row.
    int position() const;
    bool isAdding() const { return m_adding; }
    const QStringList &shown() const { return m_shown; }
    // Whether `texts` differ from the texts shown for the row.
    bool isChanged(const QStringList &texts) const;

    // Reads the row keys again and stays on the same row when it is still
    // there (otherwise on the row now at its place). Ends a new row.
    bool refresh(QString *error);
    // Shows the stored row at `position`, kept within the table. Ends a new
    // row. On failure the texts shown are empty.
    bool moveTo(int position, QString *error);

    // Starts a new row: every text empty.
    void startNew();
    // Drops the new row and goes back to the row shown before it.
    void abandonNew();

    // Writes `texts`: appends the new row (which becomes the row shown) or
    // updates the fields changed in the stored row. Nothing to do with no row.
    // An update refused because another desk changed the row meanwhile sets
    // `changedElsewhere` and shows the row as it is stored now.
    bool write(const QStringList &texts, QString *error, bool *changedElsewhere = nullptr);
    // Deletes the stored row and shows the next one (the new last row when
    // it was the last); a new row is dropped instead.
    bool removeCurrent(QString *error);

private:
    QStringList blanks() const;

    RecordTable &m_table;
    int m_position = -1;
    bool m_adding = false;
    QStringList m_shown;
};
