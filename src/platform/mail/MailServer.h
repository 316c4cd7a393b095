#pragma once

#include "platform/sys/Result.h"

#include <QString>

// Where a mail server is, as the mailbox setting writes it: "host", "host:port",
// "pop3://host[:port]" or "pop3s://host[:port]" (TLS, certificate verified). A bare host is
// plain POP3 on port 110, so values stored before schemes were accepted keep working.
namespace mail {

struct ServerAddress {
    QString host;
    int port = 0;
    bool tls = false;
};

// The server the text names, or the problem (containing "error") when it names none.
sys::Result<ServerAddress> parsePop3Server(const QString &text);

} // namespace mail
