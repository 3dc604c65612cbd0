// The dashboard on the older installation's Access database, imported whole:
// every figure of each year and of a few months against GROUP BY statements
// of the test's own.
#include "dashboard_test_support.h"

#include "legacy/legacy_import.h"
#include "legacy_test_support.h"

namespace {

TEST(DashboardFixture, EveryFigureOfTheImportedDealsEqualsItsGroupBy)
{
    TempProgramFolder dir;
    placeFixture(dir);
    const LegacyImportResult result =
        LegacyImport(dir.folder(), dir.filePath(QStringLiteral("Sales Log2.mdb"))).run();
    ASSERT_EQ(result.status, LegacyImportResult::Status::Imported) << result.error.toStdString();
    DealDatabase database(dir.folder());
    QString error;
    ASSERT_TRUE(database.open(&error)) << error.toStdString();

    int withDeals = 0;
    QList<DashboardPeriod> periods = {DashboardPeriod::year(2003), DashboardPeriod::year(2004),
                                      DashboardPeriod::year(2005)};
    for (int month = 1; month <= 12; ++month)
        periods << DashboardPeriod::month(QDate(2005, month, 1));
    for (const DashboardPeriod &period : std::as_const(periods)) {
        SCOPED_TRACE(period.first.toString(Qt::ISODate).toStdString());
        const std::optional<DashboardFigures> figures =
            DashboardFigures::read(database, period, QDate(2026, 12, 8), &error);
        ASSERT_TRUE(figures) << error.toStdString();
        QMap<QString, Counted> shown;
        for (const DashboardFigures::SalesPerson &person : figures->salesPeople)
            shown.insert(person.name, {person.units, person.gross});
        EXPECT_EQ(shown, countedBySalesPerson(database, period.first, period.last));
        const QDate firstMonth =
            QDate(period.last.year(), period.last.month(), 1).addMonths(-11);
        const QMap<QDate, Counted> months = countedByMonth(database, firstMonth, period.last);
        for (const DashboardFigures::Month &month : figures->months)
            EXPECT_EQ((Counted{month.units, month.gross}), months.value(month.month))
                << month.month.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(figures->commissionPaid, Money());
        withDeals += shown.isEmpty() ? 0 : 1;
    }
    // The file's deals lie in each of its three years.
    EXPECT_GE(withDeals, 4);
}

} // namespace
