#pragma once

#include "platform/sys/Result.h"

#include <QString>
#include <QStringList>

// Reads a saved mail file: chosen headers, unfolded and decoded (RFC 2047 words, and raw
// ISO-2022-JP as Japanese mailers write it), and the text of the mail's first text/plain part,
// transfer-decoded (7bit, 8bit, base64, quoted-printable) and converted from its charset
// (Shift_JIS read as CP932, EUC-JP, UTF-8; ISO-2022-JP when the part names none), with every
// line ending in CR LF whatever the file used. Bytes not valid in that charset (a mail whose
// label does not fit its text) become U+FFFD, and the content names the charset.
namespace mail {

struct MailContent {
    QStringList headers;   // the requested headers' values in the requested order ("" when absent)
    QString body;          // empty for a mail without a text part
    QString bodyInvalidIn; // the charset the body was read in when some of its bytes are not valid in it
};

// The mail's content, or the problem (containing "error") when the file cannot be opened, is
// larger than kMaxMailBytes or is not a mail.
sys::Result<MailContent> readMailFile(const QString &path, const QStringList &headerNames);

} // namespace mail
