#pragma once

#include "store_engine.h"

#include <QStringList>

// The logins of the installation and who made each change:
//
// - "Users": one row per person who signs in (UserId, UserName: unique in
//   any letter case, Role: "Manager", "Clerk" or "Salesperson", SalesPerson:
//   the roster name a salesperson user is tied to, PasswordHash: an Argon2id
//   hash, never the password, Disabled, FailedAttempts: wrong passwords in a
//   row, LastFailedAt: local "YYYY-MM-DD HH:MM:SS.zzz" of the last of them).
//   On a server every desk shares it.
// - "Audit"."UserName": the user signed in when the entry was written; NULL
//   for entries written before users existed.
namespace UsersSchema {

inline constexpr const char *kUsers = "Users";

// The statements of the step that adds all of the above to a database that
// has none of it (StoreMigration).
QStringList statements(StoreEngine::Engine engine);

} // namespace UsersSchema
