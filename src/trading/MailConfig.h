#pragma once

#include <QString>

// Where outgoing mail goes and who sends it: configuration of the support service, read
// from the site file <ExeName>_site.ini:
//
//   [Hosts]
//   Smtp=smtp://127.0.0.1:2525/        (or smtps://host:port/)
//   [Mail]
//   SenderAddress=robot@example.com
//   SupportAddress=support@example.com
//   NoticeSender=notice@broker.example  (optional: only mails from it are notices)
struct MailConfig {
    QString smtpUrl;
    QString senderAddress;
    QString supportAddress;
    QString problem; // the first missing entry, as a log line's text; empty when complete

    bool ok() const { return problem.isEmpty(); }
};

// The server and the sender (both mails need them) and the support address.
MailConfig readMailConfig();

// The only sender whose mails count as notices; empty when any sender does.
QString noticeSenderAddress();
