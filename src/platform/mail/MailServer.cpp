#include "platform/mail/MailServer.h"

#include <QRegularExpression>

namespace mail {

sys::Result<ServerAddress> parsePop3Server(const QString &text)
{
    static const QRegularExpression form(
        QStringLiteral(R"(^(?:(pop3s?)://)?([A-Za-z0-9.\-]+|\[[0-9A-Fa-f:.]+\])(?::(\d{1,5}))?/?$)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch())
        return sys::Result<ServerAddress>::failure(QStringLiteral("error: no POP3 server in \"%1\"").arg(text));
    ServerAddress address;
    address.tls = m.captured(1).compare(QLatin1String("pop3s"), Qt::CaseInsensitive) == 0;
    address.host = m.captured(2);
    address.port = m.captured(3).isEmpty() ? (address.tls ? 995 : 110) : m.captured(3).toInt();
    if (address.port < 1 || address.port > 65535)
        return sys::Result<ServerAddress>::failure(QStringLiteral("error: port out of range in \"%1\"").arg(text));
    return address;
}

} // namespace mail
