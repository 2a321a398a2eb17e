#include "service/passwordhash.h"

#include <QCryptographicHash>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QStringList>

namespace {

// Logins are rare next to keep-alives, so a check may take a few milliseconds.
constexpr int kIterations = 4096;
constexpr int kKeyBytes = 32;
constexpr QLatin1String kScheme("pbkdf2-sha256");

QByteArray derive(const QString &password, const QByteArray &salt, int iterations)
{
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, password.toUtf8(), salt,
                                              iterations, kKeyBytes);
}

} // namespace

QString HashPassword(const QString &password)
{
    QByteArray salt(16, '\0');
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(salt.data()),
                                          salt.size() / 4);
    return kScheme + QLatin1Char('$') + QString::number(kIterations) + QLatin1Char('$') +
           QString::fromLatin1(salt.toHex()) + QLatin1Char('$') +
           QString::fromLatin1(derive(password, salt, kIterations).toHex());
}

bool PasswordMatches(const QString &password, const QString &stored)
{
    const QStringList parts = stored.split(QLatin1Char('$'));
    if (parts.size() != 4 || parts[0] != kScheme)
        return false;
    bool ok = false;
    const int iterations = parts[1].toInt(&ok);
    if (!ok || iterations <= 0)
        return false;
    const QByteArray expected = QByteArray::fromHex(parts[3].toLatin1());
    const QByteArray actual =
        derive(password, QByteArray::fromHex(parts[2].toLatin1()), iterations);
    // Compare every byte, so the time taken does not tell how much of a guess was right.
    if (expected.size() != actual.size())
        return false;
    unsigned char difference = 0;
    for (qsizetype i = 0; i < actual.size(); ++i)
        difference |= static_cast<unsigned char>(actual[i] ^ expected[i]);
    return difference == 0;
}
