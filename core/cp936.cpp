#include "core/cp936.h"

#include <QtGlobal>
#include <cerrno>
#include <cstring>
#include <iconv.h>

// glibc's CP936 is the converter libxml2 uses for documents that declare gb2312, so text written
// here always reads back there, and no second table (ICU's, with its private-use area) is loaded.
namespace cp936 {
namespace {

#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr const char *kUtf16 = "UTF-16LE";
constexpr const char *kUtf32 = "UTF-32LE";
#else
constexpr const char *kUtf16 = "UTF-16BE";
constexpr const char *kUtf32 = "UTF-32BE";
#endif
constexpr const char *kCodePage = "CP936";

// One descriptor per thread and direction: an iconv descriptor keeps state between calls.
class Converter
{
public:
    Converter(const char *to, const char *from) : m_handle(::iconv_open(to, from))
    {
        if (m_handle == reinterpret_cast<iconv_t>(-1))
            qFatal("iconv cannot convert from %s to %s", from, to);
    }
    ~Converter() { ::iconv_close(m_handle); }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    // Converts as much as it can; `in` and `out` advance past what was converted.
    size_t convert(const char *&in, size_t &inLeft, char *&out, size_t &outLeft)
    {
        char *input = const_cast<char *>(in);
        const size_t result = ::iconv(m_handle, &input, &inLeft, &out, &outLeft);
        in = input;
        return result;
    }
    void reset() { ::iconv(m_handle, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t m_handle;
};

Converter &encoder()
{
    thread_local Converter instance(kCodePage, kUtf32);
    return instance;
}

Converter &decoder()
{
    thread_local Converter instance(kUtf16, kCodePage);
    return instance;
}

// Appends the CP936 bytes of one code point; false (nothing appended) when the code page lacks
// it. glibc silently drops some characters (the tag characters), which counts as lacking them.
bool appendCodePoint(QByteArray &out, char32_t codePoint)
{
    if (codePoint < 0x80) {
        out += char(codePoint);
        return true;
    }
    char bytes[8];
    const char32_t input = codePoint;
    const char *in = reinterpret_cast<const char *>(&input);
    size_t inLeft = sizeof input;
    char *cursor = bytes;
    size_t outLeft = sizeof bytes;
    Converter &converter = encoder();
    converter.reset();
    if (converter.convert(in, inLeft, cursor, outLeft) == size_t(-1) || cursor == bytes) {
        converter.reset();
        return false;
    }
    out.append(bytes, cursor - bytes);
    return true;
}

// Calls `each` with every code point of `text`; an unpaired surrogate comes as itself.
template <typename Each> void forEachCodePoint(QStringView text, Each each)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            each(QChar::surrogateToUcs4(ch, text.at(i + 1)));
            ++i;
        } else {
            each(char32_t(ch.unicode()));
        }
    }
}

bool isXmlCharacter(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

} // namespace

QByteArray encode(QStringView text)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    forEachCodePoint(text, [&out](char32_t codePoint) {
        if (!appendCodePoint(out, codePoint))
            out += '?';
    });
    return out;
}

QByteArray encodeForXml(QStringView text)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    forEachCodePoint(text, [&out](char32_t codePoint) {
        if (!isXmlCharacter(codePoint) || appendCodePoint(out, codePoint))
            return;
        out += "&#" + QByteArray::number(uint(codePoint)) + ';';
    });
    return out;
}

QString decode(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    const char *in = bytes.data();
    size_t inLeft = size_t(bytes.size());
    char *const begin = reinterpret_cast<char *>(out.data());
    char *cursor = begin;
    size_t outLeft = size_t(out.size()) * sizeof(QChar);
    Converter &converter = decoder();
    converter.reset();
    while (inLeft > 0) {
        if (converter.convert(in, inLeft, cursor, outLeft) != size_t(-1))
            break;
        // Every byte gives at most one UTF-16 unit, so the output never runs short: what stops
        // the conversion is a byte that starts no character, or a character cut off at the end.
        const bool cutOff = errno == EINVAL;
        converter.reset();
        const char16_t replacement = QChar::ReplacementCharacter;
        memcpy(cursor, &replacement, sizeof replacement);
        cursor += sizeof replacement;
        outLeft -= sizeof replacement;
        if (cutOff)
            break;
        ++in;
        --inLeft;
    }
    out.truncate((cursor - begin) / qsizetype(sizeof(QChar)));
    return out;
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
        // A surrogate pair is one character; a lone surrogate is a character of its own.
        const bool pair = text.at(end).isHighSurrogate() && end + 1 < text.size() &&
                          text.at(end + 1).isLowSurrogate();
        const qsizetype step = pair ? 2 : 1;
        const qsizetype bytes = byteLength(QStringView(text).mid(end, step));
        if (used + bytes > maxBytes)
            break;
        used += bytes;
        end += step;
    }
    return text.left(end);
}

} // namespace cp936
