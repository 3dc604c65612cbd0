#include "reports/report_rows.h"

#include "common/money.h"

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
            if (moneyColumns.contains(name) && !value.isNull())
                row.insert(name, QVariant::fromValue(Money::fromUnits(value.toLongLong())));
            else
                row.insert(name, value);
        }
        rows.append(std::move(row));
    }
    return rows;
}
