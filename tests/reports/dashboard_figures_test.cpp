// The dashboard's figures, on either engine: a month and a year written out,
// and every figure of a generated database against GROUP BY statements of
// the test's own.
#include "dashboard_test_support.h"

#include "store/deal_unwinds.h"

#include <random>

namespace {

using SalesPerson = DashboardFigures::SalesPerson;

Money dollars(const char *text)
{
    // "1500.50" -> ten-thousandths, written out without the program's reader.
    const QString whole = QString::fromLatin1(text);
    const qsizetype point = whole.indexOf(u'.');
    const qint64 cents = point < 0 ? whole.toLongLong() * 100
                                   : whole.left(point).toLongLong() * 100 +
                                         (whole.startsWith(u'-') ? -1 : 1) *
                                             whole.mid(point + 1).toLongLong();
    return Money::fromCents(cents);
}

Money units(qint64 halves)
{
    return Money::fromUnits(halves * 5000);
}

QList<DashboardFigures::Month> twelveMonths(const QDate &first,
                                           const QMap<QDate, Counted> &nonZero)
{
    QList<DashboardFigures::Month> months;
    for (int n = 0; n < 12; ++n) {
        const QDate month = first.addMonths(n);
        const Counted c = nonZero.value(month);
        months << DashboardFigures::Month{month, c.units, c.gross};
    }
    return months;
}

using DashboardFiguresMarch = DashboardMarch;
INSTANTIATE_ON_BOTH_ENGINES(DashboardFiguresMarch);

TEST_P(DashboardFiguresMarch, TheMonthCountsSharesAndUnwindsAndTheSheetsPaidInIt)
{
    const DashboardFigures figures = read(DashboardPeriod::month(QDate(2005, 3, 14)));
    EXPECT_EQ(figures.period, (DashboardPeriod{QDate(2005, 3, 1), QDate(2005, 3, 31), false}));
    // Accented names among their letters; José's February deal, unwound in
    // March, takes its unit and gross back in March.
    EXPECT_EQ(figures.salesPeople,
              (QList<SalesPerson>{
                  {QStringLiteral("ÉLODIE MÜLLER"), units(2), dollars("1500.50"), {}},
                  {QStringLiteral("JOHN SMITH"), units(3), dollars("5850.00"),
                   QStringLiteral("1.5 units this month \u2014 0.5 to 32%")},
                  {QStringLiteral("JOSÉ PEÑA"), units(0), dollars("-1000.00"), {}},
                  {QStringLiteral("MARY JONES"), units(1), dollars("1950.00"), {}},
              }));
    EXPECT_EQ(figures.units, units(6));
    EXPECT_EQ(figures.gross, dollars("8300.50"));
    EXPECT_EQ(figures.averageGross(), dollars("2766.83"));
    // John's $1,170.00 and bonus $100.00, Mary's $585.00 at one second to
    // midnight; the voided sheet and April's are left out.
    EXPECT_EQ(figures.commissionPaid, dollars("1855.00"));
    EXPECT_EQ(figures.progressMonth, QDate(2005, 3, 1));
    EXPECT_EQ(figures.months, twelveMonths(QDate(2004, 4, 1),
                                           {{QDate(2005, 2, 1), {units(2), dollars("2000.00")}},
                                            {QDate(2005, 3, 1), {units(6), dollars("8300.50")}}}));
}

TEST_P(DashboardFiguresMarch, TheYearAddsItsMonthsAndTheTiersFollowThisMonth)
{
    const DashboardFigures figures =
        read(DashboardPeriod::year(2005), QDate(2005, 4, 2));
    EXPECT_EQ(figures.salesPeople,
              (QList<SalesPerson>{
                  {QStringLiteral("ÉLODIE MÜLLER"), units(2), dollars("1500.50"), {}},
                  {QStringLiteral("JOHN SMITH"), units(5), dollars("6650.00"),
                   QStringLiteral("1 units this month \u2014 1 to 32%")},
                  {QStringLiteral("JOSÉ PEÑA"), units(2), dollars("1000.00"), {}},
                  {QStringLiteral("MARY JONES"), units(1), dollars("1950.00"), {}},
              }));
    EXPECT_EQ(figures.units, units(10));
    EXPECT_EQ(figures.gross, dollars("11100.50"));
    EXPECT_EQ(figures.averageGross(), dollars("2220.10"));
    EXPECT_EQ(figures.commissionPaid, dollars("2155.00"));
    EXPECT_EQ(figures.progressMonth, QDate(2005, 4, 1));
    EXPECT_EQ(figures.months.first().month, QDate(2005, 1, 1));
    EXPECT_EQ(figures.months.last(),
              (DashboardFigures::Month{QDate(2005, 12, 1), Money(), Money()}));
}

TEST_P(DashboardFiguresMarch, AMonthWithoutDealsHasNoAverageAndNoSalespeople)
{
    const DashboardFigures figures = read(DashboardPeriod::month(QDate(2005, 5, 1)));
    EXPECT_TRUE(figures.salesPeople.isEmpty());
    EXPECT_EQ(figures.units, Money());
    EXPECT_FALSE(figures.averageGross().has_value());
    EXPECT_EQ(figures.commissionPaid, Money());
    // Its twelve months, June 2004 to May 2005, still hold March's and
    // April's deals.
    EXPECT_EQ(figures.months.at(9),
              (DashboardFigures::Month{QDate(2005, 3, 1), units(6), dollars("8300.50")}));
    EXPECT_EQ(figures.months.at(10),
              (DashboardFigures::Month{QDate(2005, 4, 1), units(2), dollars("800.00")}));
    EXPECT_EQ(figures.months.at(11), (DashboardFigures::Month{QDate(2005, 5, 1), {}, {}}));
}

TEST_P(DashboardFiguresMarch, AnUnreadableDatabaseIsSaidAndGivesNoFigures)
{
    execute(*m_database, QStringLiteral("DROP TABLE \"Ledger\""));
    QString error;
    EXPECT_FALSE(DashboardFigures::read(*m_database, DashboardPeriod::month(QDate(2005, 3, 1)),
                                        QDate(2005, 3, 1), &error)
                     .has_value());
    EXPECT_TRUE(error.contains(QStringLiteral("Ledger"), Qt::CaseInsensitive))
        << error.toStdString();
}

// ---------------------------------------------------------------------------

class DashboardGenerated : public EngineStoreTest
{
protected:
    void SetUp() override
    {
        EngineStoreTest::SetUp();
        if (IsSkipped())
            return;
        const QStringList people = {QStringLiteral("Ann Lee"), QStringLiteral("Åke Nyström"),
                                    QStringLiteral("Zoë O'Hara"), QStringLiteral("Bob Stone"),
                                    QStringLiteral("Édouard Roy")};
        const char *const classes[] = {"NC", "NT", "UC", "UT"};
        std::mt19937 random(2405); // replayable
        QList<std::pair<DealId, QDate>> deals;
        for (int n = 0; n < 90; ++n) {
            Deal deal = dealFor(QString::number(30000 + n), QStringLiteral("Dana Cruz"));
            deal.date = QDate(2004, 1, 1).addDays(int(random() % 730));
            deal.salesPerson = people.at(int(random() % people.size()));
            deal.unitClass = QString::fromLatin1(classes[n % 4]);
            deal.payableGross = QStringLiteral("$%1.%2")
                                    .arg(150 + random() % 5000)
                                    .arg(random() % 100, 2, 10, QLatin1Char('0'));
            if (n % 4 == 0) {
                deal.split = true;
                deal.splitPartner = people.at((people.indexOf(deal.salesPerson) + 1) % 5);
            }
            deals << std::pair{saved(deal), deal.date};
        }
        // Every ninth deal taken back from one to ninety days later.
        for (int n = 0; n < deals.size(); n += 9) {
            const auto outcome = DealUnwinds(*m_database).unwind(
                {deals[n].first, deals[n].second.addDays(1 + int(random() % 90)),
                 QStringLiteral("Finance rejected"), UnwindRequest::Part::Whole, {}});
            ASSERT_TRUE(outcome.done) << outcome.error.toStdString();
        }
        for (int n = 0; n < 20; ++n) {
            const QDate on = QDate(2004, 1, 1).addDays(int(random() % 730));
            execute(*m_database,
                    QStringLiteral("INSERT INTO \"Sheets\" (\"SalesPerson\", \"WeekEnding\", "
                                   "\"Bonus\", \"Total\", \"PrintedAt\", \"VoidedAt\") VALUES "
                                   "('ANN LEE', 'x', %1, %2, '%3 12:00:00', %4)")
                        .arg(n % 3 == 0 ? QStringLiteral("NULL") : QString::number(n * 1000000))
                        .arg(qint64(random() % 40000) * 100)
                        .arg(on.toString(Qt::ISODate),
                             n % 5 == 0 ? QStringLiteral("'2006-01-01 00:00:00'")
                                        : QStringLiteral("NULL")));
        }
    }

