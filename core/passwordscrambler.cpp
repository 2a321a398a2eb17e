#include "core/passwordscrambler.h"

#include "core/cp936.h"

#include <QDir>
#include <QRandomGenerator>

namespace PasswordScrambler {
namespace {

// Used when the executable's path gives no key.
constexpr char kFixedKey[] = "Moon Garden";

QByteArray keyBytes(const QByteArray &key)
{
    return key.isEmpty() ? QByteArray(kFixedKey) : key;
}

int hexDigit(QChar ch)
{
    if (ch >= QLatin1Char('0') && ch <= QLatin1Char('9'))
        return ch.unicode() - '0';
    if (ch >= QLatin1Char('A') && ch <= QLatin1Char('F'))
        return ch.unicode() - 'A' + 10;
    if (ch >= QLatin1Char('a') && ch <= QLatin1Char('f'))
        return ch.unicode() - 'a' + 10;
    return -1;
}

void appendHex(QString &out, quint8 value)
{
    out += QString::number(value, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

} // namespace

QByteArray KeyFor(const QString &executablePath)
{
    return cp936::encode(QDir::toNativeSeparators(executablePath)).left(10);
}

QString Scramble(const QString &password, const QByteArray &key)
{
    const QByteArray k = keyBytes(key);
    const QByteArray plain = cp936::encode(password);
    quint8 r = quint8(QRandomGenerator::global()->bounded(256));
    QString out;
    out.reserve(2 + 2 * plain.size());
    appendHex(out, r);
    for (qsizetype i = 0; i < plain.size(); ++i) {
        const quint8 c = quint8(plain.at(i));
        const quint8 v = quint8(((r + c) % 255) ^ quint8(k.at(i % k.size())));
        appendHex(out, v);
        r = v;
    }
    return out;
}

std::optional<QString> Unscramble(const QString &hex, const QByteArray &key)
{
    if (hex.size() < 2 || hex.size() % 2 != 0)
        return std::nullopt;
    const QByteArray k = keyBytes(key);
    QByteArray plain;
    quint8 r = 0;
    for (qsizetype pos = 0; pos < hex.size(); pos += 2) {
        const int high = hexDigit(hex.at(pos));
        const int low = hexDigit(hex.at(pos + 1));
        if (high < 0 || low < 0)
            return std::nullopt;
        const quint8 v = quint8(high * 16 + low);
        if (pos > 0) {
            const quint8 t = quint8(v ^ quint8(k.at((pos / 2 - 1) % k.size())));
            plain += char(r < t ? t - r : t + 255 - r);
        }
        r = v;
    }
    return cp936::decode(plain);
}

} // namespace PasswordScrambler
