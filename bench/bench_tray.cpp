// The real tray client on a real X server with a tray host (run through
// tests/e2e/with-tray-host.sh): start to the icon in the tray, then, online and idle with a
// 120 s keep-alive period, its CPU time and wake-ups over 30 s, and its memory beside that of a
// bare tray program (bare_tray.cpp) idle on the same display.
#include "core/clientserviceinfo.h"
#include "core/config.h"
#include "core/delay.h"
#include "tests/support/trayarea.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMap>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <algorithm>
#include <csignal>
#include <cstdio>

namespace {

constexpr int kSplashMs = 1100;
constexpr int kIdleSeconds = 30;

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// Per thread: CPU nanoseconds and context switches (each a wake-up or a preemption).
struct ThreadActivity
{
    qint64 cpuNs = 0;
    qint64 switches = 0;
};

QMap<QString, ThreadActivity> activityOf(qint64 pid)
{
    QMap<QString, ThreadActivity> threads;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        ThreadActivity &activity = threads[task];
        QFile schedstat(tasks.filePath(task + QStringLiteral("/schedstat")));
        if (schedstat.open(QIODevice::ReadOnly))
            activity.cpuNs = schedstat.readAll().split(' ').value(0).toLongLong();
        QFile status(tasks.filePath(task + QStringLiteral("/status")));
        if (!status.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.contains("ctxt_switches:"))
                activity.switches += line.mid(line.indexOf(':') + 1).trimmed().toLongLong();
        }
    }
    return threads;
}

// What the threads alive at both ends did in between; threads that came or went are counted.
void printActivity(const QMap<QString, ThreadActivity> &before,
                   const QMap<QString, ThreadActivity> &after)
{
    ThreadActivity total;
    int changed = 0;
    for (auto thread = after.begin(); thread != after.end(); ++thread) {
        if (!before.contains(thread.key())) {
            ++changed;
            continue;
        }
        total.cpuNs += thread->cpuNs - before[thread.key()].cpuNs;
        total.switches += thread->switches - before[thread.key()].switches;
    }
    for (auto thread = before.begin(); thread != before.end(); ++thread)
        changed += after.contains(thread.key()) ? 0 : 1;
    std::printf("idle online over %d s: %.2f ms CPU, %lld context switches in %lld threads "
                "(%d threads came or went)\n",
                kIdleSeconds, double(total.cpuNs) / 1e6, total.switches, qint64(after.size()),
                changed);
}

struct Memory
{
    double residentKiB = 0;
    double anonymousKiB = 0;
    double filesKiB = 0;
    double proportionalKiB = 0;
};

// Fields of a /proc file of "Name:   value kB" lines.
QMap<QByteArray, double> kibFields(const QString &path)
{
    QMap<QByteArray, double> kib;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return kib;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            kib[line.left(colon)] = line.mid(colon + 1).trimmed().split(' ').value(0).toDouble();
    }
    return kib;
}

Memory memoryOf(qint64 pid)
{
    const QMap<QByteArray, double> status = kibFields(QStringLiteral("/proc/%1/status").arg(pid));
    // Shared libraries count whole in the resident size; the proportional size shares them out.
    const QMap<QByteArray, double> rollup =
        kibFields(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    return {status["VmRSS"], status["RssAnon"], status["RssFile"], rollup["Pss"]};
}

void printMemory(const char *who, const Memory &memory)
{
    std::printf("%-10s resident %.1f MB (anonymous %.1f MB, files %.1f MB), proportional %.1f MB\n",
                who, memory.residentKiB / 1024, memory.anonymousKiB / 1024, memory.filesKiB / 1024,
                memory.proportionalKiB / 1024);
}

// Resident KiB by mapped file (anonymous memory as "[anonymous]").
QMap<QString, double> residentByMapping(qint64 pid)
{
    QMap<QString, double> byName;
    QFile smaps(QStringLiteral("/proc/%1/smaps").arg(pid));
    if (!smaps.open(QIODevice::ReadOnly))
        return byName;
    QString current;
    for (const QByteArray &line : smaps.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() >= 5 && fields[0].contains('-') && !line.endsWith("kB")) {
            current = fields.size() >= 6 ? QString::fromLocal8Bit(fields.mid(5).join(' '))
                                         : QStringLiteral("[anonymous]");
        } else if (line.startsWith("Rss:")) {
            byName[current] += line.mid(4).trimmed().split(' ').value(0).toDouble();
        }
    }
    return byName;
}

