#include "protocol/startupautologin.h"

#include "core/clientserviceinfo.h"
#include "protocol/login.h"
#include "protocol/serviceanswer.h"

StartupAutoLogin::StartupAutoLogin(TClientServiceInfo &info, int firstRetryMs, int maxRetryMs,
                                   QObject *parent)
    : QObject(parent), m_info(info), m_delay(firstRetryMs, maxRetryMs)
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
    // The user may have unticked automatic login, or the stored login may be gone, since the
    // attempts began.
    if (!m_info.AutoLogin || m_info.LastLogid.isEmpty() || m_info.LastPassword.isEmpty())
        return;
    bool newVersion = false;
    const QString message = Login(m_info, m_info.LastLogid, m_info.LastPassword, newVersion);
    // A proxy's error page while the service is down is as much "no answer yet" as silence.
    if (message == ServiceMessage::NoAnswer() || message == ServiceMessage::Unreadable())
        m_retry.start(m_delay.take());
    Q_EMIT attempted(message);
}
