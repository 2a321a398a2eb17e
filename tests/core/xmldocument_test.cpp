#include "core/cp936.h"
#include "core/xmldocument.h"
#include "tests/support/hostiledocuments.h"

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

TEST(XmlDocument, RefusesBytesThatDoNotDecodeEvenAfterTheRoot)
{
    const QByteArray declared = "<?xml version=\"1.0\" encoding=\"gb2312\"?>";
    EXPECT_TRUE(XmlDocument::fromBytes(declared + "<r a=\"\xD6\xD0\"/>\r\n"));
    // The parser stops reading quietly at the first undecodable byte; after the root that looked
    // like the end of a well-formed document.
    for (const QByteArray &tail : {QByteArray("\r\xE3\n"), QByteArray("\xFF")})
        EXPECT_FALSE(XmlDocument::fromBytes(declared + "<r/>" + tail)) << tail.toHex().constData();
}

TEST(XmlDocument, AnElementsTextReadsBackAsTheSameElement)
{
    const char *const cases[] = {
        // Namespace names are written between quotes as they stand unless escaped first.
        "<a><m xmlns:c=\"\xE4\xBD\xA0 &amp; &lt;b&gt;\" x=\"1\"/></a>",
        "<a><m xmlns:c='say \"&apos;hi&apos;\"' xmlns=\"tab&#9;line&#10;\"/></a>",
        // A prefix declared further out is declared on the element written alone.
        "<r xmlns:p=\"urn:x?a=1&amp;b=2\"><a><p:m "
        "p:x=\"&lt;&amp;&quot;&#13;\">t&amp;<![CDATA[<]]></p:m></a></r>",
    };
    for (const char *text : cases) {
        const auto document = XmlDocument::fromBytes(QByteArray(text));
        ASSERT_TRUE(document) << text;
        XmlElement element = document->root();
        if (element.name() == QStringLiteral("r"))
            element = element.child(0);
        const QString written = element.toXml();
        const auto reread = XmlDocument::fromUnicode(written, XmlDocument::Source::Network);
        ASSERT_TRUE(reread) << written.toStdString();
        EXPECT_EQ(reread->root().toXml(), written);
    }
}

namespace {

QByteArray elementWith(const QByteArray &attributes)
{
    return "<r><m" + attributes + "/></r>";
}

} // namespace

TEST(XmlDocument, MarkupBeyondTheBoundsIsRefusedBeforeParsing)
{
    using Source = XmlDocument::Source;
    const QByteArray tricky = " q='a=\"b\" c=d>' r=\"=>\"";
    const struct
    {
        const char *name;
        QByteArray bytes;
        bool local;
        bool network;
    } cases[] = {
        {"64 attributes", elementWith(hostile::attributes(64)), true, true},
        {"65 attributes", elementWith(hostile::attributes(65)), false, false},
        {"= and > inside values", elementWith(hostile::attributes(62) + tricky), true, true},
        {"one too many beside them", elementWith(hostile::attributes(63) + tricky), false, false},
        {"65 over two elements", "<r a=\"\"><m" + hostile::attributes(64) + "/></r>", true, true},
        {"markup in comments and CDATA",
         "<r><!--" + elementWith(hostile::attributes(65)) + "--><![CDATA[<m" +
             hostile::attributes(65) + ">]]></r>",
         true, true},
        {"as many elements as an answer may hold",
         "<r>" + QByteArray("<m/>").repeated(XmlDocument::kMaxNetworkNodes - 1) + "</r>", true,
         true},
        {"one element more",
         "<r>" + QByteArray("<m/>").repeated(XmlDocument::kMaxNetworkNodes) + "</r>", true, false},
        {"attributes over the answer's total",
         "<r>" +
             elementWith(hostile::attributes(32))
                 .repeated(XmlDocument::kMaxNetworkAttributes / 32 + 1) +
             "</r>",
         true, false},
        {"namespace declarations", elementWith(hostile::attributes(64, "xmlns:p")), true, true},
        {"more namespace declarations than an answer may hold",
         "<r" + hostile::attributes(1, "xmlns:q") + '>' +
             elementWith(hostile::attributes(64, "xmlns:p")) + "</r>",
         true, false},
        {"UTF-16", QByteArray("<\0r\0/\0>\0", 8), false, false},
    };
    for (const auto &[name, bytes, local, network] : cases) {
        EXPECT_EQ(XmlDocument::fromBytes(bytes).has_value(), local) << name;
        EXPECT_EQ(XmlDocument::fromBytes(bytes, Source::Network).has_value(), network) << name;
    }
}

TEST(XmlDocument, NoAnswerUpToTheSizeBoundTakesLongToReadOrRefuse)
{
    // The benchmark holds the real figure; this margin only catches a return of the slow shapes.
    for (const auto &[name, bytes] : hostile::documents(1024 * 1024)) {
        QElapsedTimer clock;
        clock.start();
        const std::optional<XmlDocument> document =
            XmlDocument::fromBytes(bytes, XmlDocument::Source::Network);
        if (document)
            XmlDocument::fromUnicode(document->root().child(1).toXml(),
                                     XmlDocument::Source::Network);
        EXPECT_LT(clock.elapsed(), 2000) << name;
    }
}
