#include "marketdata/modYahooChart.h"

#include "core/modGlobal.h"
#include "core/modLog.h"
#include "marketdata/modYahoo.h"
#include "platform/net/SiteFile.h"
#include "platform/text/VbText.h"
#include "platform/ui/MsgBox.h"

#include <QDesktopServices>

namespace {
const QString kSiteKey = QStringLiteral("Yahoo");
const QString kChartQuery = QStringLiteral("q?d=c&k=c3&a=v,r14,m26-12-9&p=m25,m75,s&t=3m&l=off&z=m&q=c&s=");
} // namespace

QUrl yahooChartUrl(const QString &siteBase, const QString &code, const QString &market)
{
    if (text::trimSpaces(code).isEmpty())
        return {};
    const QByteArray address = siteBase.toUtf8() + QUrl::toPercentEncoding(code + yhfSuffix(market));
    return QUrl::fromEncoded(address, QUrl::StrictMode);
}

void showYahooChart(const QString &code, const QString &market)
{
    if (text::trimSpaces(code).isEmpty())
        return;
    const net::SiteAddress site = net::siteAddress(kSiteKey, kChartQuery);
    if (!site.ok()) {
        writeLog(glngLogFileNo, site.problem());
        ui::msgBox(site.problem(), ui::vbExclamation);
        return;
    }
    QDesktopServices::openUrl(yahooChartUrl(site.value(), code, market));
}
