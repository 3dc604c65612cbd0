#include "app/passed_over_folder.h"

#include "common/prompts.h"

#include <QDir>

namespace PassedOverFolder {

namespace {

QString whatTheyAre(const QStringList &files)
{
    QStringList named;
    for (const QString &file : files)
        named << (file == u"PW.txt" ? QStringLiteral("password (PW.txt)")
                                    : QStringLiteral("deal database (%1)").arg(file));
    return named.join(QStringLiteral(" and "));
}

} // namespace

QString message(const QString &passedOver, const QStringList &files, const QString &usedInstead,
                bool asking)
{
    const QString told =
        QStringLiteral("The folder\n%1\nholds Tarvex's %2, but this user cannot write in it, so "
                       "Tarvex cannot use it: nothing could be saved there.\n\nTo work with "
                       "those files, give this user the right to write in that folder, or copy "
                       "them into a folder that can be written and start Tarvex with "
                       "--data-folder and that folder.")
            .arg(QDir::toNativeSeparators(passedOver), whatTheyAre(files));
    if (!asking)
        return told + QStringLiteral("\n\nNothing was done.");
    return told + QStringLiteral("\n\nGo on with your own data folder\n%1\ninstead? It does not "
                                 "hold those files.")
                      .arg(QDir::toNativeSeparators(usedInstead));
}

bool confirm(const DataFolderPlaces &places, const ProgramFolder &chosen, Prompts &prompts)
{
    const QStringList files = ProgramFolder::filesPassedOver(places, chosen);
    if (files.isEmpty())
        return true;
    return prompts.message(message(places.executableFolder, files, chosen.path(), true), {},
                           Prompts::Icon::Warning,
                           Prompts::Buttons::YesNo) == Prompts::Answer::Yes;
}

QString refusal(const DataFolderPlaces &places, const ProgramFolder &chosen)
{
    const QStringList files = ProgramFolder::filesPassedOver(places, chosen);
    return files.isEmpty() ? QString()
                           : message(places.executableFolder, files, chosen.path(), false);
}

} // namespace PassedOverFolder
