#include "marketdata/modBrandMst.h"

#include "core/BusyGuard.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "marketdata/DeadSiteRule.h"
#include "marketdata/StockCode.h"
#include "marketdata/modinfoseek.h"
#include "platform/db/DbDate.h"
#include "platform/sys/Clock.h"
#include "platform/text/Format.h"
#include "platform/text/VbText.h"
#include "platform/ui/DoEvents.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/YieldPacer.h"

#include <QLabel>

#include <algorithm>
#include <functional>
#include <map>
#include <vector>

namespace {

using namespace std::chrono_literals;

struct BondRow {
    QString companyName;
    QString industry;
    qint64 unitShares = 0;
    QString registered;
    QString updated;
    qint64 excluded = 0; // 対象外区分
    qint64 caution = 0;  // 管理ポスト区分
};

using Master = std::map<StockKey, BondRow>;

// The markets to rebuild, grouped by the site letter their pages are asked under.
std::vector<std::vector<QString>> marketsBySiteLetter(const QString &oneMarket)
{
    QString sql = QStringLiteral("select 市場コード from tmmarket");
    if (!oneMarket.isEmpty())
        sql += QStringLiteral(" where 市場コード = ?");
    sql += QStringLiteral(" order by ランク");
    db::Statement query = gcnDB.prepare(sql);
    if (!oneMarket.isEmpty())
        query.bind(1, oneMarket);
    std::vector<QString> letters;
    std::map<QString, std::vector<QString>> groups;
    while (query.step()) {
        const QString market = query.text(0);
        const QString letter = iskSuffix(market);
        if (!groups.contains(letter))
            letters.push_back(letter);
        groups[letter].push_back(market);
    }
    std::vector<std::vector<QString>> ordered;
    for (const QString &letter : letters)
        ordered.push_back(groups[letter]);
    return ordered;
}

const QString kRangeCondition = QStringLiteral(" where 銘柄コード >= ? and 銘柄コード <= ?");
const QString kMarketCondition = QStringLiteral(" and 市場コード = ?");

template <typename Query>
void bindRange(Query &query, const QString &low, const QString &high, const QString &oneMarket)
{
    query.bindAll(low, high);
    if (!oneMarket.isEmpty())
        query.bind(3, oneMarket);
}

Master storedMaster(const QString &low, const QString &high, const QString &oneMarket)
{
    db::Statement query = gcnDB.prepare(
        QStringLiteral(
            "select 銘柄コード, 市場コード, 会社名, 業種名, 単元株数, 登録日付, 更新日付, 対象外区分, 管理ポスト区分"
            " from tmbond") +
        kRangeCondition + (oneMarket.isEmpty() ? QString() : kMarketCondition));
    bindRange(query, low, high, oneMarket);
    Master master;
    while (query.step())
        master[{query.text(0), query.text(1)}] = {query.text(2), query.text(3),  query.int64(4), query.text(5),
                                                  query.text(6), query.int64(7), query.int64(8)};
    return master;
}

void replaceMaster(const QString &low, const QString &high, const QString &oneMarket, const Master &master)
{
    db::Transaction change(gcnDB);
    db::Statement remove = gcnDB.prepare(QStringLiteral("delete from tmbond") + kRangeCondition +
                                         (oneMarket.isEmpty() ? QString() : kMarketCondition));
    bindRange(remove, low, high, oneMarket);
    remove.run();
    db::Statement insert = gcnDB.prepare(QStringLiteral("insert into tmbond (銘柄コード, 会社名, 市場コード, 業種名, "
                                                        "単元株数, 登録日付, 更新日付, 対象外区分, 管理ポスト区分)"
                                                        " values (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const auto &[key, row] : master) {
        insert.reset();
        insert.bindAll(key.code, row.companyName, key.market, row.industry, row.unitShares, row.registered, row.updated,
                       row.excluded, row.caution);
        insert.run();
    }
    change.commit();
}

// More pages than this share of those asked that could not be fetched or read keep the
// whole old master: a site that is down or redesigned must not thin out tmbond.
constexpr double kMaxUnreadShare = 0.1;

// The new master, gathered page by page beside the stored one.
class MasterRebuild {
public:
    MasterRebuild(net::Inet &control, QLabel &label, Master old, const QString &stamp, int pagesToAsk)
        : m_control(control), m_label(label), m_old(std::move(old)), m_stamp(stamp), m_pagesToAsk(pagesToAsk)
    {
    }

    // The page of one code under the site letter of `markets`: the stock it names in one of
    // them, nothing when the site answers that it does not list the code, the old rows when
    // no page came or the page could not be read. A stop asked for also ends the attempts
    // at the page.
    void readCode(const QString &code, const std::vector<QString> &markets, const std::function<bool()> &stopRequested)
    {
        iskBrandCode = code;
        iskSizyouCode = markets.front();
        iskOpen(1);
        iskRun(m_control, stopRequested);
        const bool fetched = iskClose() == 0;
        m_label.setText(iskBrandCode + u'.' + iskSizyouCode + QStringLiteral("を処理しています。"));
        if (!fetched || (iskCount == 0 && !iskNotListed())) {
            m_deadSite.noPage();
            if (fetched) {
                ++m_unreadablePages;
                writeLog(glngLogFileNo, QStringLiteral("銘柄マスタ取得×××%1.%2のページを読めませんでした×××")
                                            .arg(code, iskSuffix(markets.front())));
            } else {
                ++m_failedPages;
            }
            keepOldRows(code, markets);
            return;
        }
        m_deadSite.pageCame();
        if (iskCount == 0 || std::find(markets.begin(), markets.end(), iskSizyouCode) == markets.end())
            return;
        BondRow row{iskBrandName, iskGyousyuName, iskTangenKabusu.toLongLong(), m_stamp, m_stamp, 0, 0};
        if (const auto before = m_old.find({code, iskSizyouCode}); before != m_old.end()) {
            row.excluded = before->second.excluded;
            row.caution = before->second.caution;
        }
        m_rebuilt[{code, iskSizyouCode}] = row;
    }

    const Master &rebuilt() const { return m_rebuilt; }
    int failedPages() const { return m_failedPages; }
    int unreadablePages() const { return m_unreadablePages; }
    int pagesToAsk() const { return m_pagesToAsk; }
    int unreadPages() const { return m_failedPages + m_unreadablePages; }
    // Already too many pages unread for the rebuild to replace the master.
    bool tooManyUnread() const { return unreadPages() > kMaxUnreadShare * m_pagesToAsk; }
    // The last kDeadSiteStocks pages went unread: the site is taken for down.
    bool siteDown() const { return m_deadSite.siteDown(); }

private:
    void keepOldRows(const QString &code, const std::vector<QString> &markets)
    {
        for (const QString &market : markets) {
            if (const auto kept = m_old.find({code, market}); kept != m_old.end())
                m_rebuilt.insert(*kept);
        }
    }

    net::Inet &m_control;
    QLabel &m_label;
    const Master m_old;
    const QString m_stamp; // 登録日付 and 更新日付 of every new row
    const int m_pagesToAsk;
    Master m_rebuilt;
    int m_failedPages = 0;
    int m_unreadablePages = 0;
    DeadSiteRule m_deadSite;
};

// Asks every page of the range; false when it stopped early: the site is taken for down,
// so many pages went unread that the master will be kept anyway, or a stop was asked for.
bool readRange(MasterRebuild &rebuild, const std::vector<std::vector<QString>> &groups, int low, int high,
               const std::function<bool()> &stopRequested)
{
    ui::YieldPacer pacer(50ms);
    for (const std::vector<QString> &markets : groups) {
        for (int k = low; k <= high; ++k) {
            if (pacer.due())
                ui::doEvents();
            rebuild.readCode(text::formatZeroPadded(k, 4), markets, stopRequested);
            if (rebuild.siteDown() || rebuild.tooManyUnread() || (stopRequested && stopRequested()))
                return false;
        }
    }
    return true;
}

} // namespace

bool getBrandMst(net::Inet &control, QLabel &label, const QString &low, const QString &high, const QString &market,
                 const std::function<bool()> &stopRequested)
{
    const BusyGuard busy(QStringLiteral("銘柄マスタの再構築"));
    if (!busy.started())
        return true;
    if (ui::msgBox(QStringLiteral("銘柄コード情報を再構築します。よろしいですか?"),
                   ui::vbYesNo + ui::vbInformation + ui::vbDefaultButton2) != ui::vbYes)
        return true;
    if (!isStockCode(low) || !isStockCode(high)) {
        writeLog(glngLogFileNo, QStringLiteral("銘柄マスタ取得×××銘柄コードの範囲が4桁の数字ではありません×××"));
        return true;
    }
    ui::doEvents();
    const QString oneMarket = text::trimSpaces(market);
    const std::vector<std::vector<QString>> groups = marketsBySiteLetter(oneMarket);
    const int pages = int(groups.size()) * std::max(0, high.toInt() - low.toInt() + 1);
    MasterRebuild rebuild(control, label, storedMaster(low, high, oneMarket), db::dateTimeText(sys::now()), pages);
    const bool readToTheEnd = readRange(rebuild, groups, low.toInt(), high.toInt(), stopRequested);
    if (rebuild.siteDown()) {
        reportDeadSite(QStringLiteral("銘柄情報"), QStringLiteral("銘柄マスタの再構築"), QStringLiteral("銘柄マスタ"));
        return false;
    }
    if (rebuild.tooManyUnread()) {
        const QString why = QStringLiteral("銘柄マスタ取得:%1ページのうち%2ページの銘柄情報を取得できなかったため、"
                                           "登録済みの銘柄マスタをそのまま残しました")
                                .arg(rebuild.pagesToAsk())
                                .arg(rebuild.unreadPages());
        writeLog(glngLogFileNo, why);
        ui::msgBox(why, ui::vbExclamation);
        return false;
    }
    if (!readToTheEnd) {
        writeLog(glngLogFileNo,
                 QStringLiteral("銘柄マスタの再構築を中止しました。登録済みの銘柄マスタはそのままです。"));
        return false;
    }
    replaceMaster(low, high, oneMarket, rebuild.rebuilt());
    if (rebuild.failedPages() > 0)
        writeLog(glngLogFileNo,
                 QStringLiteral("銘柄マスタ取得:%1件の銘柄情報を取得できませんでした。登録済みの銘柄はそのままです")
                     .arg(rebuild.failedPages()));
    if (rebuild.unreadablePages() > 0)
        writeLog(glngLogFileNo,
                 QStringLiteral("銘柄マスタ取得:%1件の銘柄情報を読めませんでした。登録済みの銘柄はそのままです")
                     .arg(rebuild.unreadablePages()));

    ui::msgBox(QStringLiteral("処理は完了しました。"), ui::vbInformation);
    ui::doEvents();
    return true;
}
