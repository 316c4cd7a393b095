#include "platform/ui/Timer.h"

#include "platform/sys/Clock.h"

namespace ui {

Timer::Timer(QObject *parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &Timer::fire);
}

Timer::~Timer()
{
    disarm();
}

void Timer::setInterval(int milliseconds)
{
    m_interval = milliseconds;
    if (m_enabled)
        arm();
}

void Timer::setEnabled(bool enabled)
{
    m_enabled = enabled;
    if (enabled)
        arm();
    else
        disarm();
}

void Timer::arm()
{
    disarm();
    // An interval of 0 raises no ticks, as the control does.
    if (m_interval <= 0)
        return;
    if (sys::SimulatedClock *clock = sys::SimulatedClock::active())
        m_simulatedId = clock->schedule(clock->current().addMSecs(m_interval), [this] {
            m_simulatedId = 0;
            fire();
        });
    else
        m_timer.start(m_interval);
}

void Timer::disarm()
{
    m_timer.stop();
    if (m_simulatedId != 0) {
        if (sys::SimulatedClock *clock = sys::SimulatedClock::active())
            clock->cancel(m_simulatedId);
        m_simulatedId = 0;
    }
}

void Timer::fire()
{
    if (!m_enabled)
        return;
    // The next interval starts now; a handler that switches the timer off or on again
    // replaces this schedule.
    arm();
    emit Tick();
}

} // namespace ui
