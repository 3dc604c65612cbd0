#pragma once

#include "common/money.h"

#include <QDate>
#include <QList>
#include <QString>

#include <array>
#include <functional>
#include <optional>

// A salesperson's pay plan from a date on: for each unit class the
// commission (a percent of the payable gross or a flat amount a deal), the
// mini deal and the pack; one cap on a deal's commission and the warranty
// spiff. A plan changes by a new version from a later date, so a deal is
// always paid by the version that was in force on its date.
struct PlanTerms
{
    enum class Kind { Percent, Flat };

    Kind kind = Kind::Percent;
    Money percent; // of the payable gross, up to four decimals (27.5 is 27.5 %)
    Money flat;    // a deal, whatever its gross
    Money mini;
    Money pack;

    bool operator==(const PlanTerms &) const = default;
};

// A volume tier: from a number of units in a calendar month (whole or half
// units), a higher commission percent or a flat bonus a unit, and
// optionally a higher mini deal.
struct VolumeTier
{
    Money unitsFrom;                     // 1 to 999, in half units
    std::optional<Money> percent = {};   // of the payable gross; or
    std::optional<Money> perUnit = {};   // a flat bonus a unit
    std::optional<Money> mini = {};      // the least a row is paid at this tier

    bool operator==(const VolumeTier &) const = default;
};

// How a plan's volume tiers pay: on every unit of the month once a tier is
// reached (retroactive), or only on the units from the tier's line on
// (marginal); and which unit classes count toward the month's units.
enum class TierMode { Retroactive, Marginal };
enum class TierClasses { All, NewOnly, UsedOnly };

struct PayPlanVersion
{
    // The unit classes in the order the plan keeps them.
    static constexpr int kClasses = 4;
    static const std::array<QString, kClasses> &classCodes(); // "NC", "NT", "UC", "UT"
    // The terms a unit class code takes, matched exactly as the worksheet
    // matches it for the pack: any other code (empty, "ut") counts as a new car.
    static int classIndex(const QString &unitClass);

    qint64 id = 0; // 0 until stored
    QString salesPerson;
    QDate effectiveFrom;
    std::array<PlanTerms, kClasses> terms{};
    std::optional<Money> cap; // the most one deal pays in commission, after the mini
    Money warrantySpiff;
    // A draw paid each month against what the salesperson earns: recoverable
    // (what the sheets have not recovered is carried on) or not (what a month
    // leaves unrecovered is written off). None when the plan pays no draw.
    std::optional<Money> drawPerMonth = {};
    bool drawRecoverable = true;
    // Volume tiers, lowest first; none: the month's volume pays nothing more.
    QList<VolumeTier> tiers = {};
    TierMode tierMode = TierMode::Retroactive;
    TierClasses tierClasses = TierClasses::All;

    const PlanTerms &termsFor(const QString &unitClass) const
    {
        return terms.at(classIndex(unitClass));
    }

    bool operator==(const PayPlanVersion &) const = default;
};

// Where the worksheet finds the plans: the version in force for a
// salesperson on a date, and a version by its identity (the one a recalled
// deal was worked out by). Either may be empty: no plans at all.
struct PayPlanLookup
{
    std::function<std::optional<PayPlanVersion>(const QString &salesPerson, const QDate &date)>
        inForce;
    std::function<std::optional<PayPlanVersion>(qint64 versionId)> byId;
    // How far the salesperson's units of the date's month have come toward
    // the next tier of `plan` ("9.5 units this month — 2.5 to 28%").
    std::function<QString(const PayPlanVersion &plan, const QDate &date)> volumeProgress = {};
};

namespace PayPlan {

// The version in force on `date`: the latest whose date is on or before it;
// std::nullopt when every version starts later (or there is none).
std::optional<PayPlanVersion> inForce(const QList<PayPlanVersion> &versions, const QDate &date);

// Newest first, as the pay plan window lists them.
QList<PayPlanVersion> newestFirst(QList<PayPlanVersion> versions);

} // namespace PayPlan
