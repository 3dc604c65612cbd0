#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QTime>

#include <optional>

// The column types of an Access (Jet) table that the older program's
// database uses, and a few neighbours a hand-edited file may hold.
enum class AccessType {
    YesNo,
    Byte,
    Integer,  // 16-bit
    Long,     // 32-bit
    Currency, // 64-bit ten-thousandths
    Single,
    Double,
    DateTime,
    Text,
    Other,
};

QString accessTypeName(AccessType type);

// One value of an Access row, read from its stored bytes. Currency keeps the
// stored 64-bit count of ten-thousandths, so no amount passes through
// floating point; a date keeps its time of day apart.
struct AccessValue
{
    enum class Kind { Null, YesNo, Integer, Currency, Number, DateTime, Text, Unreadable };

    Kind kind = Kind::Null;
    bool yes = false;
    qint64 integer = 0;  // Integer: Byte, Integer, Long; Currency: ten-thousandths
    double number = 0;   // Number: Single or Double, as stored
    bool single = false; // Number: stored as a Single
    QDate date;          // DateTime
    QTime time;          // DateTime: the time of day, 00:00 for a plain date
    QString text;        // Text
    QString problem;     // Unreadable: why

    bool isNull() const { return kind == Kind::Null; }
    // The value as a person would read it in a report line.
    QString display() const;

    static AccessValue null() { return {}; }
    static AccessValue unreadable(const QString &why);
};

namespace AccessBytes {

// Decoders of a stored value's bytes (little-endian, as Jet stores them).
AccessValue currency(const QByteArray &bytes);
AccessValue integer(const QByteArray &bytes);      // 1, 2 or 4 bytes, signed but Byte
AccessValue singleNumber(const QByteArray &bytes); // 4 bytes
AccessValue doubleNumber(const QByteArray &bytes); // 8 bytes
AccessValue dateTime(const QByteArray &bytes);     // 8-byte day count from 30 Dec 1899

// Jet 4 text: UTF-16LE, or "compressed" (FF FE, then one byte a character,
// a 00 byte switching between one- and two-byte runs).
AccessValue jet4Text(const QByteArray &bytes);
// Jet 3 text: the file's 8-bit code page, Windows-1252.
AccessValue jet3Text(const QByteArray &bytes);

// A Single or Double as an exact count of ten-thousandths: the four-decimal
// number whose stored form this is (0.5 -> 5000). std::nullopt when no such
// number gives exactly this stored value.
std::optional<qint64> tenThousandths(const AccessValue &number);

} // namespace AccessBytes
