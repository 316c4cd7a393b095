#pragma once

#include <QString>

// Where a mail server is, as the mailbox setting writes it: "host", "host:port",
// "pop3://host[:port]" or "pop3s://host[:port]" (TLS, certificate verified). A bare host is
// plain POP3 on port 110, so values stored before schemes were accepted keep working.
namespace mail {

struct ServerAddress {
    QString host;
    int port = 0;
    bool tls = false;
    QString problem; // why the text names no server; empty when it does

    bool ok() const { return problem.isEmpty(); }
};

ServerAddress parsePop3Server(const QString &text);

} // namespace mail
