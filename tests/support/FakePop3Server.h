#pragma once

#include "support/LoopbackLineServer.h"

#include <QString>
#include <QStringList>

#include <atomic>

// A POP3 server on 127.0.0.1 whose maildrop is a folder: each file in it (sorted by name,
// hidden files left out) is one message, its unique id the file name. Speaks USER, PASS, STAT,
// LIST, UIDL, RETR (dot-stuffed, CR LF), DELE (applied at QUIT only, so a dropped session
// deletes nothing), RSET, NOOP and QUIT. LIST and STAT give each message's size as the size
// of its file, read from the folder without reading the file. Switches make it refuse every
// password, refuse every DELE (as a mailbox kept read-only does), drop the connection after
// the n-th RETR of a session, or answer slowly.
class FakePop3Server {
public:
    FakePop3Server(QString maildrop, QString user, QString password);

    int start(int port = 0) { return m_server.start(port); }
    void stop() { m_server.stop(); }
    int port() const { return m_server.port(); }
    // "127.0.0.1:<port>", as the mailbox setting writes it.
    QString address() const;

    void setRefuseLogin(bool refuse) { m_refuseLogin = refuse; }
    void setRefuseDeletions(bool refuse) { m_refuseDeletions = refuse; }
    // 0 = never.
    void setDropAfterRetr(int n) { m_dropAfterRetr = n; }
    void setAnswerDelayMs(int ms) { m_answerDelayMs = ms; }

    // Adds a message of `size` bytes as a sparse file: nothing of it is written, nor read unless
    // it is fetched, so a test can offer a huge mail at no cost.
    bool addSparseMessage(const QString &name, qint64 size) const;

    QStringList commands() const { return m_server.commands(); }
    void clearCommands() { m_server.clearCommands(); }
    // The messages still in the maildrop.
    QStringList maildrop() const;

private:
    void session(LineSession &client);

    QString m_dir;
    QString m_user;
    QString m_password;
    std::atomic<bool> m_refuseLogin{false};
    std::atomic<bool> m_refuseDeletions{false};
    std::atomic<int> m_dropAfterRetr{0};
    std::atomic<int> m_answerDelayMs{0};
    LoopbackLineServer m_server;
};
