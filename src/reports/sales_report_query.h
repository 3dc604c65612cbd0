#pragma once

#include "reports/report_rows.h"
#include "reports/sales_report_unwinds.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <memory>
#include <optional>

class DealDatabase;

// The question a report asks the deal database: a statement with a marker
// for each value, the values to bind, and the columns that hold amounts in
// whole ten-thousandths (they reach the report as Money). Names, codes and
// dates typed or chosen by the user only ever travel as bound values.
//
// A deal taken back after it was sold stays in its own period as it was
// printed then; the unwind is a line of its own in the period it happened.
// A period in which no deal was unwound is asked exactly as before any deal
// was: `statement` and `values`. One in which some was is asked
// `withUnwinds`, which adds their lines (see SalesReportUnwinds).
struct SalesReportQuery
{
    QString statement;
    QVariantList values;
    QStringList moneyColumns;
    SalesReportUnwinds::Lines withUnwinds;
    QDate first; // the period, both days included
    QDate last;

    bool operator==(const SalesReportQuery &) const = default;

    // The SalesLog deals of one unit class ("NT", "NC", "UT", "UC") dated from
    // `first` to `last`, both days included, in date order.
    static SalesReportQuery salesLog(const QString &unitClass, const QDate &first,
                                     const QDate &last);
    // One salesperson's SalesSummary rows dated from `first` to `last`, both
    // days included, in date order. The name is matched in any letter case.
    static SalesReportQuery salesSummary(const QString &salesPerson, const QDate &first,
                                         const QDate &last);

    // The rows of the query; std::nullopt, with the database's words in
    // `error`, when it cannot be read.
    std::optional<ReportRows> fetch(const DealDatabase &database, QString *error) const;
    // The rows of the query, to be read one at a time; nullptr, with the
    // database's words in `error`, when it cannot be read.
    std::unique_ptr<ReportQueryRows> open(const DealDatabase &database, QString *error) const;
};

// The vehicle types of the sales log as the chooser lists them and as the
// report titles them.
namespace UnitClassNames {

// The captions of the chooser's list, in list order.
QStringList captions();
// "New Truck" -> "NT", "New Car" -> "NC", "Used Truck" -> "UT",
// "Used Car" -> "UC", compared exactly; std::nullopt for any other text.
std::optional<QString> codeOf(const QString &caption);
// The report title of a code: "New Trucks", "New Cars", "Used Cars", and
// "Used Trucks" for anything else.
QString titleOf(const QString &code);

} // namespace UnitClassNames
