#pragma once

#include "access_file.h"

#include <QHash>
#include <QList>
#include <QString>

// Values of an older database that read as values but are not plausible
// ones: what a damaged file gives when its bytes changed and still decode
// (a $20.00 warranty read as $900,719,925,494.10). They are shown to the
// user before the import is made, who decides whether to take them in.
namespace LegacyPlausibility {

struct Suspect
{
    QString table;
    int row = 0; // from 1, in the file's row order
    QString column;
    QString value;  // as read, control characters written as \xNN
    QString reason; // why it is not plausible

    // "RecallDeal row 15, Cost = 900719925494.1000: an amount beyond ±$10,000,000"
    QString describe() const;
};

// Every value of the tables that is not plausible: an amount beyond
// ±$10,000,000, a date before 1980 or after 2100, a unit count other than 0.5
// or 1, text holding a control character. Tables in the order given, rows
// and columns in the file's order.
QList<Suspect> check(const QList<const AccessTable *> &tables);

} // namespace LegacyPlausibility
