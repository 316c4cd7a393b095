#pragma once

#include <QObject>
#include <QTimer>

namespace sys {
class TerminationRequests;
}

// Carries out the system's request to end the program (sys::TerminationRequests). The
// request is noted at once (sys::endRequested: the start-up and the timers begin no new
// work), then tried every tenth of a second until it is done: each window's long job is
// stopped by its own stop (JobWindow); what waits on top for a person is closed, a popup,
// a message box answered as Escape answers it, a dialog cancelled, whatever yields below
// it; a job window is waited for while its job runs, and so is any other work yielding at
// the innermost loop. Once nothing is left, the main window unloads as its close does but
// without its question (broker step closed, backup, log closed) and the event loop ends
// with exit code 0.
// Before the main window exists the start-up's own windows are closed the same way: a
// refusal's box before the databases are open ends the start-up there, the splash lets
// it go on to the main window, whose load then does nothing more than its close needs.
class OrderlyEnd : public QObject {
    Q_OBJECT
public:
    // Made before start-up, so that a request during it is carried out.
    explicit OrderlyEnd(const sys::TerminationRequests &requests, QObject *parent = nullptr);

private:
    void start();
    void tryToEnd();

    QTimer m_retry;
    bool m_started = false;
};
