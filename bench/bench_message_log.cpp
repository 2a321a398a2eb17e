// Opening the message log on a store of 100,000 messages (about 15 MB): reading the store, and
// the whole showing of the window (read, fill the grid, lay out and paint), offscreen.
#include "core/clientserviceinfo.h"
#include "core/cp936.h"
#include "core/storedmessages.h"
#include "ui/look/look.h"
#include "ui/messages/messagewindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int kMessages = 100000;
constexpr int kRuns = 5;

// The store as the client writes it, built directly for speed.
QByteArray storeBytes()
{
    QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"gb2312\"?>\n<Messages>\n");
    for (int i = kMessages; i > 0; --i)
        text +=
            QStringLiteral("  <Message Logid=\"ruruv\" FromLogid=\"admin\" FromIP=\"10.0.%1.%2\" "
                           "PostDateTime=\"2006-12-6 23:28:12\" Comment=\"第%3条消息：明天上午十点"
                           "在三楼会议室开会，请各位准时参加，不要迟到。\"/>\n")
                .arg(i / 256 % 256)
                .arg(i % 256)
                .arg(i);
    text += QStringLiteral("</Messages>\n");
    return cp936::encode(text);
}

// The median and the best of `kRuns` runs, in milliseconds.
std::pair<double, double> time(const std::function<void()> &run)
{
    std::vector<double> runs;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer clock;
        clock.start();
        run();
        runs.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(runs.begin(), runs.end());
    return {runs[runs.size() / 2], runs.front()};
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ApplyLook(application);
    QTemporaryDir dir;
    TClientServiceInfo info;
    InitializeClientState(info, dir.path(), QCoreApplication::applicationFilePath());
    QDir(dir.path()).mkpath(QStringLiteral("xml"));
    QFile store(info.messagesPath());
    if (!store.open(QIODevice::WriteOnly) || store.write(storeBytes()) < 0) {
        std::fprintf(stderr, "could not write the store\n");
        return 1;
    }
    store.close();
    const double megabytes = double(QFileInfo(info.messagesPath()).size()) / (1024 * 1024);

    std::size_t read = 0;
    const auto [readMedian, readBest] =
        time([&] { read = ReadStoredMessages(info.messagesPath()).messages.size(); });

    TfrmMessageShow window(info);
    const auto [showMedian, showBest] = time([&] {
        window.show();
        QApplication::processEvents();
        window.grab();
        window.hide();
    });

    std::printf("message log: store of %zu messages, %.1f MiB\n", read, megabytes);
    std::printf("message log: reading the store: %.0f ms median, %.0f ms best (of %d)\n",
                readMedian, readBest, kRuns);
    std::printf("message log: opening the window: %.0f ms median, %.0f ms best (of %d)\n",
                showMedian, showBest, kRuns);
    std::printf("target: opening under 1000 ms\n");
    return 0;
}
