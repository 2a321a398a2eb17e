#pragma once

#include "core/retrydelay.h"

#include <QObject>
#include <QTimer>

class TClientServiceInfo;

// The automatic login at start. When it finds no answer, or one it cannot read (typically a
// network that comes up after the client, or a proxy's error page meanwhile), it tries again with
// LastLogid/LastPassword after a delay that doubles up to a cap, until the service itself answers
// (accepted or refused), or the user logs in or off by hand (cancel()). Each retry looks at the
// settings when its time comes: with AutoLogin unticked, or no stored id or password, it ends.
class StartupAutoLogin : public QObject
{
    Q_OBJECT
public:
    static constexpr int kFirstRetryMs = RetryDelay::kFirstMs;
    static constexpr int kMaxRetryMs = RetryDelay::kMaxMs;

    explicit StartupAutoLogin(TClientServiceInfo &info, int firstRetryMs = kFirstRetryMs,
                              int maxRetryMs = kMaxRetryMs, QObject *parent = nullptr);

    // Logs in now; retries follow as long as there is no answer from the service.
    void start();
    void cancel();

    bool isRetrying() const { return m_retry.isActive(); }

Q_SIGNALS:
    // After every login attempt, with its message.
    void attempted(const QString &message);

private:
    void attempt();

    TClientServiceInfo &m_info;
    QTimer m_retry;
    RetryDelay m_delay;
};
