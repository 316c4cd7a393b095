#pragma once

#include "support/LoopbackLineServer.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <mutex>

// An SMTP server on 127.0.0.1 that keeps every message it accepts with its envelope (and,
// given a folder, writes it there as <n>.eml with <n>.envelope beside it). Speaks EHLO/HELO,
// MAIL, RCPT, DATA (dot-unstuffed), RSET, NOOP and QUIT. Switches make it refuse every
// recipient, refuse the data, or drop the connection after MAIL.
class FakeSmtpServer {
public:
    struct Message {
        QString from;
        QStringList to;
        QByteArray data; // as it arrived, CR LF line ends, without the final "."
    };

    explicit FakeSmtpServer(QString folder = {});

    int start(int port = 0) { return m_server.start(port); }
    void stop() { m_server.stop(); }
    int port() const { return m_server.port(); }
    // "smtp://127.0.0.1:<port>/"
    QString url() const;

    void setRefuseRcpt(bool refuse) { m_refuseRcpt = refuse; }
    void setRefuseData(bool refuse) { m_refuseData = refuse; }
    void setDropAfterMail(bool drop) { m_dropAfterMail = drop; }

    QStringList commands() const { return m_server.commands(); }
    void clearCommands() { m_server.clearCommands(); }
    QList<Message> messages() const;

private:
    void session(LineSession &client);
    void keep(const Message &message);

    QString m_folder;
    std::atomic<bool> m_refuseRcpt{false};
    std::atomic<bool> m_refuseData{false};
    std::atomic<bool> m_dropAfterMail{false};
    mutable std::mutex m_mutex;
    QList<Message> m_messages;
    LoopbackLineServer m_server;
};
