#pragma once

#include "common/program_folder.h"

#include <QSqlDatabase>
#include <QString>

// The deal database file and this object's own connection to it.
//
// open() creates the file, with its tables and first salesperson, when it is
// missing; an existing file is used only when it is a deal database of this
// program. Anything else (a file of another program, a text file, a damaged
// file, an SQLite file without the deal tables, a file of a newer version)
// gives an error naming the file and is left exactly as it was.
//
// Each object has a connection of its own, under a unique name, removed when
// the object is destroyed. Statements made on connection() must be gone by
// then.
class DealDatabase
{
public:
    static constexpr const char *kFileName = "Sales Log2.mdb";

    // The database file of a program folder.
    static QString pathIn(const ProgramFolder &folder);

    explicit DealDatabase(const ProgramFolder &folder);
    explicit DealDatabase(QString filePath);
    ~DealDatabase();

    DealDatabase(const DealDatabase &) = delete;
    DealDatabase &operator=(const DealDatabase &) = delete;

    // Opens (and if need be creates) the file. False, with a message naming
    // the file in `error`, when it cannot be used.
    bool open(QString *error);
    bool isOpen() const;

    const QString &filePath() const { return m_filePath; }
    QSqlDatabase connection() const { return m_db; }

private:
    bool createFile(QString *error) const;
    bool addSheetRecords(QString *error);
    bool fail(QString *error, const QString &message);

    QString m_filePath;
    QString m_connectionName;
    QSqlDatabase m_db;
};
