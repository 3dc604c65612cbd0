#include "standing_figures.h"

#include "common/money.h"
#include "common/quoted_items.h"

#include <QFileInfo>

namespace {

// One figure of a settings file: what it is called in a message, and where
// it is kept.
struct Figure
{
    const char *name;
    QString StandingFigures::*value;
};

// The items of one settings file; a missing file is created with `defaults`
// (one line of items) first. std::nullopt, with the problem noted, when the
// file is there but cannot be read.
std::optional<QStringList> readOrCreate(const ProgramFolder &folder, const QString &fileName,
                                        const QStringList &defaults, const QString &inUse,
                                        QStringList *problems)
{
    const QString path = folder.filePath(fileName);
    QString error;
    if (!QFileInfo::exists(path)) {
        const QList<QStringList> lines =
            defaults.isEmpty() ? QList<QStringList>{} : QList<QStringList>{defaults};
        if (!QuotedItems::writeFile(path, lines, QuotedItems::WriteMode::Replace, &error)
            && problems)
            problems->append(QStringLiteral("%1 is missing and could not be created (%2): %3.")
                                 .arg(fileName, error, inUse));
        return defaults;
    }
    auto items = QuotedItems::readFile(path, &error);
    if (!items && problems)
        problems->append(
            QStringLiteral("%1 could not be read (%2): %3.").arg(fileName, error, inUse));
    return items;
}

// Reads a file of figures into `figures`: each figure takes the item at its
// place when that is a number, and keeps its default otherwise.
void readFigures(const ProgramFolder &folder, const QString &fileName,
                 std::initializer_list<Figure> fileFigures, StandingFigures &figures,
                 QStringList *problems)
{
    QStringList defaults;
    QStringList described;
    for (const Figure &figure : fileFigures) {
        defaults.append(figures.*figure.value);
        described.append(
            QStringLiteral("%1 %2").arg(QLatin1String(figure.name), figures.*figure.value));
    }
    const QString inUse =
        QStringLiteral("the defaults are used instead (%1)").arg(described.join(u", "));
    const auto items = readOrCreate(folder, fileName, defaults, inUse, problems);
    if (!items)
        return;
    qsizetype index = 0;
    for (const Figure &figure : fileFigures) {
        const QString value = items->value(index++);
        if (MoneyText::isNumber(value)) {
            figures.*figure.value = value;
        } else if (problems) {
            problems->append(
                QStringLiteral("%1 holds no number for the %2: the default, %3, is used instead.")
                    .arg(fileName, QLatin1String(figure.name), figures.*figure.value));
        }
    }
}

} // namespace

StandingFigures StandingFigures::load(const ProgramFolder &folder, QStringList *problems)
{
    StandingFigures figures;
    readFigures(folder, packFile(),
                {{"new pack", &StandingFigures::newPack}, {"used pack", &StandingFigures::usedPack}},
                figures, problems);
    readFigures(folder, warrantyFile(), {{"warranty spiff", &StandingFigures::warranty}}, figures,
                problems);
    readFigures(folder, commissionFile(),
                {{"commission percentage", &StandingFigures::commission}}, figures, problems);
    readFigures(folder, miniFile(), {{"mini deal", &StandingFigures::mini}}, figures, problems);
    figures.units = readOrCreate(folder, unitFile(), {},
                                 QStringLiteral("the unit list is empty"), problems)
                        .value_or(QStringList());
    return figures;
}

QString StandingFigures::problemReport(const QStringList &problems)
{
    return QStringLiteral("Some settings files could not be used as they are:\n\n%1\n\n"
                          "Commissions are worked out with the figures named. To keep other "
                          "figures, enter them again from the Setup menu.")
        .arg(problems.join(QStringLiteral("\n")));
}
