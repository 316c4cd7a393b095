#include "support/PacedClock.h"

namespace {
constexpr int kPaceMs = 200;
}

PacedClock::PacedClock(const QDateTime &start) : m_clock(start), m_start(start)
{
    m_pace.setInterval(kPaceMs);
    QObject::connect(&m_pace, &QTimer::timeout, [this] { advance(); });
}

void PacedClock::start()
{
    m_start = m_clock.current();
    m_elapsed.start();
    m_pace.start();
}

void PacedClock::advance()
{
    // A timer's job that yields to the event loop starts no second timer inside it; the
    // clock catches up once the job returns.
    if (m_advancing)
        return;
    m_advancing = true;
    m_clock.runUntil(m_start.addMSecs(m_elapsed.elapsed()));
    m_advancing = false;
}
