#pragma once

#include <QtGlobal>

// The wait before the next of a run of retries: it doubles after each one, up to a cap, so that a
// lasting failure costs little while a short one is soon over.
class RetryDelay
{
public:
    static constexpr int kFirstMs = 5000;
    static constexpr int kMaxMs = 5 * 60 * 1000;

    explicit RetryDelay(int firstMs = kFirstMs, int maxMs = kMaxMs)
        : m_firstMs(firstMs), m_maxMs(maxMs), m_nextMs(firstMs)
    {}

    // The wait for this retry; the one after it waits twice as long.
    int take()
    {
        const int wait = m_nextMs;
        m_nextMs = int(qMin(qint64(m_nextMs) * 2, qint64(m_maxMs)));
        return wait;
    }
    int nextMs() const { return m_nextMs; }
    // The run of failures is over.
    void reset() { m_nextMs = m_firstMs; }

private:
    int m_firstMs;
    int m_maxMs;
    int m_nextMs;
};
