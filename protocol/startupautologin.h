#pragma once

#include <QObject>
#include <QTimer>

class TClientServiceInfo;

// The automatic login at start. When it finds no answer, or one it cannot read (typically a
// network that comes up after the client, or a proxy's error page meanwhile), it tries again with
// LastLogid/LastPassword after a delay that doubles up to a cap, until the service itself answers
// (accepted or refused), or the user logs in or off by hand (cancel()).
class StartupAutoLogin : public QObject
{
    Q_OBJECT
public:
    static constexpr int kFirstRetryMs = 5000;
    static constexpr int kMaxRetryMs = 5 * 60 * 1000;

    explicit StartupAutoLogin(TClientServiceInfo &info, int firstRetryMs = kFirstRetryMs,
                              int maxRetryMs = kMaxRetryMs, QObject *parent = nullptr);

    // Logs in now; retries follow as long as there is no answer from the service.
    void start();
    void cancel();

    bool isRetrying() const { return m_retry.isActive(); }
    int nextRetryMs() const { return m_nextRetryMs; }

Q_SIGNALS:
    // After every login attempt, with its message.
    void attempted(const QString &message);

private:
    void attempt();

    TClientServiceInfo &m_info;
    QTimer m_retry;
    int m_nextRetryMs;
    const int m_maxRetryMs;
};
