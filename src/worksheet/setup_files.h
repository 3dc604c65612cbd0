#pragma once

#include "common/program_folder.h"

#include <QString>
#include <QStringList>

#include <optional>

// The settings files as the Setup commands change them: a standing figure's
// file is replaced whole, descriptions are appended to unit.txt one at a
// time, and the removal panel rewrites unit.txt. A write either succeeds or
// leaves the file as it was; then message() holds the text to show the user.
class SetupFiles
{
public:
    enum class Result {
        Written,
        Refused, // an item holds a double quote, which the file format cannot keep
        Failed,  // the file could not be read or written
    };

    explicit SetupFiles(ProgramFolder folder);

    // Replaces `fileName` (dp.dat, dc.dat, war.txt, mini.txt) with one line
    // holding `values`.
    Result replaceFigures(const QString &fileName, const QStringList &values);
    // Adds one line to unit.txt, creating a missing file. A last line left
    // without its line end is ended first, so the new line stands alone.
    Result appendUnit(const QString &description);
    // Rewrites unit.txt with one description a line, in the order given.
    Result replaceUnits(const QStringList &units);
    // The descriptions of unit.txt in file order; a missing file lists none.
    // std::nullopt when the file exists but cannot be read.
    std::optional<QStringList> readUnits();

    // Why the last call did not succeed, in the user's words.
    const QString &message() const { return m_message; }

private:
    Result write(const QString &fileName, const QList<QStringList> &lines, bool append,
                 const QString &refusal, const QString &failure);

    ProgramFolder m_folder;
    QString m_message;
};
