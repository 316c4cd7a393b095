#include "support/LoopbackHttpServer.h"

#include <stdexcept>

namespace {
constexpr size_t kWorkers = 32;
}

LoopbackHttpServer::LoopbackHttpServer()
{
    m_server.set_keep_alive_max_count(1);
    // Enough workers that requests stalled on purpose never hold up the next one (the
    // server takes ownership of the pool).
    m_server.new_task_queue = [] { return new httplib::ThreadPool(kWorkers); };
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    stop();
}

int LoopbackHttpServer::start(int port)
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopRequested = false;
    }
    if (port == 0)
        m_port = m_server.bind_to_any_port("127.0.0.1");
    else
        m_port = m_server.bind_to_port("127.0.0.1", port) ? port : -1;
    if (m_port <= 0)
        throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(port));
    m_thread = std::thread([this] { m_server.listen_after_bind(); });
    // stop() only takes effect on a server that runs; requests wait in the backlog anyway.
    while (!m_server.is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return m_port;
}

void LoopbackHttpServer::stop()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopRequested = true;
    }
    m_stopping.notify_all();
    m_server.stop();
    if (m_thread.joinable())
        m_thread.join();
}

QString LoopbackHttpServer::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1/").arg(m_port);
}

bool LoopbackHttpServer::waitUnlessStopping(std::chrono::milliseconds delay)
{
    std::unique_lock lock(m_mutex);
    return m_stopping.wait_for(lock, delay, [this] { return m_stopRequested; });
}
