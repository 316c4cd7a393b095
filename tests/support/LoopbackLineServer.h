#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <mutex>
#include <thread>

class QTcpSocket;

// The connection of one client to a LoopbackLineServer, as its session sees it.
class LineSession {
public:
    LineSession(QTcpSocket &socket, const std::atomic<bool> &stopping, std::function<void(const QByteArray &)> record);

    // The client's next line without its line end (recorded unless `record` is false: a
    // message's content is no command); false when the client left, the server is stopping
    // or nothing came for a minute.
    bool readLine(QByteArray &line, bool record = true);
    void write(const QByteArray &data);
    void writeLine(const QByteArray &line) { write(line + "\r\n"); }
    // Ends the connection at once, without a goodbye.
    void drop();
    bool isOpen() const;

private:
    QTcpSocket &m_socket;
    const std::atomic<bool> &m_stopping;
    std::function<void(const QByteArray &)> m_record;
};

// A line-protocol server on 127.0.0.1 for the mail fakes: a Qt Network QTcpServer on its own
// thread, one client at a time, each served by `session`. Every line a client sends is kept
// in order by the command recorder.
class LoopbackLineServer {
public:
    using Session = std::function<void(LineSession &)>;

    explicit LoopbackLineServer(Session session);
    ~LoopbackLineServer();
    LoopbackLineServer(const LoopbackLineServer &) = delete;
    LoopbackLineServer &operator=(const LoopbackLineServer &) = delete;

    // Listens on `port` (0 = any free port) and returns the port; throws std::runtime_error
    // when the port cannot be bound.
    int start(int port = 0);
    void stop();
    int port() const { return m_port; }

    // The lines the clients sent so far, oldest first, without line ends.
    QStringList commands() const;
    void clearCommands();

private:
    void serve(int port, std::promise<int> &bound);

    Session m_session;
    std::thread m_thread;
    std::atomic<bool> m_stopping{false};
    int m_port = 0;
    mutable std::mutex m_mutex;
    QStringList m_commands;
};
