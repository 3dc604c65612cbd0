#pragma once

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <optional>

// The lines the sales reports print for deals taken back, in the period the
// unwind happened (the deal itself stays in its own period, as printed then):
// - a deal unwound whole: its own figures negated, unit count too, so the
//   totals count it back out (less what earlier partial unwinds of it
//   already took back, so that over all periods the deal comes to nothing);
// - a part unwound (a spiff, the warranty spiff, an amount): the figures it
//   charged back negated, an empty figure where it took nothing, and no unit.
// The customer column says so: "UNWOUND: BOB BROWN", "UNWOUND WARRANTY
// SPIFF: BOB BROWN", "UNWOUND SPIFF: ...", "UNWOUND AMOUNT: ...".
//
// Each is a SELECT giving the report's columns (as the deal rows give them)
// followed by "UnitsCounted" (sales log only: -1 whole, 0 a part) and the
// order keys "LineKind", "LineOrder" and "LineRow", with its values to bind
// in order.
namespace SalesReportUnwinds {

struct Lines
{
    QString statement;
    QVariantList values;

    bool operator==(const Lines &) const = default;
};

// Whether any deal was unwound on a day from first to last; std::nullopt,
// with the database's words in `error`, when that cannot be read.
std::optional<bool> anyIn(const QSqlDatabase &db, const QDate &first, const QDate &last,
                          QString *error);

// The order keys a deal row gives: deals first within a day, in the order
// saved.
QString dealOrderKeys();
// The order all lines are printed in.
QString orderBy();

// The SalesLog lines of unwinds of the unit class dated first to last.
Lines salesLog(const QString &unitClass, const QDate &first, const QDate &last);
// The SalesSummary lines of unwinds of the salesperson (in capitals) dated
// first to last: one per row of the deal the salesperson has.
Lines salesSummary(const QString &salesPerson, const QDate &first, const QDate &last);

} // namespace SalesReportUnwinds
