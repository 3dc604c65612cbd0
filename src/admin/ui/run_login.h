#pragma once

#include "common/permissions.h"
#include "common/program_folder.h"
#include "common/prompts.h"

#include <optional>

class UserAccounts;

class QWidget;

// The login at start-up; returns LoggedIn. With a readable PW.txt holding a
// password, shows frmLogin modally. When PW.txt is missing or holds no item,
// the user first chooses a password (written to PW.txt) and is then logged
// in. When PW.txt cannot be read, says so and returns false: the program
// never lets anyone in without a password it could read.
bool runLogin(const ProgramFolder &folder, Prompts &prompts, QWidget *parent = nullptr);

// The message shown when PW.txt cannot be read; `error` is the reason.
QString unreadablePasswordMessage(const QString &path, const QString &error);

// The login of this version, once the deal database is open: first gives the
// database its first user (UserMoveIn, from PW.txt or `chosen`, a first
// password asked before the database opened), then shows frmLogin over the
// users: password only while there is one active user, with the user name
// (remembered on this computer) when there are more. Who signed in, or
// nullopt when the program is to end (the reason has been shown).
std::optional<Access> signInUser(const ProgramFolder &folder, UserAccounts &accounts,
                                 Prompts &prompts, std::optional<QString> chosen = std::nullopt,
                                 QWidget *parent = nullptr);
