#include "reports/dashboard_figures.h"

#include "pay/volume_bonus.h"
#include "store/column_value.h"
#include "store/deal_database.h"
#include "store/pay_plan_store.h"
#include "store/store_sql.h"
#include "store/volume_ledger.h"

#include <QCollator>
#include <QMap>
#include <QSqlQuery>

#include <algorithm>
#include <functional>

namespace {

Money moneyOf(const QVariant &value)
{
    return ColumnValue::moneyFrom(value).value_or(Money());
}

// Runs countedStatement() from `first` to `last`, handing each row's key,
// units and gross to `add`.
bool readCounted(DealDatabase &database, const QString &soldKey, const QString &unwoundKey,
                 const QDate &first, const QDate &last,
                 const std::function<void(const QVariant &, Money, Money)> &add, QString *error)
{
    const QVariant from = ColumnValue::date(first);
    const QVariant to = ColumnValue::date(last);
    const QString chargeback = QStringLiteral("Chargeback");
    QSqlQuery query(database.connection());
    query.setForwardOnly(true);
    if (!StoreSql::prepare(query, DashboardFigures::countedStatement(soldKey, unwoundKey), error) ||
        !StoreSql::exec(query, {from, to, chargeback, from, to, chargeback, from, to}, error))
        return false;
    while (query.next())
        add(query.value(0), moneyOf(query.value(1)), moneyOf(query.value(2)));
    return true;
}

// The twelve months up to the period's end, by day.
bool readMonths(DealDatabase &database, DashboardFigures &figures, QString *error)
{
    const QDate firstMonth = VolumeLedger::monthOf(figures.period.last).addMonths(-11);
    for (int n = 0; n < 12; ++n)
        figures.months << DashboardFigures::Month{firstMonth.addMonths(n), {}, {}};
    return readCounted(
        database, QStringLiteral("s.\"Date\""), QStringLiteral("u.\"UnwoundOn\""), firstMonth,
        figures.period.last,
        [&](const QVariant &key, Money units, Money gross) {
            const QDate day = ColumnValue::dateFrom(key);
            const int index =
                (day.year() - firstMonth.year()) * 12 + day.month() - firstMonth.month();
            if (index < 0 || index >= 12)
                return;
            figures.months[index].units += units;
            figures.months[index].gross += gross;
        },
        error);
}

// The period's salespeople.
bool readSalesPeople(DealDatabase &database, DashboardFigures &figures, QString *error)
{
    QMap<QString, DashboardFigures::SalesPerson> people;
    const QString key = QStringLiteral("s.\"Sales_Person\"");
    if (!readCounted(
            database, key, key, figures.period.first, figures.period.last,
            [&](const QVariant &name, Money units, Money gross) {
                DashboardFigures::SalesPerson &person = people[name.toString()];
                person.name = name.toString();
                person.units += units;
                person.gross += gross;
                figures.units += units;
                figures.gross += gross;
            },
            error))
        return false;
    // By name as the desktop sorts names, accented letters among their own.
    figures.salesPeople = people.values();
    const QCollator collator;
    std::sort(figures.salesPeople.begin(), figures.salesPeople.end(),
              [&collator](const auto &a, const auto &b) { return collator(a.name, b.name); });
    return true;
}

bool readCommissionPaid(DealDatabase &database, DashboardFigures &figures, QString *error)
{
    QSqlQuery query(database.connection());
    query.setForwardOnly(true);
    if (!StoreSql::prepare(query, DashboardFigures::commissionPaidStatement(), error) ||
        !StoreSql::exec(query,
                        {figures.period.first.toString(Qt::ISODate),
                         figures.period.last.addDays(1).toString(Qt::ISODate)},
                        error) ||
        !query.next())
        return false;
    figures.commissionPaid = moneyOf(query.value(0));
    return true;
}

bool readTierProgress(DealDatabase &database, DashboardFigures &figures, const QDate &today,
                      QString *error)
{
    const bool current = today >= figures.period.first && today <= figures.period.last;
    const QDate day = current ? today : figures.period.last;
    figures.progressMonth = VolumeLedger::monthOf(day);
    const PayPlanStore plans(database);
    for (DashboardFigures::SalesPerson &person : figures.salesPeople) {
        QString why;
        const std::optional<PayPlanVersion> plan = plans.inForce(person.name, day, &why);
        if (!plan && !why.isEmpty()) {
            *error = why;
            return false;
        }
        if (!plan || plan->tiers.isEmpty())
            continue;
        const auto rows = VolumeLedger::monthRows(database.connection(), person.name,
                                                  figures.progressMonth, error);
        if (!rows)
            return false;
        person.tierProgress =
            VolumeBonus::progressText(*plan, VolumeBonus::unitsOf(*rows, plan->tierClasses));
    }
    return true;
}

} // namespace

