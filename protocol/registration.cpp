#include "protocol/registration.h"

#include "core/clientserviceinfo.h"
#include "core/cp936.h"
#include "core/percentencoding.h"
#include "protocol/httprequests.h"
#include "protocol/serviceanswer.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>

namespace {

constexpr int kRegistrationTimeOutMs = 4000;

using Outcome = RegistrationResult::Outcome;

// Removes the body file when the registration leaves, however it leaves.
class TemporaryBodyFile
{
public:
    explicit TemporaryBodyFile(QString path) : m_path(std::move(path)) {}
    ~TemporaryBodyFile() { QFile::remove(m_path); }
    TemporaryBodyFile(const TemporaryBodyFile &) = delete;
    TemporaryBodyFile &operator=(const TemporaryBodyFile &) = delete;

    // A fresh file, owner-only from its creation: an older file (whatever its mode, or a link
    // planted in its place) is removed first, and NewOnly refuses to write through anything that
    // reappeared meanwhile.
    bool write(const QByteArray &bytes) const
    {
        QFile::remove(m_path);
        QFile file(m_path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly,
                       QFileDevice::ReadOwner | QFileDevice::WriteOwner))
            return false;
        return file.write(bytes) == bytes.size() && file.flush();
    }

    const QString &path() const { return m_path; }

private:
    QString m_path;
};

RegistrationResult readAnswer(QByteArray answer)
{
    if (answer.isEmpty())
        return {Outcome::NoAnswer, ServiceMessage::NoAnswer()};
    // Some services start the document on the second line; only that one empty line goes.
    if (answer.startsWith("\r\n"))
        answer.remove(0, 2);
    else if (answer.startsWith('\n'))
        answer.remove(0, 1);
    try {
        const TServiceAnswer status(answer);
        if (status.Accepted())
            return {Outcome::Accepted, QString()};
        return {Outcome::Refused, status.Text("Reason")};
    } catch (const XmlReadError &) {
        return {Outcome::Unreadable, ServiceMessage::Unreadable()};
    }
}

} // namespace

bool IsValidEmailAddress(const QString &email)
{
    static const QRegularExpression pattern(
        QStringLiteral(
            R"(^\w+((-\w+)|(\.\w+))*\@[A-Za-z0-9]+((\.|-)[A-Za-z0-9]+)*\.[A-Za-z0-9]+$)"),
        QRegularExpression::CaseInsensitiveOption);
    // "$" would also match before a final line feed; the address must end where the text ends.
    const QRegularExpressionMatch match = pattern.match(email);
    return match.hasMatch() && match.capturedEnd() == email.size();
}

QByteArray RegistrationBody(const RegistrationForm &form)
{
    const auto field = [](const char *key, const QString &value) {
        return QLatin1String(key) + FormEncoded(value.trimmed());
    };
    const QString lines[] = {
        field("logid=", form.logid),
        field("&password=", form.password),
        field("&name=", form.name),
        form.male ? QStringLiteral("&sex=0") : QStringLiteral("&sex=1"),
        field("&Birthday=", form.birthday.toString(QStringLiteral("yyyy-M-d"))),
        field("&Location=", form.location),
        field("&address=", form.address),
        field("&postalCode=", form.postalCode),
        field("&telephone=", form.telephone),
        field("&icno=", form.icno),
        field("&email=", form.email),
        QStringLiteral("&IsFromClient=1"),
    };
    QByteArray body;
    for (const QString &line : lines)
        body += cp936::encode(line) + QByteArrayLiteral("\r\n");
    return body;
}

QString TempFileNotWritableMessage()
{
    return QCoreApplication::translate("Registration", "无法写入tempreg.txt，请检查程序目录的权限");
}

RegistrationResult RegisterUser(const TClientServiceInfo &info, const RegistrationForm &form)
{
    const TemporaryBodyFile body(info.dataPath(QStringLiteral("tempreg.txt")));
    if (!body.write(RegistrationBody(form)))
        return {Outcome::FileNotWritable, TempFileNotWritableMessage()};
    return readAnswer(HttpPostFile(info, kRegistrationTimeOutMs,
                                   info.serviceUrl(QStringLiteral("/user/UserRegisterDo.asp")),
                                   body.path()));
}
