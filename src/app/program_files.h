#pragma once

#include "common/program_folder.h"

#include <QString>

// Creates the files a first start creates before the login: the settings
// files with their defaults and the deal database. Existing files are kept.
// False, with the reason in `error`, when one of them cannot be made.
bool prepareProgramFiles(const ProgramFolder &folder, QString *error);
