#pragma once

#include "plan_trial.h"
#include "statement_rows.h"

#include "pay/volume_bonus.h"
#include "worksheet/commission_calculation.h"

#include <QByteArrayView>
#include <QHash>

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The working parts of a plan trial: the salespeople tried, and what the
// deals' rows of a stretch of the months add up to.
namespace PlanTrial {

// The columns of the rows read (rowsStatement()), in their order.
enum RowColumn {
    RowId,
    Date,
    SalesPerson,
    RowClass,
    UnitCount,
    RowGross,
    RowCommission,
    RowTotal,
    FirstSalesPerson,
    Split,
    DealClass,
    Price,
    Cost,
    Reductions,
    Additions,
    Allowance,
    UnderAllow,
    Pack,
    Rate,
    WarrantySold,
    Spiff,
    Share,
    PlanPack,
    PlanRate,
    UnwoundOn,
};

// The salespeople tried, in capitals as the rows keep them, each found by
// its place.
class TrialNames
{
public:
    explicit TrialNames(const QStringList &salesPeople);

    const QStringList &names() const { return m_names; }
    qsizetype size() const { return m_names.size(); }
    // The place of a name as stored, or as typed (a deal's first
    // salesperson) when `typed`; -1 for a salesperson not tried.
    int placeOf(QByteArrayView name, bool typed) const;
    int placeOf(const QString &stored) const { return m_index.value(stored, -1); }

private:
    struct Hash
    {
        using is_transparent = void;
        size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
    };

    QStringList m_names;
    QHash<QString, int> m_index;
    std::unordered_map<std::string, int, Hash, std::equal_to<>> m_utf8; // the same in UTF-8
};

// What the rows taken add up to, for each salesperson: the lines, and the
// rows of each month of the trial as the plan would have worked them out.
class Tally
{
public:
    // `firstMonth` is the first day of the trial's first month.
    Tally(const PayPlanVersion &plan, const TrialNames &names, const QDate &firstMonth,
          int monthCount);

    // One row of rowsStatement().
    void take(StatementRows &rows);
    // A row of an earlier month whose deal was unwound whole in `month`.
    void takeEarlier(int person, const QDate &month, const VolumeBonus::MonthRow &row);
    // Adds what another stretch of the same months added up to.
    void add(const Tally &other);
    // The plan's tiers on each month.
    void settleVolume();

    QList<Line> &lines() { return m_lines; }

private:
    QList<VolumeBonus::MonthRow> *monthRows(int person, const QDate &date);
    std::optional<CommissionAmounts> workedOut(StatementRows &rows) const;

    const PayPlanVersion *m_plan;
    const TrialNames *m_names;
    QDate m_firstMonth;
    int m_monthCount;
    QList<Line> m_lines;
    // Each salesperson's rows of each month, salesperson by salesperson.
    std::vector<QList<VolumeBonus::MonthRow>> m_months;
};

} // namespace PlanTrial
