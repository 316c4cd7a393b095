#include "platform/mail/LineConnection.h"

#include <poll.h>

namespace mail {
namespace {

// A mail line may be at most 1000 bytes; far longer means the peer is not speaking the protocol.
constexpr qsizetype kMaxLineBytes = 1 << 20;

} // namespace

LineConnection::LineConnection(const QString &host, int port, bool tls, std::chrono::milliseconds timeout)
    : m_curl(curl_easy_init()), m_timeout(timeout)
{
    if (!m_curl) {
        fail(QStringLiteral("error: cannot start a connection"));
        return;
    }
    // The scheme chooses only plain TCP or TLS: with CONNECT_ONLY libcurl opens the
    // connection (and does the TLS handshake) and speaks no protocol on it.
    const QString url =
        QStringLiteral("%1://%2:%3/").arg(tls ? QStringLiteral("https") : QStringLiteral("http"), host).arg(port);
    const QByteArray encoded = url.toUtf8();
    char errorBuffer[CURL_ERROR_SIZE] = {};
    CURL *h = m_curl.get();
    curl_easy_setopt(h, CURLOPT_URL, encoded.constData());
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(h, CURLOPT_CONNECT_ONLY, 1L);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, long(timeout.count()));
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(h, CURLOPT_SSL_ENABLE_ALPN, 0L);
    const CURLcode rc = curl_easy_perform(h);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, nullptr);
    if (rc != CURLE_OK)
        fail(QStringLiteral("error: cannot connect to %1:%2: %3")
                 .arg(host)
                 .arg(port)
                 .arg(QString::fromUtf8(errorBuffer[0] ? errorBuffer : curl_easy_strerror(rc))));
}

void LineConnection::fail(const QString &text)
{
    if (m_errorText.isEmpty())
        m_errorText = text;
}

bool LineConnection::waitFor(bool forWrite)
{
    curl_socket_t socket = CURL_SOCKET_BAD;
    if (curl_easy_getinfo(m_curl.get(), CURLINFO_ACTIVESOCKET, &socket) != CURLE_OK || socket == CURL_SOCKET_BAD) {
        fail(QStringLiteral("error: the connection is closed"));
        return false;
    }
    pollfd fd{socket, short(forWrite ? POLLOUT : POLLIN), 0};
    const int ready = poll(&fd, 1, int(m_timeout.count()));
    if (ready <= 0) {
        fail(QStringLiteral("error: no answer from the server in time"));
        return false;
    }
    return true;
}

bool LineConnection::sendLine(const QByteArray &line)
{
    if (!isOpen())
        return false;
    const QByteArray data = line + "\r\n";
    qsizetype sent = 0;
    while (sent < data.size()) {
        size_t n = 0;
        const CURLcode rc = curl_easy_send(m_curl.get(), data.constData() + sent, size_t(data.size() - sent), &n);
        if (rc == CURLE_AGAIN) {
            if (!waitFor(true))
                return false;
            continue;
        }
        if (rc != CURLE_OK) {
            fail(QStringLiteral("error: sending failed: %1").arg(QString::fromUtf8(curl_easy_strerror(rc))));
            return false;
        }
        sent += qsizetype(n);
    }
    return true;
}

std::optional<QByteArray> LineConnection::readLine()
{
    while (isOpen()) {
        const qsizetype end = m_buffer.indexOf('\n');
        if (end >= 0) {
            QByteArray line = m_buffer.left(end);
            m_buffer.remove(0, end + 1);
            if (line.endsWith('\r'))
                line.chop(1);
            return line;
        }
        if (m_buffer.size() > kMaxLineBytes) {
            fail(QStringLiteral("error: the server sent an overlong line"));
            break;
        }
        char chunk[16384];
        size_t n = 0;
        const CURLcode rc = curl_easy_recv(m_curl.get(), chunk, sizeof chunk, &n);
        if (rc == CURLE_AGAIN) {
            if (!waitFor(false))
                break;
            continue;
        }
        if (rc != CURLE_OK || n == 0) {
            fail(QStringLiteral("error: the server closed the connection"));
            break;
        }
        m_buffer.append(chunk, qsizetype(n));
    }
    return std::nullopt;
}

} // namespace mail
