#include "platform/mail/Basp.h"

#include "platform/mail/MailRead.h"
#include "platform/mail/MailSend.h"
#include "platform/mail/Pop3Receive.h"
#include "platform/net/OffThread.h"
#include "platform/text/PageCharset.h"

namespace mail {

QString Basp::kconv(const QByteArray &page, int siteCode, const QByteArray &contentType) const
{
    return text::decodePage(page, contentType, siteCode == kcEucJp ? "EUC-JP-MS" : "CP932");
}

RcvMailAnswer Basp::RcvMail(const QString &server, const QString &user, const QString &password, const QString &command,
                            const QString &folder) const
{
    if (command.compare(QLatin1String("SAVEALLD"), Qt::CaseInsensitive) != 0)
        return {BaspAnswer::ofText(QStringLiteral("error: unknown receive command \"%1\"").arg(command)), {}, {}};
    const sys::Result<mail::ServerAddress> address = mail::parsePop3Server(server);
    // The setting is checked inside the off-thread job, as the session's own checks are, so
    // a setting that names no server waits for the job like any other failure.
    const sys::Result<mail::Received> result = net::offThreadResult([&] {
        return address.ok() ? mail::receiveAll(address.value(), user, password, folder)
                            : sys::Result<mail::Received>::failure(address.problem());
    });
    if (!result.ok())
        return {BaspAnswer::ofText(result.problem()), {}, {}};
    const mail::Received &received = result.value();
    return {BaspAnswer::ofList(received.savedPaths), received.oversized, received.deletionRefusal};
}

ReadMailAnswer Basp::ReadMail(const QString &file, const QString &headerList, const QString &folder) const
{
    (void)folder;
    const sys::Result<mail::MailContent> read = mail::readMailFile(file, headerList.split(u':', Qt::SkipEmptyParts));
    if (!read.ok())
        return {BaspAnswer::ofText(read.problem()), {}};
    const mail::MailContent &content = read.value();
    QStringList answer = content.headers;
    answer.push_back(content.body);
    return {BaspAnswer::ofList(answer), content.bodyInvalidIn};
}

QString Basp::SendMail(const QString &server, const QString &to, const QString &from, const QString &subject,
                       const QString &body, const QString &attachments) const
{
    const sys::Status sent = mail::sendMail(server, to, from, subject, body, attachments);
    return sent.ok() ? QString() : sent.problem();
}
} // namespace mail
