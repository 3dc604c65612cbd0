#include "dashboard_sample.h"

#include "pay/pay_plan.h"
#include "store/deal_database.h"
#include "store/deal_store.h"
#include "store/deal_unwinds.h"
#include "store/pay_plan_store.h"
#include "worksheet/deal.h"

#include <QSqlQuery>

#include <cstdio>

namespace {

Deal sampleDeal(int n, const QString &salesPerson, const QDate &on)
{
    Deal deal;
    deal.date = on;
    deal.salesPerson = salesPerson;
    deal.customer = QStringLiteral("Customer %1").arg(n);
    deal.stockNumber = QString::number(48000 + n);
    deal.year = QString::number(on.year());
    deal.unit = QStringLiteral("Explorer Spt");
    deal.unitClass = QStringList{QStringLiteral("NC"), QStringLiteral("NT"), QStringLiteral("UC"),
                                 QStringLiteral("UT")}
                         .at(n % 4);
    deal.saleType = QStringLiteral("0");
    deal.pack = QStringLiteral("$300.00");
    deal.commissionRate = QStringLiteral("30%");
    const int gross = 900 + (n * 733) % 3200;
    deal.payableGross = QStringLiteral("$%1.00").arg(gross);
    deal.commission = QStringLiteral("$%1.00").arg(gross * 3 / 10);
    deal.warranty = QStringLiteral("0");
    deal.spiff = QStringLiteral("0");
    deal.totalCommission = deal.commission;
    return deal;
}

} // namespace

bool fillDashboardSample(DealDatabase &database)
{
    DealStore store(database);
    const QStringList people = {QStringLiteral("John Smith"), QStringLiteral("Mary Jones"),
                                QStringLiteral("José Peña"), QStringLiteral("Ann Lee")};
    const QDate first(2025, 4, 1);
    QString error;
    std::optional<DealId> returned;
    int n = 0;
    for (int month = 0; month < 12; ++month) {
        // More deals toward spring, the top seller a little ahead.
        const int deals = 6 + (month * 5) % 7 + (month == 11 ? 6 : 0);
        for (int i = 0; i < deals; ++i, ++n) {
            Deal deal = sampleDeal(n, people.at((n * 7 + n / 5) % 5 % 4),
                                   first.addMonths(month).addDays((i * 3) % 27));
            if (n % 6 == 0) {
                deal.split = true;
                deal.splitPartner = people.at((people.indexOf(deal.salesPerson) + 1) % 4);
            }
            const std::optional<DealId> id = store.save(deal, &error);
            if (!id) {
                std::fprintf(stderr, "dashboard sample: %s\n", qPrintable(error));
                return false;
            }
            if (month == 10 && i == 0)
                returned = id;
        }
    }
    if (returned)
        DealUnwinds(database).unwind({*returned, QDate(2026, 3, 10),
                                      QStringLiteral("Returned vehicle"),
                                      UnwindRequest::Part::Whole, {}});
    QSqlQuery sheets(database.connection());
    sheets.exec(QStringLiteral(
        "INSERT INTO \"Sheets\" (\"SalesPerson\", \"WeekEnding\", \"Bonus\", \"Total\", "
        "\"PrintedAt\") VALUES ('JOHN SMITH', '03/14/2026', 2500000, 41250000, "
        "'2026-03-14 17:05:00'), ('MARY JONES', '03/21/2026', NULL, 28800000, "
        "'2026-03-21 16:40:00')"));

    PayPlanVersion plan;
    plan.salesPerson = people.first();
    plan.effectiveFrom = QDate(2025, 1, 1);
    for (PlanTerms &terms : plan.terms) {
        terms.percent = Money::dollars(30);
        terms.mini = Money::dollars(150);
        terms.pack = Money::dollars(300);
    }
    plan.tiers = {{.unitsFrom = Money::dollars(8), .percent = Money::dollars(32)},
                  {.unitsFrom = Money::dollars(12), .percent = Money::dollars(35)}};
    return PayPlanStore(database).add(plan, &error).has_value();
}
