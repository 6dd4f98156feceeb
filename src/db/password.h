#pragma once
// Operator passwords are kept only as Argon2id hashes (libsodium's crypto_pwhash_str).

#include <QString>

namespace password {

QString hash(const QString &typed);  // throws std::runtime_error when out of memory
bool verify(const QString &storedHash, const QString &typed);

}  // namespace password
