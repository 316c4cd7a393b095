#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// The browser's transfers: one worker thread that fetches one page at a time over HTTP(S)
// with libcurl. Cookies live in memory for the loader's life and are never written to
// disk. Redirects are followed by the loader itself, up to ten, each hop checked before
// anything goes there (see mayRedirect): a POST answered by 301, 302 or 303 goes on as a
// GET, one answered by 307 or 308 is posted again. The Referer is sent, TLS certificates
// and host names are verified, every transfer is bounded by a connect and a total timeout,
// and a newer request aborts the one in progress.
namespace browser {

// Whether a request may go on to an address a redirect names; called on the worker thread.
using RedirectTest = std::function<bool(const QUrl &)>;

struct PageRequest {
    std::uint64_t serial = 0; // the browser's navigation number
    QUrl url;
    bool post = false;
    QByteArray body;
    QByteArray referer;
    RedirectTest redirectTest; // empty: any http or https address
};

struct PageResponse {
    std::uint64_t serial = 0;
    bool responded = false; // false: no response at all (refused, timed out, aborted, redirect refused)
    QString errorText;
    long httpStatus = 0;
    QUrl finalUrl; // after redirects
    QByteArray contentType;
    QByteArray body;
    QUrl refusedRedirect; // the address a redirect named and mayRedirect refused; empty otherwise
};

// Whether a redirect from `from` may be followed to `to`: only to http or https, never from
// https down to http (the cookies and a form's data would travel unencrypted), and only
// where `test` allows, when there is one.
bool mayRedirect(const QUrl &from, const QUrl &to, const RedirectTest &test);

struct LoaderTimeouts {
    std::chrono::milliseconds connect{15000};
    std::chrono::milliseconds total{60000};
};

class PageLoader {
public:
    // `deliver` is called on the worker thread with each finished transfer.
    using Delivery = std::function<void(PageResponse)>;

    explicit PageLoader(Delivery deliver);
    ~PageLoader();
    PageLoader(const PageLoader &) = delete;
    PageLoader &operator=(const PageLoader &) = delete;

    void setTimeouts(const LoaderTimeouts &timeouts);
    // Queues the request; any earlier request not yet delivered is dropped or aborted.
    void load(PageRequest request);
    // Drops or aborts every request before `serial`, which the caller serves itself.
    void cancelBefore(std::uint64_t serial);
    // Whether a newer request came after this one (or the loader is closing).
    bool superseded(std::uint64_t serial);

private:
    void run();
    PageResponse perform(const PageRequest &request);

    Delivery m_deliver;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<PageRequest> m_queue;
    std::uint64_t m_latestSerial = 0;
    bool m_stopping = false;
    LoaderTimeouts m_timeouts;
    void *m_cookies = nullptr; // the CURLSH that shares the cookie jar between transfers
    std::thread m_worker;
};

} // namespace browser
