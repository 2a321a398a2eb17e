#pragma once

#include <QString>
#include <optional>

// The reversible scrambling of the stored password: a random start byte, then each CP936 byte
// mixed with the previous output and the key, written as upper-case hexadecimal pairs.
namespace PasswordScrambler {

QString Scramble(const QString &password, const QString &key);
// Nothing when `hex` is not a sequence of hexadecimal pairs.
std::optional<QString> Unscramble(const QString &hex, const QString &key);

} // namespace PasswordScrambler
