#include "admin/help_file.h"

#include <QDir>
#include <QFileInfo>

namespace HelpFile {

QString fileName()
{
    return QStringLiteral("Tarvex5Help.chm");
}

QString missingMessage(const QString &path)
{
    return QStringLiteral("The help file could not be found. It should be:\n%1")
        .arg(QDir::toNativeSeparators(path));
}

QString notOpenedMessage(const QString &path)
{
    return QStringLiteral("The help file could not be opened:\n%1\n\n"
                          "Check that a program for compiled help files (.chm) is installed.")
        .arg(QDir::toNativeSeparators(path));
}

bool open(const ProgramFolder &folder, Prompts &prompts, const Opener &opener)
{
    const QString path = folder.filePath(fileName());
    if (!QFileInfo(path).isFile()) {
        prompts.message(missingMessage(path), {}, Prompts::Icon::Warning);
        return false;
    }
    if (!opener(QUrl::fromLocalFile(path))) {
        prompts.message(notOpenedMessage(path), {}, Prompts::Icon::Warning);
        return false;
    }
    return true;
}

} // namespace HelpFile
