#pragma once

#include "access_file.h"

#include <QList>
#include <QString>
#include <QVariantList>

// A value of the older database that did not arrive as it was, with what was
// stored instead.
struct ConversionNote
{
    QString table;
    int row = 0; // from 1, in the file's row order
    QString column;
    QString value;  // the value as read
    QString reason; // why it could not be kept as it was
    QString stored; // what the new database holds instead
};

// Access rows as rows of this program's tables.
namespace LegacyRows {

// The store values of one row of an Access table, in the order of the
// store's columns of that table (without the deal identity). Money and the
// unit count become exact ten-thousandths, dates ISO text, yes/no 0 or 1.
// A value that cannot be converted is stored as NULL and noted.
QVariantList storeValues(const AccessTable &table, int row, QList<ConversionNote> *notes);

// A RecallDeal row for a SalesSummary or SalesLog row that no deal claimed,
// so that it is a deal of its own: the date, stock number, customer,
// salesperson, unit class (and sale type) of that row; every other column
// empty, yes/no columns No.
QVariantList recallFor(const AccessTable &table, int row);

// "Date = 2004-11-06, Unit = "2005 SEDAN SE", ..." for the import report.
QString describe(const AccessTable &table, int row);

} // namespace LegacyRows
