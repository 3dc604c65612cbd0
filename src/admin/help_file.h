#pragma once

#include "common/program_folder.h"
#include "common/prompts.h"

#include <QDesktopServices>
#include <QUrl>

#include <functional>

// The program's help, the compiled help file "Tarvex5Help.chm" in the
// program folder, opened with the desktop's own "open" action.
namespace HelpFile {

QString fileName();

// Asks the desktop to open a file; true when it accepted the request.
using Opener = std::function<bool(const QUrl &)>;

// Opens the help file. When it is missing, or the desktop refuses to open it,
// the user is told so (the desktop's open action can fail without a word).
// Returns true when the desktop accepted the request.
bool open(const ProgramFolder &folder, Prompts &prompts,
          const Opener &opener = &QDesktopServices::openUrl);

// The texts shown when it cannot be opened.
QString missingMessage(const QString &path);
QString notOpenedMessage(const QString &path);

} // namespace HelpFile
