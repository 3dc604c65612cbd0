#pragma once

#include "common/program_folder.h"
#include "common/prompts.h"

class QWidget;

// The login at start-up; returns LoggedIn. With a readable PW.txt holding a
// password, shows frmLogin modally. When PW.txt is missing or holds no item,
// the user first chooses a password (written to PW.txt) and is then logged
// in. When PW.txt cannot be read, says so and returns false: the program
// never lets anyone in without a password it could read.
bool runLogin(const ProgramFolder &folder, Prompts &prompts, QWidget *parent = nullptr);

// The message shown when PW.txt cannot be read; `error` is the reason.
QString unreadablePasswordMessage(const QString &path, const QString &error);
