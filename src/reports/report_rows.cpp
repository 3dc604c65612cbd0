#include "reports/report_rows.h"

#include "common/money.h"
#include "store/column_value.h"

#include <QSqlRecord>

QVariant ReportRows::Row::value(const QString &dataField) const
{
    const auto column = m_rows->m_columnIndex.constFind(dataField);
    if (column == m_rows->m_columnIndex.constEnd())
        return {};
    return m_rows->m_columns.at(*column).value(m_index);
}

int ReportRows::columnOf(const QString &dataField)
{
    const auto known = m_columnIndex.constFind(dataField);
    if (known != m_columnIndex.constEnd())
        return *known;
    // A field first seen now is null in the rows before.
    m_columns.append(QList<QVariant>(m_size));
    m_columnIndex.insert(dataField, int(m_columns.size()) - 1);
    return int(m_columns.size()) - 1;
}

ReportRows::ReportRows(const QStringList &dataFields)
{
    for (const QString &field : dataFields)
        columnOf(field);
}

void ReportRows::appendValues(const QVariantList &values)
{
    for (int column = 0; column < m_columns.size(); ++column)
        m_columns[column].append(values.value(column));
    ++m_size;
}

void ReportRows::append(const ReportRow &row)
{
    for (auto value = row.constBegin(); value != row.constEnd(); ++value)
        columnOf(value.key());
    for (auto column = m_columnIndex.constBegin(); column != m_columnIndex.constEnd(); ++column)
        m_columns[*column].append(row.value(column.key()));
    ++m_size;
}

void ReportRows::append(const ReportRowSource &source, const QStringList &dataFields)
{
    for (const QString &field : dataFields)
        columnOf(field);
    for (auto column = m_columnIndex.constBegin(); column != m_columnIndex.constEnd(); ++column)
        m_columns[*column].append(dataFields.contains(column.key()) ? source.value(column.key())
                                                                    : QVariant());
    ++m_size;
}

ReportRows ReportRows::readAll(ReportRowSource &source, const QStringList &dataFields)
{
    ReportRows rows;
    while (source.next())
        rows.append(source, dataFields);
    return rows;
}

ReportRows ReportRows::fromQuery(QSqlQuery &query, const QStringList &moneyColumns)
{
    ReportQueryRows source(std::move(query), moneyColumns);
    ReportRows rows = readAll(source, source.columns());
    return rows;
}

ReportQueryRows::ReportQueryRows(QSqlQuery query, const QStringList &moneyColumns)
    : m_query(std::move(query))
{
    const QSqlRecord record = m_query.record();
    for (int i = 0; i < record.count(); ++i) {
        m_columns << record.fieldName(i);
        m_columnIndex.insert(record.fieldName(i), i);
        m_money << moneyColumns.contains(record.fieldName(i));
    }
}

QVariant ReportQueryRows::value(const QString &dataField) const
{
    return valueAt(placeOf(dataField));
}

QVariant ReportQueryRows::valueAt(int place) const
{
    if (place < 0 || place >= m_money.size())
        return {};
    const QVariant value = m_query.value(place);
    if (!m_money.at(place))
        return value;
    // Stored amounts become Money as the store defines them.
    const std::optional<Money> amount = ColumnValue::moneyFrom(value);
    return amount ? QVariant::fromValue(*amount) : value;
}
