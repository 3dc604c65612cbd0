#pragma once

#include "common/program_folder.h"
#include "common/prompts.h"

#include <QDesktopServices>
#include <QUrl>

#include <functional>

// The program's help. A folder copied from an older installation may hold
// the compiled help file "Tarvex5Help.chm"; it is then opened with the
// desktop's own "open" action. Otherwise Tarvex's own manual is shown.
namespace HelpFile {

QString fileName();

// Asks the desktop to open a file; true when it accepted the request.
using Opener = std::function<bool(const QUrl &)>;

// Opens the help: the help file when the folder holds one, otherwise
// `showManual`. When the desktop refuses the help file the user is told so
// and the manual is shown instead. Returns true when the help file was
// handed to the desktop.
bool open(const ProgramFolder &folder, Prompts &prompts, const std::function<void()> &showManual,
          const Opener &opener = &QDesktopServices::openUrl);

// The text shown when the desktop refuses to open the help file.
QString notOpenedMessage(const QString &path);

} // namespace HelpFile
