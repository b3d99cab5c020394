#pragma once
// Employee passwords. A password is kept as a slow salted hash (PBKDF2 with SHA-256) of the
// password in upper case, so that logging in stays case-insensitive and nobody reads a
// password out of the employee table.
//
//   "pbkdf2-sha256$<iterations>$<salt, base64>$<key, base64>"

#include <QString>

namespace brix {

// The hash of a password (upper-cased first). An empty password has no hash (empty text).
QString HashHesla(const QString& heslo);
// Whether the password (any case) is the one the hash was made of. A malformed hash and an
// empty password never match.
bool OverHeslo(const QString& heslo, const QString& hash);
// Whether a stored text is a hash of this module (and not an old plain password).
bool JeHashHesla(const QString& text);

// Iterations of new hashes; tests lower it to stay quick. Returns the previous count.
int NastavPocetIteraci(int iterace);

} // namespace brix
