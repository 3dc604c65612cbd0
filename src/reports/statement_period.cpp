#include "reports/statement_period.h"

#include <QLocale>

namespace {

QString shortDate(const QDate &date)
{
    return date.toString(QStringLiteral("M/d/yyyy"));
}

} // namespace

StatementPeriod StatementPeriod::month(const QDate &day)
{
    const QDate first(day.year(), day.month(), 1);
    return {first, first.addMonths(1).addDays(-1)};
}

StatementPeriod StatementPeriod::yearToDate(const QDate &asOf)
{
    return {QDate(asOf.year(), 1, 1), asOf};
}

StatementPeriod StatementPeriod::between(const QDate &first, const QDate &last)
{
    return {first, last};
}

QString StatementPeriod::text() const
{
    if (*this == month(first))
        return QLocale(QLocale::English, QLocale::UnitedStates)
            .toString(first, QStringLiteral("MMMM yyyy"));
    return QStringLiteral("%1 to %2").arg(shortDate(first), shortDate(last));
}
