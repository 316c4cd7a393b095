#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

struct YakuzyouNotice;

// What became of one execution notice.
struct NoticeBooking {
    qint64 yoyakuNo = 0; // the reservation it was written to; 0 when it changed nothing
    // Set when the notice names an order this program placed but does not fit it: the
    // reason, for the log and the user.
    QString misfit;
    // Set when the price outside the execution day's band is the only reason: a band drawn
    // before that day's prices were stored does not know of a split on that day.
    bool priceAlone = false;
};

// Writes one execution notice into the store, inside the caller's transaction; the log
// lines of what was done are appended to `log`.
//
// A notice counts only against an order this program placed (ttplacedorder): the order
// with its number, placed on the execution day or on a day just before it from which a
// day order can still be open, of its stock and side, whose notices together never bring
// more shares than were ordered, at a price within the execution day's price-limit band
// (around the close of the trading day before, when that close is stored and no split came
// since; otherwise the price is not tested). Without such an order, a reservation of the
// stock whose order was sent with an unknown outcome (error 90) that day is taken when it
// is the only one and the notice fits it, and its order is recorded. A notice that fits
// nothing changes nothing.
//
// A fitting notice reaches its reservation whatever happened to the row since: the side's
// weighted average price and shares, the order's executed shares and a history row are
// written. A buy filled on its own day makes the row held (2); once the order's day has
// passed the row is made what its shares say: held with 株数 = the shares held (a buy
// still to be placed on the row keeps its target, raised by the notice's shares). A sell
// finishes the row (9) once every share bought is sold. `t0` is the time of the pass.
NoticeBooking bookNotice(const YakuzyouNotice &notice, const QDateTime &t0, QStringList &log);

// Books a sale the user enters by hand (its notice never came or did not fit) on the
// reservation, inside the caller's transaction: the writes of a sell notice, without the
// test against the placed orders. The reservation's placed sell order of that number, when
// there is one, takes the shares, so that its notice cannot count them again.
void bookSaleByHand(const YakuzyouNotice &sale, qint64 yoyakuNo, const QDateTime &t0, QStringList &log);
