#include "trading/NoticeBooking.h"

#include "core/modGlobal.h"
#include "marketdata/modKabuka.h"
#include "marketdata/modMarket.h"
#include "platform/db/DbDate.h"
#include "trading/PlacedOrders.h"
#include "trading/YakuzyouNotice.h"
#include "trading/modBroker.h"
#include "trading/modReservation.h"

#include <algorithm>
#include <optional>

namespace {

QString sideWord(bool buy)
{
    return buy ? QStringLiteral("買") : QStringLiteral("売");
}

// The reservation as the notice finds it.
struct Row {
    QString code;
    QString market;
    qint64 shares = 0; // 株数
    int state = 0;     // 処理区分
    qint64 orderNo = 0;
    qint64 bought = 0;
    qint64 sold = 0;
    qint64 sasiNari = 0; // 指成区分 of the notice's side
    int errorCode = 0;
};

// A buy of the row is out: its order accepted, or sent with an unknown outcome (a first or
// an extra buy, which the day change may have made held again with its target kept).
bool buyOut(const Row &row)
{
    if (row.state == kubunKaiTyumon)
        return true;
    if (row.errorCode != etrErrOutcomeUnknown)
        return false;
    return row.state == kubunZyunbi || row.state == kubunUriYakuzyou ||
           (row.state == kubunKaiYakuzyou && row.shares > row.bought);
}

std::optional<Row> readRow(qint64 yoyakuNo, bool buy)
{
    db::Statement st =
        gcnDB.prepare(QStringLiteral("select 銘柄コード, 市場コード, 株数, 処理区分, 注文番号, 約定株数買,"
                                     " 約定株数売, 指成区分%1, エラーコード from ttresevation where 予約番号 = ?")
                          .arg(sideWord(buy)));
    st.bind(1, yoyakuNo);
    if (!st.step())
        return std::nullopt;
    return Row{st.text(0),  st.text(1),  st.int64(2), int(st.int64(3)), st.int64(4),
               st.int64(5), st.int64(6), st.int64(7), int(st.int64(8))};
}

// The only reservation of the notice's stock whose order on its side was sent that day
// with an unknown outcome, as the order it would have placed with the shares it would have
// sent. Nothing is written: the notice must fit first. A buy that the day change has since
// finished unfilled, or made held again with its target kept (an extra buy in doubt),
// still counts as sent.
std::optional<PlacedOrder> unknownOutcomeOrder(const YakuzyouNotice &n, QStringList &log)
{
    const QString sent = n.buy ? QStringLiteral("(処理区分 in (0, 1, 4) or (処理区分 = 9 and 約定株数買 = 0)"
                                                " or (処理区分 = 2 and 株数 > 約定株数買))")
                               : QStringLiteral("(処理区分 = 3 or (処理区分 = 2 and 株数 <= 約定株数買))");
    db::Statement unknown = gcnDB.prepare(
        QStringLiteral("select 予約番号, 株数 - 約定株数買, 約定株数買 - 約定株数売 from ttresevation"
                       " where 銘柄コード = ? and エラーコード = ? and %1 and 更新日付 >= ? and 更新日付 <= ? limit 2")
            .arg(sent));
    const QDate day = n.executedAt.date();
    unknown.bindAll(n.code, int(etrErrOutcomeUnknown), db::dayStartText(day), db::dayEndText(day));
    if (!unknown.step())
        return std::nullopt;
    const PlacedOrder order{n.orderNo, day, unknown.int64(0), n.buy ? 1 : 2, unknown.int64(n.buy ? 1 : 2), 0};
    if (unknown.step()) {
        log << QStringLiteral("★送信結果不明の予約が複数あり約定通知を対応付けない(注文番号:%1/銘柄コード:%2)")
                   .arg(n.orderNo)
                   .arg(n.code);
        return std::nullopt;
    }
    return order;
}

// The reservation takes the notice's order number as its order, and the order is recorded;
// false, writing nothing, when an order of that number is already recorded for the day.
bool attachUnknownOutcome(const YakuzyouNotice &n, const PlacedOrder &order, const QDateTime &t0, QStringList &log)
{
    if (!recordPlacedOrder(order))
        return false;
    gcnDB.execute(QStringLiteral("update ttresevation set 注文番号 = ?, 処理区分 = ?, エラーコード = ?, 更新日付 = ?"
                                 " where 予約番号 = ?"),
                  n.orderNo, n.buy ? int(kubunKaiTyumon) : int(kubunUriTyumon), int(etrErrNone), t0, order.yoyakuNo);
    log << QStringLiteral("★送信結果不明の予約に約定通知を対応付けた(予約番号:%1/注文番号:%2)")
               .arg(order.yoyakuNo)
               .arg(n.orderNo);
    return true;
}

// The price-limit band of the execution day as the exchange sets it: around the close of
// the trading day before, unrounded. When that close is not stored (an update that
// stopped) or the stock was split since (the exchange's base is then the split-adjusted
// close), the band is not known.
std::optional<PriceLimitBand> executionDayBand(const Row &row, const QDate &executionDay)
{
    const QDate dayBefore = tradingDayBefore(executionDay);
    db::Statement close = gcnDB.prepare(QStringLiteral("select 終値, 調整終値 from ttstocks where 銘柄コード = ?"
                                                       " and 市場コード = ? and 日付 = ? and 終値 > 0"));
    close.bindAll(row.code, row.market, db::dateText(dayBefore));
    if (!close.step() || close.real(0) != close.real(1))
        return std::nullopt;
    db::Statement split = gcnDB.prepare(QStringLiteral("select 1 from ttstocks where 銘柄コード = ? and 市場コード = ?"
                                                       " and 日付 = ? and 分割区分 <> 0"));
    split.bindAll(row.code, row.market, db::dateText(executionDay));
    if (split.step())
        return std::nullopt;
    return priceLimitBand(close.real(0));
}

// Why the notice does not fit the order and its reservation, its price aside; empty when
// it fits.
struct Misfit {
    QString reason;
    bool byShares = false; // it brings more shares than the order or the row has left
};

Misfit misfitOf(const YakuzyouNotice &n, const PlacedOrder &order, const Row &row)
{
    if (row.code != n.code)
        return {QStringLiteral("銘柄コードが注文(%1)と異なる").arg(row.code)};
    if (order.side != (n.buy ? 1 : 2))
        return {QStringLiteral("売買区分が注文(%1)と異なる").arg(sideWord(order.side == 1))};
    if (order.sharesKnown() && n.shares > order.shares - order.executed)
        return {
            QStringLiteral("約定株数の合計(%1)が注文株数(%2)を超える").arg(order.executed + n.shares).arg(order.shares),
            true};
    // 約定株数売 never exceeds 約定株数買: a row never sells what it does not hold.
    if (!n.buy && n.shares > row.bought - row.sold)
        return {QStringLiteral("約定株数(%1)が保有株数(%2)を超える").arg(n.shares).arg(row.bought - row.sold), true};
    return {};
}

// Why the notice's price does not fit the execution day's band; empty when it fits or the
// band is not known.
QString priceMisfitOf(const YakuzyouNotice &n, const Row &row, QStringList &log)
{
    const std::optional<PriceLimitBand> band = executionDayBand(row, n.executedAt.date());
    if (!band) {
        log << QStringLiteral("★約定日の値幅制限を求める前営業日の終値がないため約定単価は確かめない(注文番号:%1)")
                   .arg(n.orderNo);
        return {};
    }
    if (n.price < band->lower || n.price > band->upper)
        return {QStringLiteral("約定単価(%1)が値幅制限(%2～%3)の外")
                    .arg(n.price, 0, 'g', 15)
                    .arg(band->lower, 0, 'g', 15)
                    .arg(band->upper, 0, 'g', 15)};
    return {};
}

// The shares of the order on the notice's side that the reservation's history already
// holds, booked from notices or entered by hand.
qint64 bookedShares(const YakuzyouNotice &n, qint64 yoyakuNo)
{
    db::Statement st = gcnDB.prepare(QStringLiteral("select ifnull(sum(約定株数), 0) from ttcontracthistory"
                                                    " where 予約番号 = ? and 注文番号 = ? and 売買区分 = ?"));
    st.bindAll(yoyakuNo, n.orderNo, n.buy ? QStringLiteral("1") : QStringLiteral("2"));
    return st.step() ? st.int64(0) : 0;
}

// The state and share count that the row's shares call for after a buy notice.
void settleBuy(const YakuzyouNotice &n, const PlacedOrder &order, const Row &before, const QDateTime &t0,
               QStringList &log)
{
    const qint64 bought = before.bought + n.shares;
    if (order.day >= t0.date()) {
        log << QStringLiteral("★注文株数と約定株数の確認");
        const bool waitingOnIt = before.state == kubunKaiTyumon || before.state == kubunKaiYakuzyou;
        // A row finished meanwhile (its shares sold) holds shares again: it is held.
        const bool finishedHolding = before.state == kubunSyoriZumi && bought > before.sold;
        if ((waitingOnIt && before.shares <= bought) || finishedHolding) {
            log << QStringLiteral("★全部約定を確認した");
            gcnDB.execute(QStringLiteral("update ttresevation set 実行回数買 = 1, 処理区分 = ?, 更新日付 = ?"
                                         " where 予約番号 = ?"),
                          int(kubunKaiYakuzyou), t0, order.yoyakuNo);
            log << QStringLiteral("★処理区分を更新した");
        }
        return;
    }
    // The order's day has passed: the order is over, and the row holds what was bought and
    // not sold.
    const bool laterBuyPending = before.state == kubunZyunbi || before.state == kubunUriYakuzyou ||
                                 (before.state == kubunKaiTyumon && before.orderNo != order.orderNo);
    if (laterBuyPending) {
        gcnDB.execute(QStringLiteral("update ttresevation set 株数 = 株数 + ? where 予約番号 = ?"), n.shares,
                      order.yoyakuNo);
    } else {
        const bool heldNow = (before.state == kubunKaiTyumon || before.state == kubunSyoriZumi) && bought > before.sold;
        gcnDB.execute(QStringLiteral("update ttresevation set 株数 = 約定株数買, 実行回数買 = 1,"
                                     " 処理区分 = ? where 予約番号 = ?"),
                      heldNow ? int(kubunKaiYakuzyou) : before.state, order.yoyakuNo);
    }
    log << QStringLiteral("★注文日を過ぎた買約定のため株数を約定株数に合わせた(予約番号:%1/株数:%2)")
               .arg(order.yoyakuNo)
               .arg(laterBuyPending ? before.shares + n.shares : bought);
}

void settleSell(const YakuzyouNotice &n, qint64 yoyakuNo, const Row &before, const QDateTime &t0, QStringList &log)
{
    log << QStringLiteral("★注文株数と約定株数の確認");
    if (before.sold + n.shares < before.bought)
        return;
    // A row with a buy out is not finished: that buy's shares are still to come.
    if (buyOut(before)) {
        log << QStringLiteral("★買い注文が出ているため処理区分は変えない(予約番号:%1)").arg(yoyakuNo);
        return;
    }
    log << QStringLiteral("★全部約定を確認した");
    gcnDB.execute(
        QStringLiteral("update ttresevation set 実行回数売 = 1, 処理区分 = ?, 更新日付 = ? where 予約番号 = ?"),
        int(kubunSyoriZumi), t0, yoyakuNo);
    log << QStringLiteral("★処理区分を更新した");
}

// The side's weighted average price, shares and time of the reservation, and the history row.
void writeExecution(const YakuzyouNotice &n, qint64 yoyakuNo, const QDateTime &t0, QStringList &log)
{
    gcnDB.execute(QStringLiteral("update ttresevation set 約定金額%1 = (約定金額%1 * 約定株数%1 + ? * ?) * 1.0"
                                 " / (約定株数%1 + ?), 約定株数%1 = 約定株数%1 + ?, 約定日付%1 = ?, 更新日付 = ?"
                                 " where 予約番号 = ?")
                      .arg(sideWord(n.buy)),
                  n.price, n.shares, n.shares, n.shares, n.executedAt, t0, yoyakuNo);
    log << QStringLiteral("★予約データを更新した(注文番号:%1/約定株数:%2/約定金額:%3)")
               .arg(n.orderNo)
               .arg(n.shares)
               .arg(n.price, 0, 'g', 15);
}

void writeHistoryRow(const YakuzyouNotice &n, qint64 yoyakuNo, const Row &row, const QDateTime &t0, QStringList &log)
{
    log << QStringLiteral("★約定データ作成開始");
    gcnDB.execute(QStringLiteral("insert into ttcontracthistory (注文番号, 受付日時, 取引区分, 売買区分, 指成区分,"
                                 " 銘柄コード, 約定株数, 約定金額, 予約番号, 登録日付, 更新日付, 市場コード)"
                                 " values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                  n.orderNo, n.executedAt, n.torihikiKubun, n.buy ? QStringLiteral("1") : QStringLiteral("2"),
                  row.sasiNari, n.code, n.shares, n.price, yoyakuNo, t0, t0, row.market);
    log << QStringLiteral("★約定データ作成した");
}

} // namespace

NoticeBooking bookNotice(const YakuzyouNotice &n, const QDateTime &t0, QStringList &log)
{
    std::optional<PlacedOrder> order = findPlacedOrder(n.orderNo, n.executedAt.date());
    const bool unknownOutcome = !order;
    if (unknownOutcome)
        order = unknownOutcomeOrder(n, log);
    if (!order)
        return {};
    std::optional<Row> row = readRow(order->yoyakuNo, n.buy);
    if (!row)
        return {};
    Misfit misfit = misfitOf(n, *order, *row);
    const bool priceAlone = misfit.reason.isEmpty();
    if (priceAlone)
        misfit.reason = priceMisfitOf(n, *row, log);
    // A notice of an execution the history already holds is no misfit: it is booked already.
    // The shares of a sale entered by hand take its notice, whether the sale came as one
    // notice or in parts (the safe side: a sale is never counted twice), and a notice that
    // would bring more than its order had while the history holds that many of it is a
    // second copy.
    const bool fitsButForShares = misfit.reason.isEmpty() || misfit.byShares;
    const bool enteredByHand = fitsButForShares && !unknownOutcome && n.shares <= order->byHand;
    if (enteredByHand)
        takeHandEnteredShares(*order, n.shares);
    if (enteredByHand || (misfit.byShares && !unknownOutcome && bookedShares(n, order->yoyakuNo) >= n.shares)) {
        log << QStringLiteral("★記帳済みの約定の通知のため記録しない(予約番号:%1/注文番号:%2/約定株数:%3)")
                   .arg(order->yoyakuNo)
                   .arg(n.orderNo)
                   .arg(n.shares);
        return {0, {}, false, true};
    }
    if (!misfit.reason.isEmpty())
        return {0, misfit.reason, priceAlone};
    if (unknownOutcome) {
        if (!attachUnknownOutcome(n, *order, t0, log))
            return {};
        row = readRow(order->yoyakuNo, n.buy);
    }

    addPlacedOrderExecution(*order, n.shares);
    writeExecution(n, order->yoyakuNo, t0, log);
    if (n.buy)
        settleBuy(n, *order, *row, t0, log);
    else
        settleSell(n, order->yoyakuNo, *row, t0, log);
    writeHistoryRow(n, order->yoyakuNo, *row, t0, log);
    return {order->yoyakuNo, {}};
}

SaleByHand bookSaleByHand(const YakuzyouNotice &sale, qint64 yoyakuNo, const QDateTime &t0, QStringList &log)
{
    const std::optional<Row> row = readRow(yoyakuNo, false);
    if (!row || row->code != sale.code || row->bought <= row->sold)
        return SaleByHand::NothingHeld;
    if (buyOut(*row))
        return SaleByHand::BuyOut;
    if (sale.shares > row->bought - row->sold)
        return SaleByHand::MoreThanHeld;
    const std::vector<PlacedOrder> open = openSellOrders(yoyakuNo);
    const auto typed = std::find_if(open.begin(), open.end(),
                                    [&sale](const PlacedOrder &order) { return order.orderNo == sale.orderNo; });
    if (typed == open.end() && open.size() > 1)
        return SaleByHand::OrderNumberNeeded;
    const std::optional<PlacedOrder> order = typed != open.end() ? std::optional(*typed)
                                             : open.empty()      ? std::nullopt
                                                                 : std::optional(open.front());
    YakuzyouNotice booked = sale;
    if (order) {
        addHandEnteredExecution(*order, sale.shares);
        booked.orderNo = order->orderNo;
        log << QStringLiteral("★手入力の売約定を売り注文に充てた(予約番号:%1/注文番号:%2/約定株数:%3)")
                   .arg(yoyakuNo)
                   .arg(order->orderNo)
                   .arg(sale.shares);
    }
    writeExecution(booked, yoyakuNo, t0, log);
    settleSell(booked, yoyakuNo, *row, t0, log);
    writeHistoryRow(booked, yoyakuNo, *row, t0, log);
    return SaleByHand::Booked;
}
