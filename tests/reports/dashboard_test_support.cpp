#include "dashboard_test_support.h"

#include "pay/pay_plan.h"
#include "store/deal_unwinds.h"
#include "store/pay_plan_store.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

Deal sold(const char *stock, const QString &salesPerson, const QDate &on, const char *gross,
          const char *unitClass)
{
    Deal deal = dealFor(QString::fromLatin1(stock), QStringLiteral("Bob Brown"));
    deal.salesPerson = salesPerson;
    deal.date = on;
    deal.payableGross = QString::fromLatin1(gross);
    deal.unitClass = QString::fromLatin1(unitClass);
    return deal;
}

QSqlQuery run(const DealDatabase &database, const QString &statement, const QVariantList &values)
{
    QSqlQuery query(database.connection());
    EXPECT_TRUE(query.prepare(statement)) << query.lastError().text().toStdString();
    for (const QVariant &value : values)
        query.addBindValue(value);
    EXPECT_TRUE(query.exec()) << query.lastError().text().toStdString();
    return query;
}

// Rows of (key, units, gross), sold minus unwound whole.
QMap<QString, Counted> counted(const DealDatabase &database, const QString &key,
                               const QString &unwoundKey, const QDate &first, const QDate &last)
{
    QMap<QString, Counted> found;
    const QVariantList period = {first.toString(Qt::ISODate), last.toString(Qt::ISODate)};
    QSqlQuery sales = run(
        database,
        QStringLiteral("SELECT %1, CAST(sum(\"UnitCount\") AS BIGINT), "
                       "CAST(sum(\"Payable_Gross\") AS BIGINT) FROM \"SalesSummary\" "
                       "WHERE \"Date\" BETWEEN ? AND ? GROUP BY 1")
            .arg(key),
        period);
    while (sales.next()) {
        Counted &c = found[sales.value(0).toString()];
        c.units += Money::fromUnits(sales.value(1).toLongLong());
        c.gross += Money::fromUnits(sales.value(2).toLongLong());
    }
    QSqlQuery unwound = run(
        database,
        QStringLiteral("SELECT %1, CAST(sum(s.\"UnitCount\") AS BIGINT), "
                       "CAST(sum(s.\"Payable_Gross\") AS BIGINT) FROM \"SalesSummary\" s, "
                       "\"Unwinds\" u WHERE u.\"DealId\" = s.\"DealId\" AND u.\"Whole\" = 1 AND "
                       "u.\"UnwoundOn\" BETWEEN ? AND ? "
                       "GROUP BY 1")
            .arg(unwoundKey),
        period);
    while (unwound.next()) {
        Counted &c = found[unwound.value(0).toString()];
        c.units -= Money::fromUnits(unwound.value(1).toLongLong());
        c.gross -= Money::fromUnits(unwound.value(2).toLongLong());
    }
    return found;
}

} // namespace

