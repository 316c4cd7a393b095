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
};

// Writes one execution notice into the store, inside the caller's transaction; the log
// lines of what was done are appended to `log`.
//
// A notice counts only against an order this program placed (ttplacedorder): the order
// with its number, of its stock and side, whose notices together never bring more shares
// than were ordered, at a price within the price-limit band of the execution day (around
// the stock's last stored close before that day). Without such an order, a reservation of
// the stock whose order was sent with an unknown outcome (error 90) that day is taken when
// it is the only one, and its order is recorded. A notice that fits nothing changes
// nothing.
//
// A fitting notice reaches its reservation whatever happened to the row since: the side's
// weighted average price and shares, the order's executed shares and a history row are
// written. A buy filled on its own day makes the row held (2); once the order's day has
// passed the row is made what its shares say: held with 株数 = the shares bought (a buy
// still to be placed on the row keeps its target, raised by the notice's shares). A sell
// finishes the row (9) once every share bought is sold. `t0` is the time of the pass.
NoticeBooking bookNotice(const YakuzyouNotice &notice, const QDateTime &t0, QStringList &log);
