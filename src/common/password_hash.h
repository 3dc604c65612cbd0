#pragma once

#include <QByteArray>
#include <QString>

// Passwords are kept only as Argon2id hashes made by libsodium at its
// interactive limits: the text holds the algorithm, its limits and a random
// salt, so that the same password never gives the same text twice and the
// password cannot be read back from it. The hash is stored in the users
// table and nowhere else.
namespace PasswordHash {

// The hash of `password` (its UTF-8 bytes); empty when libsodium cannot make
// one (it could not start, or memory ran out).
QString make(const QString &password);

// True when `password` is the one `hash` was made from.
bool matches(const QString &hash, const QString &password);

} // namespace PasswordHash
