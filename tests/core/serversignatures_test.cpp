#include "core/cp936.h"
#include "core/serversignatures.h"
#include "core/xmldocument.h"
#include "tests/support/testfiles.h"

#include <QFile>
#include <gtest/gtest.h>
#include <set>

using namespace Qt::StringLiterals;

namespace {

const QString kShippedFile = QStringLiteral(MARBELLO_DATA_DIR "/xml/webServerType.xml");

QByteArray ShippedBytes()
{
    QFile file(kShippedFile);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QList<ServerSignature> ShippedSignatures()
{
    return LoadServerSignatures(kShippedFile).value_or(QList<ServerSignature>());
}

TEST(ShippedServerSignatures, FileIsWellFormedGb2312WithEveryAttributeAndUniqueEntries)
{
    const QByteArray bytes = ShippedBytes();
    ASSERT_TRUE(bytes.startsWith(R"(<?xml version="1.0" encoding="gb2312"?>)"));
    // Every byte sequence is valid CP936: it survives a round trip unchanged.
    EXPECT_EQ(cp936::encode(cp936::decode(bytes)), bytes);

    const std::optional<XmlDocument> document = XmlDocument::fromBytes(bytes);
    ASSERT_TRUE(document);
    bool numeric = false;
    document->root().attribute(u"Version"_s).value_or(QString()).toInt(&numeric);
    EXPECT_TRUE(numeric);

    int elements = 0;
    for (XmlElement element = document->root().child(0); !element.isNull();
         element = element.nextSibling(), ++elements) {
        EXPECT_FALSE(element.attribute(u"keyword"_s).value_or(QString()).isEmpty()) << elements;
        EXPECT_FALSE(element.attribute(u"name"_s).value_or(QString()).isEmpty()) << elements;
        EXPECT_EQ(element.childCount(), 0) << elements;
    }
    const QList<ServerSignature> signatures = ShippedSignatures();
    EXPECT_EQ(signatures.size(), elements);
    std::set<QByteArray> keywords;
    std::set<QString> names;
    for (const ServerSignature &signature : signatures) {
        EXPECT_TRUE(keywords.insert(signature.keyword).second) << signature.keyword.constData();
        EXPECT_TRUE(names.insert(signature.name).second) << signature.name.toStdString();
    }
}

TEST(ShippedServerSignatures, NoKeywordIsHiddenBehindAShorterOneItContains)
{
    const QList<ServerSignature> signatures = ShippedSignatures();
    ASSERT_FALSE(signatures.isEmpty());
    for (qsizetype i = 0; i < signatures.size(); ++i) {
        for (qsizetype j = i + 1; j < signatures.size(); ++j) {
            EXPECT_FALSE(signatures[j].keyword.contains(signatures[i].keyword))
                << signatures[i].keyword.constData() << " comes before "
                << signatures[j].keyword.constData();
        }
    }
}

TEST(ShippedServerSignatures, RealServersAreNamed)
{
    const QList<ServerSignature> signatures = ShippedSignatures();
    const auto named = [&](const QByteArray &serverLine) {
        return MatchServerSignature(signatures, "HTTP/1.1 200 OK\r\n" + serverLine +
                                                    "\r\nContent-Length: 0\r\n\r\n");
    };
    const std::pair<const char *, QString> cases[] = {
        {"Server: Apache/2.4.57 (Debian)", u"Apache HTTP Server"_s},
        {"Server: Microsoft-IIS/10.0", u"Microsoft IIS"_s},
        {"Server: nginx/1.22.1", u"nginx"_s},
        {"Server: lighttpd/1.4.69", u"lighttpd"_s},
        {"Server: Caddy", u"Caddy"_s},
        {"Server: LiteSpeed", u"LiteSpeed"_s},
        {"Server: Apache-Coyote/1.1", u"Apache Tomcat"_s},
        {"Server: Jetty(9.4.51.v20230217)", u"Eclipse Jetty"_s},
        {"Server: Kestrel", u"ASP.NET Core Kestrel"_s},
        {"Server: openresty/1.21.4.1", u"OpenResty"_s},
        {"Server: Tengine/2.3.3 (nginx)", u"Tengine (淘宝)"_s},
        {"Server: Boa/0.94.14rc21", u"Boa"_s},
        {"Server: thttpd/2.29 23May2018", u"thttpd"_s},
        {"Server: Cherokee/1.2.104 (Debian)", u"Cherokee"_s},
        {"X-Powered-By: Express", u"Node.js (Express)"_s},
        {"Server: SimpleHTTP/0.6 Python/3.11.2", u"Python 内置服务器 (http.server)"_s},
        {"Server: Marbello-Service/0.994", u"Marbello 参考服务"_s},
        {"Server: server", QString()},
    };
    for (const auto &[line, name] : cases)
        EXPECT_EQ(named(line), name) << line;
}

TEST(ServerSignatureFile, ElementsWithoutBothAttributesAreSkippedAndBadFilesGiveNothing)
{
    const TestAppDir dir;
    dir.write(u"list.xml"_s, R"(<?xml version="1.0" encoding="gb2312"?>
<types Version="3"><t keyword="A" name="first"/><t name="no keyword"/><t keyword="" name="empty"/>
<t keyword="B"/><t keyword="C" name=""/><t keyword="A" name="second"><x keyword="D" name="d"/></t>
</types>)");
    const auto signatures = LoadServerSignatures(dir.file(u"list.xml"_s));
    ASSERT_TRUE(signatures);
    ASSERT_EQ(signatures->size(), 2);
    EXPECT_EQ(MatchServerSignature(*signatures, "HTTP/1.0 200 A\r\n\r\n"), u"first"_s);
    EXPECT_EQ(MatchServerSignature(*signatures, "HTTP/1.0 200 D\r\n\r\n"), QString());

    dir.write(u"broken.xml"_s, "<types Version=\"1\"><t keyword=\"A\" name=\"a\"></types>");
    EXPECT_FALSE(LoadServerSignatures(dir.file(u"broken.xml"_s)));
    EXPECT_FALSE(LoadServerSignatures(dir.file(u"missing.xml"_s)));
}

} // namespace
