#include "reports/report_value.h"

#include "common/money_format.h"

#include <QDate>
#include <QDateTime>

namespace ReportValue {

namespace {

bool isDatePicture(const QString &picture)
{
    return picture.contains(u'd', Qt::CaseInsensitive) ||
           picture.contains(u'y', Qt::CaseInsensitive);
}

QDate dateOf(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate();
    case QMetaType::QDateTime:
        return value.toDateTime().date();
    case QMetaType::QString:
        break;
    default:
        return {};
    }
    const QString text = value.toString().trimmed();
    // Stored dates are ISO text: read them without parsing a format.
    if (const QDate iso = QDate::fromString(text, Qt::ISODate); iso.isValid())
        return iso;
    for (const auto *form : {"M/d/yyyy", "MM/dd/yyyy"}) {
        const QDate date = QDate::fromString(text, QString::fromLatin1(form));
        if (date.isValid())
            return date;
    }
    return {};
}

QString plainText(const QVariant &value)
{
    if (value.metaType() == QMetaType::fromType<Money>())
        return MoneyFormat::plain(value.value<Money>());
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(QStringLiteral("M/d/yyyy"));
    return value.toString();
}

} // namespace

std::optional<Money> amount(const QVariant &value)
{
    if (value.metaType() == QMetaType::fromType<Money>())
        return value.value<Money>();
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return Money::dollars(value.toLongLong());
    case QMetaType::Double:
        // A value stored in floating point arrives here; read it at four
        // decimals like any other amount text.
        return MoneyText::parse(QString::number(value.toDouble(), 'f', 4));
    case QMetaType::QString:
        return MoneyText::parse(value.toString());
    default:
        return std::nullopt;
    }
}

QString format(Money value, const QString &picture)
{
    if (picture.isEmpty() || isDatePicture(picture))
        return MoneyFormat::plain(value);
    return MoneyFormat::picture(value, picture);
}

QString format(const QVariant &value, const QString &picture)
{
    if (value.isNull())
        return {};
    if (picture.isEmpty())
        return plainText(value);
    if (isDatePicture(picture)) {
        const QDate date = dateOf(value);
        return date.isValid() ? DateFormat::picture(date, picture) : plainText(value);
    }
    const std::optional<Money> money = amount(value);
    return money ? MoneyFormat::picture(*money, picture) : plainText(value);
}

} // namespace ReportValue
