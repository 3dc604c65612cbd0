#pragma once

#include "access_value.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

struct AccessColumn
{
    QString name;
    AccessType type = AccessType::Other;
};

// One table of an Access file as read: its columns in their order and every
// row in the file's row order.
struct AccessTable
{
    QString name;
    QList<AccessColumn> columns;
    QList<QList<AccessValue>> rows;

    // The position of a column, -1 when the table has none of that name.
    int columnIndex(const QString &column) const;
};

// An Access (Jet 3 or Jet 4) database file, opened read-only through
// mdbtools' library. Values are read from their stored bytes, not through the
// library's text forms.
class AccessFile
{
public:
    AccessFile();
    ~AccessFile();
    AccessFile(const AccessFile &) = delete;
    AccessFile &operator=(const AccessFile &) = delete;

    // Whether a file begins like a Jet database ("Standard Jet DB"); reads
    // its first bytes only.
    static bool looksLikeAccess(const QString &path);

    // Opens the file for reading. False, with the reason in `error`, when it
    // is not a readable Access file.
    bool open(const QString &path, QString *error);

    // "Access 97 (Jet 3)", "Access 2000 (Jet 4)", ...
    QString formatName() const;

    // The names of the user tables (system tables left out).
    QStringList tableNames() const;

    // Reads a whole table. std::nullopt, with the reason in `error`, when it
    // cannot be read or fewer rows can be read than the table declares.
    std::optional<AccessTable> readTable(const QString &name, QString *error);

private:
    struct Handle;
    Handle *m_handle = nullptr;
};
