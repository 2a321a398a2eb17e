// The exact bytes the client puts on the wire.
#include "core/clientserviceinfo.h"
#include "protocol/httprequests.h"
#include "protocol/nmhttp.h"
#include "scriptedserver.h"
#include "tests/support/testfiles.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

const QByteArray kAccepts =
    "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff\r\n"
    "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript\r\n";
const QByteArray kContentType = "Content-type: application/x-www-form-urlencoded\r\n";
const QByteArray kOkReply = "HTTP/1.0 200 OK\r\nContent-Type: text/xml\r\n\r\n<a Result=\"1\"/>";

QByteArray directRequest(const QByteArray &method, const QByteArray &target,
                         const QByteArray &host = "127.0.0.1", const QByteArray &extra = {})
{
    return method + ' ' + target + " HTTP/1.0\r\nHost: " + host + "\r\n" + kAccepts + kContentType +
           extra + "\r\n";
}

TEST(HttpRequest, DirectRequestsSendThePathAndHostWithoutPort)
{
    ScriptedServer server;
    server.addReply(kOkReply);
    const QByteArray longPath = "/kbz/clientTools/userlogin.asp?WebIntro=" + QByteArray(600, 'i') +
                                "&WebKeyword=" + QByteArray(300, 'k');
    const struct
    {
        void (TNMHTTP::*call)(const QString &);
        QString url;
        QByteArray expected;
    } cases[] = {
        {&TNMHTTP::Get, server.url(QStringLiteral("/kbz/login.asp?logid=abc&password=x")),
         directRequest("GET", "/kbz/login.asp?logid=abc&password=x")},
        {&TNMHTTP::Head, server.url(QStringLiteral("/index.html")),
         directRequest("HEAD", "/index.html")},
        {&TNMHTTP::Get, server.url(), directRequest("GET", "/")},
        {&TNMHTTP::Get, QStringLiteral("http://localhost:%1/x").arg(server.port()),
         directRequest("GET", "/x", "localhost")},
        {&TNMHTTP::Get, server.url(QString::fromLatin1(longPath)), directRequest("GET", longPath)},
        // What would break the request line, end the target ("#") or read as an escape ("%") is
        // encoded; CP936 bytes and & = + stay.
        {&TNMHTTP::Get,
         server.url(QStringLiteral("/kbz/a b\r\nX-Injected: 1\t\x7f?t=中文&k=%41+b#top")),
         directRequest("GET",
                       "/kbz/a%20b%0D%0AX-Injected:%201%09%7F?t=\xD6\xD0\xCE\xC4&k=%2541+b%23top")},
    };
    for (const auto &[call, url, expected] : cases) {
        const int before = server.connectionCount();
        (TNMHTTP().*call)(url);
        ASSERT_EQ(server.connectionCount(), before + 1) << url.toStdString();
        EXPECT_EQ(server.requests().last(), expected) << url.toStdString();
    }
}

TEST(HttpRequest, ProxiedGetSendsTheWholeUrlAndOneHostLine)
{
    ScriptedServer proxy;
    proxy.addReply(kOkReply);
    TClientServiceInfo info;
    info.ProxyHost = QStringLiteral("127.0.0.1");
    info.ProxyPort = proxy.port();
    const auto proxied = [](const QByteArray &url) {
        return "GET " + url +
               " HTTP/1.0\r\nProxy-Connection: Keep-Alive\r\nHost: service.example\r\n" + kAccepts +
               kContentType + "\r\n";
    };
    EXPECT_EQ(HttpGet(info, 5000, QStringLiteral("http://service.example:8080/a.asp?x=1&y=2")),
              "<a Result=\"1\"/>");
    HttpGet(info, 5000, QStringLiteral("http://service.example"));
    ASSERT_EQ(proxy.connectionCount(), 2);
    EXPECT_EQ(proxy.requests().at(0), proxied("http://service.example:8080/a.asp?x=1&y=2"));
    EXPECT_EQ(proxy.requests().at(1), proxied("http://service.example/"));

    // Credentials go to the proxy only; a host it is bypassed for is asked directly.
    info.ProxyCredentials = "us%er:p@ss w";
    info.ProxyBypass = {QStringLiteral("127.0.0.1")};
    HttpGet(info, 5000, QStringLiteral("http://service.example/b"));
    ASSERT_EQ(proxy.connectionCount(), 3);
    EXPECT_EQ(proxy.requests().at(2), QByteArray(proxied("http://service.example/b"))
                                          .replace("Host: service.example\r\n",
                                                   "Host: service.example\r\nProxy-Authorization: "
                                                   "Basic dXMlZXI6cEBzcyB3\r\n"));
    HttpGet(info, 5000, proxy.url(QStringLiteral("/direct")));
    ASSERT_EQ(proxy.connectionCount(), 4);
    EXPECT_EQ(proxy.requests().at(3), directRequest("GET", "/direct"));
}

TEST(HttpRequest, ServiceRequestsGoWithTheirEscapesAsBuilt)
{
    // The exchanges form-encode their values themselves: "%2B" must stay a "+" for the service.
    ScriptedServer server;
    server.addReply(kOkReply);
    HttpGet(TClientServiceInfo(), 5000, server.url(QStringLiteral("/a.asp?t=C%2B%2B+x&p=%25 y")));
    ASSERT_EQ(server.connectionCount(), 1);
    EXPECT_EQ(server.requests().at(0), directRequest("GET", "/a.asp?t=C%2B%2B+x&p=%25%20y"));
}

TEST(HttpRequest, PostFileSendsItsBytesWithContentLengthAndLeavesNoFiles)
{
    TestAppDir files, workingDir;
    const QByteArray form = "logid=abc&Title=\xD6\xD0\xCE\xC4&Agree=1";
    files.write(QStringLiteral("tempreg.txt"), form);
    ScriptedServer server;
    server.addReply(kOkReply);
    const QString previousDir = QDir::currentPath();
    QDir::setCurrent(workingDir.path());
    EXPECT_EQ(HttpPostFile(TClientServiceInfo(), 4000, server.url(QStringLiteral("/user/reg.asp")),
                           files.file(QStringLiteral("tempreg.txt"))),
              "<a Result=\"1\"/>");
    EXPECT_EQ(HttpPostFile(TClientServiceInfo(), 4000, server.url(QStringLiteral("/")),
                           files.file(QStringLiteral("missing.txt"))),
              QByteArray());
    QDir::setCurrent(previousDir);
    // The missing file failed before connecting; the reply header stayed in memory.
    ASSERT_EQ(server.connectionCount(), 1);
    EXPECT_EQ(server.requests().at(0),
              directRequest("POST", "/user/reg.asp", "127.0.0.1",
                            "Content-Length: " + QByteArray::number(form.size()) + "\r\n") +
                  form);
    EXPECT_TRUE(QDir(workingDir.path()).isEmpty());
}

TEST(HttpRequest, UnusableUrlsFailBeforeAnyConnection)
{
    ScriptedServer server;
    server.addReply(kOkReply);
    const QString https = QStringLiteral("HTTPS") + server.url(QStringLiteral("/")).mid(4);
    for (const QString &url : {https, QString(), QStringLiteral("http://127.0.0.1:80x/"),
                               QStringLiteral("http://127.0.0.1:70000/")})
        EXPECT_THROW(TNMHTTP().Get(url), THttpError) << url.toStdString();
    EXPECT_EQ(server.connectionCount(), 0);
}

} // namespace
