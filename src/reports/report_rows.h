#pragma once

#include <QHash>
#include <QList>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

// One record pushed into a report: values by data field name.
using ReportRow = QHash<QString, QVariant>;

// Where a report reads its rows from, one at a time, in order: rows held in
// memory, or a query read as the pages are laid out, so that a long report
// never holds all its records at once.
class ReportRowSource
{
public:
    virtual ~ReportRowSource() = default;

    // Moves to the next row; false once past the last.
    virtual bool next() = 0;
    // The current row's value of `dataField`; null when the row has none.
    virtual QVariant value(const QString &dataField) const = 0;
    // A source whose fields stand in fixed places names them once: the
    // place of `dataField` (-1 when it has none), and the current row's
    // value at a place. Others read by name only.
    virtual int placeOf(const QString &dataField) const
    {
        Q_UNUSED(dataField);
        return -1;
    }
    virtual QVariant valueAt(int place) const
    {
        Q_UNUSED(place);
        return {};
    }
};

// The rows a report prints, in order, held in memory column by column (one
// list of values per data field, not a table of names per row). Pushed one
// by one, or read whole from a query.
class ReportRows
{
public:
    // One row of the rows, read by data field name.
    class Row
    {
    public:
        Row(const ReportRows &rows, int index) : m_rows(&rows), m_index(index) {}
        // Null when there is no such field.
        QVariant value(const QString &dataField) const;

    private:
        const ReportRows *m_rows;
        int m_index;
    };

    // Reads the rows in order, as a report reads its source.
    class Reader : public ReportRowSource
    {
    public:
        explicit Reader(const ReportRows &rows) : m_rows(rows) {}
        bool next() override { return ++m_index < m_rows.size(); }
        QVariant value(const QString &dataField) const override
        {
            return m_rows.at(m_index).value(dataField);
        }
        int placeOf(const QString &dataField) const override
        {
            return m_rows.m_columnIndex.value(dataField, -1);
        }
        QVariant valueAt(int place) const override
        {
            return m_rows.m_columns.at(place).value(m_index);
        }

    private:
        const ReportRows &m_rows;
        int m_index = -1;
    };

    ReportRows() = default;
    // No rows yet, a column for each of `dataFields`, in that order.
    explicit ReportRows(const QStringList &dataFields);

    void append(const ReportRow &row);
    // Appends a row of values in column order (the order the columns were
    // first named); a value missing at the end is null.
    void appendValues(const QVariantList &values);
    // Appends the values of `source`'s current row for `dataFields` (a field
    // the rows do not have yet becomes a column of its own).
    void append(const ReportRowSource &source, const QStringList &dataFields);
    int size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    Row at(int index) const { return Row(*this, index); }

    // Every remaining row of `source`, every field of `dataFields`.
    static ReportRows readAll(ReportRowSource &source, const QStringList &dataFields);
    // Every remaining row of an executed query, every column by its name.
    // The columns in `moneyColumns` hold INTEGER ten-thousandths and become
    // Money; NULL stays a null value.
    static ReportRows fromQuery(QSqlQuery &query, const QStringList &moneyColumns = {});

private:
    int columnOf(const QString &dataField);

    QHash<QString, int> m_columnIndex;
    QList<QList<QVariant>> m_columns;
    int m_size = 0;
};

// The rows of an executed query, read one at a time as a report lays its
// pages out. Amount columns stored as whole ten-thousandths of a dollar are
// named, so that they reach the report as Money.
class ReportQueryRows : public ReportRowSource
{
public:
    ReportQueryRows(QSqlQuery query, const QStringList &moneyColumns);

    bool next() override { return m_query.next(); }
    QVariant value(const QString &dataField) const override;
    int placeOf(const QString &dataField) const override
    {
        return m_columnIndex.value(dataField, -1);
    }
    QVariant valueAt(int place) const override;
    // The query's column names, in order.
    const QStringList &columns() const { return m_columns; }

private:
    QSqlQuery m_query;
    QStringList m_columns;
    QHash<QString, int> m_columnIndex;
    QList<bool> m_money;
};
