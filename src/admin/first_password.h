#pragma once

#include "admin/password_file.h"
#include "common/prompts.h"

#include <optional>

// The first start of an installation that has no password yet (PW.txt is
// missing or holds no item): the user chooses the password, typed twice in
// masked boxes, and it is written to PW.txt before the program goes on.
// Nothing is ever stored that the user did not type.
namespace FirstPassword {

// Asks for the password until both entries agree and it can be stored, then
// writes it. Returns true when the password was written (the user is then
// logged in); false when the user cancelled either box or the file could not
// be written (the program then ends).
bool choose(const PasswordFile &file, Prompts &prompts);
// The same asking, giving the password instead of writing it; nullopt when
// the user cancelled either box.
std::optional<QString> ask(Prompts &prompts);

// The texts of its boxes.
QString choosePrompt();
QString confirmPrompt();
QString mismatchMessage();
QString title();

} // namespace FirstPassword
