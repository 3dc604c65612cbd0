#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

class QSqlQuery;

// One record a report prints: values by data field name.
using ReportRow = QHash<QString, QVariant>;

// The rows a report prints, in order: pushed one by one, or read from a
// query. Amount columns stored as whole ten-thousandths of a dollar are named
// when reading a query, so that they reach the report as Money.
class ReportRows
{
public:
    ReportRows() = default;

    void append(ReportRow row) { m_rows.append(std::move(row)); }
    int size() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    const ReportRow &at(int index) const { return m_rows.at(index); }

    // Every remaining row of an executed query, every column by its name.
    // The columns in `moneyColumns` hold INTEGER ten-thousandths and become
    // Money; NULL stays a null value.
    static ReportRows fromQuery(QSqlQuery &query, const QStringList &moneyColumns = {});

private:
    QList<ReportRow> m_rows;
};
