#include "core/clientserviceinfo.h"
#include "core/cp936.h"
#include "core/messagestore.h"
#include "core/xmldocument.h"
#include "tests/core/filesizecap.h"
#include "tests/support/storedcomments.h"
#include "tests/support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
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
    // The contents of every store set aside, oldest first.
    QByteArrayList setAside() const
    {
        QByteArrayList contents;
        const QDir xml(dir.file(QStringLiteral("xml")));
        for (const QString &name : xml.entryList({QStringLiteral("messages.xml.broken-*")},
                                                 QDir::Files, QDir::Time | QDir::Reversed))
            contents << dir.read(QStringLiteral("xml/") + name);
        return contents;
    }

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

TEST_F(MessageStoreTest, IllFormedStoreIsSetAsideButAFailedWriteReplacesNothing)
{
    const QByteArray broken = QByteArrayLiteral("<Messages><Message Comment=\"old\"></Messages");
    dir.write(kStore, broken);
    ASSERT_TRUE(StoreMessages(info, QStringLiteral("<l><m Comment=\"A\"/></l>")));
    const std::string before = stored();
    EXPECT_EQ(before, storeFile(QStringLiteral("<Message Comment=\"A\"/>")));
    EXPECT_EQ(setAside(), QByteArrayList{broken});

    EXPECT_FALSE(withFileSizeCap(before.size(), [this] {
        return StoreMessages(info, QStringLiteral("<l><m Comment=\"longer than the cap\"/></l>"));
    }));
    EXPECT_EQ(stored(), before);
    EXPECT_EQ(QDir(dir.file(QStringLiteral("xml"))).entryList(QDir::Files | QDir::Hidden).size(),
              2);

    // A second broken store is kept beside the first, under a name of its own.
    dir.write(kStore, "<Messages>second");
    ASSERT_TRUE(StoreMessages(info, QStringLiteral("<l><m Comment=\"B\"/></l>")));
    EXPECT_EQ(setAside(), (QByteArrayList{broken, "<Messages>second"}));
    EXPECT_EQ(stored(), storeFile(QStringLiteral("<Message Comment=\"B\"/>")));
}

TEST_F(MessageStoreTest, AStoreThatCannotBeReadStaysAndTheFailureSaysWhy)
{
    // A folder where the store should be: no write replaces it, even as root.
    ASSERT_TRUE(QDir(dir.path()).mkpath(kStore));
    const StoreResult result = StoreMessages(info, QStringLiteral("<l><m Comment=\"A\"/></l>"));
    EXPECT_FALSE(result.stored);
    EXPECT_TRUE(result.failure.contains(QStringLiteral("messages.xml")))
        << qPrintable(result.failure);
    EXPECT_FALSE(info.HasMessages);
    EXPECT_TRUE(QFileInfo(dir.file(kStore)).isDir());
    EXPECT_TRUE(setAside().isEmpty());

    ASSERT_TRUE(QDir(dir.file(kStore)).removeRecursively());
    EXPECT_TRUE(StoreMessages(info, QStringLiteral("<l><m Comment=\"A\"/></l>")));
    EXPECT_EQ(stored(), storeFile(QStringLiteral("<Message Comment=\"A\"/>")));
}

namespace {

std::optional<QStringList> storedComments(const TestAppDir &dir)
{
    return StoredComments(dir.file(kStore));
}

} // namespace

