#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

struct OD;

// The reservation and execution store: ttresevation holds one row per order reservation,
// ttcontracthistory one row per execution, joined by 予約番号. Each procedure below is one
// transaction: a failing statement leaves the tables as they were and its db::Error reaches
// the caller.

// Reservation states of 処理区分.
enum SyoriKubun : int {
    kubunZyunbi = 0,      // 注文準備: waiting to buy
    kubunKaiTyumon = 1,   // 買注済: buy order accepted
    kubunKaiYakuzyou = 2, // 買約定: bought, position held
    kubunUriTyumon = 3,   // 売注済: sell order accepted
    kubunUriYakuzyou = 4, // 売約定: treated like 0
    kubunSyoriZumi = 9,   // 処理済: finished
    kubunCancel = 99,     // キャンセル
};

// "注文準備" ... "キャンセル"; empty text for any other value.
QString getSyoriKubunName(int state);

// The share columns have one meaning everywhere: 株数 is the shares to have bought in all,
// 約定株数買 the shares bought, 約定株数売 the shares sold; the row holds
// 約定株数買 - 約定株数売. A buy orders 株数 - 約定株数買, a sell the shares held.

// The roll-over of a new day: prices older than 200 days are purged; reservations last
// changed before today fall back — a partly bought order becomes a held position that
// wants what it bought, an order that bought nothing is finished, a row that holds shares
// and waits for an extra buy not placed is held again wanting what it bought, an open sell
// order is held again.
void dayChangeReservation(const QDateTime &now);

// Deletes a reservation and its executions.
void deleteReservation(qint64 number);

// Deletes the history of a reservation. With one repeat (繰返回数 = 1) the reservation and
// its executions go. Otherwise the repeat is counted down and the executions stay; the row
// returns to held (state 2) only when it holds shares, so a reservation that bought nothing
// never becomes a position of no shares.
void deleteRireki(qint64 number);

// The largest stored reservation number, 0 for an empty table.
qint64 getMaxYoyakuNo();

// The order record of a reservation the program writes, from the order preparation or a
// purchase entered by hand: a copy of `rules` for `shares` of `code` on `market`, bought and
// sold at market (指成区分 2), so that no sell goes out as a limit order without a price.
OD reservationOrder(const OD &rules, const QString &code, const QString &market, int shares);

// Writes a whole reservation row, replacing one of the same number. A number of 0 takes
// the largest stored number + 1, which is handed back. The stock, shares, order kinds,
// limits and sell rules come from `order`; the times are `date`.
void insertReservation(const QDateTime &date, qint64 &number, int buyDone, int state, qint64 buyPrice, qint64 buyShares,
                       const OD &order);

// Replaces a reservation's executions by one buy execution.
void insertContractHistory(const QDateTime &date, qint64 number, const QString &code, const QString &market,
                           qint64 orderNo, qint64 price, qint64 shares, int orderKind);

// A bought position entered by hand: the reservation (bought, state 2, from `order`) and its
// one buy execution are written together or not at all. A number of 0 takes a new one; an
// existing one is replaced with its executions and its placed orders, so that no late
// notice of the replaced reservation's orders adds to the position entered.
void insertManualExecution(const QDateTime &date, qint64 &number, const OD &order, qint64 orderNo, double price,
                           qint64 shares);

// The user asked to settle the reservation now: marks it and sets 更新日付 to now. The
// request is the user's word that a lost order answer (エラーコード 90) or an order the
// order step refused (93) has been looked into, so it also clears that mark.
void setManualOrder(qint64 number);

// Counts reservations: mode 1 the held positions (state 2), mode 2 the active ones (state
// below 9), mode 3 those registered on `day` (00:00:00 to 23:59:59), any other mode all.
int getOrderCount(int mode, const QDate &day);

// Deletes every reservation and execution; with ask 1 or more only after the user said Yes
// to the confirmation. True when deleted.
bool deleteAllOrders(int ask);
