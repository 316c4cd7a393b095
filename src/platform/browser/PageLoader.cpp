#include "platform/browser/PageLoader.h"

#include <curl/curl.h>

#include <memory>

namespace browser {
namespace {

// A page larger than this is not a broker page; the transfer is abandoned.
constexpr qsizetype kMaxPageBytes = 16 * 1024 * 1024;
constexpr int kMaxRedirects = 10;

// The answers a browser follows to their Location.
bool isFollowedRedirect(long status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

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

// One transfer of `url` on the prepared handle; false with `response.errorText` set when it failed.
bool transfer(CURL *curl, const QByteArray &url, PageResponse &response)
{
    char errorBuffer[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    response.body.clear(); // a redirect's own body is not the page
    const CURLcode rc = curl_easy_perform(curl);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, nullptr);
    if (rc == CURLE_OK)
        return true;
    response.errorText = QString::fromUtf8(errorBuffer[0] ? errorBuffer : curl_easy_strerror(rc));
    response.body.clear();
    return false;
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

bool mayRedirect(const QUrl &from, const QUrl &to, const RedirectTest &test)
{
    const QString scheme = to.scheme().toLower();
    if (!to.isValid() || to.host().isEmpty() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return false;
    if (from.scheme().toLower() == QLatin1String("https") && scheme == QLatin1String("http"))
        return false;
    return !test || test(to);
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
    ProgressContext progress{this, request.serial};
    std::unique_ptr<curl_slist, ListCleanup> headers;

    curl_easy_setopt(h, CURLOPT_SHARE, static_cast<CURLSH *>(m_cookies));
    curl_easy_setopt(h, CURLOPT_COOKIEFILE, ""); // the cookie engine, in memory only
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &response.body);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, abortIfSuperseded);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &progress);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, long(timeouts.connect.count()));
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L); // each hop is checked here first
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(h, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(h, CURLOPT_USERAGENT, "Mozilla/5.0 (compatible; Nimbra)");
    if (!request.referer.isEmpty())
        curl_easy_setopt(h, CURLOPT_REFERER, request.referer.constData());
    bool posting = request.post;
    if (posting) {
        headers.reset(curl_slist_append(nullptr, "Content-Type: application/x-www-form-urlencoded"));
        curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
        curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE, long(request.body.size()));
        curl_easy_setopt(h, CURLOPT_COPYPOSTFIELDS, request.body.constData());
    }

    const auto deadline = std::chrono::steady_clock::now() + timeouts.total;
    QUrl url = request.url;
    for (int redirects = 0;; ++redirects) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            response.errorText = QString::fromLatin1(curl_easy_strerror(CURLE_OPERATION_TIMEDOUT));
            return response;
        }
        curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, long(left.count()));
        if (!transfer(h, url.toEncoded(), response))
            return response;
        curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &response.httpStatus);
        const char *location = nullptr;
        if (!isFollowedRedirect(response.httpStatus) ||
            curl_easy_getinfo(h, CURLINFO_REDIRECT_URL, &location) != CURLE_OK || !location)
            break;
        if (redirects == kMaxRedirects) {
            response.errorText = QString::fromLatin1(curl_easy_strerror(CURLE_TOO_MANY_REDIRECTS));
            response.body.clear();
            return response;
        }
        const QUrl next = QUrl::fromEncoded(location);
        if (!mayRedirect(url, next, request.redirectTest)) {
            response.refusedRedirect = next.adjusted(QUrl::RemoveQuery | QUrl::RemoveUserInfo | QUrl::RemoveFragment);
            response.errorText = QStringLiteral("redirect not followed");
            response.body.clear();
            return response;
        }
        if (posting && response.httpStatus != 307 && response.httpStatus != 308) {
            posting = false; // 301, 302 and 303 go on as a GET, without the form
            curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
            curl_easy_setopt(h, CURLOPT_HTTPHEADER, nullptr);
        }
        url = next;
    }
    response.responded = true;
    const char *contentType = nullptr;
    if (curl_easy_getinfo(h, CURLINFO_CONTENT_TYPE, &contentType) == CURLE_OK && contentType)
        response.contentType = contentType;
    response.finalUrl = url;
    return response;
}

} // namespace browser
