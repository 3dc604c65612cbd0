#pragma once

#include "reports/payroll_export.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The files payroll loads: each layout is one list of columns, a title and
// where its value comes from (with the date form of a date), so another
// layout is a few lines. Every file is UTF-8 without a byte-order mark, a
// heading row of the titles, one line per row, lines ended by CR LF; a
// value holding a comma, a quote or a line break is quoted with its quotes
// doubled; amounts have two decimals and a leading minus when negative.
namespace PayrollLayouts {

struct Column
{
    enum class Value {
        Empty,       // left empty (hours, rates and the like)
        CompanyCode, // the payroll service's number for the dealership
        PayrollId,
        Name,
        Code,        // the earnings code
        Amount,
        PeriodStart, // in `dateForm`
        PeriodEnd,   // in `dateForm`
        Sheets       // the sheet numbers, separated by blanks
    };

    const char *title;
    Value value;
    const char *dateForm = nullptr; // a QDate format, for the two dates
};

struct Layout
{
    QString name; // as the export window offers it
    QList<Column> columns;
};

// The plain layout first, then those of the payroll services.
const QList<Layout> &all();

// The file's bytes for `rows`.
QByteArray text(const Layout &layout, const QList<PayrollExport::Row> &rows,
                const PayrollExport::Period &period, const QString &companyCode);

} // namespace PayrollLayouts
