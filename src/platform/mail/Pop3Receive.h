#pragma once

#include "platform/mail/MailServer.h"

#include <QString>
#include <QStringList>

#include <chrono>

// Takes every mail off a POP3 mailbox into a folder, in one session on one connection.
// Each message is written to a temporary file, flushed to disk and renamed to its final
// name before it is deleted on the server, and deletions take effect only at the closing
// QUIT: a mail is on the server or in the folder (or both), never in neither. A message
// whose unique id (UIDL) names a file already in the folder is not fetched again, only
// deleted, so a session cut off after a download leaves no duplicate file.
namespace mail {

struct ReceiveResult {
    QStringList savedPaths; // files written in this session, in mailbox order
    QString errorText;      // empty on success; otherwise contains "error"

    bool ok() const { return errorText.isEmpty(); }
};

ReceiveResult receiveAll(const ServerAddress &server, const QString &user, const QString &password,
                         const QString &folder, std::chrono::milliseconds timeout = std::chrono::seconds(60));

// The file name part that identifies a message by its unique id (safe in any file name).
QString uidlFileKey(const QByteArray &uidl);

} // namespace mail
