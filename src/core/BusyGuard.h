#pragma once

#include <QString>

#include <cstdint>

// The one place every data job (a download, an import, a calculation, a master rebuild, the
// daily update) asks before it starts. Long jobs yield to the event loop, so a timer can
// tick in the middle of one; a job started inside such a yield (see sys::yieldDepth) would
// run on the first job's half-done state and shared request values, so it is refused: it
// logs why and does nothing. A job that a running job starts itself, outside its yields
// (an import that recalculates, a window that runs its job), nests and runs.
class BusyGuard {
public:
    // `job` names the job in the log line of a refusal.
    explicit BusyGuard(const QString &job);
    ~BusyGuard();
    BusyGuard(const BusyGuard &) = delete;
    BusyGuard &operator=(const BusyGuard &) = delete;

    // False when the job was refused: the caller returns at once.
    bool started() const { return m_started; }

    static bool isBusy();
    // How many jobs have started that no other job started: what was noted "once per job"
    // is noted again when this changes.
    static std::uint64_t outerJobsStarted();

private:
    bool m_started;
};
