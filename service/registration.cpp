#include "service/registration.h"

#include "service/accounts.h"
#include "service/passwordhash.h"
#include "service/requestfields.h"

#include <httplib.h>

namespace {

[[noreturn]] void refuse(const QString &reason)
{
    throw Refusal{reason};
}

// The registration dialog's own limits, in characters; a CP936 character takes at most two bytes.
QString limitedText(const RequestFields &fields, const char *key, qsizetype maxCharacters)
{
    return fields.text(key, 2 * maxCharacters);
}

QString requiredText(const RequestFields &fields, const char *key, qsizetype maxCharacters,
                     const QString &missing)
{
    const QString text = limitedText(fields, key, maxCharacters).trimmed();
    if (text.isEmpty())
        refuse(missing);
    return text;
}

bool consistsOf(const QString &text, QStringView allowed)
{
    for (QChar c : text) {
        const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        if (!digit && !allowed.contains(c))
            return false;
    }
    return true;
}

// The client checks the address fully; this keeps out what could never be one.
bool looksLikeEmail(const QString &email)
{
    const qsizetype at = email.indexOf(QLatin1Char('@'));
    return at > 0 && at == email.lastIndexOf(QLatin1Char('@')) &&
           email.indexOf(QLatin1Char('.'), at + 2) > at + 1 && !email.endsWith(QLatin1Char('.')) &&
           !email.contains(QLatin1Char(' '));
}

} // namespace

AnswerDocument HandleRegistration(ServiceContext &context, const httplib::Request &request)
{
    const RequestFields fields = RequestFields::fromLines(request.body);
    const QString logid = fields.logid("logid");
    const QString password = limitedText(fields, "password", 12);
    if (password.size() < 3)
        refuse(QStringLiteral("密码至少需要3个字符"));

    PersonalData personal;
    personal.name = requiredText(fields, "name", 50, QStringLiteral("请填写真实姓名"));
    personal.sex = fields.flag("sex") ? 1 : 0;
    personal.birthday = requiredText(fields, "Birthday", 20, QStringLiteral("请填写生日"));
    personal.location = requiredText(fields, "Location", 20, QStringLiteral("请选择所在地"));
    personal.address = limitedText(fields, "address", 100);
    personal.postalCode = limitedText(fields, "postalCode", 6);
    if (!consistsOf(personal.postalCode, {}))
        refuse(QStringLiteral("邮政编码只能由数字组成"));
    personal.telephone = limitedText(fields, "telephone", 20);
    if (!consistsOf(personal.telephone, u"-"))
        refuse(QStringLiteral("联系电话只能由数字和-组成"));
    personal.icno = limitedText(fields, "icno", 40);
    personal.email = requiredText(fields, "email", 40, QStringLiteral("请填写电子邮件"));
    if (!looksLikeEmail(personal.email))
        refuse(QStringLiteral("Email不正确"));
    personal.fromClient = fields.flag("IsFromClient");

    // Hashed before taking the database: the digest is slow on purpose.
    const QString passwordHash = HashPassword(password);
    const bool added = context.database.locked([&](SqliteConnection &db) {
        return AddAccount(db, logid, passwordHash, personal, context.now());
    });
    if (!added)
        refuse(QStringLiteral("用户名") + logid + QStringLiteral("已被注册"));
    return AnswerDocument(true);
}
