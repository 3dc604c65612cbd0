#pragma once

#include "common/program_folder.h"
#include "common/prompts.h"
#include "store/user_accounts.h"

// Gives a deal database its first user before the first login of this
// version. The password PW.txt holds becomes the password of the user
// "manager" (Manager role), and PW.txt is replaced by a note that holds no
// password; the user is told once. With no PW.txt (or one holding no item)
// the manager's password is asked twice, as a first start always asked for
// the password, and that start is signed in. Once the database has users,
// a password still left in a PW.txt (a second desk of a server) is replaced
// by the note as well: the logins are the database's.
namespace UserMoveIn {

inline constexpr const char *kManager = "manager";

enum class Result {
    Ready,    // the database has users; the login window asks next
    SignedIn, // the first password was chosen now: the manager is signed in
    Stop,     // cancelled, or a failure that has been shown: the program ends
};

// `chosen` is a first password the user already chose at this start (asked
// before the database was opened, when PW.txt held none); without one it is
// asked here when needed.
Result ensureUsers(const ProgramFolder &folder, UserAccounts &accounts, Prompts &prompts,
                   std::optional<QString> chosen = std::nullopt);

// True when this start has to ask for a first password before anything else:
// PW.txt is missing or holds no item, as at the very first start.
bool asksFirstPassword(const ProgramFolder &folder);

QString movedMessage(const QString &passwordFilePath);
QString leftOverMessage(const QString &passwordFilePath);

} // namespace UserMoveIn
