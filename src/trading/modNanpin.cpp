#include "trading/modNanpin.h"

#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "marketdata/modMarket.h"
#include "platform/sys/Clock.h"
#include "platform/text/VbText.h"
#include "trading/modBroker.h"

namespace {

struct Candidate {
    qint64 number = 0;
    QString code;
    QString market;
    double close = 0;
    double buyPrice = 0;
    qint64 shares = 0; // the shares to have bought in all, never fewer than bought
    qint64 purchases = 0;
};

QList<Candidate> selectCandidates(const QDateTime &runStart, const QDate &processingDay, const OD &order)
{
    db::Statement st =
        gcnDB.prepare(QStringLiteral("select a.予約番号, a.銘柄コード, a.市場コード, b.調整終値, a.約定金額買,"
                                     " max(a.株数, a.約定株数買), a.注文回"
                                     " from ttresevation a, ttstocks b"
                                     " where a.処理区分 = 2"
                                     " and (b.調整終値 - a.約定金額買) * 1.0 / a.約定金額買 * 100 <= ?"
                                     " and a.注文回 < ?"
                                     " and a.銘柄コード = b.銘柄コード and a.市場コード = b.市場コード"
                                     " and a.注文期間 <> ?"
                                     " and a.手動注文区分 = 0"
                                     " and a.エラーコード not in (?, ?)"
                                     " and a.約定金額買 > 0"
                                     " and b.日付 = ?"));
    // A row whose last extra buy went out with an unknown outcome, or whose order the order
    // step refused, waits for the user's check.
    st.bindAll(-qint64(order.ODNanpinWariai), qint64(order.ODNanpinKai) - 1, runStart.date(),
               qint64(etrErrOutcomeUnknown), qint64(etrErrNoShares), processingDay);
    QList<Candidate> candidates;
    while (st.step())
        candidates.append({st.int64(0), st.text(1), st.text(2), st.real(3), st.real(4), st.int64(5), st.int64(6)});
    return candidates;
}

void logCandidate(const Candidate &c, const OD &order)
{
    writeLog(glngLogFileNo, QStringLiteral("**********ナンピン対象ここから*************"));
    writeLog(glngLogFileNo, QStringLiteral("対象銘柄コード:") + c.code);
    writeLog(glngLogFileNo, QStringLiteral("対象市場コード:") + c.market);
    writeLog(glngLogFileNo, QStringLiteral("調整終値:") + QString::number(c.close, 'g', 15));
    writeLog(glngLogFileNo, QStringLiteral("約定金額買:") + QString::number(c.buyPrice, 'g', 15));
    writeLog(glngLogFileNo, QStringLiteral("ナンピン買割合(%):") + QString::number(order.ODNanpinWariai));
    writeLog(glngLogFileNo, QStringLiteral("**********ナンピン対象ここまで*************"));
}

} // namespace

int checkNanpin(const QDateTime &runStart, const QDate &processingDay, const OD &order)
{
    writeLog(glngLogFileNo, QStringLiteral("*****checkNanpinここから*************"));
    int count = 0;
    if (order.ODNanpin == 1 && isTradingDay(sys::now())) {
        db::Transaction transaction(gcnDB);
        gcnDB.execute(QStringLiteral("update ttresevation set 注文回 = 0 where 注文回 is null"));
        db::Statement update = gcnDB.prepare(QStringLiteral(
            "update ttresevation set 注文回 = 注文回 + 1, 株数 = ?, 処理区分 = 0, 注文期間 = ? where 予約番号 = ?"));
        for (const Candidate &c : selectCandidates(runStart, processingDay, order)) {
            logCandidate(c, order);
            // Each purchase adds the share count divided by the purchases so far, which keeps
            // the lots equal (100, 200, 300 ...); the result is a whole number of shares.
            const qint64 shares = c.shares + text::roundHalfEven(double(c.shares) / double(c.purchases + 1));
            update.reset();
            update.bindAll(shares, runStart.date(), c.number);
            update.run();
            ++count;
        }
        transaction.commit();
    }
    writeLog(glngLogFileNo, QStringLiteral("*****checkNanpinここまで*************"));
    return count;
}
