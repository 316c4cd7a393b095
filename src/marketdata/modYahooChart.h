#pragma once

#include <QString>
#include <QUrl>

// The chart page of a stock on the quote site: the site's address for "Yahoo" in the site
// file, the chart query, then the stock code (percent-encoded) and the site's suffix for
// the market. An empty code gives an empty address.
QUrl yahooChartUrl(const QString &siteBase, const QString &code, const QString &market);

// Opens the chart page of a stock in the desktop's browser; an empty code opens nothing.
// A site file without the quote site's address is reported and logged.
void showYahooChart(const QString &code, const QString &market);
