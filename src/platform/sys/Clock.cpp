#include "platform/sys/Clock.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimeZone>

#include <chrono>

namespace sys {
namespace {

// The fixed moment is set by the tests on the application thread and read by the loopback
// fakes on theirs.
std::mutex fixedNowMutex;

std::optional<QDateTime> &fixedNow()
{
    static std::optional<QDateTime> value;
    return value;
}

SimulatedClock *&activeClock()
{
    static SimulatedClock *clock = nullptr;
    return clock;
}

std::map<const void *, PendingWork> &pendingWork()
{
    static std::map<const void *, PendingWork> sources;
    return sources;
}

} // namespace

QTimeZone japanZone()
{
    static const QTimeZone zone = [] {
        QTimeZone tokyo(QByteArrayLiteral("Asia/Tokyo"));
        return tokyo.isValid() ? tokyo : QTimeZone(9 * 3600);
    }();
    return zone;
}

QDateTime now()
{
    if (const SimulatedClock *clock = SimulatedClock::active())
        return clock->current();
    {
        const std::lock_guard lock(fixedNowMutex);
        if (fixedNow())
            return *fixedNow();
    }
    return QDateTime::currentDateTime().toTimeZone(japanZone());
}

void setNow(std::optional<QDateTime> fixed)
{
    const std::lock_guard lock(fixedNowMutex);
    fixedNow() = std::move(fixed);
}

void addPendingWork(const void *owner, PendingWork busy)
{
    pendingWork()[owner] = std::move(busy);
}

void removePendingWork(const void *owner)
{
    pendingWork().erase(owner);
}

bool anyPendingWork()
{
    for (const auto &[owner, busy] : pendingWork()) {
        if (busy())
            return true;
    }
    return false;
}

SimulatedClock::SimulatedClock(const QDateTime &start) : m_now(start)
{
    activeClock() = this;
}

SimulatedClock::~SimulatedClock()
{
    if (activeClock() == this)
        activeClock() = nullptr;
}

SimulatedClock *SimulatedClock::active()
{
    return activeClock();
}

QDateTime SimulatedClock::current() const
{
    const std::lock_guard lock(m_nowMutex);
    return m_now;
}

void SimulatedClock::moveTo(const QDateTime &moment)
{
    const std::lock_guard lock(m_nowMutex);
    if (moment > m_now)
        m_now = moment;
}

int SimulatedClock::schedule(const QDateTime &due, std::function<void()> fire)
{
    const int id = m_nextId++;
    m_queue.emplace(std::make_pair(due.toMSecsSinceEpoch(), id), Entry{due, std::move(fire)});
    return id;
}

void SimulatedClock::cancel(int id)
{
    for (auto it = m_queue.begin(); it != m_queue.end(); ++it) {
        if (it->first.second == id) {
            m_queue.erase(it);
            return;
        }
    }
}

void SimulatedClock::settle()
{
    QCoreApplication::processEvents();
    while (m_waitForPendingWork && anyPendingWork()) {
        QThread::msleep(2);
        QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
}

void SimulatedClock::runUntil(const QDateTime &moment)
{
    m_stopped = false;
    settle();
    while (!m_stopped && !m_queue.empty() && m_queue.begin()->second.due <= moment) {
        auto first = m_queue.begin();
        Entry entry = std::move(first->second);
        m_queue.erase(first);
        moveTo(entry.due);
        entry.fire();
        settle();
    }
    if (!m_stopped)
        moveTo(moment);
}

} // namespace sys
