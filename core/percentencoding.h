#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Writes every byte for which `escape` holds as "%XX" (upper-case hexadecimal) and every other
// byte unchanged.
template <typename Escape> QByteArray PercentEncode(QByteArrayView bytes, Escape escape)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    QByteArray escaped;
    escaped.reserve(bytes.size());
    for (const char c : bytes) {
        if (escape(c)) {
            const auto byte = static_cast<unsigned char>(c);
            escaped += '%';
            escaped += kHex[byte >> 4];
            escaped += kHex[byte & 0x0F];
        } else {
            escaped += c;
        }
    }
    return escaped;
}
