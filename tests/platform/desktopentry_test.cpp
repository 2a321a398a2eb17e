// The start-at-logon entry as desktops read it: checked by desktop-file-validate and launched
// through GLib's own desktop-entry parser, which must hand the program back its arguments.
#include "core/clientserviceinfo.h"
#include "platform/linux/linuxplatform.h"
#include "tests/support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

// Launches a desktop entry the way a desktop does and waits for the program to end.
const char *const kLaunchThroughGio = R"(
import os, sys
import gi
gi.require_version('Gio', '2.0')
from gi.repository import Gio, GLib
info = Gio.DesktopAppInfo.new_from_filename(sys.argv[1])
if info is None:
    sys.exit('GLib refused the entry')
pids = []
info.launch_uris_as_manager([], None, GLib.SpawnFlags.DO_NOT_REAP_CHILD, None, None,
                            lambda *args: pids.append(args[1]), None)
os.waitpid(pids[0], 0)
)";

struct Finished
{
    int status;
    QByteArray output;
};

Finished run(const QString &program, const QStringList &arguments,
             const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(30000))
        return {-1, "did not finish"};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAll()};
}

} // namespace

TEST(DesktopEntry, GLibLaunchesTheWrittenEntryWithTheArgumentsAsGiven)
{
    TestAppDir home;
    // Blanks, shell characters, both quotes, a backslash and Chinese; "%" only after the program,
    // since GLib looks the program up before it undoes the "%%".
    const QString programDir =
        home.file(QStringLiteral("my 应用 \"q\" it's $HOME `x` a\\b #1 (~) a=b"));
    ASSERT_TRUE(QDir().mkpath(programDir));
    TClientServiceInfo info;
    info.AutoRun = true;
    info.ExecutablePath = programDir + QStringLiteral("/marbello");
    info.LaunchArguments = {QStringLiteral("--app-dir"),
                            programDir + QStringLiteral("/数据 100% %u"),
                            QStringLiteral("--service"), QStringLiteral("127.0.0.1:8080")};
    // The "client" writes its argv, each word ended by a NUL.
    QFile program(info.ExecutablePath);
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.write("#!/bin/sh\nfor word in \"$0\" \"$@\"; do printf '%s\\0' \"$word\"; done "
                  ">\"$RECORDED_ARGUMENTS\"\n");
    program.close();
    ASSERT_TRUE(program.setPermissions(QFile::ReadOwner | QFile::ExeOwner));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    environment.insert(QStringLiteral("RECORDED_ARGUMENTS"), home.file(QStringLiteral("argv")));
    const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
    LinuxPlatform().UpdateAutoRunEntry(info);
    qputenv("XDG_CONFIG_HOME", configHome);
    const QString entry = home.file(QStringLiteral("autostart/marbello.desktop"));

    const Finished validation = run(QStringLiteral("desktop-file-validate"), {entry});
    EXPECT_EQ(validation.status, 0) << validation.output.data();
    EXPECT_EQ(validation.output, QByteArray());

    const Finished launch =
        run(QStringLiteral("/usr/bin/python3"),
            {QStringLiteral("-c"), QString::fromUtf8(kLaunchThroughGio), entry}, environment);
    ASSERT_EQ(launch.status, 0) << launch.output.data();
    QStringList launched;
    for (const QByteArray &word : home.read(QStringLiteral("argv")).split('\0'))
        launched << QFile::decodeName(word);
    launched.removeLast(); // after the last NUL
    EXPECT_EQ(launched, QStringList(info.ExecutablePath) + info.LaunchArguments)
        << home.read(QStringLiteral("autostart/marbello.desktop")).data();
}

TEST(DesktopEntry, TheInstalledLauncherIsValid)
{
    const Finished validation =
        run(QStringLiteral("desktop-file-validate"), {QStringLiteral(MARBELLO_LAUNCHER)});
    EXPECT_EQ(validation.status, 0) << validation.output.data();
    EXPECT_EQ(validation.output, QByteArray());
}
