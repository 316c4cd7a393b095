#include "platform/net/Inet.h"

#include "platform/text/PageCharset.h"

#include <QMetaObject>

#include <curl/curl.h>

#include <optional>

namespace net {
namespace {

// Why a transfer brought no page, or nothing when it did.
std::optional<TransferError> failureOf(const TransferResult &result)
{
    if (result.error != 0)
        return TransferError(result.error, result.errorText);
    if (result.httpStatus >= 400)
        return TransferError(CURLE_HTTP_RETURNED_ERROR, QStringLiteral("HTTP %1").arg(result.httpStatus));
    return std::nullopt;
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

QByteArray Inet::OpenURL(const QString &url)
{
    const TransferResult result = fetch(url, m_options);
    m_contentType = result.contentType;
    if (const std::optional<TransferError> failure = failureOf(result))
        throw *failure;
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
    if (failureOf(result)) {
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
