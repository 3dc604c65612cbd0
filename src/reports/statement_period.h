#pragma once

#include <QDate>
#include <QString>

// The days a salesperson's statement covers, both included: a calendar
// month, the year to a day, or two dates the user chose.
struct StatementPeriod
{
    QDate first;
    QDate last;

    bool operator==(const StatementPeriod &) const = default;

    // The whole month that holds `day`.
    static StatementPeriod month(const QDate &day);
    // January 1 of `asOf`'s year through `asOf`.
    static StatementPeriod yearToDate(const QDate &asOf);
    static StatementPeriod between(const QDate &first, const QDate &last);

    // The first of the month of the period's last day: where its
    // month-to-date figures start.
    QDate monthStart() const { return QDate(last.year(), last.month(), 1); }
    QDate yearStart() const { return QDate(last.year(), 1, 1); }
    bool contains(const QDate &day) const { return day >= first && day <= last; }

    // As the statement heads it: "March 2026" for a whole month, otherwise
    // "1/1/2026 to 3/15/2026".
    QString text() const;
};
