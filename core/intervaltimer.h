#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

// A timer with the rules the client relies on: a new interval, or enabling a disabled timer,
// starts a full new interval; the same interval, or enabling an enabled timer, changes nothing;
// an interval of 0 never fires (a bare QTimer would fire on every pass of the event loop).
class IntervalTimer : public QObject
{
    Q_OBJECT
public:
    explicit IntervalTimer(QObject *parent = nullptr);

    void setOnTick(std::function<void()> handler);

    int interval() const { return m_interval; }
    void setInterval(int milliseconds);

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    // True when a tick is actually scheduled (enabled with a non-zero interval).
    bool isTicking() const { return m_timer.isActive(); }

private:
    void restart();

    QTimer m_timer;
    std::function<void()> m_onTick;
    int m_interval = 0;
    bool m_enabled = false;
};
