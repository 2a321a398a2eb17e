#pragma once

#include "app/trayicon.h"
#include "app/traywindow.h"
#include "platform/platform.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

// The icon of a desktop that has a notification area, for runs under the offscreen platform,
// which has none.
class AvailableTrayIcon : public TrayIcon
{
public:
    bool isAvailable() const override { return true; }
};

// The tray window in `appDir` against `serviceHost`, its shipped files those of the build.
inline std::unique_ptr<TfrmClientServiceMain> CreateTrayWindow(const QString &appDir,
                                                               const QString &serviceHost)
{
    return std::make_unique<TfrmClientServiceMain>(
        Platform::current(),
        ClientEnvironment{appDir, QApplication::applicationFilePath(), serviceHost,
                          QStringLiteral(MARBELLO_BUILT_APP_DIR)},
        std::make_unique<AvailableTrayIcon>());
}

// Keeps a test's tray windows away from the user's session: their own instance lock and
// autostart folder, and no browser to start.
inline void IsolateFromTheSession(const QTemporaryDir &runtime)
{
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(runtime.path()));
    qputenv("PATH", "/nonexistent");
}