void DashboardMarch::SetUp()
{
    EngineStoreTest::SetUp();
    if (IsSkipped())
        return;
    const QString john = QStringLiteral("John Smith");
    const QString jose = QStringLiteral("José Peña");
    saved(sold("4471", john, QDate(2005, 3, 7), "$3900.00", "NT"));
    Deal split = sold("A-77", john, QDate(2005, 3, 9), "$3900.00", "NC");
    split.split = true;
    split.splitPartner = QStringLiteral("Mary Jones");
    saved(split);
    saved(sold("90210", QStringLiteral("Élodie Müller"), QDate(2005, 3, 15), "$1500.50", "UC"));
    const DealId returned = saved(sold("5530", jose, QDate(2005, 2, 20), "$2000.00", "UT"));
    saved(sold("5531", jose, QDate(2005, 3, 22), "$1000.00", "UC"));
    saved(sold("6001", john, QDate(2004, 3, 31), "$700.00", "NT")); // before the twelve months
    saved(sold("6002", john, QDate(2005, 4, 1), "$800.00", "NT"));  // after them
    const DealUnwinds::Outcome outcome = DealUnwinds(*m_database).unwind(
        {returned, QDate(2005, 3, 20), QStringLiteral("Returned vehicle"),
         UnwindRequest::Part::Whole, {}});
    ASSERT_TRUE(outcome.done) << outcome.error.toStdString();

    addSheet(QStringLiteral("JOHN SMITH"), QStringLiteral("2005-03-25 10:00:00"), 11700000,
             1000000);
    addSheet(QStringLiteral("JOHN SMITH"), QStringLiteral("2005-03-26 11:00:00"), 5000000,
             std::nullopt, QStringLiteral("2005-03-27 09:00:00"));
    addSheet(QStringLiteral("MARY JONES"), QStringLiteral("2005-03-31 23:59:59"), 5850000,
             std::nullopt);
    addSheet(QStringLiteral("MARY JONES"), QStringLiteral("2005-04-01 00:00:00"), 3000000,
             std::nullopt);

    // John: 30%, 32% from the 2nd unit of a month, 35% from the 5th.
    PayPlanVersion plan;
    plan.salesPerson = john;
    plan.effectiveFrom = QDate(2005, 1, 1);
    for (PlanTerms &terms : plan.terms) {
        terms.percent = Money::dollars(30);
        terms.mini = Money::dollars(150);
        terms.pack = Money::dollars(300);
    }
    plan.tiers = {{.unitsFrom = Money::dollars(2), .percent = Money::dollars(32)},
                  {.unitsFrom = Money::dollars(5), .percent = Money::dollars(35)}};
    QString error;
    ASSERT_TRUE(PayPlanStore(*m_database).add(plan, &error)) << error.toStdString();
}

void DashboardMarch::addSheet(const QString &salesPerson, const QString &printedAt, qint64 total,
                              std::optional<qint64> bonus, const QString &voidedAt)
{
    run(*m_database,
        QStringLiteral("INSERT INTO \"Sheets\" (\"SalesPerson\", \"WeekEnding\", \"Bonus\", "
                       "\"Total\", \"PrintedAt\", \"VoidedAt\") VALUES (?, '03/31/05', ?, ?, ?, ?)"),
        {salesPerson, bonus ? QVariant(*bonus) : QVariant(QMetaType(QMetaType::LongLong)), total,
         printedAt,
         voidedAt.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(voidedAt)});
}

DashboardFigures DashboardMarch::read(const DashboardPeriod &period, const QDate &today)
{
    QString error;
    const std::optional<DashboardFigures> figures =
        DashboardFigures::read(*m_database, period, today, &error);
    EXPECT_TRUE(figures) << error.toStdString();
    return figures.value_or(DashboardFigures());
}

QMap<QString, Counted> countedBySalesPerson(const DealDatabase &database, const QDate &first,
                                            const QDate &last)
{
    return counted(database, QStringLiteral("\"Sales_Person\""), QStringLiteral("s.\"Sales_Person\""),
                   first, last);
}

QMap<QDate, Counted> countedByMonth(const DealDatabase &database, const QDate &first,
                                    const QDate &last)
{
    // By day in the statements, the days put into their months here.
    const QMap<QString, Counted> days = counted(database, QStringLiteral("\"Date\""),
                                                QStringLiteral("u.\"UnwoundOn\""), first, last);
    QMap<QDate, Counted> months;
    for (auto it = days.cbegin(); it != days.cend(); ++it) {
        const QDate day = QDate::fromString(it.key().left(10), Qt::ISODate);
        Counted &month = months[QDate(day.year(), day.month(), 1)];
        month.units += it->units;
        month.gross += it->gross;
    }
    return months;
}

Money sheetsPaid(const DealDatabase &database, const QDate &first, const QDate &last)
{
    QSqlQuery sheets = run(database,
                           QStringLiteral("SELECT \"Total\", \"Bonus\", \"PrintedAt\" FROM "
                                          "\"Sheets\" WHERE \"VoidedAt\" IS NULL"),
                           {});
    Money paid;
    while (sheets.next()) {
        const QDate printed =
            QDate::fromString(sheets.value(2).toString().left(10), Qt::ISODate);
        if (printed >= first && printed <= last)
            paid += Money::fromUnits(sheets.value(0).toLongLong() + sheets.value(1).toLongLong());
    }
    return paid;
}
