#pragma once

#include "core/cp936.h"
#include "core/intervaltimer.h"
#include "core/loginfo.h"
#include "core/observerlist.h"
#include "core/storetrouble.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// Session state values; 2 is never used.
enum : quint8 { StateOffline = 0, StateOnline = 1, StateConnectionLost = 3 };

// The session state: a plain value to every reader and writer, which also tells its observers
// (the tray icon, the headless runner's report) of every change.
class SessionState
{
public:
    SessionState &operator=(quint8 value)
    {
        const quint8 previous = m_value;
        m_value = value;
        if (previous != value)
            m_observers.notify(value);
        return *this;
    }
    operator quint8() const { return m_value; }
    int observe(ObserverList<quint8>::Handler handler)
    {
        return m_observers.add(std::move(handler));
    }
    void unobserve(int id) { m_observers.remove(id); }

private:
    quint8 m_value = StateOffline;
    ObserverList<quint8> m_observers;
};

// The flag "messages have arrived": set by every store of delivered messages (each one tells the
// observers, even when the flag was already set) and cleared by whoever shows them.
class MessagesFlag
{
public:
    MessagesFlag &operator=(bool value)
    {
        m_value = value;
        if (value)
            m_observers.notify(true);
        return *this;
    }
    operator bool() const { return m_value; }
    int observe(ObserverList<bool>::Handler handler) { return m_observers.add(std::move(handler)); }
    void unobserve(int id) { m_observers.remove(id); }

private:
    bool m_value = false;
    ObserverList<bool> m_observers;
};

// The one client state: settings mirrored from config.xml, the current session, paths, the
// system's proxy and browser, the activity log and the keep-alive timer. Every part of the client
// reads and writes these fields directly.
class TClientServiceInfo
{
public:
    static constexpr double kClientVersion = 0.994;

    QString ProxyHost;
    qint32 ProxyPort = 0;
    QByteArray ProxyCredentials; // "user:password" when the proxy wants them
    QStringList ProxyBypass;     // hosts reached without the proxy, as no_proxy lists them
    QString BrowserCommand;
    QString AppPath; // ends in a directory separator
    double ClientVersion = 0;
    FixedText<20> LastLogid;
    FixedText<20> LastPassword;
    bool AutoLogin = false;
    bool AutoRun = false;
    bool OpenWebAfterLogin = false;
    SessionState State;
    // How many logins run: a keep-alive's new login may run inside a dialog's that waits.
    int LoggingIn = 0;
    bool LoggingOff = false;
    FixedText<20> SessionLogid;
    qint32 Level = 0;
    FixedText<20> SessionPassword;
    qint32 VerfyNumber = 0;
    qint32 ClientPromptOnlineSeconds = 0;
    std::unique_ptr<TLogInfo> Log;
    bool WebISOpen = false;
    bool WebISDynamic = false;
    QString WebStaticURL;
    QString NotLoginURL;
    qint32 WebPort = 0;
    FixedText<50> WebTitle;
    FixedText<50> WebIntro;
    FixedText<50> WebKeyword;
    FixedText<20> WebAreas;
    QString UserDomain;
    bool IfLog = false;
    QByteArray PasswordKey;
    qint32 InetTimeOut = 0;
    MessagesFlag HasMessages;
    std::unique_ptr<IntervalTimer> KeepAliveTimer;
    bool TimerBusy = false;
    // Delivered messages that could not be stored.
    StoreTrouble StoreFailures;

    // Not part of the stored settings: where the service is ("host" or "host:port"), and the
    // executable whose start-at-logon entry the client keeps, with the arguments that entry
    // passes (the directory and service the client was started with), so that it starts the same
    // client.
    QString ServiceHost;
    QString ExecutablePath;
    QStringList LaunchArguments;
    // Bound by the platform layer; SaveConfig calls it after every rewrite of config.xml.
    std::function<void(const TClientServiceInfo &)> AutoRunUpdater;

    // Where read-only shipped files (icons, xml/webAreas.xml, RegisterAgree.txt, ...) are found
    // when they are missing from AppPath: the installed data directory. May be empty.
    QString ShippedDataDir;

    QString dataPath(const QString &relative) const { return AppPath + relative; }
    // A read-only shipped file: AppPath's copy when there is one, else the installed one, else
    // the AppPath name (which then does not exist).
    QString shippedPath(const QString &relative) const;
    QString configPath() const { return dataPath(QStringLiteral("config.xml")); }
    QString messagesPath() const { return dataPath(QStringLiteral("xml/messages.xml")); }
    // "http://" and the service host followed by `path`.
    QString serviceUrl(const QString &path) const;
};

// Paths, version, the keep-alive timer (no tick handler yet: the protocol layer binds it), the
// log writer and the initial state. `appDir` plays the role of the executable's directory; the
// password key always comes from the executable's real path.
void InitializeClientState(TClientServiceInfo &info, const QString &appDir,
                           const QString &executablePath);

// ClientPromptOnlineSeconds x 1000 ms as a timer interval: a negative period never ticks, and a
// huge one waits as long as a timer can instead of overflowing.
int KeepAliveIntervalMs(const TClientServiceInfo &info);
// Interval KeepAliveIntervalMs, enabled.
void StartKeepAliveTimer(TClientServiceInfo &info);
void StopKeepAliveTimer(TClientServiceInfo &info);
