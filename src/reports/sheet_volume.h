#pragma once

#include "common/money.h"

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

class DealDatabase;

// The volume bonus a commission sheet pays: for each month that has ended
// (the twelve before the sheet's month) and the month the user asked to
// include, what the salesperson's plan tiers owe the month now, less what
// sheets not voided already paid for it. A month of no tiers pays nothing; a
// month whose tier dropped since (a deal unwound) pays a negative
// correction; a month paid in full pays nothing again.
namespace SheetVolume {

struct Line
{
    QDate month;  // its first day
    QString text; // "Volume bonus March 2026: 20 units, 33%"
    Money amount;
};

// Inside the sheet's transaction: works the lines out and records them on
// sheet `sheetId`, with their audit entries.
std::optional<QList<Line>> settle(DealDatabase &database, qint64 sheetId,
                                  const QString &salesPerson, const QDate &on,
                                  const std::optional<QDate> &includeMonth, QString *error);

} // namespace SheetVolume
