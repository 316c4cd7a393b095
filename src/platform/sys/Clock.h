#pragma once

#include <QDateTime>
#include <QTimeZone>

#include <functional>
#include <map>
#include <mutex>
#include <optional>

namespace sys {

// The present moment as the program sees it: Japan time (the exchange's), whatever the
// host's zone. Code never reads the wall clock directly, so tests and the day harness can
// put the program on any day and time.
QDateTime now();

// Fixes the present moment (tests); std::nullopt returns to the wall clock.
void setNow(std::optional<QDateTime> fixed);

// Japan's zone; a fixed UTC+9 when the host has no zone data (Japan keeps no summer time).
QTimeZone japanZone();

// Something that works in the background (a page load on a worker thread): while busy()
// is true the simulated clock waits for it before it moves on to the next timer.
using PendingWork = std::function<bool()>;
void addPendingWork(const void *owner, PendingWork busy);
void removePendingWork(const void *owner);
bool anyPendingWork();

// A clock that stands still until it is told to move. While one exists, now() reads it and
// the program's timers (ui::Timer) are scheduled on it instead of on the event loop, so a
// whole trading day runs in the time its work takes. One at a time.
class SimulatedClock {
public:
    explicit SimulatedClock(const QDateTime &start);
    ~SimulatedClock();
    SimulatedClock(const SimulatedClock &) = delete;
    SimulatedClock &operator=(const SimulatedClock &) = delete;

    // The clock in use, or nullptr when the program runs on the wall clock.
    static SimulatedClock *active();

    // Safe to read from any thread: the loopback fakes stamp their mails and pages with it.
    QDateTime current() const;

    // Calls `fire` when the clock reaches `due`; the returned number cancels it.
    int schedule(const QDateTime &due, std::function<void()> fire);
    void cancel(int id);

    // Moves to each due timer in time order, sets the time to its moment, fires it and lets
    // the event loop deliver what it caused, until `moment`, where the clock stays. Before
    // each timer it waits until no pending work is left (page loads in flight end before
    // the next tick) unless that is switched off.
    void runUntil(const QDateTime &moment);
    void setWaitForPendingWork(bool wait) { m_waitForPendingWork = wait; }
    // Stops runUntil after the timer it is firing (the program asked to end).
    void stop() { m_stopped = true; }

private:
    struct Entry {
        QDateTime due;
        std::function<void()> fire;
    };
    void settle();
    void moveTo(const QDateTime &moment);

    mutable std::mutex m_nowMutex;
    QDateTime m_now;
    std::multimap<std::pair<qint64, int>, Entry> m_queue; // (due ms, id): equal times fire in order
    int m_nextId = 1;
    bool m_waitForPendingWork = true;
    bool m_stopped = false;
};

} // namespace sys
