#include "standing_figures.h"

#include "common/quoted_items.h"

#include <QFileInfo>

namespace {

// The items of one settings file; a missing file is created with `defaults`
// (one line of items) first.
QStringList readOrCreate(const ProgramFolder &folder, const QString &fileName,
                         const QStringList &defaults, QStringList *problems)
{
    const QString path = folder.filePath(fileName);
    if (!QFileInfo::exists(path)) {
        const QList<QStringList> lines =
            defaults.isEmpty() ? QList<QStringList>{} : QList<QStringList>{defaults};
        QString error;
        if (!QuotedItems::writeFile(path, lines, QuotedItems::WriteMode::Replace, &error)
            && problems)
            problems->append(QStringLiteral("%1: %2").arg(path, error));
        return defaults;
    }
    QString error;
    const auto items = QuotedItems::readFile(path, &error);
    if (!items) {
        if (problems)
            problems->append(QStringLiteral("%1: %2").arg(path, error));
        return defaults;
    }
    return *items;
}

void take(const QStringList &items, qsizetype index, QString &value)
{
    if (index < items.size())
        value = items.at(index);
}

} // namespace

StandingFigures StandingFigures::load(const ProgramFolder &folder, QStringList *problems)
{
    StandingFigures figures;
    const QStringList packs =
        readOrCreate(folder, packFile(), {figures.newPack, figures.usedPack}, problems);
    take(packs, 0, figures.newPack);
    take(packs, 1, figures.usedPack);
    take(readOrCreate(folder, warrantyFile(), {figures.warranty}, problems), 0, figures.warranty);
    take(readOrCreate(folder, commissionFile(), {figures.commission}, problems), 0,
         figures.commission);
    take(readOrCreate(folder, miniFile(), {figures.mini}, problems), 0, figures.mini);
    figures.units = readOrCreate(folder, unitFile(), {}, problems);
    return figures;
}
