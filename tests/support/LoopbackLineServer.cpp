#include "support/LoopbackLineServer.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <memory>
#include <stdexcept>

namespace {

constexpr int kPollMs = 20;
constexpr qint64 kIdleLimitMs = 60000;

} // namespace

LineSession::LineSession(QTcpSocket &socket, const std::atomic<bool> &stopping,
                         std::function<void(const QByteArray &)> record)
    : m_socket(socket), m_stopping(stopping), m_record(std::move(record))
{
}

bool LineSession::isOpen() const
{
    return m_socket.state() == QAbstractSocket::ConnectedState;
}

bool LineSession::readLine(QByteArray &line, bool record)
{
    QElapsedTimer idle;
    idle.start();
    while (!m_socket.canReadLine()) {
        if (m_stopping || !isOpen() || idle.elapsed() > kIdleLimitMs)
            return false;
        m_socket.waitForReadyRead(kPollMs);
    }
    line = m_socket.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    if (record)
        m_record(line);
    return true;
}

void LineSession::write(const QByteArray &data)
{
    m_socket.write(data);
    while (m_socket.bytesToWrite() > 0 && isOpen() && !m_stopping)
        m_socket.waitForBytesWritten(kPollMs);
}

void LineSession::drop()
{
    m_socket.abort();
}

LoopbackLineServer::LoopbackLineServer(Session session) : m_session(std::move(session)) {}

LoopbackLineServer::~LoopbackLineServer()
{
    stop();
}

int LoopbackLineServer::start(int port)
{
    m_stopping = false;
    std::promise<int> bound;
    std::future<int> boundPort = bound.get_future();
    m_thread = std::thread([this, port, &bound] { serve(port, bound); });
    m_port = boundPort.get();
    if (m_port <= 0) {
        m_thread.join();
        throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(port));
    }
    return m_port;
}

void LoopbackLineServer::stop()
{
    m_stopping = true;
    if (m_thread.joinable())
        m_thread.join();
}

void LoopbackLineServer::serve(int port, std::promise<int> &bound)
{
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, quint16(port))) {
        bound.set_value(0);
        return;
    }
    bound.set_value(server.serverPort());
    while (!m_stopping) {
        if (!server.waitForNewConnection(kPollMs))
            continue;
        const std::unique_ptr<QTcpSocket> socket(server.nextPendingConnection());
        LineSession session(*socket, m_stopping, [this](const QByteArray &line) {
            const std::lock_guard lock(m_mutex);
            m_commands.push_back(QString::fromUtf8(line));
        });
        m_session(session);
        if (session.isOpen()) {
            socket->disconnectFromHost();
            if (socket->state() != QAbstractSocket::UnconnectedState)
                socket->waitForDisconnected(1000);
        }
    }
}

QStringList LoopbackLineServer::commands() const
{
    const std::lock_guard lock(m_mutex);
    return m_commands;
}

void LoopbackLineServer::clearCommands()
{
    const std::lock_guard lock(m_mutex);
    m_commands.clear();
}
