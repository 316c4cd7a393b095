#pragma once

#include <QObject>
#include <QTimer>

namespace sys {
class TerminationRequests;
}

// Carries out the system's request to end the program (sys::TerminationRequests) in the
// order of the main window's close, without its questions: as soon as nothing is half done,
// that is the main window is there and its load has finished, and no job or transfer is
// yielding, the main window unloads (broker step closed, backup, log closed) and the event
// loop ends with exit code 0. Until then it tries again every tenth of a second; on the way
// a message box is answered as Escape answers it (OK, or No) and a dialog that nothing runs
// under is cancelled. Before the main window exists (start-up's own windows) it waits.
class OrderlyEnd : public QObject {
    Q_OBJECT
public:
    // Made before start-up, so that a request during it is carried out once it has ended.
    explicit OrderlyEnd(const sys::TerminationRequests &requests, QObject *parent = nullptr);

private:
    void start();
    void tryToEnd();

    QTimer m_retry;
    bool m_started = false;
};
