#include "platform/net/Transfer.h"

#include "platform/net/CurlEasy.h"
#include "platform/net/OffThread.h"

namespace net {
namespace {

size_t appendBody(char *data, size_t size, size_t count, void *target)
{
    static_cast<QByteArray *>(target)->append(data, qsizetype(size * count));
    return size * count;
}

TransferResult perform(const QByteArray &url, const TransferOptions &options)
{
    TransferResult result;
    const CurlEasy curl(curl_easy_init());
    if (!curl) {
        result.error = CURLE_FAILED_INIT;
        result.errorText = QString::fromLatin1(curl_easy_strerror(CURLE_FAILED_INIT));
        return result;
    }
    char errorBuffer[CURL_ERROR_SIZE] = {};
    CURL *h = curl.get();
    curl_easy_setopt(h, CURLOPT_URL, url.constData());
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &result.body);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L); // timeouts without SIGALRM: safe on worker threads
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, long(options.connectTimeout.count()));
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, long(options.totalTimeout.count()));
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, options.maxRedirects);
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(h, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(h, CURLOPT_USERAGENT, "Nimbra");

    const CURLcode rc = curl_easy_perform(h);
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &result.httpStatus);
    const char *contentType = nullptr;
    if (curl_easy_getinfo(h, CURLINFO_CONTENT_TYPE, &contentType) == CURLE_OK && contentType)
        result.contentType = contentType;
    if (rc != CURLE_OK) {
        result.error = rc;
        result.errorText = QString::fromUtf8(errorBuffer[0] ? errorBuffer : curl_easy_strerror(rc));
        result.body.clear();
    }
    return result;
}

} // namespace

TransferResult fetch(const QString &url, const TransferOptions &options)
{
    const QByteArray encodedUrl = url.toUtf8();
    TransferResult result;
    runOffThread([&] { result = perform(encodedUrl, options); });
    return result;
}

} // namespace net