TEST_F(MessageStoreTest, AnyWellFormedStoreKeepsItsMessagesBehindTheNewOnes)
{
    const struct
    {
        const char *name;
        QByteArray store;
        QStringList before;
    } cases[] = {
        {"empty root tag", "<?xml version=\"1.0\" encoding=\"gb2312\"?><Messages/>", {}},
        {"no declaration, UTF-8",
         "<Messages><Message Comment=\"\xE9\x95\x95\"/></Messages>",
         {QStringLiteral("镕")}},
        {"comments and single quotes",
         "<?xml version='1.0' encoding='GB2312'?>\r\n<!-- a > b --><Messages a='>'>\r\n<!-- <x/> "
         "-->"
         "<Message Comment=\"\xD6\xD0\"/></Messages>",
         {QStringLiteral("中")}},
        {"written by the client",
         storeFile(QStringLiteral("<Message Comment=\"old\"/>")).c_str(),
         {QStringLiteral("old")}},
    };
    // A character the code page lacks goes in as a reference and reads back as itself.
    const QString lacking = QStringLiteral("\uE000囧");
    for (const auto &[name, store, before] : cases) {
        dir.write(kStore, store);
        ASSERT_TRUE(StoreMessages(info, QStringLiteral("<l><m Comment=\"A\"/><m Comment=\"") +
                                            lacking + QStringLiteral("\"/></l>")))
            << name;
        ASSERT_TRUE(StoreMessages(info, QStringLiteral("<l><m Comment=\"B\"/></l>"))) << name;
        EXPECT_EQ(storedComments(dir),
                  QStringList({QStringLiteral("B"), lacking, QStringLiteral("A")}) + before)
            << name;
    }
}

TEST_F(MessageStoreTest, StoreWithUndecodableBytesAfterItsRootIsSetAsideWhole)
{
    const QByteArray store =
        QByteArray::fromStdString(storeFile(QStringLiteral("<Message Comment=\"old\"/>"))) +
        "\r\xE3\n";
    dir.write(kStore, store);
    // It is no document to any reader, so no message is shown from it that a delivery then drops.
    EXPECT_EQ(storedComments(dir), std::nullopt);
    ASSERT_TRUE(StoreMessages(info, QStringLiteral("<l><m Comment=\"A\"/></l>")));
    EXPECT_EQ(storedComments(dir), QStringList{QStringLiteral("A")});
    EXPECT_EQ(setAside(), QByteArrayList{store});
}

TEST_F(MessageStoreTest, AWellFormedStoreThatCannotBeExtendedIsSetAsideAndTheDeliveryLands)
{
    // Its encoding is one no reader here knows, and an attribute name holds raw high bytes.
    const QByteArray store =
        "<?xml version=\"1.0\" encoding=\"gb2.312\" ?>\r\n<Messages>\r\n<Message  "
        "FromLogidt=\"admin\" FroP=\"10.0.0.1\" PosTaettDime=\"2024-05-01 12:00:00\" Co" +
        QByteArray(115, '\xf7') + "mment=\"\xbe\xc9\xcf\xfb\xcf\xa2\"/>\r\n</Messages>\r\n";
    dir.write(kStore, store);
    ASSERT_TRUE(StoreMessages(info, QStringLiteral("<l><m Logid=\"alice\"/></l>")));
    EXPECT_EQ(stored(), storeFile(QStringLiteral("<Message Logid=\"alice\"/>")));
    EXPECT_EQ(setAside(), QByteArrayList{store});
    EXPECT_TRUE(info.HasMessages);
}

TEST_F(MessageStoreTest, AStoreChangedByAnotherHandIsLookedAtAgain)
{
    ASSERT_TRUE(StoreMessages(info, QStringLiteral("<l><m Comment=\"A\"/></l>")));
    // Replaced (as editors do, by renaming) with an ill-formed file of the same size: it is set
    // aside, not written into.
    const QByteArray replaced = QByteArray(stored().size(), ' ');
    dir.write(QStringLiteral("xml/other"), replaced);
    ASSERT_EQ(::rename(QFile::encodeName(dir.file(QStringLiteral("xml/other"))).constData(),
                       QFile::encodeName(dir.file(kStore)).constData()),
              0);
    ASSERT_TRUE(StoreMessages(info, QStringLiteral("<l><m Comment=\"B\"/></l>")));
    EXPECT_EQ(setAside(), QByteArrayList{replaced});
    EXPECT_EQ(storedComments(dir), QStringList{QStringLiteral("B")});

    // Replaced by a well-formed store with another layout: its messages are kept.
    dir.write(kStore, QByteArrayLiteral("<Messages>\n  <Message Comment=\"x\"/>\n</Messages>"));
    ASSERT_TRUE(StoreMessages(info, QStringLiteral("<l><m Comment=\"C\"/></l>")));
    EXPECT_EQ(storedComments(dir), (QStringList{QStringLiteral("C"), QStringLiteral("x")}));
}
