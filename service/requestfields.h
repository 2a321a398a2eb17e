#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <initializer_list>
#include <string_view>

// A request the service turns down; the reason is the text the client shows to the user.
struct Refusal
{
    QString reason;
};

// The named values of one request, checked and form-decoded as they are read ("+" a blank, "%XX"
// a byte), the query and the registration body alike. Every failed check throws a Refusal naming
// the value.
class RequestFields
{
public:
    enum class Sender { Client, Browser };

    // The query of a request target as the client builds it: fixed keys in a fixed order. A key is
    // looked for only after the value of the one before it, and a value runs up to the next key
    // found, so a value that a sender left with a bare "&" or "=" still reads whole.
    static RequestFields fromQuery(std::string_view target,
                                   std::initializer_list<const char *> keys,
                                   Sender sender = Sender::Client);
    // The registration body: one "key=value" per line, the lines after the first starting with
    // "&".
    static RequestFields fromLines(std::string_view body);

    bool has(const char *key) const { return m_raw.contains(QByteArray(key)); }

    QString text(const char *key, qsizetype maxBytes) const;
    // 3 to 12 letters, digits, "-" or "_".
    QString logid(const char *key) const;
    qint32 integer(const char *key, qint32 minimum, qint32 maximum) const;
    // "1" or "0".
    bool flag(const char *key) const;

private:
    explicit RequestFields(Sender sender) : m_sender(sender) {}
    QByteArray bytes(const char *key, qsizetype maxBytes) const;

    QHash<QByteArray, QByteArray> m_raw;
    Sender m_sender;
};

// A valid id: 3 to 12 letters, digits, "-" or "_".
bool IsValidLogid(QStringView logid);
QString InvalidLogidReason();
