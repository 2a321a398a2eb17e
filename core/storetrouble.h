#pragma once

#include "core/observerlist.h"
#include "core/retrydelay.h"

#include <QString>

// Deliveries that could not be stored, one after another. While they last the keep-alives back
// off, and the observers hear of the first one with its cause, so the user is told once rather
// than at every attempt.
class StoreTrouble
{
public:
    // A delivery could not be stored. True when this begins a run.
    bool fail(const QString &cause)
    {
        m_sessionHoldsUnstored = true;
        if (m_failing)
            return false;
        m_failing = true;
        m_observers.notify(cause);
        return true;
    }
    // A delivery was stored: the run is over.
    void recover()
    {
        m_failing = false;
        retry.reset();
    }
    // An accepted login replaced the session, and with it whatever the service had delivered in
    // it unacknowledged: that comes again.
    void sessionReplaced() { m_sessionHoldsUnstored = false; }
    bool isFailing() const { return m_failing; }
    // The session's next keep-alive would acknowledge messages that could not be stored: a new
    // login must come first.
    bool sessionHoldsUnstored() const { return m_sessionHoldsUnstored; }

    int observe(ObserverList<QString>::Handler handler)
    {
        return m_observers.add(std::move(handler));
    }
    void unobserve(int id) { m_observers.remove(id); }

    // The wait before the next delivery is tried, beyond the keep-alive period.
    RetryDelay retry;

private:
    bool m_failing = false;
    bool m_sessionHoldsUnstored = false;
    ObserverList<QString> m_observers;
};
