#pragma once

#include "legacy_rows.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// What an import did, for the report "import.log" written beside the
// database.
struct ImportFacts
{
    struct TableCount
    {
        QString table;
        int read = 0;      // rows in the Access file
        int imported = -1; // rows in the new database, -1 when not written
    };

    QDateTime started;
    QString accessPath;
    QString format;
    qint64 bytes = 0;
    QList<TableCount> tables;
    QStringList columnsLeftOut; // "RecallDeal.Notes (Text)"

    int deals = 0; // RecallDeal rows, each a deal
    int splitDeals = 0;
    QStringList incompleteDeals; // deals lacking a SalesLog or SalesSummary row
    QStringList tiedByElimination; // rows whose names differ from their deal's
    QStringList untiedRows;      // "SalesSummary row 29: Date = ..."
    QList<ConversionNote> notes;
    QStringList suspects; // values that look damaged, each described on one line
    QStringList rosterKept; // names of the replaced empty database's roster

    bool imported = false;
    QString failure; // why not, when not imported
    QString databasePath;
    int schemaVersion = 0;
    QString keptPath; // the Access file's new name, empty when it stayed where it was
    qint64 milliseconds = 0;
};

// The text of "import.log": what was read, what was tied, every row not tied
// with its values, every value that did not arrive as it was, the result.
QString importReportText(const ImportFacts &facts);
