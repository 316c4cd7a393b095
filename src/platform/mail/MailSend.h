#pragma once

#include "platform/sys/Result.h"

#include <QByteArray>
#include <QString>

#include <chrono>

// Sends one mail over SMTP (smtp:// or smtps:// with the certificate verified). The message is
// built by GMime: From "<name> <address>", To, Subject (RFC 2047, UTF-8), Date, Message-ID and
// a UTF-8 text/plain body; with attachments (paths separated by TAB) the body and each file,
// base64 under its base name, form a multipart/mixed message. Control characters in header
// values become blanks and each address must be one plain address, so no value can add a
// header or a recipient.
namespace mail {

// Done when the server took the mail; otherwise the problem (an unusable address or
// attachment, a refusing or unreachable server).
sys::Status sendMail(const QString &serverUrl, const QString &to, const QString &from, const QString &subject,
                     const QString &body, const QString &attachments,
                     std::chrono::milliseconds timeout = std::chrono::seconds(60));

// The message as it goes on the wire (CR LF line ends, not yet dot-stuffed), or the problem
// when an address or an attachment is unusable.
sys::Result<QByteArray> buildMessage(const QString &to, const QString &from, const QString &subject,
                                     const QString &body, const QString &attachments);

} // namespace mail
