#pragma once

// A window that runs a long job of its own: a download, a calculation, a rebuild, the
// backup. When the system asks the program to end, the job is stopped as the window's own
// stop would stop it (after the step in hand), and the window is waited for while the job
// still runs; a window whose job is not running is closed like any other dialog.
class JobWindow {
public:
    // Stops the running job as the window's own stop does; nothing when no job runs or
    // the job cannot be stopped safely before its end.
    virtual void stopJob() = 0;
    // Whether the job still runs, so that closing the window now would cut it.
    virtual bool jobRunning() const = 0;

protected:
    JobWindow() = default;
    ~JobWindow() = default;
    JobWindow(const JobWindow &) = default;
    JobWindow &operator=(const JobWindow &) = default;
};
