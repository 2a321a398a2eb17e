#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

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

// A byte that cannot stand for itself in a request target: a space or control byte would break the
// request line, "#" would end the target there, and a typed "%" would be read as the start of an
// escape ("%41" arriving as "A").
inline bool NeedsEscapeInRequestTarget(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte <= 0x20 || byte == 0x7F || c == '#' || c == '%';
}

// `value` as one field of a form (application/x-www-form-urlencoded), as any form-decoding server
// reads it back: blanks as "+", and as "%XX" whatever would end the field or the request line, or
// read as something else: "&", "=", "+", "%", "#" and control bytes. Every other character stays
// itself (CP936 on the wire).
QString FormEncoded(const QString &value);

// The received bytes of a form field: "+" is a blank and every well-formed "%XX" its byte; a "%"
// that starts no such pair stands for itself.
QByteArray FormDecoded(QByteArrayView raw);
