#include "core/cp936.h"
#include "core/xmldocument.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

QByteArray gb2312Document(const QString &body)
{
    return QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"gb2312\"?>") + cp936::encode(body);
}

} // namespace

TEST(XmlDocument, DecodesByItsOwnDeclaration)
{
    const QString reason = QStringLiteral("密码错误，镕");
    const auto declared = XmlDocument::fromBytes(
        gb2312Document(QStringLiteral("<r><s Reason=\"%1\"/></r>").arg(reason)));
    ASSERT_TRUE(declared);
    EXPECT_EQ(declared->root().child(0).attribute(QStringLiteral("Reason")), reason);

    // The same CP936 bytes without a declaration are not UTF-8: the document is ill-formed.
    const QByteArray undeclared =
        cp936::encode(QStringLiteral("<r><s Reason=\"%1\"/></r>").arg(reason));
    EXPECT_FALSE(XmlDocument::fromBytes(undeclared));
}

TEST(XmlDocument, WalksElementsOnlyByPositionAndName)
{
    const auto doc = XmlDocument::fromBytes(
        QByteArrayLiteral("<root>\n  <!-- note -->\n  <a x=\"1\" e=\"\"/>\n  <b/>\n</root>"));
    ASSERT_TRUE(doc);
    const XmlElement root = doc->root();
    EXPECT_EQ(root.childCount(), 2);
    EXPECT_EQ(root.child(0).name(), QStringLiteral("a"));
    EXPECT_EQ(root.child(1).name(), QStringLiteral("b"));
    EXPECT_TRUE(root.child(2).isNull());
    EXPECT_EQ(root.child(QStringLiteral("b")).name(), QStringLiteral("b"));
    EXPECT_EQ(root.child(0).attribute(QStringLiteral("e")), QString());
    EXPECT_FALSE(root.child(0).attribute(QStringLiteral("missing")));
    EXPECT_THROW(root.child(5).requiredAttribute(QStringLiteral("x")), XmlReadError);
}

TEST(XmlDocument, RejectsBrokenEmptyAndDtdInput)
{
    EXPECT_FALSE(XmlDocument::fromBytes(QByteArray()));
    EXPECT_FALSE(XmlDocument::fromBytes(QByteArrayLiteral("<a><b></a>")));
    EXPECT_FALSE(XmlDocument::fromBytes(QByteArrayLiteral("<html><body>404</body>")));
    EXPECT_FALSE(XmlDocument::fromFile(QStringLiteral("/nonexistent/file.xml")));
}

TEST(XmlDocument, LoadsNoExternalEntity)
{
    const QByteArray xxe = QByteArrayLiteral(
        "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>"
        "<r><s a=\"&x;\">&x;</s></r>");
    EXPECT_FALSE(XmlDocument::fromBytes(xxe));
}

TEST(XmlDocument, EntityBlowUpEndsQuickly)
{
    QByteArray laughs = "<?xml version=\"1.0\"?><!DOCTYPE lolz [<!ENTITY lol0 \"lol\">";
    for (int i = 1; i < 10; ++i)
        laughs += QStringLiteral("<!ENTITY lol%1 \"&lol%2;&lol%2;&lol%2;&lol%2;&lol%2;&lol%2;"
                                 "&lol%2;&lol%2;&lol%2;&lol%2;\">")
                      .arg(i)
                      .arg(i - 1)
                      .toLatin1();
    laughs += "]><lolz a=\"&lol9;\">&lol9;</lolz>";
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(XmlDocument::fromBytes(laughs));
    EXPECT_LT(clock.elapsed(), 2000);
}

TEST(XmlDocument, SavesInGb2312AndReadsBack)
{
    auto doc = XmlDocument::fromBytes(QByteArrayLiteral("<Messages/>"));
    ASSERT_TRUE(doc);
    XmlElement root = doc->root();
    const QString comment = QStringLiteral("你好 & <镕> \"quoted\"");
    root.insertChild(0, QStringLiteral("Message")).setAttribute(QStringLiteral("Comment"), comment);
    root.insertChild(0, QStringLiteral("First"));
    const QByteArray saved = doc->toCp936();
    EXPECT_TRUE(saved.startsWith("<?xml version=\"1.0\" encoding=\"gb2312\"?>"));
    EXPECT_TRUE(saved.contains(cp936::encode(QStringLiteral("你好"))));

    const auto reread = XmlDocument::fromBytes(saved);
    ASSERT_TRUE(reread);
    EXPECT_EQ(reread->root().child(0).name(), QStringLiteral("First"));
    EXPECT_EQ(reread->root().child(1).attribute(QStringLiteral("Comment")), comment);
}

TEST(XmlDocument, ElementTextParsesAgainAsUnicode)
{
    const auto doc = XmlDocument::fromBytes(
        gb2312Document(QStringLiteral("<r><s/><list><m Comment=\"中文\"/></list></r>")));
    ASSERT_TRUE(doc);
    const QString list = doc->root().child(1).toXml();
    const auto again = XmlDocument::fromUnicode(list);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->root().child(0).attribute(QStringLiteral("Comment")), QStringLiteral("中文"));
}
