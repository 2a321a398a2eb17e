// The CP936 helpers on any bytes, and on any UTF-16 text.
#include "core/cp936.h"
#include "fuzztarget.h"

namespace {

// Lone surrogates are left out: nothing the client reads or shows produces them, and the encoder
// counts them in ways that do not add up piece by piece.
void checkCuts(const QString &text)
{
    if (!text.isValidUtf16())
        return;
    const qsizetype length = cp936::byteLength(text);
    for (const qsizetype limit : {qsizetype(0), qsizetype(1), length / 2, length - 1, length}) {
        const QString cut = cp936::cutToBytes(text, limit);
        FUZZ_CHECK(text.startsWith(cut));
        FUZZ_CHECK(cp936::byteLength(cut) <= std::max<qsizetype>(limit, 0));
        // A cut never splits a surrogate pair.
        FUZZ_CHECK(cut.isEmpty() || !cut.back().isHighSurrogate());
    }
    FUZZ_CHECK(cp936::cutToBytes(text, length) == text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = FuzzBytes(data, size);

    const QString decoded = cp936::decode(bytes);
    const QByteArray encoded = cp936::encode(decoded);
    FUZZ_CHECK(cp936::byteLength(decoded) == encoded.size());
    // Once through the codec, text is stable: what was read is written back the same way, except
    // that bytes which were no character (read as U+FFFD) are written as "?".
    FUZZ_CHECK(cp936::decode(encoded) ==
               QString(decoded).replace(QChar::ReplacementCharacter, u'?'));
    checkCuts(decoded);

    const QString utf16 =
        QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData()), bytes.size() / 2);
    FUZZ_CHECK(cp936::byteLength(utf16) == cp936::encode(utf16).size());
    checkCuts(utf16);
    return 0;
}
