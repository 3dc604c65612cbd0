#include "reports/sheet_volume.h"

#include "pay/volume_bonus.h"
#include "store/deal_database.h"
#include "store/pay_plan_store.h"
#include "store/volume_ledger.h"

namespace SheetVolume {

namespace {

// How far back a sheet looks for a month's volume that changed.
constexpr int kMonthsBack = 12;

} // namespace

std::optional<QList<Line>> settle(DealDatabase &database, qint64 sheetId,
                                  const QString &salesPerson, const QDate &on,
                                  const std::optional<QDate> &includeMonth, QString *error)
{
    QSqlDatabase db = database.connection();
    if (!VolumeLedger::lockSalesPerson(db, salesPerson, error))
        return std::nullopt;
    const QDate current = VolumeLedger::monthOf(on);
    QList<QDate> months;
    for (int back = kMonthsBack; back >= 1; --back)
        months << current.addMonths(-back);
    if (includeMonth && VolumeLedger::monthOf(*includeMonth) >= current)
        months << VolumeLedger::monthOf(*includeMonth);
    PayPlanStore plans(database);
    QList<Line> lines;
    for (const QDate &month : months) {
        // The version in force at the month's end pays its volume (none,
        // with an empty `error`, when the salesperson has no plan then).
        const std::optional<PayPlanVersion> plan =
            plans.inForce(salesPerson, month.addMonths(1).addDays(-1), error);
        if (!plan && error && !error->isEmpty())
            return std::nullopt;
        const std::optional<Money> paid = VolumeLedger::paidFor(db, salesPerson, month, error);
        if (!paid)
            return std::nullopt;
        if ((!plan || plan->tiers.isEmpty()) && paid->isZero())
            continue;
        const auto rows = VolumeLedger::monthRows(db, salesPerson, month, error);
        if (!rows)
            return std::nullopt;
        const VolumeBonus::Result result =
            plan ? VolumeBonus::owed(*plan, *rows) : VolumeBonus::Result();
        const Money difference = result.owed - *paid;
        if (difference.isZero())
            continue;
        const Line line{month, VolumeBonus::lineText(month, plan.value_or(PayPlanVersion()), result),
                        difference};
        if (!VolumeLedger::recordBonus(db, sheetId, salesPerson, month, line.amount, line.text,
                                       error))
            return std::nullopt;
        lines << line;
    }
    return lines;
}

} // namespace SheetVolume
