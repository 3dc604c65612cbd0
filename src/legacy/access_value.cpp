#include "access_value.h"

#include "common/money.h"
#include "common/quoted_items.h"

#include <QtEndian>

#include <cmath>
#include <cstring>

QString accessTypeName(AccessType type)
{
    switch (type) {
    case AccessType::YesNo:
        return QStringLiteral("Yes/No");
    case AccessType::Byte:
        return QStringLiteral("Number (Byte)");
    case AccessType::Integer:
        return QStringLiteral("Number (Integer)");
    case AccessType::Long:
        return QStringLiteral("Number (Long Integer)");
    case AccessType::Currency:
        return QStringLiteral("Currency");
    case AccessType::Single:
        return QStringLiteral("Number (Single)");
    case AccessType::Double:
        return QStringLiteral("Number (Double)");
    case AccessType::DateTime:
        return QStringLiteral("Date/Time");
    case AccessType::Text:
        return QStringLiteral("Text");
    case AccessType::Other:
        break;
    }
    return QStringLiteral("another type");
}

namespace {

// 2192150 -> "219.2150", the stored amount with all its four places.
QString fourDecimals(qint64 units)
{
    const bool negative = units < 0;
    const quint64 magnitude = negative ? quint64(0) - quint64(units) : quint64(units);
    return (negative ? QStringLiteral("-") : QString()) +
           QString::number(magnitude / Money::kScale) + u'.' +
           QStringLiteral("%1").arg(magnitude % Money::kScale, 4, 10, QLatin1Char('0'));
}

} // namespace

AccessValue AccessValue::unreadable(const QString &why)
{
    AccessValue value;
    value.kind = Kind::Unreadable;
    value.problem = why;
    return value;
}

QString AccessValue::display() const
{
    switch (kind) {
    case Kind::Null:
        return QStringLiteral("(empty)");
    case Kind::YesNo:
        return yes ? QStringLiteral("Yes") : QStringLiteral("No");
    case Kind::Integer:
        return QString::number(integer);
    case Kind::Currency:
        return fourDecimals(integer);
    case Kind::Number:
        return QString::number(number, 'g', single ? 9 : 17);
    case Kind::DateTime:
        return time == QTime(0, 0)
                   ? date.toString(Qt::ISODate)
                   : date.toString(Qt::ISODate) + u' ' + time.toString(QStringLiteral("HH:mm:ss"));
    case Kind::Text:
        return u'"' + text + u'"';
    case Kind::Unreadable:
        return QStringLiteral("(unreadable: %1)").arg(problem);
    }
    return {};
}

namespace AccessBytes {

namespace {

AccessValue wrongSize(const QByteArray &bytes, int expected)
{
    return AccessValue::unreadable(
        QStringLiteral("%1 bytes stored where %2 belong").arg(bytes.size()).arg(expected));
}

} // namespace

AccessValue currency(const QByteArray &bytes)
{
    if (bytes.size() != 8)
        return wrongSize(bytes, 8);
    AccessValue value;
    value.kind = AccessValue::Kind::Currency;
    value.integer = qFromLittleEndian<qint64>(bytes.constData());
    return value;
}

AccessValue integer(const QByteArray &bytes)
{
    AccessValue value;
    value.kind = AccessValue::Kind::Integer;
    switch (bytes.size()) {
    case 1:
        value.integer = static_cast<unsigned char>(bytes.at(0));
        return value;
    case 2:
        value.integer = qFromLittleEndian<qint16>(bytes.constData());
        return value;
    case 4:
        value.integer = qFromLittleEndian<qint32>(bytes.constData());
        return value;
    default:
        return wrongSize(bytes, 4);
    }
}

AccessValue singleNumber(const QByteArray &bytes)
{
    if (bytes.size() != 4)
        return wrongSize(bytes, 4);
    const quint32 raw = qFromLittleEndian<quint32>(bytes.constData());
    float stored;
    std::memcpy(&stored, &raw, sizeof stored);
    AccessValue value;
    value.kind = AccessValue::Kind::Number;
    value.number = stored;
    value.single = true;
    return value;
}

AccessValue doubleNumber(const QByteArray &bytes)
{
    if (bytes.size() != 8)
        return wrongSize(bytes, 8);
    const quint64 raw = qFromLittleEndian<quint64>(bytes.constData());
    AccessValue value;
    value.kind = AccessValue::Kind::Number;
    std::memcpy(&value.number, &raw, sizeof value.number);
    return value;
}

AccessValue dateTime(const QByteArray &bytes)
{
    const AccessValue stored = doubleNumber(bytes);
    if (stored.kind != AccessValue::Kind::Number)
        return stored;
    const double days = stored.number;
    // Access dates run from 1 January 100 to 31 December 9999.
    if (!std::isfinite(days) || days < -657434.0 || days >= 2958466.0)
        return AccessValue::unreadable(
            QStringLiteral("not a date (day number %1)").arg(QString::number(days, 'g', 17)));
    // Before 1899 the whole days count back and the time still counts forward.
    const double whole = std::trunc(days);
    const qint64 milliseconds = std::llround(std::fabs(days - whole) * 86400000.0);
    AccessValue value;
    value.kind = AccessValue::Kind::DateTime;
    value.date = QDate(1899, 12, 30).addDays(qint64(whole));
    value.time = QTime(0, 0).addMSecs(int(std::min<qint64>(milliseconds, 86399999)));
    return value;
}

AccessValue jet4Text(const QByteArray &bytes)
{
    QString text;
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype size = bytes.size();
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
        bool compressed = true;
        qsizetype pos = 2;
        while (pos < size) {
            if (data[pos] == 0x00) {
                compressed = !compressed;
                ++pos;
            } else if (compressed) {
                text.append(QChar(char16_t(data[pos])));
                ++pos;
            } else if (pos + 1 < size) {
                text.append(QChar(char16_t(data[pos] | (data[pos + 1] << 8))));
                pos += 2;
            } else {
                return AccessValue::unreadable(
                    QStringLiteral("a text that ends in half a character"));
            }
        }
    } else {
        if (size % 2 != 0)
            return AccessValue::unreadable(QStringLiteral("a text that ends in half a character"));
        for (qsizetype pos = 0; pos < size; pos += 2)
            text.append(QChar(char16_t(data[pos] | (data[pos + 1] << 8))));
    }
    AccessValue value;
    value.kind = AccessValue::Kind::Text;
    value.text = text;
    return value;
}

AccessValue jet3Text(const QByteArray &bytes)
{
    AccessValue value;
    value.kind = AccessValue::Kind::Text;
    value.text = QuotedItems::fromWindows1252(bytes);
    return value;
}

std::optional<qint64> tenThousandths(const AccessValue &number)
{
    if (number.kind == AccessValue::Kind::Integer)
        return number.integer * Money::kScale;
    if (number.kind != AccessValue::Kind::Number || !std::isfinite(number.number) ||
        std::fabs(number.number) > 1e14)
        return std::nullopt;
    const qint64 units = std::llround(number.number * double(Money::kScale));
    const double back = double(units) / double(Money::kScale);
    const bool same = number.single ? float(back) == float(number.number) : back == number.number;
    if (!same)
        return std::nullopt;
    return units;
}

} // namespace AccessBytes
