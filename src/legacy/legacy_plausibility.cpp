#include "legacy_plausibility.h"

#include <QDate>

namespace LegacyPlausibility {

namespace {

constexpr qint64 kLargestAmount = 10'000'000LL * 10'000; // in ten-thousandths

bool isControl(QChar c)
{
    return c.category() == QChar::Other_Control;
}

QString shown(const AccessValue &value)
{
    if (value.kind != AccessValue::Kind::Text)
        return value.display();
    QString text;
    for (const QChar c : value.text)
        text += isControl(c)
                    ? QStringLiteral("\\x%1").arg(int(c.unicode()), 2, 16, QLatin1Char('0'))
                    : QString(c);
    return u'"' + text + u'"';
}

// Why the value of `column` is not plausible; empty when it is.
QString reasonFor(const QString &column, const AccessValue &value)
{
    switch (value.kind) {
    case AccessValue::Kind::Currency:
        if (value.integer > kLargestAmount || value.integer < -kLargestAmount)
            return QStringLiteral("an amount beyond ±$10,000,000");
        break;
    case AccessValue::Kind::DateTime:
        if (value.date < QDate(1980, 1, 1) || value.date > QDate(2100, 12, 31))
            return QStringLiteral("a date outside 1980 to 2100");
        break;
    case AccessValue::Kind::Number:
    case AccessValue::Kind::Integer:
        if (column == u"UnitCount") {
            const double count =
                value.kind == AccessValue::Kind::Number ? value.number : double(value.integer);
            if (count != 0.5 && count != 1.0)
                return QStringLiteral("a unit count other than 0.5 or 1");
        }
        break;
    case AccessValue::Kind::Text:
        for (const QChar c : value.text) {
            if (isControl(c))
                return QStringLiteral("text with a control character");
        }
        break;
    case AccessValue::Kind::Null:
    case AccessValue::Kind::YesNo:
    case AccessValue::Kind::Unreadable:
        break;
    }
    return {};
}

} // namespace

QString Suspect::describe() const
{
    return QStringLiteral("%1 row %2, %3 = %4: %5").arg(table).arg(row).arg(column, value, reason);
}

QList<Suspect> check(const QList<const AccessTable *> &tables)
{
    QList<Suspect> suspects;
    for (const AccessTable *table : tables) {
        for (qsizetype row = 0; row < table->rows.size(); ++row) {
            const QList<AccessValue> &values = table->rows.at(row);
            for (qsizetype i = 0; i < values.size() && i < table->columns.size(); ++i) {
                const QString &column = table->columns.at(i).name;
                const QString reason = reasonFor(column, values.at(i));
                if (!reason.isEmpty())
                    suspects << Suspect{table->name, int(row) + 1, column, shown(values.at(i)),
                                        reason};
            }
        }
    }
    return suspects;
}

} // namespace LegacyPlausibility