    void expectAsGroupBy(const DashboardPeriod &period)
    {
        SCOPED_TRACE(period.first.toString(Qt::ISODate).toStdString());
        QString error;
        const std::optional<DashboardFigures> figures =
            DashboardFigures::read(*m_database, period, QDate(2030, 1, 1), &error);
        ASSERT_TRUE(figures) << error.toStdString();

        const QMap<QString, Counted> expected =
            countedBySalesPerson(*m_database, period.first, period.last);
        QMap<QString, Counted> shown;
        Counted total;
        for (const SalesPerson &person : figures->salesPeople) {
            shown.insert(person.name, {person.units, person.gross});
            total.units += person.units;
            total.gross += person.gross;
        }
        EXPECT_EQ(shown, expected);
        EXPECT_EQ(figures->salesPeople.size(), expected.size());
        EXPECT_EQ((Counted{figures->units, figures->gross}), total);

        const QDate firstMonth = QDate(period.last.year(), period.last.month(), 1).addMonths(-11);
        EXPECT_EQ(figures->months,
                  twelveMonths(firstMonth,
                               countedByMonth(*m_database, firstMonth, period.last)));
        EXPECT_EQ(figures->commissionPaid, sheetsPaid(*m_database, period.first, period.last));
        EXPECT_FALSE(expected.isEmpty());
    }
};

INSTANTIATE_ON_BOTH_ENGINES(DashboardGenerated);

TEST_P(DashboardGenerated, EveryFigureEqualsItsGroupBy)
{
    expectAsGroupBy(DashboardPeriod::month(QDate(2005, 3, 1)));
    expectAsGroupBy(DashboardPeriod::month(QDate(2004, 12, 31)));
    expectAsGroupBy(DashboardPeriod::year(2004));
    expectAsGroupBy(DashboardPeriod::year(2005));
}

} // namespace
