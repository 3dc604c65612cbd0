#include "column_value.h"

#include "common/money_format.h"

#include <QRegularExpression>

#include <charconv>

namespace ColumnValue {

namespace {

constexpr int kTwoDigitYearCutoff = 30; // 00-29 -> 20xx, 30-99 -> 19xx

QDate twoDigitYearDate(int month, int day, int yy)
{
    return QDate(yy < kTwoDigitYearCutoff ? 2000 + yy : 1900 + yy, month, day);
}

// `value` as `width` digits with leading zeros, written at `out`; the
// position after them.
QChar *putDigits(QChar *out, int value, int width)
{
    for (int i = width - 1; i >= 0; --i) {
        out[i] = QChar(u'0' + value % 10);
        value /= 10;
    }
    return out + width;
}

// YYYY-MM-DD at `out` for a year of four digits; the position after it.
QChar *putDate(QChar *out, int year, int month, int day)
{
    out = putDigits(out, year, 4);
    *out++ = u'-';
    out = putDigits(out, month, 2);
    *out++ = u'-';
    return putDigits(out, day, 2);
}

constexpr int kLastFourDigitYear = 9999;

} // namespace

QVariant text(const QString &value)
{
    return value.isEmpty() ? QVariant() : QVariant(value);
}

std::optional<QVariant> money(const QString &value)
{
    if (value.isEmpty())
        return QVariant();
    const std::optional<Money> amount = MoneyText::parse(value);
    if (!amount)
        return std::nullopt;
    return money(*amount);
}

QVariant money(Money amount)
{
    return QVariant(amount.units());
}

QVariant date(const QDate &value)
{
    return value.isValid() ? QVariant(isoDate(value)) : QVariant();
}

QString isoDate(const QDate &date)
{
    // Written digit by digit: a save stores its date several times, and the
    // library's formatting costs as much as a row's other values together.
    int year = 0;
    int month = 0;
    int day = 0;
    date.getDate(&year, &month, &day);
    if (!date.isValid() || year < 1 || year > kLastFourDigitYear)
        return date.toString(Qt::ISODate);
    QString text(10, Qt::Uninitialized);
    putDate(text.data(), year, month, day);
    return text;
}

QString stamp(const QDateTime &moment)
{
    const QDate date = moment.date();
    const QTime time = moment.time();
    int year = 0;
    int month = 0;
    int day = 0;
    date.getDate(&year, &month, &day);
    if (!date.isValid() || !time.isValid() || year < 1 || year > kLastFourDigitYear)
        return moment.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    QString text(19, Qt::Uninitialized);
    QChar *out = putDate(text.data(), year, month, day);
    *out++ = u' ';
    out = putDigits(out, time.hour(), 2);
    *out++ = u':';
    out = putDigits(out, time.minute(), 2);
    *out++ = u':';
    putDigits(out, time.second(), 2);
    return text;
}

std::optional<QVariant> dateText(const QString &value)
{
    const QString trimmed = value.trimmed();
    if (trimmed.isEmpty())
        return QVariant();
    static const QRegularExpression slashed(
        QStringLiteral(R"(^(\d{1,2})/(\d{1,2})/(\d{2}|\d{4})$)"));
    QDate parsed;
    if (const QRegularExpressionMatch m = slashed.match(trimmed); m.hasMatch()) {
        const int month = m.captured(1).toInt();
        const int day = m.captured(2).toInt();
        const QString yearText = m.captured(3);
        parsed = yearText.size() == 2 ? twoDigitYearDate(month, day, yearText.toInt())
                                      : QDate(yearText.toInt(), month, day);
    } else {
        parsed = QDate::fromString(trimmed, Qt::ISODate);
    }
    if (!parsed.isValid())
        return std::nullopt;
    return date(parsed);
}

QVariant year(const QString &value)
{
    const QString text = value.trimmed();
    qsizetype digits = 0;
    while (digits < text.size() && text.at(digits) >= u'0' && text.at(digits) <= u'9')
        ++digits;
    bool ok = false;
    const qint64 number = text.left(digits).toLongLong(&ok);
    return QVariant(ok ? number : qint64(0));
}

QVariant yesNo(bool value)
{
    return QVariant(value ? 1 : 0);
}

QVariant unitCount(Money count)
{
    return money(count);
}

namespace {

template <typename Number>
void appendNumber(QString &to, Number number)
{
    char digits[24];
    const std::to_chars_result written = std::to_chars(digits, digits + sizeof digits, number);
    to += QLatin1StringView(digits, written.ptr - digits);
}

} // namespace

void appendStoredText(QString &to, const QVariant &value)
{
    const void *data = value.constData();
    switch (value.typeId()) {
    case QMetaType::QString:
        to += *static_cast<const QString *>(data);
        break;
    case QMetaType::LongLong:
        appendNumber(to, *static_cast<const qlonglong *>(data));
        break;
    case QMetaType::ULongLong:
        appendNumber(to, *static_cast<const qulonglong *>(data));
        break;
    case QMetaType::Int:
        appendNumber(to, *static_cast<const int *>(data));
        break;
    case QMetaType::QDate:
        to += isoDate(*static_cast<const QDate *>(data));
        break;
    default:
        to += value.toString();
    }
}

QString storedText(const QVariant &value)
{
    if (value.typeId() == QMetaType::QString)
        return *static_cast<const QString *>(value.constData());
    QString text;
    appendStoredText(text, value);
    return text;
}

QString textFrom(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

std::optional<Money> moneyFrom(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    bool ok = false;
    const qint64 units = value.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return Money::fromUnits(units);
}

QString moneyTextFrom(const QVariant &value)
{
    const std::optional<Money> amount = moneyFrom(value);
    return amount ? MoneyFormat::plain(*amount) : QString();
}

QDate dateFrom(const QVariant &value)
{
    return value.isNull() ? QDate() : QDate::fromString(value.toString(), Qt::ISODate);
}

QString yearTextFrom(const QVariant &value)
{
    return value.isNull() ? QString() : QString::number(value.toLongLong());
}

bool yesNoFrom(const QVariant &value)
{
    return !value.isNull() && value.toLongLong() != 0;
}

} // namespace ColumnValue
