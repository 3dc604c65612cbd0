#include "money_format.h"

namespace MoneyFormat {

namespace {

struct Parts
{
    bool negative = false;
    quint64 whole = 0;
    quint64 fraction = 0; // in units of the requested precision
};

// The size of an amount without its sign. The magnitude of the most negative
// qint64 fits in quint64.
quint64 magnitudeOf(Money value)
{
    const qint64 units = value.units();
    return units < 0 ? quint64(0) - quint64(units) : quint64(units);
}

// `magnitude` rounded half up to a multiple of `step`. quint64 has room above
// the largest amount, so the extremes of Money round like any other amount.
quint64 roundedMagnitude(quint64 magnitude, quint64 step)
{
    const quint64 remainder = magnitude % step;
    return magnitude - remainder + (remainder * 2 >= step && step > 1 ? step : 0);
}

// Splits a value rounded to `decimals` (0, 2 or 4) places.
Parts split(Money value, int decimals)
{
    const quint64 step = decimals == 0 ? quint64(Money::kScale) : decimals == 2 ? 100 : 1;
    const quint64 rounded = roundedMagnitude(magnitudeOf(value), step);
    Parts parts;
    parts.negative = value.isNegative() && rounded != 0;
    parts.whole = rounded / quint64(Money::kScale);
    parts.fraction = (rounded % quint64(Money::kScale)) / step;
    return parts;
}

QString withThousands(quint64 whole)
{
    QString digits = QString::number(whole);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, u',');
    return digits;
}

QString twoDecimals(quint64 fraction)
{
    return QStringLiteral("%1").arg(fraction, 2, 10, QLatin1Char('0'));
}

QString sign(const Parts &parts)
{
    return parts.negative ? QStringLiteral("-") : QString();
}

} // namespace

QString dollars(Money value)
{
    const Parts p = split(value, 2);
    const QString whole = p.whole == 0 ? QString() : QString::number(p.whole);
    return sign(p) + u'$' + whole + u'.' + twoDecimals(p.fraction);
}

QString cents(Money value)
{
    const Parts p = split(value, 2);
    return sign(p) + QString::number(p.whole) + u'.' + twoDecimals(p.fraction);
}

QString wholeDollarsWithPoint(Money value)
{
    const Parts p = split(value, 0);
    const QString whole = p.whole == 0 ? QString() : QString::number(p.whole);
    return sign(p) + u'$' + whole + u'.';
}

QString currency(Money value)
{
    return dollarsGrouped(value);
}

QString dollarsGrouped(Money value)
{
    const Parts p = split(value, 2);
    return sign(p) + u'$' + withThousands(p.whole) + u'.' + twoDecimals(p.fraction);
}

QString grouped(Money value)
{
    const Parts p = split(value, 2);
    return sign(p) + withThousands(p.whole) + u'.' + twoDecimals(p.fraction);
}

QString wholeDollarsGrouped(Money value)
{
    const Parts p = split(value, 0);
    return sign(p) + u'$' + withThousands(p.whole);
}

QString percent(Money ratio)
{
    // A ratio's whole percent is its units rounded to hundreds (0.3 is 3000
    // units, 30%), worked on the magnitude so that no ratio leaves the range.
    const quint64 whole = roundedMagnitude(magnitudeOf(ratio), 100) / 100;
    return (ratio.isNegative() && whole != 0 ? QStringLiteral("-") : QString()) +
           QString::number(whole) + u'%';
}

QString picture(Money value, const QString &pictureText)
{
    if (pictureText == u"$###.00" || pictureText == u"$####.00")
        return dollars(value);
    if (pictureText == u"$###.")
        return wholeDollarsWithPoint(value);
    if (pictureText.compare(u"Currency", Qt::CaseInsensitive) == 0)
        return currency(value);
    if (pictureText == u"$#,##0.00")
        return dollarsGrouped(value);
    if (pictureText == u"#,##0.00")
        return grouped(value);
    if (pictureText == u"$#,##0")
        return wholeDollarsGrouped(value);
    if (pictureText == u"0%")
        return percent(value);
    return plain(value);
}

QString plain(Money value)
{
    const Parts p = split(value, 4);
    QString text = sign(p) + QString::number(p.whole);
    if (p.fraction != 0) {
        QString decimals = QStringLiteral("%1").arg(p.fraction, 4, 10, QLatin1Char('0'));
        while (decimals.endsWith(u'0'))
            decimals.chop(1);
        text += u'.' + decimals;
    }
    return text;
}

} // namespace MoneyFormat

namespace DateFormat {

QString picture(const QDate &date, const QString &pictureText)
{
    const QString lower = pictureText.toLower();
    if (lower == u"mm/dd/yy")
        return date.toString(QStringLiteral("MM/dd/yy"));
    if (lower == u"mm/dd/yyyy")
        return date.toString(QStringLiteral("MM/dd/yyyy"));
    if (lower == u"m/d/yy")
        return date.toString(QStringLiteral("M/d/yy"));
    if (lower == u"yyyy")
        return date.toString(QStringLiteral("yyyy"));
    return date.toString(Qt::ISODate);
}

} // namespace DateFormat
