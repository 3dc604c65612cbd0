#include "record_field.h"

#include "column_value.h"

#include "common/money_format.h"

namespace {

QString yesNoText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

std::optional<bool> yesNoFromText(const QString &text)
{
    const QString word = text.trimmed().toLower();
    if (word.isEmpty() || word == u"false" || word == u"no" || word == u"0")
        return false;
    if (word == u"true" || word == u"yes" || word == u"1" || word == u"-1")
        return true;
    return std::nullopt;
}

} // namespace

QString RecordField::display(const QVariant &value) const
{
    if (value.isNull())
        return kind == Kind::YesNo ? yesNoText(false) : QString();
    switch (kind) {
    case Kind::Text:
    case Kind::RequiredText:
        return ColumnValue::textFrom(value);
    case Kind::Date: {
        const QDate date = ColumnValue::dateFrom(value);
        // A stored text that is no date is shown as it is, so that nothing is
        // hidden from the user and an untouched field is never rewritten.
        return date.isValid() ? DateFormat::picture(date, QStringLiteral("mm/dd/yyyy"))
                              : value.toString();
    }
    case Kind::Money:
        return ColumnValue::moneyTextFrom(value);
    case Kind::YesNo:
        return yesNoText(ColumnValue::yesNoFrom(value));
    }
    return value.toString();
}

std::optional<QVariant> RecordField::value(const QString &text, QString *refusal) const
{
    std::optional<QVariant> result;
    QString why;
    switch (kind) {
    case Kind::Text:
        return ColumnValue::text(text);
    case Kind::RequiredText:
        return QVariant(text.isNull() ? QString::fromLatin1("") : text);
    case Kind::Date:
        result = ColumnValue::dateText(text);
        why = QStringLiteral("is not a date. Type it as MM/DD/YYYY, for example 03/07/2005.");
        break;
    case Kind::Money:
        result = ColumnValue::money(text.trimmed());
        why = QStringLiteral("is not a number. Type a plain amount such as 1250.50.");
        break;
    case Kind::YesNo:
        if (const std::optional<bool> yes = yesNoFromText(text))
            result = ColumnValue::yesNo(*yes);
        why = QStringLiteral("is neither True nor False.");
        break;
    }
    if (!result && refusal) {
        QString name = label.isEmpty() ? column : label;
        if (name.endsWith(u':'))
            name.chop(1);
        *refusal = QStringLiteral("%1: \"%2\" %3").arg(name, text, why);
    }
    return result;
}
