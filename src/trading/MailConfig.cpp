#include "trading/MailConfig.h"

#include "platform/net/SiteFile.h"

namespace {

QString entry(const QString &section, const QString &key, QString &problem)
{
    const QString value = net::siteValue(section, key).value_or(QString());
    if (value.isEmpty() && problem.isEmpty())
        problem = QStringLiteral("サイトファイル(") + net::siteFilePath() + QStringLiteral(")の[") + section +
                  QStringLiteral("]に") + key + QStringLiteral("がありません。");
    return value;
}

} // namespace

MailConfig readMailConfig()
{
    MailConfig config;
    config.smtpUrl = entry(QStringLiteral("Hosts"), QStringLiteral("Smtp"), config.problem);
    config.senderAddress = entry(QStringLiteral("Mail"), QStringLiteral("SenderAddress"), config.problem);
    config.supportAddress = entry(QStringLiteral("Mail"), QStringLiteral("SupportAddress"), config.problem);
    return config;
}

QString noticeSenderAddress()
{
    return net::siteValue(QStringLiteral("Mail"), QStringLiteral("NoticeSender")).value_or(QString());
}
