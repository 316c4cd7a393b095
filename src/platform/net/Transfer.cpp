#include "platform/net/Transfer.h"

#include "platform/net/CurlEasy.h"
#include "platform/net/OffThread.h"

#include <QUrl>

namespace net {
namespace {

// The body so far and the size it may reach; a write past the limit ends the transfer.
struct BodySink {
    QByteArray &body;
    qsizetype limit;
    bool exceeded = false;
};

size_t appendBody(char *data, size_t size, size_t count, void *target)
{
    auto *sink = static_cast<BodySink *>(target);
    const qsizetype bytes = qsizetype(size * count);
    if (sink->body.size() + bytes > sink->limit) {
        sink->exceeded = true;
        return 0; // libcurl ends the transfer with a write error
    }
    sink->body.append(data, bytes);
    return size * count;
}

void fail(TransferResult &result, int error, const QString &text)
{
    result.error = error;
    result.errorText = text;
    result.body.clear();
}

// One request without following redirects; `redirect` receives the address a 3xx points to.
TransferResult performOnce(const QByteArray &url, const TransferOptions &options, QByteArray &redirect)
{
    TransferResult result;
    const CurlEasy curl(curl_easy_init());
    if (!curl) {
        fail(result, CURLE_FAILED_INIT, QString::fromLatin1(curl_easy_strerror(CURLE_FAILED_INIT)));
        return result;
    }
    char errorBuffer[CURL_ERROR_SIZE] = {};
    BodySink sink{result.body, options.maxBodyBytes};
    CURL *h = curl.get();
    curl_easy_setopt(h, CURLOPT_URL, url.constData());
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(options.maxBodyBytes));
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L); // timeouts without SIGALRM: safe on worker threads
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, long(options.connectTimeout.count()));
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, long(options.totalTimeout.count()));
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(h, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(h, CURLOPT_USERAGENT, "Nimbra");

    const CURLcode rc = curl_easy_perform(h);
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &result.httpStatus);
    const char *contentType = nullptr;
    if (curl_easy_getinfo(h, CURLINFO_CONTENT_TYPE, &contentType) == CURLE_OK && contentType)
        result.contentType = contentType;
    const char *location = nullptr;
    if (curl_easy_getinfo(h, CURLINFO_REDIRECT_URL, &location) == CURLE_OK && location)
        redirect = location;
    if (sink.exceeded || rc == CURLE_FILESIZE_EXCEEDED)
        fail(result, kErrorBodyTooLarge, QStringLiteral("the page is larger than %1 bytes").arg(options.maxBodyBytes));
    else if (rc != CURLE_OK)
        fail(result, rc, QString::fromUtf8(errorBuffer[0] ? errorBuffer : curl_easy_strerror(rc)));
    return result;
}

bool sameSite(const QUrl &a, const QUrl &b)
{
    return a.scheme().compare(b.scheme(), Qt::CaseInsensitive) == 0 &&
           a.host().compare(b.host(), Qt::CaseInsensitive) == 0 && a.port(0) == b.port(0);
}

// Follows redirects only to the host (scheme and port) of the address asked for: a page
// sent elsewhere is not the page the caller's site serves.
TransferResult perform(const QByteArray &url, const TransferOptions &options)
{
    const QUrl asked(QString::fromUtf8(url));
    QByteArray next = url;
    for (long redirects = 0;; ++redirects) {
        QByteArray redirect;
        TransferResult result = performOnce(next, options, redirect);
        if (result.error != 0 || redirect.isEmpty() || result.httpStatus < 300 || result.httpStatus >= 400)
            return result;
        if (redirects >= options.maxRedirects) {
            fail(result, CURLE_TOO_MANY_REDIRECTS, QString::fromLatin1(curl_easy_strerror(CURLE_TOO_MANY_REDIRECTS)));
            return result;
        }
        if (!sameSite(asked, QUrl(QString::fromUtf8(redirect)))) {
            fail(result, kErrorForeignRedirect,
                 QStringLiteral("redirected to another host: ") + QString::fromUtf8(redirect));
            return result;
        }
        next = redirect;
    }
}

} // namespace

TransferResult fetch(const QString &url, const TransferOptions &options)
{
    const QByteArray encodedUrl = url.toUtf8();
    return offThreadResult([&] { return perform(encodedUrl, options); });
}

} // namespace net
