#pragma once

#include "common/program_folder.h"

#include <QString>
#include <QStringList>

#include <functional>

struct LegacyImportOptions
{
    // Called after each row written, with the rows done and the rows in all.
    // Returning false cancels the import, which then changes nothing.
    std::function<bool(int done, int total)> progress;
    // Called before anything is written when values of the file look damaged
    // (LegacyPlausibility), with each described; false leaves the import
    // unmade. Without it such values are imported, and listed.
    std::function<bool(const QStringList &suspects)> importSuspects;
    // For tests of an import stopped by force: the process kills itself once
    // this many rows have been written.
    int killAfterRows = -1;
};

struct LegacyImportResult
{
    enum class Status { Imported, Cancelled, Failed };

    Status status = Status::Failed;
    QString error; // Failed: why, as a sentence for the user
    int deals = 0;
    int salesPersons = 0;
    int untiedRows = 0;
    int unconvertedValues = 0;
    QStringList suspects; // values that look damaged, imported as they were
    QString databasePath;
    QString keptPath; // the Access file's new name; empty when it stayed where it was
    QString reportPath;
    // Failed: whether a report of why was written (only for an Access file
    // that could not be taken in, into a folder without an earlier report).
    bool reportWritten = false;
    qint64 milliseconds = 0;

    // The summary shown or printed after an import.
    QStringList summaryLines() const;
};

// Takes the deals of an older installation's Access database ("Sales
// Log2.mdb" of the older program) into a new database of this program.
//
// The new database is made by the store under a temporary name in the program
// folder and filled in one transaction; the counts of its tables are checked
// against the file's before it is committed. Only then does it take the name
// "Sales Log2.mdb". When the Access file is the program folder's own
// "Sales Log2.mdb", it is kept, unchanged, as "Sales Log2 (Access).mdb" (or a
// free variant of that name); an Access file elsewhere is read and left where
// it is, and the folder's database must then be missing or hold no deals.
// A failure or a cancel removes the temporary file and renames nothing. The
// report "import.log" is written beside the database. A file refused before
// it is read (not an Access database of the older program, a folder that
// cannot take it) writes no report, and a failed import never replaces the
// report of an earlier one.
class LegacyImport
{
public:
    LegacyImport(ProgramFolder folder, QString accessPath);

    // Whether the program folder's "Sales Log2.mdb" is an Access database.
    static bool folderHoldsAccessDatabase(const ProgramFolder &folder);
    // The name the folder's Access database would be kept under.
    static QString keptPathFor(const ProgramFolder &folder);

    LegacyImportResult run(const LegacyImportOptions &options = {});

private:
    ProgramFolder m_folder;
    QString m_accessPath;
};
