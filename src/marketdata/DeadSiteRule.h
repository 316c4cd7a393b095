#pragma once

#include <QString>

// After this many stocks in a row without a usable page the money site is taken for down:
// going on would cost every remaining stock all its attempts.
inline constexpr int kDeadSiteStocks = 5;

// Counts the stocks in a row that a site job got no usable page for.
class DeadSiteRule {
public:
    // A stock whose page came and could be used: the count starts again.
    void pageCame() { m_withoutPage = 0; }
    // A stock without a usable page; true when it makes kDeadSiteStocks in a row.
    bool noPage() { return ++m_withoutPage >= kDeadSiteStocks; }
    bool siteDown() const { return m_withoutPage >= kDeadSiteStocks; }

private:
    int m_withoutPage = 0;
};

// Logs and shows why a job stopped at a dead site, naming the site's host:
// "株価サイト(host)から5銘柄続けて" + what + "を取得できなかったため、" + job + "を中止しました。登録済みの"
// + kept + "はそのままです。"
void reportDeadSite(const QString &what, const QString &job, const QString &kept);
