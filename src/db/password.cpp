#include "db/password.h"

#include <sodium.h>
#include <stdexcept>

namespace password {

static void initialise()
{
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        throw std::runtime_error("libsodium could not be initialised");
}

QString hash(const QString &typed)
{
    initialise();
    const QByteArray utf8 = typed.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, utf8.constData(), quint64(utf8.size()),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw std::runtime_error("password hashing ran out of memory");
    return QString::fromLatin1(out);
}

bool verify(const QString &storedHash, const QString &typed)
{
    initialise();
    if (storedHash.isEmpty())
        return false;
    const QByteArray h = storedHash.toLatin1();
    const QByteArray utf8 = typed.toUtf8();
    return crypto_pwhash_str_verify(h.constData(), utf8.constData(), quint64(utf8.size())) == 0;
}

}  // namespace password