// Where the client's resident memory goes beyond the bare tray's, the largest first: what to
// look at before trying to make it smaller.
void printLargestDifferences(qint64 client, qint64 bare, int count)
{
    const QMap<QString, double> mine = residentByMapping(client);
    const QMap<QString, double> floor = residentByMapping(bare);
    QList<std::tuple<double, QString, double>> sorted;
    for (auto mapping = mine.begin(); mapping != mine.end(); ++mapping)
        sorted.append(
            {mapping.value() - floor.value(mapping.key()), mapping.key(), mapping.value()});
    std::sort(sorted.rbegin(), sorted.rend());
    std::printf("client's resident memory beyond the bare tray's, by mapping:\n");
    for (const auto &[more, name, kib] : sorted.mid(0, count))
        std::printf("  %+7.0f KiB (of %5.0f)  %s\n", more, kib, qUtf8Printable(name));
}

bool waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        Delay(10);
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    const QString host = QStringLiteral("127.0.0.1:%1").arg(freePort());
    QTemporaryDir work;
    const QString db = work.filePath(QStringLiteral("service.db"));
    QProcess::execute(QStringLiteral(MARBELLO_SERVICE_EXECUTABLE),
                      {QStringLiteral("add-user"), QStringLiteral("bench"),
                       QStringLiteral("bench123"), QStringLiteral("--db"), db});
    QProcess service;
    service.start(QStringLiteral(MARBELLO_SERVICE_EXECUTABLE),
                  {QStringLiteral("--listen"), host, QStringLiteral("--db"), db,
                   QStringLiteral("--period"), QStringLiteral("120")});
    service.waitForStarted();
    Delay(500);

    const QString appDir = work.filePath(QStringLiteral("app"));
    QDir().mkpath(appDir);
    {
        TClientServiceInfo info;
        InitializeClientState(info, appDir, QStringLiteral(MARBELLO_EXECUTABLE));
        info.LastLogid = QStringLiteral("bench");
        info.LastPassword = QStringLiteral("bench123");
        info.AutoLogin = true;
        info.AutoRun = false;
        SaveConfig(info);
    }
    QProcess client;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), work.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), work.path());
    client.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    client.start(QStringLiteral(MARBELLO_EXECUTABLE),
                 {QStringLiteral("--app-dir"), appDir, QStringLiteral("--service"), host});
    if (!waitFor([] { return ReadTrayIconPixels().online(); }, 20000)) {
        std::fputs("the icon never turned online in the tray\n", stderr);
        return 1;
    }
    std::printf("start to the online icon in the tray: %lld ms (%lld ms after the splash)\n",
                clock.elapsed(), clock.elapsed() - kSplashMs);

    // The bare tray program beside it, on the same display and tray host.
    QProcess bare;
    bare.start(QStringLiteral(BARE_TRAY_EXECUTABLE), {});
    if (!bare.waitForReadyRead(10000)) {
        std::fputs("the bare tray program did not start\n", stderr);
        return 1;
    }

    const qint64 pid = client.processId();
    Delay(2000);
    const QMap<QString, ThreadActivity> before = activityOf(pid);
    Delay(kIdleSeconds * 1000);
    printActivity(before, activityOf(pid));
    const Memory mine = memoryOf(pid);
    const Memory floor = memoryOf(bare.processId());
    printMemory("client", mine);
    printMemory("bare tray", floor);
    std::printf("client / bare tray: resident %.2f (target at most 1.30), anonymous %.2f\n",
                mine.residentKiB / floor.residentKiB, mine.anonymousKiB / floor.anonymousKiB);
    printLargestDifferences(pid, bare.processId(), 14);

    bare.terminate();
    bare.waitForFinished(5000);
    ::kill(pid_t(pid), SIGTERM);
    client.waitForFinished(10000);
    service.terminate();
    service.waitForFinished(5000);
    return 0;
}
