#pragma once

#include <chrono>

namespace ui {

// Tells a long job when to yield to the window system: once per interval, however many
// rows it handles in between. Measured on a steady clock (pacing, not the program's time).
class YieldPacer {
public:
    using Clock = std::chrono::steady_clock;

    explicit YieldPacer(std::chrono::milliseconds interval) : m_interval(interval), m_next(Clock::now() + interval) {}

    // True when the interval has passed; the next interval starts now.
    bool due()
    {
        const Clock::time_point now = Clock::now();
        if (now < m_next)
            return false;
        m_next = now + m_interval;
        return true;
    }

private:
    Clock::duration m_interval;
    Clock::time_point m_next;
};

} // namespace ui
