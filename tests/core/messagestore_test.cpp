#include "core/clientserviceinfo.h"
#include "core/cp936.h"
#include "core/messagestore.h"
#include "core/xmldocument.h"
#include "tests/support/testfiles.h"

#include <QDir>
#include <QRegularExpression>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

const QString kStore = QStringLiteral("xml/messages.xml");

QString message(const QString &comment)
{
    return QStringLiteral("<m Logid=\"ruruv\" FromLogid=\"admin\" FromIP=\"10.0.0.1\" "
                          "PostDateTime=\"2006-12-6 23:28:12\" Comment=\"%1\"/>")
        .arg(comment);
}

QString messageList(const QStringList &messages)
{
    return QStringLiteral("<Messages>") + messages.join(QString()) + QStringLiteral("</Messages>");
}

// Caps the size of any file this process writes, as a full disk would. Existing files up to the
// cap stay readable; a write past it fails instead of raising SIGXFSZ.
class FileSizeCap
{
public:
    explicit FileSizeCap(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit capped = m_saved;
        capped.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &capped);
    }
    ~FileSizeCap()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_saved{};
    void (*m_oldHandler)(int) = nullptr;
};

class MessageStoreTest : public ::testing::Test
{
protected:
    MessageStoreTest() { InitializeClientState(info, dir.path(), QStringLiteral("/usr/bin/x")); }

    // Delivers one answer holding a message with each of `comments`, in order.
    bool store(const QStringList &comments)
    {
        QStringList messages;
        for (const QString &comment : comments)
            messages << message(comment);
        return StoreMessages(info, messageList(messages));
    }

    // The Comment of every stored message, in file order; "unreadable" when the file won't load.
    QStringList storedComments() const
    {
        const std::optional<XmlDocument> document = XmlDocument::fromFile(dir.file(kStore));
        if (!document || document->root().name() != QStringLiteral("Messages"))
            return {QStringLiteral("unreadable")};
        QStringList comments;
        const XmlElement root = document->root();
        for (int i = 0; i < root.childCount(); ++i)
            comments << root.child(i).attribute(QStringLiteral("Comment")).value_or(QString());
        return comments;
    }

    ino_t storeInode() const
    {
        struct stat status = {};
        return ::stat(QFile::encodeName(dir.file(kStore)).constData(), &status) == 0 ? status.st_ino
                                                                                     : 0;
    }

    TestAppDir dir;
    TClientServiceInfo info;
};

} // namespace

TEST_F(MessageStoreTest, FirstMessageCreatesTheStoreWithTheFiveAttributesInOrder)
{
    // Delivered in another order, with an attribute and content the store does not keep.
    const QString delivered = QStringLiteral(
        "<MessageList><msg Comment=\"hello\" Extra=\"x\" PostDateTime=\"2006-12-6 23:28:12\" "
        "FromIP=\"10.0.0.1\" FromLogid=\"admin\" Logid=\"ruruv\">text<b/></msg></MessageList>");
    EXPECT_TRUE(StoreMessages(info, delivered));
    EXPECT_TRUE(info.HasMessages);

    const QByteArray bytes = dir.read(kStore);
    EXPECT_TRUE(bytes.startsWith("<?xml version=\"1.0\" encoding=\"gb2312\"?>")) << bytes.data();
    const QRegularExpression element(QStringLiteral(
        "<Messages>\\s*<Message Logid=\"ruruv\" FromLogid=\"admin\" FromIP=\"10.0.0.1\" "
        "PostDateTime=\"2006-12-6 23:28:12\" Comment=\"hello\"/>\\s*</Messages>"));
    EXPECT_TRUE(element.match(QString::fromLatin1(bytes)).hasMatch()) << bytes.data();
}

TEST_F(MessageStoreTest, NewestAnswerComesFirstAndEachAnswerIsReversed)
{
    ASSERT_TRUE(store({QStringLiteral("X")}));
    ASSERT_TRUE(store({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}));
    EXPECT_EQ(storedComments(), (QStringList{QStringLiteral("C"), QStringLiteral("B"),
                                             QStringLiteral("A"), QStringLiteral("X")}));
    // No removal of duplicates.
    ASSERT_TRUE(store({QStringLiteral("X")}));
    EXPECT_EQ(storedComments().size(), 5);
}

