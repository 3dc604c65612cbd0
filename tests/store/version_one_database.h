#pragma once

#include "worksheet/deal.h"

#include <QList>
#include <QString>
#include <QStringList>

// Makes a deal database of the first layout (version 1) in `path`, as the
// program made it before it was upgraded, holding `deals`; `extraStatements`
// run after the layout, before the deals are written.
void makeVersionOneDatabase(const QString &path, const QList<Deal> &deals,
                            const QStringList &extraStatements = {});
