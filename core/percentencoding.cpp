#include "core/percentencoding.h"

namespace {

bool needsEscapeInFormValue(char16_t c)
{
    return c < 0x20 || c == 0x7F || c == u'&' || c == u'=' || c == u'+' || c == u'%' || c == u'#';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

QString FormEncoded(const QString &value)
{
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    QString encoded;
    encoded.reserve(value.size());
    for (const QChar ch : value) {
        const char16_t c = ch.unicode();
        if (c == u' ') {
            encoded += u'+';
        } else if (needsEscapeInFormValue(c)) {
            encoded += u'%';
            encoded += QChar(kHex[c >> 4]);
            encoded += QChar(kHex[c & 0x0F]);
        } else {
            encoded += ch;
        }
    }
    return encoded;
}

QByteArray FormDecoded(QByteArrayView raw)
{
    QByteArray bytes;
    bytes.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == '+') {
            bytes += ' ';
        } else if (raw[i] == '%' && i + 2 < raw.size() && hexValue(raw[i + 1]) >= 0 &&
                   hexValue(raw[i + 2]) >= 0) {
            bytes += char(hexValue(raw[i + 1]) * 16 + hexValue(raw[i + 2]));
            i += 2;
        } else {
            bytes += raw[i];
        }
    }
    return bytes;
}
