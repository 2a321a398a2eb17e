#include "core/cp936.h"
#include "core/xmldocument.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

TEST(XmlDocument, WalksElementsOnlyByPositionAndName)
{
    const auto doc = XmlDocument::fromBytes(
        QByteArrayLiteral("<root>\n  <!-- note -->\n  <a x=\"1\"/>\n  <b/>\n</root>"));
    ASSERT_TRUE(doc);
    const XmlElement root = doc->root();
    EXPECT_EQ(root.childCount(), 2);
    EXPECT_EQ(root.child(1).name(), QStringLiteral("b"));
    EXPECT_EQ(root.child(QStringLiteral("b")).name(), QStringLiteral("b"));
    EXPECT_THROW(root.child(0).requiredAttribute(QStringLiteral("missing")), XmlReadError);
    EXPECT_THROW(root.child(5).requiredAttribute(QStringLiteral("x")), XmlReadError);
}

TEST(XmlDocument, LoadsNoEntityAndEndsABlowUpQuickly)
{
    EXPECT_FALSE(XmlDocument::fromBytes(
        QByteArrayLiteral("<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY x SYSTEM "
                          "\"file:///etc/passwd\">]><r><s a=\"&x;\">&x;</s></r>")));

    QByteArray laughs = "<?xml version=\"1.0\"?><!DOCTYPE l [<!ENTITY l0 \"lol\">";
    for (int i = 1; i < 10; ++i)
        laughs += QByteArrayLiteral("<!ENTITY l") + QByteArray::number(i) + " \"" +
                  QByteArray("&l" + QByteArray::number(i - 1) + ';').repeated(10) + "\">";
    laughs += "]><l a=\"&l9;\">&l9;</l>";
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(XmlDocument::fromBytes(laughs));
    EXPECT_LT(clock.elapsed(), 2000);
}

TEST(XmlDocument, SavesInGb2312AndReadsBackByTheDeclaration)
{
    auto doc = XmlDocument::fromBytes(QByteArrayLiteral("<r/>"));
    ASSERT_TRUE(doc);
    const QString text = QStringLiteral("你好 & <镕> \"q\"");
    doc->root().insertChild(0, QStringLiteral("m")).setAttribute(QStringLiteral("c"), text);
    const QByteArray saved = doc->toCp936();
    EXPECT_EQ(saved.toStdString(),
              cp936::encode(
                  QStringLiteral("<?xml version=\"1.0\" encoding=\"gb2312\"?>\n"
                                 "<r>\n  <m c=\"你好 &amp; &lt;镕&gt; &quot;q&quot;\"/>\n</r>\n"))
                  .toStdString());
    const auto reread = XmlDocument::fromBytes(saved);
    ASSERT_TRUE(reread);
    EXPECT_EQ(reread->root().child(0).attribute(QStringLiteral("c")), text);
    // Without the declaration the bytes would have to be UTF-8, which they are not.
    EXPECT_FALSE(XmlDocument::fromBytes(saved.sliced(saved.indexOf('\n'))));
}
