#include "core/intervaltimer.h"

IntervalTimer::IntervalTimer(QObject *parent) : QObject(parent)
{
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_onTick)
            m_onTick();
    });
}

void IntervalTimer::setOnTick(std::function<void()> handler)
{
    m_onTick = std::move(handler);
}

void IntervalTimer::setInterval(int milliseconds)
{
    if (milliseconds == m_interval)
        return;
    m_interval = milliseconds;
    restart();
}

void IntervalTimer::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    restart();
}

void IntervalTimer::restart()
{
    if (m_enabled && m_interval > 0)
        m_timer.start(m_interval);
    else
        m_timer.stop();
}
