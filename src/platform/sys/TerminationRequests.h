#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;

namespace sys {

// The system's requests to end the program, SIGTERM (a logout, a shutdown, `kill`, the
// updater's stop), SIGINT (Ctrl-C in a terminal) and SIGHUP (that terminal closed), turned into a Qt signal on the
// event loop, so that the program can end in order instead of where it stands. A second request before the program has
// ended ends it at once, as the signal itself would.
//
// One object at a time: it takes the three signals over while it lives and gives them back to
// their default when destroyed.
class TerminationRequests : public QObject {
    Q_OBJECT
public:
    explicit TerminationRequests(QObject *parent = nullptr);
    ~TerminationRequests() override;
    TerminationRequests(const TerminationRequests &) = delete;
    TerminationRequests &operator=(const TerminationRequests &) = delete;

signals:
    // Emitted once, for the first request.
    void requested();

private:
    void readRequest();

    std::unique_ptr<QSocketNotifier> m_notifier;
};

// Whether a request has reached the event loop while the TerminationRequests object lives:
// work that asks begins nothing new (no download, no broker step, no automatic start).
bool endRequested();

} // namespace sys
