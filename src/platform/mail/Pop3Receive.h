#pragma once

#include "platform/mail/MailServer.h"
#include "platform/sys/Result.h"

#include <QString>
#include <QStringList>

#include <chrono>

// Takes every mail off a POP3 mailbox into a folder, in one session on one connection.
// Each message is written to a temporary file, flushed to disk and renamed to its final
// name before it is deleted on the server, and deletions take effect only at the closing
// QUIT: a mail is on the server or in the folder (or both), never in neither. A message
// whose unique id (UIDL) names a file already in the folder is not fetched again, only
// deleted, so a session cut off after a download leaves no duplicate file.
//
// A message that the server lists (LIST) as larger than kMaxMailBytes is neither fetched nor
// deleted: it stays on the server and the session goes on with the next. A DELE the server
// refuses leaves that message on the server and the session goes on as well; the message is
// in the folder, so later sessions only try to delete it again.
namespace mail {

struct OversizedMessage {
    QString key;     // uidlFileKey of its unique id
    qint64 size = 0; // bytes, as the server lists it
};

// What one session took off the mailbox and what it left there.
struct Received {
    QStringList savedPaths;            // files written in this session, in mailbox order
    QList<OversizedMessage> oversized; // left on the server unread, in mailbox order
    QString deletionRefusal;           // the server's answer to the first DELE it refused; empty when none
};

// The session's outcome, or the problem (containing "error") that ended it: a user or password
// with a line break, a folder that cannot be created, a connection or command that failed, a
// message that cannot be written. Files saved before the problem stay in the folder.
sys::Result<Received> receiveAll(const ServerAddress &server, const QString &user, const QString &password,
                                 const QString &folder, std::chrono::milliseconds timeout = std::chrono::seconds(60));

// The file name part that identifies a message by its unique id (safe in any file name).
QString uidlFileKey(const QByteArray &uidl);

} // namespace mail
