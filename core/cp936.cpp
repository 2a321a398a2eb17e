#include "core/cp936.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace cp936 {
namespace {

// "GBK" is code page 936 as ICU knows it; "GB2312" would be strict and lose GBK-only characters.
constexpr const char *kCodec = "GBK";

QStringEncoder &encoder()
{
    static QStringEncoder instance(kCodec, QStringConverter::Flag::Stateless);
    return instance;
}

QStringDecoder &decoder()
{
    static QStringDecoder instance(kCodec, QStringConverter::Flag::Stateless);
    return instance;
}

} // namespace

QByteArray encode(QStringView text)
{
    return encoder().encode(text);
}

QString decode(QByteArrayView bytes)
{
    return decoder().decode(bytes);
}

qsizetype byteLength(QStringView text)
{
    return encode(text).size();
}

QString cutToBytes(const QString &text, qsizetype maxBytes)
{
    // Every character takes at least one byte, so a short text needs no encoding at all.
    if (text.size() * 2 <= maxBytes)
        return text;
    qsizetype used = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const qsizetype step = text.at(end).isHighSurrogate() && end + 1 < text.size() ? 2 : 1;
        const qsizetype bytes = byteLength(QStringView(text).mid(end, step));
        if (used + bytes > maxBytes)
            break;
        used += bytes;
        end += step;
    }
    return text.left(end);
}

} // namespace cp936
