#pragma once

#include <QStringList>

// The lists the worksheet's combo boxes offer. Every description combo also
// accepts free text; only the amounts beside them enter the calculation.
namespace WorksheetLists {

// Description lists of the five reduction rows (Combo3..Combo7), row 0..4.
QStringList reductionDescriptions(int row);

// Description lists of the five addition rows (Combo8, Combo9, Combo10,
// Combo11, Combo1), row 0..4. Rows 2 to 4 offer the accessory list; row 2
// writes its cap entry "Cap/Cover", rows 3 and 4 "Cap\Cover".
QStringList additionDescriptions(int row);

// Unit class codes: new truck, new car, used truck, used car.
QStringList unitClasses();

// One-character sale type codes, in list order.
QStringList saleTypes();

// Model years offered: next year down to nine years back, newest first.
QStringList modelYears(int currentYear);

// The items in the order a sorted list shows them: as people read them in the
// desktop's language (accents and letter case do not put a word elsewhere;
// ties keep a fixed order).
QStringList sortedForList(QStringList items);

} // namespace WorksheetLists
