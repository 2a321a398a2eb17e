#include "fakeservice.h"

#include "core/cp936.h"

FakeServiceFixture::FakeServiceFixture()
{
    InitializeClientState(info, dir.path(), QStringLiteral("/opt/marbello/marbello"));
    info.ServiceHost = QStringLiteral("127.0.0.1:%1").arg(server.port());
    info.InetTimeOut = 2000;
    info.IfLog = true;
}

QByteArray FakeServiceFixture::requestTarget(int index) const
{
    const QByteArray request = server.requests().value(index);
    const QByteArray line = request.left(request.indexOf("\r\n"));
    return line.mid(4, line.size() - 4 - 9);
}

QString FakeServiceFixture::logText() const
{
    return cp936::decode(dir.read(QStringLiteral("log/log.txt")));
}

QByteArray AnswerReply(const QString &xml)
{
    return QByteArrayLiteral("HTTP/1.0 200 OK\r\nContent-Type: text/xml\r\n\r\n"
                             "<?xml version=\"1.0\" encoding=\"gb2312\"?>") +
           cp936::encode(xml);
}

QByteArray StatusReply(const QString &attributes, const QString &messageList)
{
    return AnswerReply(
        QStringLiteral("<Answer><Status %1/>%2</Answer>").arg(attributes, messageList));
}

QString AcceptedLogin(int period, const QString &newest)
{
    return QStringLiteral("Result=\"1\" Level=\"2\" VerfyNumber=\"4711\" "
                          "ClientPromptOnlineSeconds=\"%1\" UserDomain=\"http://x/~abc\" "
                          "WebAreasVersion=\"1\" WebServerTypeVersion=\"1\" "
                          "NewestClientVersion=\"%2\"")
        .arg(period)
        .arg(newest);
}

QString AcceptedKeepAlive(int period)
{
    return QStringLiteral("Result=\"1\" ClientPromptOnlineSeconds=\"%1\" WebAreasVersion=\"1\" "
                          "WebServerTypeVersion=\"1\"")
        .arg(period);
}
