#pragma once

#include <QString>
#include <QVariant>

#include <optional>

// A field of a record-at-a-time window: a column of a table, the kind of
// value it holds and the label the window shows beside it. The field's text
// is what a person reads and types; this is where that text and the column's
// value are turned into each other.
//
// Texts shown: text as stored; money and unit counts as plain numbers (1250.5);
// dates as mm/dd/yyyy; yes/no as True or False. Texts written back: as the
// worksheet accepts them (ColumnValue), yes/no also as Yes/No/1/0/-1; empty
// is NULL, except that a required text is stored empty and a yes/no is False.
// A read-only field is shown and never written: a new row gets its empty value.
struct RecordField
{
    enum class Kind { Text, RequiredText, Date, Money, YesNo };

    QString column;
    Kind kind = Kind::Text;
    QString label;
    bool readOnly = false;

    // The text shown for a column value.
    QString display(const QVariant &value) const;

    // The column value for a text, or std::nullopt when the text is not a
    // value of this field; `refusal` then says why, naming the field.
    std::optional<QVariant> value(const QString &text, QString *refusal) const;
};
