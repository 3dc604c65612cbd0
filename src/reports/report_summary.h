#pragma once

#include "common/money.h"

#include <QString>

#include <optional>

class ReportRows;

// What a summary field prints: the sum, count or average of a data field
// over a run of rows. Group scope covers the rows of the group being printed
// (all rows when the layout has no group); report scope every row from the
// first up to the one being printed.
struct ReportSummary
{
    enum class Function { None, Sum, Count, Average };
    enum class Scope { Group, Report };

    Function function = Function::None;
    Scope scope = Scope::Group;
    // Count only: the data field that says what a row counts for where it
    // has a value (-1 for a line that takes a unit back out, 0 for a line
    // that is no unit); a row without a value there counts as one.
    QString countsAs = {};

    bool operator==(const ReportSummary &) const = default;

    // The summary of `dataField` over rows [begin, end). Sum and average take
    // the values that are amounts (text in any of the program's number forms,
    // whole numbers, Money) and skip the rest; a sum adds each amount rounded
    // to the cent, as its line prints it; count counts the rows whose
    // value is not null (every row when `dataField` is empty), each as
    // `countsAs` says. An average of no amounts has no value. A sum beyond
    // the range of Money has no value either, and sets `overflow`: it is
    // never given as a wrong number.
    std::optional<Money> over(const ReportRows &rows, const QString &dataField, int begin,
                              int end, bool *overflow = nullptr) const;

    // What a summary field prints in place of a total beyond the range.
    static QString overflowMark();
};