DashboardPeriod DashboardPeriod::month(const QDate &day)
{
    const QDate first(day.year(), day.month(), 1);
    return {first, first.addMonths(1).addDays(-1), false};
}

DashboardPeriod DashboardPeriod::year(int year)
{
    return {QDate(year, 1, 1), QDate(year, 12, 31), true};
}

std::optional<Money> DashboardFigures::averageGross() const
{
    if (units.units() == 0)
        return std::nullopt;
    // gross / units in cents, both in ten-thousandths, rounded once, half
    // away from zero.
    const __int128 scaled = __int128(gross.units()) * 100;
    const __int128 divisor = units.units();
    __int128 quotient = scaled / divisor;
    const __int128 rest = scaled % divisor;
    if ((rest < 0 ? -rest : rest) * 2 >= (divisor < 0 ? -divisor : divisor))
        quotient += ((scaled < 0) != (divisor < 0)) ? -1 : 1;
    return Money::fromCents(qint64(quotient));
}

std::optional<DashboardFigures> DashboardFigures::read(DealDatabase &database,
                                                       const DashboardPeriod &period,
                                                       const QDate &today, QString *error)
{
    // Read again from the start when a lost server connection had to be
    // opened again.
    DashboardFigures figures;
    const bool read = database.reading(
        [&] {
            figures = DashboardFigures();
            figures.period = period;
            return readSalesPeople(database, figures, error) &&
                   readMonths(database, figures, error) &&
                   readCommissionPaid(database, figures, error);
        },
        error);
    if (!read || !readTierProgress(database, figures, today, error))
        return std::nullopt;
    return figures;
}

// Units and front gross by `soldKey` of the rows sold from the first to the
// second date, then by `unwoundKey` of the unwinds of those days: a deal
// unwound whole takes its units and what the earlier partial unwinds left
// of its gross, a partial unwind the gross it charged back. Each part is
// grouped on its own, so that the rows sold are grouped in the order of
// the date index when the key is the date; the few unwinds are read first
// (CROSS JOIN keeps SQLite from walking every row sold in the
// salesperson index's order to find them).
QString DashboardFigures::countedStatement(const QString &soldKey, const QString &unwoundKey)
{
    return QStringLiteral(
               "SELECT %1, CAST(sum(s.\"UnitCount\") AS BIGINT), CAST(sum(s.\"Payable_Gross\") AS "
               "BIGINT) FROM \"SalesSummary\" s WHERE s.\"Date\" BETWEEN ? AND ? GROUP BY %1 "
               "UNION ALL SELECT %2, CAST(sum(-s.\"UnitCount\") AS BIGINT), "
               "CAST(sum(-(s.\"Payable_Gross\" - (SELECT COALESCE(sum(c.\"Gross\"), 0) FROM "
               "\"Ledger\" c JOIN \"Unwinds\" e ON e.\"UnwindId\" = c.\"UnwindId\" WHERE "
               "c.\"SummaryRow\" = s.rowid AND c.\"Kind\" = ? AND e.\"Whole\" = 0))) AS BIGINT) FROM "
               "\"Unwinds\" u CROSS JOIN \"SalesSummary\" s WHERE s.\"DealId\" = u.\"DealId\" AND "
               "u.\"Whole\" = 1 AND u.\"UnwoundOn\" BETWEEN ? AND ? GROUP BY %2 "
               "UNION ALL SELECT %2, 0, CAST(sum(-c.\"Gross\") AS BIGINT) FROM \"Ledger\" c JOIN "
               "\"Unwinds\" u ON u.\"UnwindId\" = c.\"UnwindId\" JOIN \"SalesSummary\" s ON s.rowid "
               "= c.\"SummaryRow\" WHERE c.\"Kind\" = ? AND u.\"Whole\" = 0 AND u.\"UnwoundOn\" "
               "BETWEEN ? AND ? GROUP BY %2")
        .arg(soldKey, unwoundKey);
}

QString DashboardFigures::commissionPaidStatement()
{
    // Printed at is local time, "YYYY-MM-DD HH:MM:SS".
    return QStringLiteral("SELECT CAST(COALESCE(sum(COALESCE(\"Total\", 0) + COALESCE(\"Bonus\", "
                          "0)), 0) AS BIGINT) FROM \"Sheets\" WHERE (\"VoidedAt\" IS NULL OR "
                          "\"VoidedAt\" = '') AND \"PrintedAt\" >= ? AND \"PrintedAt\" < ?");
}
