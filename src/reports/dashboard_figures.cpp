#include "reports/dashboard_figures.h"

#include "pay/volume_bonus.h"
#include "store/column_value.h"
#include "store/deal_database.h"
#include "store/pay_plan_store.h"
#include "store/store_engine.h"
#include "store/store_sql.h"
#include "store/volume_ledger.h"

#include <QCollator>
#include <QMap>
#include <QSqlQuery>

#include <algorithm>

namespace {

Money moneyOf(const QVariant &value)
{
    return ColumnValue::moneyFrom(value).value_or(Money());
}

// Each salesperson's units and front gross by month, from `first` to
// `last`: the rows sold, less the deals unwound whole (their units and
// what the earlier partial unwinds left of their gross) and the gross the
// partial unwinds charged back, each in the month of its unwind.
QString monthsStatement(StoreEngine::Engine engine)
{
    const QString sold = StoreEngine::monthOf(engine, QStringLiteral("s.\"Date\""));
    const QString unwound = StoreEngine::monthOf(engine, QStringLiteral("u.\"UnwoundOn\""));
    return QStringLiteral(
               "SELECT \"Month\", \"SalesPerson\", CAST(sum(\"Units\") AS BIGINT), "
               "CAST(sum(\"Gross\") AS BIGINT) FROM ("
               "SELECT %1 AS \"Month\", s.\"Sales_Person\" AS \"SalesPerson\", s.\"UnitCount\" AS "
               "\"Units\", s.\"Payable_Gross\" AS \"Gross\" FROM \"SalesSummary\" s WHERE "
               "s.\"Date\" BETWEEN ? AND ? "
               "UNION ALL SELECT %2, s.\"Sales_Person\", -s.\"UnitCount\", -(s.\"Payable_Gross\" - "
               "(SELECT CAST(COALESCE(sum(c.\"Gross\"), 0) AS BIGINT) FROM \"Ledger\" c JOIN "
               "\"Unwinds\" e ON e.\"UnwindId\" = c.\"UnwindId\" WHERE c.\"SummaryRow\" = s.rowid "
               "AND c.\"Kind\" = ? AND e.\"Whole\" = 0)) FROM \"Unwinds\" u JOIN \"SalesSummary\" s "
               "ON s.\"DealId\" = u.\"DealId\" WHERE u.\"Whole\" = 1 AND u.\"UnwoundOn\" BETWEEN ? "
               "AND ? "
               "UNION ALL SELECT %2, s.\"Sales_Person\", 0, -c.\"Gross\" FROM \"Ledger\" c JOIN "
               "\"Unwinds\" u ON u.\"UnwindId\" = c.\"UnwindId\" JOIN \"SalesSummary\" s ON s.rowid "
               "= c.\"SummaryRow\" WHERE c.\"Kind\" = ? AND u.\"Whole\" = 0 AND u.\"UnwoundOn\" "
               "BETWEEN ? AND ?"
               ") AS \"Lines\" GROUP BY \"Month\", \"SalesPerson\"")
        .arg(sold, unwound);
}

bool readMonths(DealDatabase &database, DashboardFigures &figures, QString *error)
{
    const QDate firstMonth = VolumeLedger::monthOf(figures.period.last).addMonths(-11);
    const QVariant from = ColumnValue::date(firstMonth);
    const QVariant to = ColumnValue::date(figures.period.last);
    const QString chargeback = QStringLiteral("Chargeback");
    QSqlQuery query(database.connection());
    query.setForwardOnly(true);
    if (!StoreSql::prepare(query, monthsStatement(database.engine()), error) ||
        !StoreSql::exec(query, {from, to, chargeback, from, to, chargeback, from, to}, error))
        return false;

    QMap<QString, DashboardFigures::SalesPerson> people;
    for (int n = 0; n < 12; ++n)
        figures.months << DashboardFigures::Month{firstMonth.addMonths(n), {}, {}};
    while (query.next()) {
        const QDate month = QDate::fromString(query.value(0).toString() + QStringLiteral("-01"),
                                              Qt::ISODate);
        const Money units = moneyOf(query.value(2));
        const Money gross = moneyOf(query.value(3));
        const int index = (month.year() - firstMonth.year()) * 12 + month.month() -
                          firstMonth.month();
        if (index < 0 || index >= 12)
            continue;
        figures.months[index].units += units;
        figures.months[index].gross += gross;
        if (month < figures.period.first)
            continue;
        const QString name = query.value(1).toString();
        DashboardFigures::SalesPerson &person = people[name];
        person.name = name;
        person.units += units;
        person.gross += gross;
        figures.units += units;
        figures.gross += gross;
    }
    // By name as the desktop sorts names, accented letters among their own.
    figures.salesPeople = people.values();
    const QCollator collator;
    std::sort(figures.salesPeople.begin(), figures.salesPeople.end(),
              [&collator](const auto &a, const auto &b) { return collator(a.name, b.name); });
    return true;
}

bool readCommissionPaid(DealDatabase &database, DashboardFigures &figures, QString *error)
{
    // Printed at is local time, "YYYY-MM-DD HH:MM:SS".
    QSqlQuery query(database.connection());
    query.setForwardOnly(true);
    if (!StoreSql::prepare(
            query,
            QStringLiteral("SELECT CAST(COALESCE(sum(COALESCE(\"Total\", 0) + COALESCE(\"Bonus\", "
                           "0)), 0) AS BIGINT) FROM \"Sheets\" WHERE (\"VoidedAt\" IS NULL OR "
                           "\"VoidedAt\" = '') AND \"PrintedAt\" >= ? AND \"PrintedAt\" < ?"),
            error) ||
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
            return readMonths(database, figures, error) &&
                   readCommissionPaid(database, figures, error);
        },
        error);
    if (!read || !readTierProgress(database, figures, today, error))
        return std::nullopt;
    return figures;
}
