#include "reports/report_rows.h"

#include "common/money.h"
#include "store/column_value.h"

#include <QSqlQuery>
#include <QSqlRecord>

ReportRows ReportRows::fromQuery(QSqlQuery &query, const QStringList &moneyColumns)
{
    ReportRows rows;
    while (query.next()) {
        const QSqlRecord record = query.record();
        ReportRow row;
        for (int i = 0; i < record.count(); ++i) {
            const QString name = record.fieldName(i);
            const QVariant value = record.value(i);
            // Stored amounts become Money as the store defines them.
            const std::optional<Money> amount =
                moneyColumns.contains(name) ? ColumnValue::moneyFrom(value) : std::nullopt;
            row.insert(name, amount ? QVariant::fromValue(*amount) : value);
        }
        rows.append(std::move(row));
    }
    return rows;
}
