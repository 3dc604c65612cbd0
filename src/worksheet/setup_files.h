#pragma once

#include "common/program_folder.h"
#include "common/quoted_items.h"

#include <QString>
#include <QStringList>

#include <optional>

// The settings files as the Setup commands change them: a standing figure's
// file is replaced whole, descriptions are appended to unit.txt one at a
// time, and the removal panel takes descriptions out of unit.txt. A write
// either succeeds or leaves the file as it was; then message() holds the text
// to show the user.
//
// unit.txt keeps one encoding: a description is added in the encoding the
// file is read in (Windows-1252 for a file of the older program, whose bytes
// stay exactly as they were), and only a description that encoding cannot
// hold turns the whole file into UTF-8, in one replacement.
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
    // One line of unit.txt: its description and how many lines before it
    // hold the same description.
    struct UnitLine
    {
        QString description;
        int occurrence = 0;
    };
    // Takes exactly these lines out of unit.txt as it is now, keeping every
    // other line in its order, also lines added since the list was read. A
    // line no longer there is passed over; nothing to take out writes nothing.
    Result removeUnits(const QList<UnitLine> &removed);
    // The descriptions of unit.txt in file order; a missing file lists none.
    // std::nullopt when the file exists but cannot be read.
    std::optional<QStringList> readUnits();

    // Why the last call did not succeed, in the user's words.
    const QString &message() const { return m_message; }

private:
    Result write(const QString &fileName, const QList<QStringList> &lines,
                 QuotedItems::WriteMode mode, QuotedItems::Encoding encoding,
                 const QString &refusal, const QString &failure);
    // The bytes of unit.txt (none when it is missing); std::nullopt, with the
    // message set from `failure`, when it is there but cannot be read.
    std::optional<QByteArray> readUnitBytes(const QString &failure);

    ProgramFolder m_folder;
    QString m_message;
};
