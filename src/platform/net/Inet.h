#pragma once

#include "platform/net/Transfer.h"
#include "platform/sys/Failure.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <thread>

namespace net {

// States that StateChanged reports for an asynchronous request.
enum InetState : int { icError = 11, icResponseCompleted = 12 };

// What the transfer control raises when OpenURL brings no page: `number` is the libcurl
// error number or one of net's own (Transfer.h), or CURLE_HTTP_RETURNED_ERROR (22) for a
// response with status 400 or above.
class TransferError : public sys::Failure {
public:
    TransferError(int number, const QString &text);
    int number() const { return m_number; }
    QString text() const { return message(); }

private:
    int m_number;
};

// The Internet transfer control a window owns and hands to the site modules.
// OpenURL fetches synchronously (the window stays alive meanwhile, see net::fetch) and
// raises no events; Execute fetches asynchronously and reports the end by StateChanged.
class Inet : public QObject {
    Q_OBJECT
public:
    explicit Inet(QObject *parent = nullptr);
    ~Inet() override;

    void setTimeouts(std::chrono::milliseconds connect, std::chrono::milliseconds total);

    // The whole body of the page at `url` as bytes; throws TransferError when none came.
    QByteArray OpenURL(const QString &url);

    // The Content-Type header of the last response that OpenURL returned.
    QByteArray contentType() const { return m_contentType; }

    // Starts fetching `url` and returns at once. StateChanged(icResponseCompleted) follows
    // when the page has arrived, StateChanged(icError) when it could not be fetched.
    void Execute(const QString &url);

    // The next piece of the last Execute's page as text, at most `size` characters; empty
    // after the end. The page is read in the charset it declares, else as CP932.
    QString GetChunk(int size);

signals:
    void StateChanged(int State);

private:
    void finishExecute(const TransferResult &result);

    TransferOptions m_options;
    QByteArray m_contentType;
    std::thread m_executeThread;
    QString m_chunkText;
    qsizetype m_chunkPos = 0;
};

} // namespace net
