#include "trading/BrokerSite.h"

#include "platform/net/SiteFile.h"

#include <QUrl>

namespace {

int portOf(const QUrl &url)
{
    return url.port(url.scheme().compare(u"https", Qt::CaseInsensitive) == 0 ? 443 : 80);
}

} // namespace

BrokerSite brokerSite()
{
    BrokerSite site;
    const net::SiteAddress base = net::siteAddress(QStringLiteral("Broker"), {});
    if (!base.ok()) {
        site.problem = base.problem();
        return site;
    }
    const QUrl url(base.value());
    const QString host = url.host().toLower();
    site.scheme = url.scheme().toLower();
    const bool local = host == QLatin1String("127.0.0.1") || host == QLatin1String("localhost");
    if (host.isEmpty() || (site.scheme != QLatin1String("https") && !local)) {
        site.problem = QStringLiteral("サイトファイル(") + net::siteFilePath() +
                       QStringLiteral(")のBrokerはhttps://で始まるアドレスではありません。");
        return site;
    }
    site.port = portOf(url);
    site.gateway = net::joinAddress(base.value(), QStringLiteral("ETGate/"));
    QString domain = net::siteEntry(QStringLiteral("BrokerDomain")).toLower();
    while (domain.startsWith(u'.'))
        domain.remove(0, 1);
    site.domain = domain.isEmpty() ? host : domain;
    site.neutral = net::siteEntry(QStringLiteral("Neutral"));
    if (site.neutral.isEmpty())
        site.neutral = QStringLiteral("about:blank");
    return site;
}

bool isBrokerPage(const QString &url, const BrokerSite &site)
{
    const QUrl page(url);
    if (!site.ok() || !page.isValid() || page.scheme().toLower() != site.scheme || portOf(page) != site.port)
        return false;
    const QString host = page.host().toLower();
    return !host.isEmpty() && (host == site.domain || host.endsWith(u'.' + site.domain));
}
