#include "protocol/startupautologin.h"

#include "core/clientserviceinfo.h"
#include "protocol/login.h"
#include "protocol/serviceanswer.h"

StartupAutoLogin::StartupAutoLogin(TClientServiceInfo &info, int firstRetryMs, int maxRetryMs,
                                   QObject *parent)
    : QObject(parent), m_info(info), m_nextRetryMs(firstRetryMs), m_maxRetryMs(maxRetryMs)
{
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &StartupAutoLogin::attempt);
}

void StartupAutoLogin::start()
{
    attempt();
}

void StartupAutoLogin::cancel()
{
    m_retry.stop();
}

void StartupAutoLogin::attempt()
{
    bool newVersion = false;
    const QString message = Login(m_info, m_info.LastLogid, m_info.LastPassword, newVersion);
    // A proxy's error page while the service is down is as much "no answer yet" as silence.
    if (message == ServiceMessage::NoAnswer() || message == ServiceMessage::Unreadable()) {
        m_retry.start(m_nextRetryMs);
        m_nextRetryMs = qMin(m_nextRetryMs * 2, m_maxRetryMs);
    }
    Q_EMIT attempted(message);
}
