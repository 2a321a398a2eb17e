#include "protocol/registration.h"

#include "core/clientserviceinfo.h"
#include "core/cp936.h"
#include "protocol/httprequests.h"
#include "protocol/serviceanswer.h"

#include <QFile>

namespace {

constexpr int kRegistrationTimeOutMs = 4000;

} // namespace

QByteArray RegistrationBody(const RegistrationForm &form)
{
    const QString lines[] = {
        QStringLiteral("logid=") + form.logid.trimmed(),
        QStringLiteral("&password=") + form.password.trimmed(),
        QStringLiteral("&name=") + form.name.trimmed(),
        form.male ? QStringLiteral("&sex=0") : QStringLiteral("&sex=1"),
        QStringLiteral("&Birthday=") + form.birthday.toString(QStringLiteral("yyyy-M-d")),
        QStringLiteral("&Location=") + form.location.trimmed(),
        QStringLiteral("&address=") + form.address.trimmed(),
        QStringLiteral("&postalCode=") + form.postalCode.trimmed(),
        QStringLiteral("&telephone=") + form.telephone.trimmed(),
        QStringLiteral("&icno=") + form.icno.trimmed(),
        QStringLiteral("&email=") + form.email.trimmed(),
        QStringLiteral("&IsFromClient=1"),
    };
    QByteArray body;
    for (const QString &line : lines)
        body += cp936::encode(line) + QByteArrayLiteral("\r\n");
    return body;
}

RegistrationResult RegisterUser(const TClientServiceInfo &info, const RegistrationForm &form)
{
    const QString bodyPath = info.dataPath(QStringLiteral("tempreg.txt"));
    QFile bodyFile(bodyPath);
    const QByteArray body = RegistrationBody(form);
    if (!bodyFile.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        bodyFile.write(body) != body.size() || !bodyFile.flush()) {
        return {false, QStringLiteral("无法写入") + bodyPath + QStringLiteral(": ") +
                           bodyFile.errorString()};
    }
    bodyFile.close();
    QByteArray answer =
        HttpPostFile(info, kRegistrationTimeOutMs,
                     info.serviceUrl(QStringLiteral("/user/UserRegisterDo.asp")), bodyPath);
    QFile::remove(bodyPath);
    if (answer.isEmpty())
        return {false, ServiceMessage::NoAnswer()};
    // Some services start the document on the second line.
    if (answer.startsWith("\r\n"))
        answer.remove(0, 2);
    else if (answer.startsWith('\n'))
        answer.remove(0, 1);
    try {
        const TServiceAnswer status(answer);
        if (status.Accepted())
            return {true, QString()};
        return {false, status.Text("Reason")};
    } catch (const XmlReadError &) {
        return {false, ServiceMessage::Unreadable()};
    }
}
