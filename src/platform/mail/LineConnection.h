#pragma once

#include "platform/net/CurlEasy.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <optional>

// One TCP connection (TLS when asked, certificate and host name verified) opened by libcurl,
// for a line-oriented mail dialogue that the caller speaks itself, so that every command of
// a session provably goes over this one connection. Blocking; every wait is bounded.
namespace mail {

class LineConnection {
public:
    // Connects; on failure errorText() says why and isOpen() is false.
    LineConnection(const QString &host, int port, bool tls, std::chrono::milliseconds timeout);

    bool isOpen() const { return m_curl != nullptr && m_errorText.isEmpty(); }
    QString errorText() const { return m_errorText; }

    // Sends `line` followed by CR LF.
    bool sendLine(const QByteArray &line);
    // The next line without its line end; std::nullopt when the peer closed the connection,
    // the wait timed out or the line grew beyond any sane length (errorText() says which).
    std::optional<QByteArray> readLine();

private:
    bool waitFor(bool forWrite);
    void fail(const QString &text);

    net::CurlEasy m_curl;
    std::chrono::milliseconds m_timeout;
    QByteArray m_buffer;
    QString m_errorText;
};

} // namespace mail
