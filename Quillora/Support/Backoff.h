// Growing delays between attempts: the first delay, doubled after every
// attempt, never above the cap. Used wherever something that failed is tried
// again by itself (a catalogue download, a dropped stream), so that a server
// that is down is not hammered and one that comes back is soon noticed.
#pragma once

#include <algorithm>
#include <chrono>

class Backoff {
public:
    using Duration = std::chrono::milliseconds;

    constexpr Backoff(Duration first, Duration cap)
        : m_first(first)
        , m_cap(std::max(first, cap))
        , m_next(first)
    {
    }

    // The delay before the next attempt; the one after it is twice as long.
    Duration next()
    {
        const Duration delay = m_next;
        m_next = std::min(m_cap, m_next * 2);
        ++m_attempts;
        return delay;
    }

    // The delay next() will give, without using it up.
    Duration peek() const { return m_next; }
    int attempts() const { return m_attempts; }

    // Back to the first delay, as after a success.
    void reset()
    {
        m_next = m_first;
        m_attempts = 0;
    }

private:
    Duration m_first;
    Duration m_cap;
    Duration m_next;
    int m_attempts = 0;
};
