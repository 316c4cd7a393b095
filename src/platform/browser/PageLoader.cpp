#include "platform/browser/PageLoader.h"

#include <curl/curl.h>

#include <memory>

namespace browser {
namespace {

// A page larger than this is not a broker page; the transfer is abandoned.
constexpr qsizetype kMaxPageBytes = 16 * 1024 * 1024;

void initCurlOnce()
{
    static const bool initialised = [] {
        curl_global_init(CURL_GLOBAL_DEFAULT);
        return true;
    }();
    (void)initialised;
}

size_t appendBody(char *data, size_t size, size_t count, void *target)
{
    auto *body = static_cast<QByteArray *>(target);
    if (body->size() + qsizetype(size * count) > kMaxPageBytes)
        return 0; // ends the transfer with a write error
    body->append(data, qsizetype(size * count));
    return size * count;
}

struct EasyCleanup {
    void operator()(CURL *handle) const { curl_easy_cleanup(handle); }
};
struct ListCleanup {
    void operator()(curl_slist *list) const { curl_slist_free_all(list); }
};

struct ProgressContext {
    PageLoader *loader;
    std::uint64_t serial;
};

int abortIfSuperseded(void *context, long long, long long, long long, long long)
{
    const auto *progress = static_cast<const ProgressContext *>(context);
    return progress->loader->superseded(progress->serial) ? 1 : 0;
}

} // namespace

PageLoader::PageLoader(Delivery deliver) : m_deliver(std::move(deliver))
{
    initCurlOnce();
    CURLSH *share = curl_share_init();
    curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
    m_cookies = share;
    m_worker = std::thread([this] { run(); });
}

PageLoader::~PageLoader()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_worker.join();
    curl_share_cleanup(static_cast<CURLSH *>(m_cookies));
}

void PageLoader::setTimeouts(const LoaderTimeouts &timeouts)
{
    const std::lock_guard lock(m_mutex);
    m_timeouts = timeouts;
}

void PageLoader::load(PageRequest request)
{
    {
        const std::lock_guard lock(m_mutex);
        m_latestSerial = request.serial;
        m_queue.clear();
        m_queue.push_back(std::move(request));
    }
    m_wake.notify_all();
}

void PageLoader::cancelBefore(std::uint64_t serial)
{
    const std::lock_guard lock(m_mutex);
    m_latestSerial = serial;
    m_queue.clear();
}

bool PageLoader::superseded(std::uint64_t serial)
{
    const std::lock_guard lock(m_mutex);
    return m_stopping || serial != m_latestSerial;
}

void PageLoader::run()
{
    for (;;) {
        PageRequest request;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
            if (m_stopping)
                return;
            request = std::move(m_queue.front());
            m_queue.pop_front();
        }
        PageResponse response = perform(request);
        if (!superseded(request.serial))
            m_deliver(std::move(response));
    }
}

PageResponse PageLoader::perform(const PageRequest &request)
{
    PageResponse response;
    response.serial = request.serial;
    LoaderTimeouts timeouts;
    {
        const std::lock_guard lock(m_mutex);
        timeouts = m_timeouts;
    }
    const std::unique_ptr<CURL, EasyCleanup> curl(curl_easy_init());
    if (!curl) {
        response.errorText = QString::fromLatin1(curl_easy_strerror(CURLE_FAILED_INIT));
        return response;
    }
    CURL *h = curl.get();
    char errorBuffer[CURL_ERROR_SIZE] = {};
    const QByteArray url = request.url.toEncoded();
    ProgressContext progress{this, request.serial};
    std::unique_ptr<curl_slist, ListCleanup> headers;

    curl_easy_setopt(h, CURLOPT_URL, url.constData());
    curl_easy_setopt(h, CURLOPT_SHARE, static_cast<CURLSH *>(m_cookies));
    curl_easy_setopt(h, CURLOPT_COOKIEFILE, ""); // the cookie engine, in memory only
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &response.body);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, abortIfSuperseded);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &progress);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, long(timeouts.connect.count()));
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, long(timeouts.total.count()));
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(h, CURLOPT_AUTOREFERER, 1L);
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(h, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(h, CURLOPT_USERAGENT, "Mozilla/5.0 (compatible; Nimbra)");
    if (!request.referer.isEmpty())
        curl_easy_setopt(h, CURLOPT_REFERER, request.referer.constData());
    if (request.post) {
        headers.reset(curl_slist_append(nullptr, "Content-Type: application/x-www-form-urlencoded"));
        curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
        curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE, long(request.body.size()));
        curl_easy_setopt(h, CURLOPT_COPYPOSTFIELDS, request.body.constData());
    }

    const CURLcode rc = curl_easy_perform(h);
    if (rc != CURLE_OK) {
        response.errorText = QString::fromUtf8(errorBuffer[0] ? errorBuffer : curl_easy_strerror(rc));
        response.body.clear();
        return response;
    }
    response.responded = true;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &response.httpStatus);
    const char *contentType = nullptr;
    if (curl_easy_getinfo(h, CURLINFO_CONTENT_TYPE, &contentType) == CURLE_OK && contentType)
        response.contentType = contentType;
    const char *effective = nullptr;
    if (curl_easy_getinfo(h, CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK && effective)
        response.finalUrl = QUrl::fromEncoded(effective);
    else
        response.finalUrl = request.url;
    return response;
}

} // namespace browser
