#include "admin/audit_changes.h"

#include <QRegularExpression>

#include <algorithm>

namespace AuditChanges {

namespace {

struct Value
{
    QString column;
    QString text;
};

// "Column: value" lines; a line that does not start with a column name
// continues the value before it (a text of several lines).
QList<Value> valuesOf(const QString &text)
{
    static const QRegularExpression columnLine(QStringLiteral("^([A-Za-z_][A-Za-z0-9_]*): ?(.*)$"));
    QList<Value> values;
    if (text.isEmpty())
        return values;
    for (const QString &line : text.split(u'\n')) {
        const QRegularExpressionMatch match = columnLine.match(line);
        if (match.hasMatch())
            values.append({match.captured(1), match.captured(2)});
        else if (!values.isEmpty())
            values.last().text += u'\n' + line;
    }
    return values;
}

QString arrow()
{
    return QStringLiteral(" → ");
}

// Values on both sides: a change, shown with arrows. On one side only: the
// values a deal was saved or deleted with, shown as they are.
bool bothSides(const QList<Change> &changes)
{
    const auto any = [&changes](bool Change::*side) {
        return std::any_of(changes.cbegin(), changes.cend(),
                           [side](const Change &change) { return change.*side; });
    };
    return any(&Change::hasBefore) && any(&Change::hasAfter);
}

QString described(const Change &change, bool arrows, const QString &separator)
{
    if (!arrows)
        return change.column + separator + (change.hasAfter ? change.after : change.before);
    return change.column + separator + change.before + arrow() + change.after;
}

} // namespace

QList<Change> of(const QString &before, const QString &after)
{
    QList<Change> changes;
    auto find = [&changes](const QString &column) -> Change & {
        for (Change &change : changes) {
            if (change.column == column)
                return change;
        }
        changes.append(Change{column, {}, {}, false, false});
        return changes.last();
    };
    for (const Value &value : valuesOf(before)) {
        Change &change = find(value.column);
        change.before = value.text;
        change.hasBefore = true;
    }
    for (const Value &value : valuesOf(after)) {
        Change &change = find(value.column);
        change.after = value.text;
        change.hasAfter = true;
    }
    return changes;
}

QString summary(const QList<Change> &changes)
{
    if (changes.isEmpty())
        return {};
    const bool arrows = bothSides(changes);
    QString first = described(changes.first(), arrows, QStringLiteral(" "));
    first.replace(u'\n', u' ');
    if (changes.size() == 1)
        return first;
    return first + QStringLiteral("; %1 more").arg(changes.size() - 1);
}

QString details(const QList<Change> &changes)
{
    const bool arrows = bothSides(changes);
    QStringList lines;
    for (const Change &change : changes)
        lines << described(change, arrows, QStringLiteral(": "));
    return lines.join(u'\n');
}

} // namespace AuditChanges
