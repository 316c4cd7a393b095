#include "platform/sys/TerminationRequests.h"

#include <QSocketNotifier>

#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

namespace sys {
namespace {

// The signal handler may only touch these: it writes one byte to the first socket, and the
// event loop reads it from the second.
int requestSockets[2] = {-1, -1};
volatile std::sig_atomic_t requestsSeen = 0;
// Set on the event loop when the first request is read, for the work that asks.
bool requestRead = false;

// SIGHUP is the hang-up of the terminal the program was started from.
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

extern "C" void onTerminationSignal(int signal)
{
    if (requestsSeen > 0) {
        // The second request: end now, with the signal's own default.
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    requestsSeen = 1;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(requestSockets[0], &byte, 1);
}

} // namespace

TerminationRequests::TerminationRequests(QObject *parent) : QObject(parent)
{
    // Without the sockets the signals keep their default: they end the program at once.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, requestSockets) != 0)
        return;
    requestsSeen = 0;
    requestRead = false;
    m_notifier = std::make_unique<QSocketNotifier>(requestSockets[1], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &TerminationRequests::readRequest);
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
}

TerminationRequests::~TerminationRequests()
{
    if (!m_notifier)
        return;
    for (const int signal : kSignals)
        std::signal(signal, SIG_DFL);
    m_notifier.reset();
    requestRead = false;
    for (int &socket : requestSockets) {
        ::close(socket);
        socket = -1;
    }
}

void TerminationRequests::readRequest()
{
    char byte = 0;
    [[maybe_unused]] const ssize_t read = ::read(requestSockets[1], &byte, 1);
    m_notifier->setEnabled(false); // one request is all it passes on
    requestRead = true;
    emit requested();
}

bool endRequested()
{
    return requestRead;
}

} // namespace sys
