#pragma once

#include "pay/pay_plan.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>

// A pay plan version as typed in the pay plan window: every figure as text.
// read() turns it into a version or names the first thing wrong with it.
struct PlanForm
{
    struct ClassRow
    {
        bool flat = false;  // a flat amount a deal instead of a percent
        QString commission; // the percent ("27.5" or "27.5%") or the flat amount
        QString mini;
        QString pack;
    };

    QString effectiveFrom; // MM/DD/YYYY
    std::array<ClassRow, PayPlanVersion::kClasses> classes;
    QString cap; // empty: no cap
    QString warrantySpiff;
    QString draw; // a month; empty (or nothing) for no draw
    bool drawRecoverable = true;

    // A volume tier as typed: the units it starts from, and a percent or a
    // bonus a unit, and optionally a mini deal. A row left blank is no tier.
    struct TierRow
    {
        QString unitsFrom;
        QString percent;
        QString perUnit;
        QString mini;

        bool isBlank() const;
    };
    QList<TierRow> tiers; // in the order of the window's rows
    TierMode tierMode = TierMode::Retroactive;
    TierClasses tierClasses = TierClasses::All;

    // The version in the form's figures, for `salesPerson`; std::nullopt with
    // `problem` naming the field and what is wrong. `others` are the
    // salesperson's other versions: a second version on one date is refused.
    std::optional<PayPlanVersion> read(const QString &salesPerson,
                                       const QList<PayPlanVersion> &others,
                                       QString *problem) const;

    // The tiers of the form, blank rows left out, or std::nullopt with
    // `problem` naming the tier (by its row) and what is wrong with it.
    std::optional<QList<VolumeTier>> readTiers(QString *problem) const;

    // The form showing a version.
    static PlanForm of(const PayPlanVersion &version);

    // "New Car", "New Truck", "Used Car", "Used Truck", in the plan's order.
    static QString className(int index);
    // The date form of the window.
    static QString dateText(const QDate &date);
};
