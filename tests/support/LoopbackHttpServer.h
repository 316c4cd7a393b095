#pragma once

#include <QString>

#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// An HTTP server on 127.0.0.1 for the loopback fakes: register handlers on server(), then
// start(); it serves on its own thread until stop() or destruction. Each connection
// carries one request, so stopping never waits for an idle keep-alive connection.
class LoopbackHttpServer {
public:
    LoopbackHttpServer();
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer &) = delete;
    LoopbackHttpServer &operator=(const LoopbackHttpServer &) = delete;

    httplib::Server &server() { return m_server; }

    // Listens on `port` (0 = any free port) and returns the port; throws std::runtime_error
    // when the port cannot be bound.
    int start(int port = 0);
    void stop();

    int port() const { return m_port; }
    // "http://127.0.0.1:<port>/"
    QString baseUrl() const;

    // For handlers that stall on purpose: waits up to `delay`; returns early (true) when
    // the server is stopping.
    bool waitUnlessStopping(std::chrono::milliseconds delay);

private:
    httplib::Server m_server;
    std::thread m_thread;
    int m_port = 0;
    std::mutex m_mutex;
    std::condition_variable m_stopping;
    bool m_stopRequested = false;
};
