#pragma once

#include "store_test_support.h"

#include "common/money.h"
#include "reports/dashboard_figures.h"

#include <QDate>
#include <QMap>
#include <QString>

// The dashboard's month of March 2005 on either engine, with every figure
// written out: John Smith's plain deal and his half of a split with Mary
// Jones, Élodie Müller's used car, José Peña's deal of the month and his
// February deal unwound in March, three sheets (one voided, one in April)
// and John's plan with volume tiers.
class DashboardMarch : public EngineStoreTest
{
protected:
    void SetUp() override;

    // A sheet as the commission sheet records it; amounts in ten-thousandths.
    void addSheet(const QString &salesPerson, const QString &printedAt, qint64 total,
                  std::optional<qint64> bonus, const QString &voidedAt = {});
    DashboardFigures read(const DashboardPeriod &period, const QDate &today = QDate(2026, 12, 8));
};

// A salesperson's (or a month's) units and front gross.
struct Counted
{
    Money units;
    Money gross;
    bool operator==(const Counted &) const = default;
};

// The same figures by plain GROUP BY statements of the test's own: the rows
// sold in the period by salesperson, less the rows of deals unwound whole in
// it; and the same by day, added up by month.
QMap<QString, Counted> countedBySalesPerson(const DealDatabase &database, const QDate &first,
                                            const QDate &last);
QMap<QDate, Counted> countedByMonth(const DealDatabase &database, const QDate &first,
                                    const QDate &last);
// The feet of the sheets printed in the period and not voided.
Money sheetsPaid(const DealDatabase &database, const QDate &first, const QDate &last);
