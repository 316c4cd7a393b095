#pragma once

#include "platform/sys/Clock.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QTimer>

// A clock of the demo's own: the program's time starts at a chosen moment and from there
// runs at the wall clock's pace, so its timers tick as they would on that day at that hour,
// whatever the hour the demo is started. The program runs on it as on the wall clock; only
// the moment differs.
class PacedClock {
public:
    explicit PacedClock(const QDateTime &start);
    PacedClock(const PacedClock &) = delete;
    PacedClock &operator=(const PacedClock &) = delete;

    // From now on the clock follows the wall clock's pace (until now it stands still).
    void start();
    QDateTime current() const { return m_clock.current(); }

private:
    void advance();

    sys::SimulatedClock m_clock;
    QDateTime m_start;
    QElapsedTimer m_elapsed;
    QTimer m_pace;
    bool m_advancing = false;
};
