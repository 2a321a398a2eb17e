// A client killed outright at any moment leaves every file it was writing whole: the old one or
// the new one, well-formed, with nothing stored lost.
#include "core/clientserviceinfo.h"
#include "core/config.h"
#include "core/xmldocument.h"
#include "tests/support/testfiles.h"

#include <QDir>
#include <QProcess>
#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <random>
#include <thread>

namespace {

constexpr int kKills = 200;

// The round named by config.xml, or -1 when the file is missing, ill-formed or mixes two rounds.
int configRound(const TestAppDir &dir)
{
    if (!dir.exists(QStringLiteral("config.xml")))
        return 0;
    if (!XmlDocument::fromFile(dir.file(QStringLiteral("config.xml"))))
        return -1;
    TClientServiceInfo info;
    InitializeClientState(info, dir.path(), QStringLiteral(MARBELLO_BUSY_WRITER));
    LoadConfig(info);
    const QString title = info.WebTitle.text().section(QLatin1Char(' '), 1);
    if (info.LastPassword.text() != QStringLiteral("secret") ||
        info.WebIntro.text().section(QLatin1Char(' '), 1) != title)
        return -1;
    return title.toInt();
}

// The number of stored messages, or -1 when the store is ill-formed or they are not exactly
// count, count - 1, ..., 1.
int storedMessages(const TestAppDir &dir)
{
    if (!dir.exists(QStringLiteral("xml/messages.xml")))
        return 0;
    const std::optional<XmlDocument> store =
        XmlDocument::fromFile(dir.file(QStringLiteral("xml/messages.xml")));
    if (!store)
        return -1;
    const int count = store->root().childCount();
    int expected = count;
    for (XmlElement m = store->root().child(0); !m.isNull(); m = m.nextSibling(), --expected) {
        if (m.attribute(QStringLiteral("Comment")) != QString::number(expected))
            return -1;
    }
    return count;
}

} // namespace

TEST(KillSafety, AKilledClientLeavesEveryFileOldOrNewAndWellFormed)
{
    TestAppDir dir;
    const unsigned seed = std::random_device()();
    std::mt19937 random(seed);
    // From an instant kill up to a few rounds of writing.
    std::uniform_int_distribution<int> delayUs(0, 40000);
    int round = 0;
    int messages = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        QProcess writer;
        writer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        writer.start(QStringLiteral(MARBELLO_BUSY_WRITER),
                     {dir.path(), QString::number(round + 1), QString::number(messages + 1)});
        // From the first write on, so that a slow start (a loaded machine, a sanitizer) does not
        // move every kill before it.
        ASSERT_TRUE(writer.waitForReadyRead(30000));
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
        ::kill(pid_t(writer.processId()), SIGKILL);
        ASSERT_TRUE(writer.waitForFinished());
        ASSERT_EQ(writer.exitStatus(), QProcess::CrashExit) << "the writer stopped by itself";

        const int nowRound = configRound(dir);
        const int nowMessages = storedMessages(dir);
        ASSERT_GE(nowRound, round) << "kill " << kill << ", seed " << seed;
        ASSERT_GE(nowMessages, messages) << "kill " << kill << ", seed " << seed;
        ASSERT_TRUE(QDir(dir.file(QStringLiteral("xml")))
                        .entryList({QStringLiteral("messages.xml.broken-*")})
                        .isEmpty());
        round = nowRound;
        messages = nowMessages;
    }
    // The kills fell at many moments, not only before the first write.
    EXPECT_GT(round, kKills / 4);
    EXPECT_GT(messages, kKills / 4);
}
