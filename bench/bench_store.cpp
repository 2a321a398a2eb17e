// StoreMessages against a store that already holds 10,000 messages: every call loads, changes
// and rewrites the whole file, so this is the cost a keep-alive pays once the store has grown.
#include "core/clientserviceinfo.h"
#include "core/messagestore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int kStoredMessages = 10000;
constexpr int kSingleCalls = 50;
constexpr int kTenCalls = 20;

QString messageList(int first, int count)
{
    QStringList messages;
    for (int i = first; i < first + count; ++i)
        messages << QStringLiteral("<m Logid=\"ruruv\" FromLogid=\"admin\" FromIP=\"10.0.0.%1\" "
                                   "PostDateTime=\"2006-12-6 23:28:12\" "
                                   "Comment=\"第%2条消息：明天上午十点开会，请准时参加。\"/>")
                        .arg(i % 256)
                        .arg(i);
    return QStringLiteral("<Messages>") + messages.join(QString()) + QStringLiteral("</Messages>");
}

// Average milliseconds of `calls` calls delivering `perCall` messages each.
double timeCalls(TClientServiceInfo &info, int calls, int perCall, int &next)
{
    QElapsedTimer clock;
    qint64 total = 0;
    for (int i = 0; i < calls; ++i) {
        const QString list = messageList(next, perCall);
        next += perCall;
        clock.start();
        if (!StoreMessages(info, list))
            std::fprintf(stderr, "store failed\n");
        total += clock.nsecsElapsed();
    }
    return double(total) / calls / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTemporaryDir dir;
    TClientServiceInfo info;
    InitializeClientState(info, dir.path(), QCoreApplication::applicationFilePath());

    QElapsedTimer clock;
    clock.start();
    StoreMessages(info, messageList(0, kStoredMessages));
    const double build = double(clock.nsecsElapsed()) / 1e6;
    const qint64 bytes = QFileInfo(info.messagesPath()).size();

    int next = kStoredMessages;
    const double single = timeCalls(info, kSingleCalls, 1, next);
    const double ten = timeCalls(info, kTenCalls, 10, next);

    std::printf("store: %d messages (%lld KiB) built in %.1f ms\n", kStoredMessages,
                static_cast<long long>(bytes / 1024), build);
    std::printf("store: 1 message into 10,000: %.2f ms per call (avg of %d)\n", single,
                kSingleCalls);
    std::printf("store: 10 messages into 10,000: %.2f ms per call (avg of %d)\n", ten, kTenCalls);
    std::printf("target: under 50 ms per call\n");
    return 0;
}
