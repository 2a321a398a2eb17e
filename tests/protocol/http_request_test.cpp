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

// What a direct request for `target` looks like, with `extra` lines after the Content-type.
QByteArray directRequest(const QByteArray &method, const QByteArray &target,
                         const QByteArray &extra = {})
{
    return method + ' ' + target + " HTTP/1.0\r\nHost: 127.0.0.1\r\n" + kAccepts + kContentType +
           extra + "\r\n";
}

TEST(HttpRequest, DirectGetSendsThePathOnlyAndHostWithoutPort)
{
    ScriptedServer server;
    server.addReply(kOkReply);
    TNMHTTP http;
    http.Get(server.url(QStringLiteral("/kbz/clientTools/userlogin.asp?logid=abc&password=x")));

    ASSERT_EQ(server.connectionCount(), 1);
    EXPECT_EQ(server.requests().at(0),
              directRequest("GET", "/kbz/clientTools/userlogin.asp?logid=abc&password=x"));
    EXPECT_EQ(http.Header, "HTTP/1.0 200 OK\r\nContent-Type: text/xml\r\n\r\n");
    EXPECT_EQ(http.Body, "<a Result=\"1\"/>");
    EXPECT_EQ(http.Host, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(http.Port, server.port());
}

TEST(HttpRequest, UrlWithoutPathAsksForTheRoot)
{
    ScriptedServer server;
    server.addReply(kOkReply);
    TNMHTTP direct;
    direct.Get(server.url());
    TNMHTTP proxied;
    proxied.Proxy = QStringLiteral("127.0.0.1");
    proxied.ProxyPort = server.port();
    proxied.Get(QStringLiteral("http://service.example"));

    ASSERT_EQ(server.connectionCount(), 2);
    EXPECT_EQ(server.requests().at(0), directRequest("GET", "/"));
    EXPECT_TRUE(server.requests().at(1).startsWith("GET http://service.example/ HTTP/1.0\r\n"));
}

TEST(HttpRequest, ProxiedGetSendsTheWholeUrlAndOneHostLine)
{
    ScriptedServer proxy;
    proxy.addReply(kOkReply);
    TClientServiceInfo info;
    info.ProxyHost = QStringLiteral("127.0.0.1");
    info.ProxyPort = proxy.port();

    const QByteArray body =
        HttpGet(info, 5000, QStringLiteral("http://service.example:8080/kbz/a.asp?x=1&y=2"));

    EXPECT_EQ(body, "<a Result=\"1\"/>");
    ASSERT_EQ(proxy.connectionCount(), 1);
    EXPECT_EQ(proxy.requests().at(0),
              "GET http://service.example:8080/kbz/a.asp?x=1&y=2 HTTP/1.0\r\n"
              "Proxy-Connection: Keep-Alive\r\nHost: service.example\r\n" +
                  kAccepts + kContentType + "\r\n");
}

TEST(HttpRequest, PostFileSendsItsBytesWithContentLengthAndLeavesNoFiles)
{
    TestAppDir files;
    const QByteArray form = "logid=abc&Title=\xD6\xD0\xCE\xC4&Agree=1";
    files.write(QStringLiteral("tempreg.txt"), form);
    // The reply header stays in memory: nothing may appear in the current directory.
    TestAppDir workingDir;
    const QString previousDir = QDir::currentPath();
    QDir::setCurrent(workingDir.path());
    ScriptedServer server;
    server.addReply(kOkReply);

    const QByteArray body = HttpPostFile(TClientServiceInfo(), 4000,
                                         server.url(QStringLiteral("/user/UserRegisterDo.asp")),
                                         files.file(QStringLiteral("tempreg.txt")));
    QDir::setCurrent(previousDir);

    EXPECT_EQ(body, "<a Result=\"1\"/>");
    ASSERT_EQ(server.connectionCount(), 1);
    EXPECT_EQ(server.requests().at(0),
              directRequest("POST", "/user/UserRegisterDo.asp",
                            "Content-Length: " + QByteArray::number(form.size()) + "\r\n") +
                  form);
    EXPECT_TRUE(QDir(workingDir.path()).isEmpty());
}

TEST(HttpRequest, MissingPostFileFailsBeforeAnyConnection)
{
    TestAppDir files;
    ScriptedServer server;
    server.addReply(kOkReply);
    TNMHTTP http;
    http.OutputFileMode = true;
    EXPECT_THROW(http.Post(server.url(QStringLiteral("/user/UserRegisterDo.asp")),
                           files.file(QStringLiteral("missing.txt"))),
                 THttpError);
    EXPECT_EQ(HttpPostFile(TClientServiceInfo(), 4000, server.url(QStringLiteral("/")),
                           files.file(QStringLiteral("missing.txt"))),
              QByteArray());
    EXPECT_EQ(server.connectionCount(), 0);
}

TEST(HttpRequest, HeadAsksForTheHeaderAndKeepsIt)
{
    ScriptedServer server;
    server.addReply("HTTP/1.0 200 OK\r\nServer: Tiny/1.0\r\n\r\n");
    TNMHTTP http;
    http.Head(QStringLiteral("http://127.0.0.1:%1/index.html").arg(server.port()));
    ASSERT_EQ(server.connectionCount(), 1);
    EXPECT_EQ(server.requests().at(0), directRequest("HEAD", "/index.html"));
    EXPECT_EQ(http.Header, "HTTP/1.0 200 OK\r\nServer: Tiny/1.0\r\n\r\n");
}

TEST(HttpRequest, NameIsLookedUpAndWrittenIntoTheHostLine)
{
    ScriptedServer server;
    server.addReply(kOkReply);
    TNMHTTP http;
    http.Get(QStringLiteral("http://localhost:%1/x").arg(server.port()));
    ASSERT_EQ(server.connectionCount(), 1);
    EXPECT_TRUE(server.requests().at(0).startsWith("GET /x HTTP/1.0\r\nHost: localhost\r\n"));
}

TEST(HttpRequest, UnusableUrlsFailBeforeAnyConnection)
{
    ScriptedServer server;
    server.addReply(kOkReply);
    TNMHTTP http;
    const auto failure = [&http](const QString &url) {
        try {
            http.Get(url);
        } catch (const THttpError &error) {
            return error.text();
        }
        return QString();
    };
    EXPECT_EQ(failure(QStringLiteral("HTTPS://127.0.0.1:%1/").arg(server.port())),
              QStringLiteral("HTTP Secure Socket is not supported"));
    EXPECT_EQ(failure(QString()), QStringLiteral("Empty URL"));
    EXPECT_FALSE(failure(QStringLiteral("http://127.0.0.1:80x/")).isEmpty());
    EXPECT_FALSE(failure(QStringLiteral("http://127.0.0.1:70000/")).isEmpty());
    EXPECT_EQ(server.connectionCount(), 0);
}

TEST(HttpRequest, BytesThatWouldBreakTheRequestAreEncodedAndNothingElse)
{
    ScriptedServer server;
    server.addReply(kOkReply);
    TNMHTTP http;
    http.Get(server.url(QStringLiteral("/kbz/a b\r\nX-Injected: 1\t\x7f?t=中文&k=%41+b#top")));
    ASSERT_EQ(server.connectionCount(), 1);
    EXPECT_EQ(server.requests().at(0), directRequest("GET", "/kbz/a%20b%0D%0AX-Injected:%201%09%7F"
                                                            "?t=\xD6\xD0\xCE\xC4&k=%41+b#top"));
}

TEST(HttpRequest, LongPathIsSentWhole)
{
    ScriptedServer server;
    server.addReply(kOkReply);
    const QByteArray path = "/kbz/clientTools/userlogin.asp?WebIntro=" + QByteArray(600, 'i') +
                            "&WebKeyword=" + QByteArray(300, 'k');
    TNMHTTP http;
    http.Get(server.url(QString::fromLatin1(path)));
    ASSERT_EQ(server.connectionCount(), 1);
    EXPECT_EQ(server.requests().at(0), directRequest("GET", path));
}

} // namespace
