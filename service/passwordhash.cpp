#include "service/passwordhash.h"

#include <QCryptographicHash>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QStringList>
#include <sodium.h>
#include <stdexcept>

namespace {

// The recommended minimum for Argon2id: 19 MiB and two passes.
constexpr unsigned long long kArgonPasses = 2;
constexpr std::size_t kArgonMemory = 19 * 1024 * 1024;

constexpr int kPbkdf2Iterations = 4096;
constexpr int kPbkdf2KeyBytes = 32;
constexpr QLatin1String kPbkdf2Scheme("pbkdf2-sha256");

void initializeSodium()
{
    // Safe to call from several threads and more than once.
    if (sodium_init() < 0)
        throw std::runtime_error("libsodium cannot be initialised");
}

QByteArray derivePbkdf2(const QString &password, const QByteArray &salt, int iterations)
{
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, password.toUtf8(), salt,
                                              iterations, kPbkdf2KeyBytes);
}

bool pbkdf2Matches(const QString &password, const QString &stored)
{
    const QStringList parts = stored.split(QLatin1Char('$'));
    if (parts.size() != 4 || parts[0] != kPbkdf2Scheme)
        return false;
    bool ok = false;
    const int iterations = parts[1].toInt(&ok);
    if (!ok || iterations <= 0)
        return false;
    const QByteArray expected = QByteArray::fromHex(parts[3].toLatin1());
    const QByteArray actual =
        derivePbkdf2(password, QByteArray::fromHex(parts[2].toLatin1()), iterations);
    return expected.size() == actual.size() &&
           sodium_memcmp(expected.constData(), actual.constData(), std::size_t(actual.size())) == 0;
}

} // namespace

QString HashPassword(const QString &password)
{
    initializeSodium();
    const QByteArray utf8 = password.toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str_alg(hash, utf8.constData(), std::size_t(utf8.size()), kArgonPasses,
                              kArgonMemory, crypto_pwhash_ALG_ARGON2ID13) != 0)
        throw std::runtime_error("out of memory while hashing a password");
    return QString::fromLatin1(hash);
}

PasswordCheck CheckPassword(const QString &password, const QString &stored)
{
    if (stored.startsWith(kPbkdf2Scheme + QLatin1Char('$')))
        return pbkdf2Matches(password, stored) ? PasswordCheck::RightButOutdated
                                               : PasswordCheck::Wrong;
    initializeSodium();
    const QByteArray hash = stored.toLatin1();
    const QByteArray utf8 = password.toUtf8();
    if (crypto_pwhash_str_verify(hash.constData(), utf8.constData(), std::size_t(utf8.size())) != 0)
        return PasswordCheck::Wrong;
    // A digest made with a lower cost than today's is renewed like a PBKDF2 one.
    return crypto_pwhash_str_needs_rehash(hash.constData(), kArgonPasses, kArgonMemory) == 0
               ? PasswordCheck::Right
               : PasswordCheck::RightButOutdated;
}

QString HashPasswordPbkdf2(const QString &password)
{
    QByteArray salt(16, '\0');
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(salt.data()),
                                          salt.size() / 4);
    return kPbkdf2Scheme + QLatin1Char('$') + QString::number(kPbkdf2Iterations) +
           QLatin1Char('$') + QString::fromLatin1(salt.toHex()) + QLatin1Char('$') +
           QString::fromLatin1(derivePbkdf2(password, salt, kPbkdf2Iterations).toHex());
}
