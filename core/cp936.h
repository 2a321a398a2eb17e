#pragma once

#include <QByteArray>
#include <QString>

// The one place where text crosses between QString and the code page 936 (GBK) bytes that every
// file and every request of the client uses.
namespace cp936 {

// A character the code page lacks becomes '?'.
QByteArray encode(QStringView text);
// A byte that starts no character becomes U+FFFD.
QString decode(QByteArrayView bytes);

// For XML text that is already escaped: a character the code page lacks becomes a character
// reference, and one that XML cannot hold at all is dropped, so the bytes always read back as the
// text (less those dropped characters).
QByteArray encodeForXml(QStringView text);

// Byte length of the text once encoded.
qsizetype byteLength(QStringView text);

// The longest leading part of `text` whose encoding takes at most `maxBytes` bytes. It never ends
// inside a double-byte character, so the stored bytes always stay valid CP936.
QString cutToBytes(const QString &text, qsizetype maxBytes);

// Shorthand for QString::fromLatin1 on ASCII literals, so that fixed protocol texts read plainly.
inline QString ascii(const char *text)
{
    return QString::fromLatin1(text);
}

} // namespace cp936

// A text field that holds at most N bytes of CP936: longer values are cut when they are stored.
template <qsizetype N> class FixedText
{
public:
    FixedText() = default;
    FixedText(const QString &text) : m_text(cp936::cutToBytes(text, N)) {}
    FixedText &operator=(const QString &text)
    {
        m_text = cp936::cutToBytes(text, N);
        return *this;
    }
    operator const QString &() const { return m_text; }
    const QString &text() const { return m_text; }
    bool isEmpty() const { return m_text.isEmpty(); }
    static constexpr qsizetype maxBytes = N;

private:
    QString m_text;
};
