#include "reports/report_summary.h"

#include "reports/report_rows.h"
#include "reports/report_value.h"

#include <limits>

QString ReportSummary::overflowMark()
{
    return QStringLiteral("** OVERFLOW **");
}

std::optional<Money> ReportSummary::over(const ReportRows &rows, const QString &dataField,
                                         int begin, int end, bool *overflow) const
{
    if (overflow)
        *overflow = false;
    qint64 counted = 0;
    qint64 amounts = 0;
    // Wide enough for any number of the largest amounts: a total is known
    // exactly before it is asked to fit in Money.
    __int128 sum = 0;
    // A sum adds each amount as a line prints it, to the cent, so that the
    // printed lines add up to the printed total.
    __int128 printedSum = 0;
    for (int i = begin; i < end; ++i) {
        const QVariant value = dataField.isEmpty() ? QVariant(true) : rows.at(i).value(dataField);
        if (value.isNull())
            continue;
        const QVariant weight = countsAs.isEmpty() ? QVariant() : rows.at(i).value(countsAs);
        counted += weight.isNull() ? 1 : weight.toLongLong();
        if (const auto money = ReportValue::amount(value)) {
            sum += money->units();
            printedSum += money->roundedToCent().units();
            ++amounts;
        }
    }
    switch (function) {
    case Function::Sum:
        sum = printedSum;
        break;
    case Function::Count:
        return Money::dollars(counted);
    case Function::Average: {
        if (amounts == 0)
            return std::nullopt;
        // Rounded half away from zero, like every quotient of Money.
        const __int128 magnitude = sum < 0 ? -sum : sum;
        const __int128 quotient = (magnitude + amounts / 2) / amounts;
        return Money::fromUnits(qint64(sum < 0 ? -quotient : quotient));
    }
    case Function::None:
        return std::nullopt;
    }
    if (sum > std::numeric_limits<qint64>::max() || sum < std::numeric_limits<qint64>::min()) {
        if (overflow)
            *overflow = true;
        return std::nullopt;
    }
    return Money::fromUnits(qint64(sum));
}
