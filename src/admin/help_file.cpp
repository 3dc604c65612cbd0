#include "admin/help_file.h"

#include <QDir>
#include <QFileInfo>

namespace HelpFile {

QString fileName()
{
    return QStringLiteral("Tarvex5Help.chm");
}

QString notOpenedMessage(const QString &path)
{
    return QStringLiteral("The help file could not be opened:\n%1\n\n"
                          "Check that a program for compiled help files (.chm) is installed. "
                          "Tarvex's own manual opens instead.")
        .arg(QDir::toNativeSeparators(path));
}

bool open(const ProgramFolder &folder, Prompts &prompts, const std::function<void()> &showManual,
          const Opener &opener)
{
    const QString path = folder.filePath(fileName());
    if (!QFileInfo(path).isFile()) {
        showManual();
        return false;
    }
    if (!opener(QUrl::fromLocalFile(path))) {
        prompts.message(notOpenedMessage(path), {}, Prompts::Icon::Warning);
        showManual();
        return false;
    }
    return true;
}

} // namespace HelpFile
