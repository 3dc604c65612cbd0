#pragma once

#include <QList>
#include <QString>

// An audit entry's values read back for people: its Before and After texts
// ("Column: value" lines) as one change per column, a one-line summary
// ("Price 23000 → 23500; 2 more") and the full list ("Price: 23000 → 23500",
// a line each). An entry with values on one side only (a deal saved or
// deleted) lists those values as they are ("Customer: ANN").
namespace AuditChanges {

struct Change
{
    QString column;
    QString before;
    QString after;
    bool hasBefore = false;
    bool hasAfter = false;
};

QList<Change> of(const QString &before, const QString &after);

QString summary(const QList<Change> &changes);
QString details(const QList<Change> &changes);

} // namespace AuditChanges
