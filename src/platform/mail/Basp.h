#pragma once

#include "platform/mail/Pop3Receive.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// What RcvMail and ReadMail answer: a list, or a text (an error message) when they fail.
struct BaspAnswer {
    bool isList = false;
    QStringList list;
    QString text;

    static BaspAnswer ofList(QStringList items) { return {true, std::move(items), {}}; }
    static BaspAnswer ofText(QString message) { return {false, {}, std::move(message)}; }
};

// What RcvMail answers, and what the session left on the server (see mail::receiveAll).
struct RcvMailAnswer : BaspAnswer {
    QList<mail::OversizedMessage> oversized;
    QString deletionRefusal;
};

// What ReadMail answers, and the charset the body was read in when some of its bytes are not
// valid in it (see mail::readMailFile).
struct ReadMailAnswer : BaspAnswer {
    QString bodyInvalidIn;
};

// The mail component: Japanese text-code conversion of downloaded pages, POP3 receiving,
// mail-file reading and SMTP sending. One instance lives for the run (gobjBASP).
namespace mail {

class Basp {
public:
    // The Japanese code a site writes its pages in when neither the HTTP header nor the
    // page itself names one.
    enum KconvCode : int { kcShiftJis = 1, kcEucJp = 2 };

    Basp() = default;

    // A downloaded page as text: in the charset its Content-Type header names, else the one
    // its <meta> names, else `siteCode`. Shift_JIS is read as CP932, as Windows reads it.
    QString kconv(const QByteArray &page, int siteCode, const QByteArray &contentType) const;

    // Takes every waiting mail off the mailbox `server` (see mail::parsePop3Server) into
    // `folder` (created when missing) and deletes it there ("SAVEALLD", the only command).
    // Answers the paths saved in this pass (an empty list for an empty mailbox), or a text
    // containing "error"; with the list, the messages left on the server as too large and the
    // first deletion the server refused. Windows stay alive while the server is waited for.
    RcvMailAnswer RcvMail(const QString &server, const QString &user, const QString &password, const QString &command,
                          const QString &folder) const;

    // Reads a saved mail: a list of the headers named in `headerList` ("subject:from:date:"),
    // in that order, followed by the body with CR LF line ends; a text when the file cannot be
    // read. `folder` is where attachments would go; they are not extracted.
    ReadMailAnswer ReadMail(const QString &file, const QString &headerList, const QString &folder) const;

    // Sends one mail (see mail::sendMail); "" when sent, else an error text.
    QString SendMail(const QString &server, const QString &to, const QString &from, const QString &subject,
                     const QString &body, const QString &attachments) const;
};

} // namespace mail
