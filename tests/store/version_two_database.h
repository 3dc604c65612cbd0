#pragma once

#include <QString>
#include <QStringList>

// Makes a deal database of the second layout (version 2, before commission
// sheets were recorded) in `path`, as the program made it; `statements` run
// on it afterwards (rows to upgrade).
void makeVersionTwoDatabase(const QString &path, const QStringList &statements = {});
