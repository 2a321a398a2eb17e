// The proxy as http_proxy and no_proxy give it, against a real tinyproxy on loopback.
#include "core/clientserviceinfo.h"
#include "platform/linux/linuxplatform.h"
#include "protocol/httprequests.h"
#include "tests/platform/scopedvariable.h"
#include "tests/platform/tinyproxy.h"
#include "tests/protocol/scriptedserver.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

const QByteArray kAnswer = "<answer/>";

class ProxyTest : public ::testing::Test
{
protected:
    ProxyTest() { origin.addReply("HTTP/1.0 200 OK\r\nContent-Length: 9\r\n\r\n" + kAnswer); }

    // The client state's proxy as the platform reads it from these values.
    void lookUp(const QByteArray &httpProxy, const QByteArray &noProxy = {})
    {
        const ScopedVariable lower("http_proxy", httpProxy), upper("HTTP_PROXY", {}),
            noLower("no_proxy", noProxy), noUpper("NO_PROXY", {});
        LinuxPlatform().LookupProxyAndBrowser(info);
    }
    QByteArray get(const QString &url) { return HttpGet(info, 5000, url); }
    // tinyproxy names itself in a Via line of what it forwards.
    bool lastCameThroughTheProxy() const
    {
        return origin.requests().last().contains("\r\nVia: ") &&
               origin.requests().last().contains("tinyproxy");
    }

    ScriptedServer origin;
    TClientServiceInfo info;
};

QByteArray proxyUrl(const QByteArray &userInfo, quint16 port)
{
    return "http://" + userInfo + "127.0.0.1:" + QByteArray::number(port) + '/';
}

TEST_F(ProxyTest, CredentialsInTheUrlAuthenticateWithTheProxy)
{
    TinyProxy proxy("us.er s3cr-t");
    ASSERT_TRUE(proxy.isListening()) << proxy.log().constData();

    // Percent-decoded before they go.
    lookUp(proxyUrl("us.er:s3cr%2Dt@", proxy.port()));
    EXPECT_EQ(get(origin.url(QStringLiteral("/kbz/a.asp"))), kAnswer) << proxy.log().constData();
    ASSERT_EQ(origin.connectionCount(), 1);
    EXPECT_TRUE(lastCameThroughTheProxy());

    for (const QByteArray &wrong : {QByteArray("us.er:s3cr-x@"), QByteArray()}) {
        lookUp(proxyUrl(wrong, proxy.port()));
        const QByteArray refused = get(origin.url(QStringLiteral("/kbz/a.asp")));
        // tinyproxy's page: 407 without credentials, 401 for wrong ones.
        EXPECT_TRUE(refused.contains("<title>40"))
            << wrong.constData() << ": " << refused.constData();
    }
    EXPECT_EQ(origin.connectionCount(), 1);
}

TEST_F(ProxyTest, AProxyWithoutPortIsAskedOnPortEighty)
{
    // Port 80 is free on some address of 127.0.0.0/8 that no other test uses.
    const QHostAddress address(QStringLiteral("127.%1.%2.%3")
                                   .arg(QRandomGenerator::global()->bounded(100, 250))
                                   .arg(QRandomGenerator::global()->bounded(1, 250))
                                   .arg(QRandomGenerator::global()->bounded(1, 250)));
    TinyProxy proxy({}, address, 80);
    if (!proxy.isListening())
        GTEST_SKIP() << "port 80 of " << qPrintable(address.toString()) << " is not available";
    lookUp("http://" + address.toString().toLatin1());
    EXPECT_EQ(info.ProxyPort, 80);
    EXPECT_EQ(get(origin.url(QStringLiteral("/"))), kAnswer) << proxy.log().constData();
    ASSERT_EQ(origin.connectionCount(), 1);
    EXPECT_TRUE(lastCameThroughTheProxy());
}

TEST_F(ProxyTest, HostsInNoProxyAreReachedDirectlyAndOthersThroughTheProxy)
{
    TinyProxy proxy;
    ASSERT_TRUE(proxy.isListening()) << proxy.log().constData();
    const QString byAddress = origin.url(QStringLiteral("/"));
    const QString byName = QStringLiteral("http://localhost:%1/").arg(origin.port());
    const struct
    {
        const char *noProxy;
        QString url;
        bool direct;
    } cases[] = {
        {"127.0.0.1", byAddress, true},
        {"example.org, localhost", byName, true},
        {"127.0.0.0/8", byAddress, true},
        {"*", byName, true},
        {".localhost", byName, true}, // a domain takes its own name too
        {"example.com,.example.org 10.0.0.0/8", byAddress, false},
        {"localhost", byAddress, false}, // a name is no address
        {"calhost", byName, false},
    };
    // A direct request must not need the proxy: then it is one that nothing answers.
    const quint16 dead = UnusedPort();
    for (const auto &[noProxy, url, direct] : cases) {
        lookUp(proxyUrl({}, direct ? dead : proxy.port()), noProxy);
        const int before = origin.connectionCount();
        EXPECT_EQ(get(url), kAnswer) << noProxy;
        ASSERT_EQ(origin.connectionCount(), before + 1) << noProxy;
        EXPECT_EQ(lastCameThroughTheProxy(), !direct) << noProxy;
    }
}

} // namespace
