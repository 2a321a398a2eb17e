// CPU time of the real headless client against the real reference service on loopback: once
// idle between keep-alives (60 s period, 30 s online), once keeping alive every second.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>

namespace {

QString g_client;
QString g_service;

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// Nanoseconds the process has spent on a CPU (first field of schedstat).
qint64 cpuNanoseconds(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/schedstat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return file.readAll().split(' ').value(0).toLongLong();
}

bool waitForLine(QProcess &process, const QByteArray &line, int timeoutMs)
{
    QByteArray seen;
    while (!seen.contains(line)) {
        if (!process.waitForReadyRead(timeoutMs))
            return false;
        seen += process.readAllStandardOutput();
    }
    return true;
}

struct Run
{
    qint64 cpuNs = 0;
    int keepAlives = 0;
};

// Logs a client in against a fresh service with `period`, then measures `seconds` of its life.
Run measure(int period, int seconds)
{
    QTemporaryDir dir;
    const QString db = dir.filePath(QStringLiteral("service.db"));
    const quint16 port = freePort();
    const QString host = QStringLiteral("127.0.0.1:%1").arg(port);
    QProcess addUser;
    addUser.start(g_service, {QStringLiteral("add-user"), QStringLiteral("bench"),
                              QStringLiteral("secret"), QStringLiteral("--db"), db});
    addUser.waitForFinished();
    QProcess service;
    service.start(g_service, {QStringLiteral("--listen"), host, QStringLiteral("--db"), db,
                              QStringLiteral("--period"), QString::number(period)});
    service.waitForStarted();
    QThread::msleep(300);

    QProcess client;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path());
    client.setProcessEnvironment(environment);
    QDir(dir.path()).mkpath(QStringLiteral("app/xml"));
    client.start(g_client, {QStringLiteral("--headless"), QStringLiteral("--app-dir"),
                            dir.filePath(QStringLiteral("app")), QStringLiteral("--service"), host,
                            QStringLiteral("--logid"), QStringLiteral("bench"),
                            QStringLiteral("--password"), QStringLiteral("secret")});
    Run run;
    if (!waitForLine(client, "state: online", 10000)) {
        std::fprintf(stderr, "client did not go online\n");
        return run;
    }
    const qint64 before = cpuNanoseconds(client.processId());
    QThread::sleep(seconds);
    run.cpuNs = cpuNanoseconds(client.processId()) - before;
    run.keepAlives = period > 0 ? seconds / period : 0;
    client.terminate();
    client.waitForFinished();
    service.terminate();
    service.waitForFinished();
    return run;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    g_client = QStringLiteral(MARBELLO_EXECUTABLE);
    g_service = QStringLiteral(MARBELLO_SERVICE_EXECUTABLE);

    const Run idle = measure(60, 30);
    std::printf("client idle: %.3f ms CPU over 30 s online with a 60 s period (target < 10 ms)\n",
                idle.cpuNs / 1e6);
    const Run busy = measure(1, 10);
    if (busy.keepAlives > 0)
        std::printf("client keep-alive: %.1f us CPU per exchange (%d exchanges at 1 s)\n",
                    busy.cpuNs / 1e3 / busy.keepAlives, busy.keepAlives);
    return 0;
}
