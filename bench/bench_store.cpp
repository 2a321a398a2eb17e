// StoreMessages against stores of 1,000, 10,000 and 100,000 messages: the time of a delivery and
// the memory it takes beyond what the process already held. Each size runs in a process of its
// own (this program started again with the size), so that one size's peak cannot hide another's.
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
#include <unistd.h>

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

// What the fsync of a fresh file of `bytes` bytes takes here: the share of a delivery that is
// the disk's, not the store's.
double fsyncMs(const QString &path, qint64 bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qUtf8Printable(path));
    const QByteArray block(1024 * 1024, 'x');
    for (qint64 left = bytes; left > 0; left -= block.size())
        file.write(block.constData(), qMin<qint64>(left, block.size()));
    file.flush();
    QElapsedTimer clock;
    clock.start();
    ::fsync(file.handle());
    const double ms = msSince(clock);
    file.remove();
    return ms;
}

int runSize(int stored)
{
    QTemporaryDir dir;
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
    bool storedAll = StoreMessages(info, delivery);
    const double first = msSince(clock);

    clock.start();
    for (int i = 0; i < kCalls; ++i)
        storedAll = StoreMessages(info, delivery) && storedAll;
    const double perCall = msSince(clock) / kCalls;

    const qint64 extraPeak = peakKiB() - peakBefore;
    const double fsync = fsyncMs(dir.filePath(QStringLiteral("fsync")), bytes);

    std::printf("store: %6d messages (%6lld KiB): %6.2f ms per delivery (%6.2f ms without the "
                "fsync of %6.2f ms), first %7.2f ms, extra peak %5lld KiB%s\n",
                stored, static_cast<long long>(bytes / 1024), perCall, perCall - fsync, fsync,
                first, static_cast<long long>(extraPeak), storedAll ? "" : " (FAILED)");
    return storedAll ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    if (argc == 2)
        return runSize(QString::fromLatin1(argv[1]).toInt());

    int status = 0;
    for (const int stored : kSizes) {
        QProcess run;
        run.setProcessChannelMode(QProcess::ForwardedChannels);
        run.start(QCoreApplication::applicationFilePath(), {QString::number(stored)});
        run.waitForFinished(-1);
        status |= run.exitCode();
    }
    std::printf("store: on the disk of the temporary directory; the first delivery of a run "
                "reads the store through once. Target at 100,000: under 30 ms plus the fsync, "
                "under 5120 KiB extra peak\n");
    return status;
}
