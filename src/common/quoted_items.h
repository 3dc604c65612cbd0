#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The small text files the program keeps its standing figures, unit list and
// password in. Each item is written in double quotes, items on one line are
// separated by one comma with no blank, and lines end with CR LF:
//     "300","500"<CR><LF>
//
// Reading is free-format: a quoted item runs to its closing quote (commas
// and blanks inside belong to it); an unquoted item starts at its first
// non-blank character and runs to the next comma or line end (trailing blanks
// dropped); a comma or a line end separates items; a line that is entirely
// blank holds no item; the end of the file ends the list.
//
// Files are written in UTF-8. Files written by the older Windows program are
// in its 8-bit code page: a file that is not valid UTF-8 is read as
// Windows-1252, and lines added to such a file are written in Windows-1252
// too, so that a file never holds two encodings.
//
// A double quote cannot stand inside an item; the writers refuse such an item
// and write nothing.
namespace QuotedItems {

enum class WriteMode { Replace, Append };
enum class Encoding { Utf8, Windows1252 };

// The items of a file's bytes, by the reading rule.
QStringList parse(const QByteArray &bytes);

// Text in the older Windows program's 8-bit code page, Windows-1252.
QString fromWindows1252(const QByteArray &bytes);

// The text of a file's bytes: UTF-8, or Windows-1252 when not valid UTF-8.
QString decode(const QByteArray &bytes);
// The encoding decode() reads these bytes in.
Encoding encodingOf(const QByteArray &bytes);
// The text in `encoding`; std::nullopt when it holds a character the
// encoding has no place for.
std::optional<QByteArray> encode(const QString &text, Encoding encoding);

// One line as written: items quoted, comma-separated, CR LF at the end.
// std::nullopt when an item holds a double quote or a character `encoding`
// cannot hold.
std::optional<QByteArray> encodeLine(const QStringList &items,
                                     Encoding encoding = Encoding::Utf8);

// Reads the items of a file. std::nullopt when the file cannot be read;
// `error` then says why.
std::optional<QStringList> readFile(const QString &path, QString *error = nullptr);

// Writes lines of items, all or nothing (see DurableFile): Replace writes the
// whole file; Append adds to the end, creating a missing file. Returns false,
// with `error` set, when an item holds a double quote or a character
// `encoding` cannot hold (nothing is written) or the file cannot be written.
bool writeFile(const QString &path, const QList<QStringList> &lines, WriteMode mode,
               QString *error = nullptr, Encoding encoding = Encoding::Utf8);

// True when the text can be stored as an item.
bool canStore(const QString &item);

} // namespace QuotedItems
