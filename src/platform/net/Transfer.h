#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>

// One page fetched over HTTP(S) with libcurl: redirects followed within the host asked,
// TLS certificates and host names verified, only http and https allowed, bounded by a connect
// and a total timeout and by a body size.
namespace net {

// Error numbers of our own, beside libcurl's (which stay below 100).
inline constexpr int kErrorBodyTooLarge = 12001;    // the body passed TransferOptions::maxBodyBytes
inline constexpr int kErrorForeignRedirect = 12002; // a redirect pointed at another host

struct TransferOptions {
    std::chrono::milliseconds connectTimeout{15000};
    std::chrono::milliseconds totalTimeout{60000};
    long maxRedirects = 5;
    // The largest quote page is well under 1 MB; a body past this limit is not a page of the
    // sites the program reads, and holding it would stall the program.
    qsizetype maxBodyBytes = 16 * 1024 * 1024;
};

struct TransferResult {
    int error = 0;          // 0 when a response arrived, else the libcurl error number or one of ours
    QString errorText;      // why no response arrived; empty when error is 0
    long httpStatus = 0;    // status of the last response after redirects; 0 without one
    QByteArray contentType; // its Content-Type header as sent ("text/html; charset=EUC-JP")
    QByteArray body;        // its body, also for an error status

    // A response arrived and its status is 2xx.
    bool succeeded() const { return error == 0 && httpStatus >= 200 && httpStatus < 300; }
};

// Fetches `url` and returns when the transfer has ended. Called on the thread of the
// Qt application object, the transfer runs on a worker thread while the caller waits in a local
// event loop, so windows repaint and timers tick meanwhile (callers must expect re-entry,
// as with ui::doEvents). Elsewhere it simply blocks.
TransferResult fetch(const QString &url, const TransferOptions &options = {});

} // namespace net
