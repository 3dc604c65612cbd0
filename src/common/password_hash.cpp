#include "common/password_hash.h"

#include <sodium.h>

namespace PasswordHash {

namespace {

bool started()
{
    static const bool ready = sodium_init() >= 0;
    return ready;
}

} // namespace

QString make(const QString &password)
{
    if (!started())
        return {};
    QByteArray bytes = password.toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    const int result = crypto_pwhash_str(hash, bytes.constData(), quint64(bytes.size()),
                                         crypto_pwhash_OPSLIMIT_INTERACTIVE,
                                         crypto_pwhash_MEMLIMIT_INTERACTIVE);
    sodium_memzero(bytes.data(), size_t(bytes.size()));
    if (result != 0)
        return {};
    return QString::fromLatin1(hash);
}

bool matches(const QString &hash, const QString &password)
{
    if (!started() || hash.isEmpty())
        return false;
    const QByteArray stored = hash.toLatin1();
    QByteArray bytes = password.toUtf8();
    const bool same =
        crypto_pwhash_str_verify(stored.constData(), bytes.constData(), quint64(bytes.size())) == 0;
    sodium_memzero(bytes.data(), size_t(bytes.size()));
    return same;
}

} // namespace PasswordHash
