#include "reports/report_summary.h"

#include "reports/report_rows.h"
#include "reports/report_value.h"

std::optional<Money> ReportSummary::over(const ReportRows &rows, const QString &dataField,
                                         int begin, int end) const
{
    qint64 counted = 0;
    qint64 amounts = 0;
    Money sum;
    for (int i = begin; i < end; ++i) {
        const QVariant value = dataField.isEmpty() ? QVariant(true) : rows.at(i).value(dataField);
        if (value.isNull())
            continue;
        ++counted;
        if (const auto money = ReportValue::amount(value)) {
            sum += *money;
            ++amounts;
        }
    }
    switch (function) {
    case Function::Sum:
        return sum;
    case Function::Count:
        return Money::dollars(counted);
    case Function::Average:
        if (amounts == 0)
            return std::nullopt;
        return sum.dividedBy(amounts);
    case Function::None:
        break;
    }
    return std::nullopt;
}
