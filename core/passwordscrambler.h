#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The reversible scrambling of the stored password: a random start byte, then each CP936 byte
// mixed with the previous output and the key, written as upper-case hexadecimal pairs.
namespace PasswordScrambler {

// The key of an installation: the first 10 CP936 bytes of the executable's full path as the
// system writes it ("\" on Windows, where Qt hands out "/"), even when the tenth byte is the
// first half of a character. Files written by other installations of the client rely on exactly
// these bytes.
QByteArray KeyFor(const QString &executablePath);

QString Scramble(const QString &password, const QByteArray &key);
// Nothing when `hex` is not a sequence of hexadecimal pairs.
std::optional<QString> Unscramble(const QString &hex, const QByteArray &key);

} // namespace PasswordScrambler
