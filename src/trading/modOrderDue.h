#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

#include <optional>

struct OD;
struct etrOrderInfo;

// What the order cycle decides before it starts a broker step: whether it may send at all
// now, and which reservation is due.

// The minute of the day (hour × 60 + minute) at which automatic running was last started;
// the run control and the daily processing write it.
extern int glngStartMinute;

// The log line of the first gate that holds the cycle back at `now`, or empty text when
// the cycle may go on: paper mode, a broker step still in flight, not a trading day,
// outside 08:30 to 14:50, the first three minutes after the start, a login or mailbox
// setting missing.
QString orderCycleSkipReason(const QDateTime &now);

// A reservation that is due, with what the order needs of it.
struct DueReservation {
    qint64 number = 0;
    int tradeKind = 0; // 取引区分
    int state = 0;     // 処理区分
    QString code;
    QString market;
    qint64 shares = 0;    // 株数
    qint64 bought = 0;    // 約定株数買
    qint64 sold = 0;      // 約定株数売
    int buyKind = 0;      // 指成区分買
    int sellKind = 0;     // 指成区分売
    qint64 buyLimit = 0;  // 指値買11
    qint64 sellLimit = 0; // 指値売11
};

// The due reservation changed longest ago (ties by number), among those whose stock has a
// price row on the processing day: buys waiting (state 0 or 4); held positions (state 2)
// whose profit-take price (when automatic profit taking is on) or stop-loss price (when
// automatic stop loss is on, and with averaging down only after its purchases are made)
// the day's close has reached, or whose holding days have passed by the start of the
// processing day; and rows in 0, 2 or 4 that the user asked to settle. A reservation whose
// last order has an unknown outcome (エラーコード 90), or whose order the order step refused
// (93), is never due. `queryText` receives the
// query with its values written in, for the log.
std::optional<DueReservation> selectDueReservation(const QDate &processingDay, const OD &order, QString &queryText);

// The order that serves a due reservation: a buy of the shares still to buy for a row in
// state 0 or 4, else a sell of every share still held (bought less sold).
etrOrderInfo orderFor(const DueReservation &due);

// An order of no shares (or fewer) is never sent: the row is logged and marked 93, which
// keeps it from being due until the user looks at it (settles it, deletes it) or the day
// change makes it held again; the run goes on.
void refuseOrderOfNoShares(const etrOrderInfo &order);

// What the information line tells of the active rows whose order was refused for its shares;
// empty when there is none.
QString refusedOrdersInfoText();
