#pragma once

// Marks that a data job, a screening or a broker step is running, for the guard's lifetime.
// Long jobs yield to the event loop, so a timer can tick in the middle of one; a tick that
// would start a second job asks isBusy() and skips its work until the job ends. Guards
// nest: a job that runs another job inside it stays busy until the outermost guard ends.
class BusyGuard {
public:
    BusyGuard();
    ~BusyGuard();
    BusyGuard(const BusyGuard &) = delete;
    BusyGuard &operator=(const BusyGuard &) = delete;

    static bool isBusy();
};
