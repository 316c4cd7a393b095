#include "platform/net/Inet.h"

#include "platform/text/PageCharset.h"

#include <QMetaObject>

#include <curl/curl.h>

namespace net {
namespace {

bool isErrorStatus(long httpStatus)
{
    return httpStatus >= 400;
}

} // namespace

TransferError::TransferError(int number, const QString &text) : sys::Failure(text), m_number(number) {}

Inet::Inet(QObject *parent) : QObject(parent) {}

Inet::~Inet()
{
    if (m_executeThread.joinable())
        m_executeThread.join();
}

void Inet::setTimeouts(std::chrono::milliseconds connect, std::chrono::milliseconds total)
{
    m_options.connectTimeout = connect;
    m_options.totalTimeout = total;
}

void Inet::noteOutcome(const TransferResult &result)
{
    if (result.error != 0) {
        m_responseCode = result.error;
        m_responseInfo = result.errorText;
    } else if (isErrorStatus(result.httpStatus)) {
        m_responseCode = CURLE_HTTP_RETURNED_ERROR;
        m_responseInfo = QStringLiteral("HTTP %1").arg(result.httpStatus);
    } else {
        m_responseCode = 0;
        m_responseInfo.clear();
    }
}

QByteArray Inet::OpenURL(const QString &url)
{
    const TransferResult result = fetch(url, m_options);
    noteOutcome(result);
    m_contentType = result.contentType;
    if (m_responseCode != 0)
        throw TransferError(m_responseCode, m_responseInfo);
    return result.body;
}

void Inet::Execute(const QString &url)
{
    if (m_executeThread.joinable())
        m_executeThread.join();
    m_chunkText.clear();
    m_chunkPos = 0;
    const TransferOptions options = m_options;
    m_executeThread = std::thread([this, url, options] {
        const TransferResult result = fetch(url, options);
        // The destructor joins this thread before the object goes, so `this` is alive here.
        QMetaObject::invokeMethod(
            this, [this, result] { finishExecute(result); }, Qt::QueuedConnection);
    });
}

void Inet::finishExecute(const TransferResult &result)
{
    if (m_executeThread.joinable())
        m_executeThread.join();
    noteOutcome(result);
    if (m_responseCode != 0) {
        emit StateChanged(icError);
        return;
    }
    m_chunkText = text::decodePage(result.body, result.contentType, "CP932");
    m_chunkPos = 0;
    emit StateChanged(icResponseCompleted);
}

QString Inet::GetChunk(int size)
{
    const QString chunk = m_chunkText.mid(m_chunkPos, size);
    m_chunkPos += chunk.size();
    return chunk;
}

} // namespace net
