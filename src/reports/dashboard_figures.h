#pragma once

#include "common/money.h"

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

class DealDatabase;

// The period the dashboard shows: one calendar month or one calendar year.
struct DashboardPeriod
{
    QDate first;
    QDate last; // both days included
    bool wholeYear = false;

    static DashboardPeriod month(const QDate &day); // the month `day` falls in
    static DashboardPeriod year(int year);

    bool operator==(const DashboardPeriod &) const = default;
};

// What the dashboard shows of a period, read from the deal database.
//
// Units and front gross are counted as the salesperson summary counts them:
// each salesperson's SalesSummary rows dated in the period (a split deal
// gives each their share), and a deal unwound in the period taken back in
// the period of the unwind (a whole unwind takes its units and what is left
// of its gross, a partial one the gross it charged back), whenever it was
// sold. The commission paid is the foot (commission and bonus) of the
// commission sheets printed in the period and not voided.
struct DashboardFigures
{
    struct SalesPerson
    {
        QString name;
        Money units;
        Money gross;
        QString tierProgress; // empty when the plan in force has no volume tiers

        bool operator==(const SalesPerson &) const = default;
    };
    struct Month
    {
        QDate month; // its first day
        Money units;
        Money gross;

        bool operator==(const Month &) const = default;
    };

    DashboardPeriod period;
    QList<SalesPerson> salesPeople; // with figures in the period, by name
    QList<Month> months;            // the twelve months ending with the period's last, oldest first
    Money units;
    Money gross;
    Money commissionPaid;
    // The month whose tier progress is shown: the period's last, or this
    // month within the current year.
    QDate progressMonth;

    // The front gross per unit, rounded to the cent; none without units.
    std::optional<Money> averageGross() const;

    // Reads the period's figures; std::nullopt, with the database's words in
    // `error`, when they cannot be read. `today` bounds the tier progress month.
    static std::optional<DashboardFigures> read(DealDatabase &database,
                                                const DashboardPeriod &period, const QDate &today,
                                                QString *error);

    // The statements read() runs, for the benchmark's floor to run the same:
    // units and gross by `soldKey` of the rows sold and by `unwoundKey` of
    // the unwinds (bound: first day, last day, "Chargeback", the two days,
    // "Chargeback", the two days again); the sheets' feet (bound: the first
    // day and the day after the last, as ISO text).
    static QString countedStatement(const QString &soldKey, const QString &unwoundKey);
    static QString commissionPaidStatement();
};
