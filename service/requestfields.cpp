#include "service/requestfields.h"

#include "core/percentencoding.h"
#include "service/servicetext.h"

#include <QStringDecoder>
#include <optional>

namespace {

QString keyName(const char *key)
{
    return QString::fromLatin1(key);
}

[[noreturn]] void refuse(const QString &reason)
{
    throw Refusal{reason};
}

bool hasControlByte(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return true;
    }
    return false;
}

// True when the bytes stop after the first byte of a double-byte CP936 character. The decoder
// drops such a tail without a trace, so it has to be caught before.
bool endsInsideCp936Character(QByteArrayView bytes)
{
    bool expectTrail = false;
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        expectTrail = !expectTrail && byte >= 0x81 && byte <= 0xFE;
    }
    return expectTrail;
}

// A browser escapes what it sends as UTF-8; the client's own bytes are CP936.
std::optional<QString> decodedUtf8(const QByteArray &bytes, RequestFields::Sender sender)
{
    if (sender != RequestFields::Sender::Browser)
        return std::nullopt;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return std::nullopt;
    return text;
}

} // namespace

RequestFields RequestFields::fromQuery(std::string_view target,
                                       std::initializer_list<const char *> keys, Sender sender)
{
    RequestFields fields(sender);
    const std::size_t mark = target.find('?');
    const QByteArrayView query =
        mark == std::string_view::npos
            ? QByteArrayView()
            : QByteArrayView(target.data() + mark + 1, qsizetype(target.size() - mark - 1));
    qsizetype searchFrom = 0;
    QByteArray previousKey;
    qsizetype previousStart = -1;
    for (const char *key : keys) {
        const QByteArray item = QByteArray(key) + '=';
        qsizetype found = -1;
        qsizetype start = -1;
        if (searchFrom == 0 && query.startsWith(item)) {
            found = 0;
            start = item.size();
        } else if ((found = query.indexOf(QByteArray('&' + item), searchFrom)) >= 0) {
            start = found + item.size() + 1;
        }
        if (found < 0)
            continue;
        if (previousStart >= 0)
            fields.m_raw.insert(previousKey,
                                query.sliced(previousStart, found - previousStart).toByteArray());
        previousKey = key;
        previousStart = start;
        searchFrom = start;
    }
    if (previousStart >= 0)
        fields.m_raw.insert(previousKey, query.sliced(previousStart).toByteArray());
    return fields;
}

RequestFields RequestFields::fromLines(std::string_view body)
{
    RequestFields fields(Sender::Client);
    const QList<QByteArray> lines = QByteArray(body.data(), qsizetype(body.size())).split('\n');
    for (QByteArrayView line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.startsWith('&'))
            line = line.sliced(1);
        if (line.isEmpty())
            continue;
        const qsizetype equals = line.indexOf('=');
        if (equals <= 0)
            refuse(QStringLiteral("注册资料的格式不正确"));
        const QByteArray key = line.first(equals).toByteArray();
        if (fields.m_raw.contains(key))
            refuse(QStringLiteral("参数") + QString::fromLatin1(key) + QStringLiteral("重复"));
        fields.m_raw.insert(key, line.sliced(equals + 1).toByteArray());
    }
    return fields;
}

QByteArray RequestFields::bytes(const char *key, qsizetype maxBytes) const
{
    const auto found = m_raw.constFind(QByteArray(key));
    if (found == m_raw.cend())
        refuse(QStringLiteral("请求缺少参数") + keyName(key));
    const QByteArray value = FormDecoded(*found);
    if (value.size() > maxBytes)
        refuse(QStringLiteral("参数") + keyName(key) + QStringLiteral("过长"));
    if (hasControlByte(value))
        refuse(QStringLiteral("参数") + keyName(key) + QStringLiteral("含有非法字符"));
    return value;
}

QString RequestFields::text(const char *key, qsizetype maxBytes) const
{
    const QByteArray value = bytes(key, maxBytes);
    std::optional<QString> text = decodedUtf8(value, m_sender);
    if (!text) {
        if (endsInsideCp936Character(value))
            refuse(QStringLiteral("参数") + keyName(key) + QStringLiteral("末尾的汉字不完整"));
        text = servicetext::decode(value);
    }
    // Bytes that are no CP936 character would be stored as replacement characters.
    if (text->contains(QChar::ReplacementCharacter))
        refuse(QStringLiteral("参数") + keyName(key) + QStringLiteral("含有非法字符"));
    return *text;
}

QString RequestFields::logid(const char *key) const
{
    const QString id = text(key, 64);
    if (!IsValidLogid(id))
        refuse(InvalidLogidReason());
    return id;
}

qint32 RequestFields::integer(const char *key, qint32 minimum, qint32 maximum) const
{
    const QByteArray digits = bytes(key, 16);
    bool ok = false;
    // Only plain decimal text: no blanks, no "+" sign, no hexadecimal.
    const bool plain = !digits.isEmpty() && !digits.startsWith('+') && digits.back() >= '0' &&
                       digits.back() <= '9' && digits.trimmed().size() == digits.size();
    const qint64 value = plain ? digits.toLongLong(&ok, 10) : 0;
    if (!ok)
        refuse(QStringLiteral("参数") + keyName(key) + QStringLiteral("不是有效的数字"));
    if (value < minimum || value > maximum)
        refuse(QStringLiteral("参数") + keyName(key) + QStringLiteral("超出范围"));
    return qint32(value);
}

bool RequestFields::flag(const char *key) const
{
    const QByteArray value = bytes(key, 1);
    if (value != "0" && value != "1")
        refuse(QStringLiteral("参数") + keyName(key) + QStringLiteral("必须是0或1"));
    return value == "1";
}

bool IsValidLogid(QStringView logid)
{
    if (logid.size() < 3 || logid.size() > 12)
        return false;
    for (QChar c : logid) {
        const char16_t u = c.unicode();
        const bool allowed = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') ||
                             (u >= '0' && u <= '9') || u == '-' || u == '_';
        if (!allowed)
            return false;
    }
    return true;
}

QString InvalidLogidReason()
{
    return QStringLiteral("用户名必须是3-12位英文字母、数字、-或_");
}
