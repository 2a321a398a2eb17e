// StoreMessages against stores of 1,000, 10,000 and 100,000 messages, on disk and in memory: the
// time of a delivery and the memory it takes beyond what the process already held. Each size runs
// in a process of its own (this program started again with the size), so that one size's peak
// cannot hide another's.
#include "core/clientserviceinfo.h"
#include "core/cp936.h"
#include "core/messagestore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr int kSizes[] = {1000, 10000, 100000};
constexpr int kCalls = 30;

QString message(int i)
{
    return QStringLiteral("<Message Logid=\"ruruv\" FromLogid=\"admin\" FromIP=\"10.0.0.%1\" "
                          "PostDateTime=\"2006-12-6 23:28:12\" "
                          "Comment=\"第%2条消息：明天上午十点开会，请准时参加。\"/>")
        .arg(i % 256)
        .arg(i);
}

// A store as the client writes it, written directly: building it through deliveries would take
// the memory under test.
void writeStore(const QString &path, int messages)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qUtf8Printable(path));
    file.write("<?xml version=\"1.0\" encoding=\"gb2312\"?>\n<Messages>\n");
    for (int i = messages - 1; i >= 0; --i)
        file.write(cp936::encode(message(i)));
    file.write("</Messages>\n");
}

qint64 peakKiB()
{
    rusage usage = {};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double msSince(const QElapsedTimer &clock)
{
    return double(clock.nsecsElapsed()) / 1e6;
}

int runSize(int stored, const QString &base)
{
    QTemporaryDir dir(base + QStringLiteral("/bench_store-XXXXXX"));
    TClientServiceInfo info;
    InitializeClientState(info, dir.path(), QCoreApplication::applicationFilePath());
    QDir().mkpath(dir.filePath(QStringLiteral("xml")));
    writeStore(info.messagesPath(), stored);
    const qint64 bytes = QFileInfo(info.messagesPath()).size();
    const QString delivery =
        QStringLiteral("<Messages><m Logid=\"ruruv\" FromLogid=\"admin\" "
                       "FromIP=\"10.0.0.1\" PostDateTime=\"2026-12-8 9:00:00\" "
                       "Comment=\"新消息\"/></Messages>");
    const qint64 peakBefore = peakKiB();

    // The first delivery of a run finds a store it did not write, and reads it through once.
    QElapsedTimer clock;
    clock.start();
    bool storedAll = StoreMessages(info, delivery).stored;
    const double first = msSince(clock);

    clock.start();
    for (int i = 0; i < kCalls; ++i)
        storedAll = StoreMessages(info, delivery) && storedAll;
    const double perCall = msSince(clock) / kCalls;

    std::printf("store: %6d messages (%6lld KiB) in %-9s %7.2f ms per delivery, first %7.2f ms, "
                "extra peak %5lld KiB%s\n",
                stored, static_cast<long long>(bytes / 1024), qPrintable(base + u':'), perCall,
                first, static_cast<long long>(peakKiB() - peakBefore),
                storedAll ? "" : " (FAILED)");
    return storedAll ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    if (argc == 3)
        return runSize(QString::fromLatin1(argv[1]).toInt(), QString::fromLocal8Bit(argv[2]));

    // On disk, a delivery pays an fsync of the whole store; in memory it pays only the copy.
    QStringList bases = {QDir::tempPath()};
    if (QFileInfo(QStringLiteral("/dev/shm")).isWritable())
        bases << QStringLiteral("/dev/shm");
    int status = 0;
    for (const QString &base : bases) {
        for (const int stored : kSizes) {
            QProcess run;
            run.setProcessChannelMode(QProcess::ForwardedChannels);
            run.start(QCoreApplication::applicationFilePath(), {QString::number(stored), base});
            run.waitForFinished(-1);
            status |= run.exitCode();
        }
    }
    std::printf("store: the first delivery of a run reads the store through once. Target at "
                "100,000: under 30 ms plus the fsync, under 5120 KiB extra peak\n");
    return status;
}
