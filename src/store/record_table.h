#pragma once

#include "record_field.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

// One table of the deal database seen a record at a time, as the roster and
// the table maintenance windows show it: its rows in table order (the order
// they were written), each as the texts of its fields.
//
// Every write is one statement on one row with bound values, in one
// transaction with its entry in the audit trail. An update
// writes only the fields whose text changed, so a row keeps every other
// value, its deal identity included. A text that is not a value of its field
// refuses the whole write, and nothing is written.
//
// A table whose rows belong to a saved deal names its stock number column:
// a new row joins the latest saved deal with that stock number, and is
// refused when there is none.
//
// Functions that can fail return false or std::nullopt and put a message in
// `error`: the refusal of a field, or the database's own words.
//
// Not QSqlTableModel: on these tables (no primary key, rows known by rowid) it
// matches a row by all its values, so identical rows change together; and
// "Record: n of m" or the last row would make it fetch and hold every row.
class RecordTable
{
public:
    RecordTable(QSqlDatabase db, QString table, QList<RecordField> fields,
                QString dealStockColumn = {});

    const QString &name() const { return m_table; }
    const QList<RecordField> &fields() const { return m_fields; }

    // Reads the table's row keys again; rows written elsewhere show up.
    bool reload(QString *error);
    int rowCount() const { return int(m_rowIds.size()); }
    // The position of a row key, -1 when the row is not in the table.
    int positionOf(qint64 rowId) const { return int(m_rowIds.indexOf(rowId)); }
    qint64 rowIdAt(int position) const { return m_rowIds.value(position, -1); }

    // The field texts of the row at `position`.
    std::optional<QStringList> read(int position, QString *error) const;

    // Writes the texts that differ from `shown` into the row at `position`.
    // Refused, with `changedElsewhere` set, when one of those fields, or a
    // read-only field, no longer holds what was shown: another desk changed
    // it meanwhile, and its change is not written over.
    bool update(int position, const QStringList &shown, const QStringList &texts, QString *error,
                bool *changedElsewhere = nullptr);

    // Appends a row; its position.
    std::optional<int> append(const QStringList &texts, QString *error);

    // Deletes the row at `position`.
    bool remove(int position, QString *error);

    // The position of the first row, in table order, whose `column` holds
    // exactly `text` in any letter case; -1 when there is none. The text is a
    // bound value: quotes in it are matched as themselves.
    std::optional<int> findFirst(const QString &column, const QString &text, QString *error);

private:
    std::optional<QStringList> readRow(int position, bool lock, QString *error) const;
    // `texts` with every read-only field at its empty value.
    QStringList writable(const QStringList &texts) const;
    std::optional<QVariantList> values(const QList<int> &fieldIndexes, const QStringList &texts,
                                       QString *error) const;
    std::optional<QVariant> dealOf(const QStringList &texts, QString *error) const;
    // Writes the change's entry in the audit trail: the texts of the fields
    // concerned before and after (an empty list for a side that has none).
    bool audit(const QString &action, qint64 rowId, const QStringList &before,
               const QStringList &after, const QList<int> &fieldIndexes, QString *error) const;

    QSqlDatabase m_db;
    QString m_table;
    QList<RecordField> m_fields;
    QString m_dealStockColumn;
    QList<qint64> m_rowIds;
};