TEST_F(MessageStoreTest, EmptyOrUnreadableListLeavesEverythingAlone)
{
    const QString nothing[] = {QStringLiteral("<Messages/>"),
                               QStringLiteral("<Messages>\r\n  <!-- none -->\r\n</Messages>"),
                               QStringLiteral("<Messages><m Comment=\"x\"></Messages>"),
                               QStringLiteral("not xml"), QString()};
    for (const QString &list : nothing)
        EXPECT_TRUE(StoreMessages(info, list));
    EXPECT_FALSE(dir.exists(QStringLiteral("xml")));
    EXPECT_FALSE(info.HasMessages);

    ASSERT_TRUE(store({QStringLiteral("X")}));
    info.HasMessages = false;
    const QByteArray before = dir.read(kStore);
    const ino_t inode = storeInode();
    for (const QString &list : nothing)
        EXPECT_TRUE(StoreMessages(info, list));
    EXPECT_EQ(dir.read(kStore), before);
    EXPECT_EQ(storeInode(), inode) << "the file was rewritten";
    EXPECT_FALSE(info.HasMessages);
}

TEST_F(MessageStoreTest, MissingAttributeIsNotWritten)
{
    ASSERT_TRUE(StoreMessages(
        info, QStringLiteral("<l><m Logid=\"ruruv\" FromLogid=\"admin\" Comment=\"hi\"/></l>")));
    const std::optional<XmlDocument> document = XmlDocument::fromFile(dir.file(kStore));
    ASSERT_TRUE(document);
    const XmlElement stored = document->root().child(0);
    EXPECT_FALSE(stored.attribute(QStringLiteral("FromIP")));
    EXPECT_FALSE(stored.attribute(QStringLiteral("PostDateTime")));
    EXPECT_EQ(stored.attribute(QStringLiteral("Comment")), QStringLiteral("hi"));
}

TEST_F(MessageStoreTest, IllFormedStoreIsReplacedByTheNewMessages)
{
    dir.write(kStore, QByteArrayLiteral("<Messages><Message Comment=\"old\"></Messages"));
    ASSERT_TRUE(store({QStringLiteral("A"), QStringLiteral("B")}));
    EXPECT_EQ(storedComments(), (QStringList{QStringLiteral("B"), QStringLiteral("A")}));
}

TEST_F(MessageStoreTest, ChineseMessagesAreStoredInCp936)
{
    // 镕 and 囧 are GBK-only; the store must keep them, not turn them into '?'. The second list
    // carries the declaration of the answer it was cut from.
    const QString comment = QStringLiteral("你好，镕囧 & <再见>");
    ASSERT_TRUE(store({QStringLiteral("你好，镕囧 &amp; &lt;再见>")}));
    ASSERT_TRUE(StoreMessages(info, QStringLiteral("<?xml version=\"1.0\" encoding=\"gb2312\"?>") +
                                        messageList({message(QStringLiteral("第二"))})));

    const QByteArray bytes = dir.read(kStore);
    EXPECT_TRUE(bytes.startsWith("<?xml version=\"1.0\" encoding=\"gb2312\"?>"));
    EXPECT_TRUE(bytes.contains(cp936::encode(QStringLiteral("你好，镕囧"))));
    EXPECT_FALSE(bytes.contains(QStringLiteral("你好").toUtf8()));
    EXPECT_EQ(storedComments(), (QStringList{QStringLiteral("第二"), comment}));
}

TEST_F(MessageStoreTest, UnwritableStoreFailsAndKeepsTheOldFile)
{
    // A regular file where the xml folder should be: nothing can be created below it.
    dir.write(QStringLiteral("xml"), QByteArrayLiteral("not a folder"));
    EXPECT_FALSE(store({QStringLiteral("A")}));
    EXPECT_EQ(dir.read(QStringLiteral("xml")), QByteArrayLiteral("not a folder"));
}

TEST_F(MessageStoreTest, FailedWriteLeavesTheOldStoreWhole)
{
    ASSERT_TRUE(store({QStringLiteral("X")}));
    const QByteArray before = dir.read(kStore);
    bool stored = true;
    {
        // Nothing may print while the cap holds: test output can go to a file too.
        const FileSizeCap cap(rlim_t(before.size()));
        stored = store({QStringLiteral("A much longer message than the cap allows")});
    }
    EXPECT_FALSE(stored);
    EXPECT_EQ(dir.read(kStore), before);
    // Nor is a half-written temporary file left beside it.
    EXPECT_EQ(QDir(dir.file(QStringLiteral("xml"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("messages.xml")});
}
