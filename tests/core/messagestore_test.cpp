#include "core/clientserviceinfo.h"
#include "core/cp936.h"
#include "core/messagestore.h"
#include "tests/core/filesizecap.h"
#include "tests/support/testfiles.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

const QString kStore = QStringLiteral("xml/messages.xml");

// A store holding `messages`, as the client writes it.
std::string storeFile(const QString &messages)
{
    return cp936::encode(
               QStringLiteral("<?xml version=\"1.0\" encoding=\"gb2312\"?>\n<Messages>\n") +
               messages + QStringLiteral("</Messages>\n"))
        .toStdString();
}

class MessageStoreTest : public ::testing::Test
{
protected:
    MessageStoreTest() { InitializeClientState(info, dir.path(), QStringLiteral("/usr/bin/x")); }
    std::string stored() const { return dir.read(kStore).toStdString(); }

    TestAppDir dir;
    TClientServiceInfo info;
};

} // namespace

TEST_F(MessageStoreTest, NewestAnswerFirstEachReversedWithTheFiveAttributesInOrder)
{
    // Another order, an attribute and content the store does not keep, a message without
    // FromIP and PostDateTime, and GBK-only characters that must not become '?'.
    ASSERT_TRUE(StoreMessages(
        info, QStringLiteral("<MessageList><msg Comment=\"X\" Extra=\"x\" "
                             "PostDateTime=\"2006-12-6 23:28:12\" FromIP=\"10.0.0.1\" "
                             "FromLogid=\"admin\" Logid=\"ruruv\">text<b/></msg></MessageList>")));
    EXPECT_TRUE(info.HasMessages);
    ASSERT_TRUE(StoreMessages(
        info, QStringLiteral("<l><m Comment=\"A\"/><m Logid=\"ruruv\" "
                             "Comment=\"镕囧 &amp; &lt;B>\"/><m Comment=\"C\"/></l>")));
    EXPECT_EQ(stored(), storeFile(QStringLiteral(
                            "<Message Comment=\"C\"/><Message Logid=\"ruruv\" "
                            "Comment=\"镕囧 &amp; &lt;B&gt;\"/><Message Comment=\"A\"/>"
                            "<Message Logid=\"ruruv\" FromLogid=\"admin\" FromIP=\"10.0.0.1\" "
                            "PostDateTime=\"2006-12-6 23:28:12\" Comment=\"X\"/>")));
}

TEST_F(MessageStoreTest, EmptyOrUnreadableListLeavesEverythingAlone)
{
    const auto storeNothing = [this] {
        for (const QString &list :
             {QStringLiteral("<Messages/>"), QStringLiteral("<l>\r\n  <!-- none -->\r\n</l>"),
              QStringLiteral("<l><m Comment=\"x\"></l>"), QString()})
            EXPECT_TRUE(StoreMessages(info, list));
        EXPECT_FALSE(info.HasMessages);
    };
    storeNothing();
    EXPECT_FALSE(dir.exists(QStringLiteral("xml")));

    // Laid out as no rewrite would lay it out.
    dir.write(kStore, QByteArrayLiteral("<?xml version=\"1.0\" ?>\r\n<Messages> </Messages>"));
    storeNothing();
    EXPECT_EQ(stored(), "<?xml version=\"1.0\" ?>\r\n<Messages> </Messages>");
}

TEST_F(MessageStoreTest, IllFormedStoreIsReplacedButAFailedWriteReplacesNothing)
{
    dir.write(kStore, QByteArrayLiteral("<Messages><Message Comment=\"old\"></Messages"));
    ASSERT_TRUE(StoreMessages(info, QStringLiteral("<l><m Comment=\"A\"/></l>")));
    const std::string before = stored();
    EXPECT_EQ(before, storeFile(QStringLiteral("<Message Comment=\"A\"/>")));

    EXPECT_FALSE(withFileSizeCap(before.size(), [this] {
        return StoreMessages(info, QStringLiteral("<l><m Comment=\"longer than the cap\"/></l>"));
    }));
    EXPECT_EQ(stored(), before);
    EXPECT_EQ(QDir(dir.file(QStringLiteral("xml"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("messages.xml")});
}
