#pragma once

namespace sys {

// Keeps one procedure from running inside itself. A long procedure yields to the event loop
// (see YieldScope), so a timer tick can call the same procedure again before the first call
// has finished; that nested call finds the procedure's flag set and returns at once. The flag
// belongs to the procedure (a function-static or a member, so that others may read it too);
// the guard sets it for the outer call and clears it when that call leaves, also by an
// exception. Different from BusyGuard, which keeps a second data job from starting while
// another is running.
class ReentryGuard {
public:
    explicit ReentryGuard(bool &running) : m_running(running), m_entered(!running) { m_running = true; }
    ~ReentryGuard()
    {
        if (m_entered)
            m_running = false;
    }
    ReentryGuard(const ReentryGuard &) = delete;
    ReentryGuard &operator=(const ReentryGuard &) = delete;

    // False for a nested call: the procedure is already running and the caller returns at once.
    bool entered() const { return m_entered; }

private:
    bool &m_running;
    const bool m_entered;
};

} // namespace sys
