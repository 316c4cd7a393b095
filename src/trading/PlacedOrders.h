#pragma once

#include <QDate>
#include <QtGlobal>

#include <optional>
#include <vector>

// The orders this program placed at the broker (ttplacedorder): an accepted order is
// written in the same transaction that marks its reservation as ordered, and a notice
// counts only against one of them. The procedures run inside the caller's transaction.

struct PlacedOrder {
    // The shares of an order that an earlier version of the program placed without
    // keeping them: its notices are not bounded by a share count.
    static constexpr qint64 kSharesNotKnown = -1;

    qint64 orderNo = 0;
    QDate day; // the day it was placed: an order is valid for that day only
    qint64 yoyakuNo = 0;
    int side = 1;        // 1 buy, 2 sell
    qint64 shares = 0;   // shares ordered, or kSharesNotKnown
    qint64 executed = 0; // shares its notices (and sales entered by hand) have brought so far
    qint64 byHand = 0;   // of those, the shares entered by hand whose notice has not come yet

    bool sharesKnown() const { return shares != kSharesNotKnown; }
};

// Records the order; false, writing nothing, when an order with its number was already
// placed that day (only a false acceptance repeats a number).
[[nodiscard]] bool recordPlacedOrder(const PlacedOrder &order);

// The order with that number that can have executed on the execution day: one placed on
// that day. Program orders are day orders placed in trading hours, and the broker may
// number its orders anew each day, so an order of another day is never taken.
std::optional<PlacedOrder> findPlacedOrder(qint64 orderNo, const QDate &executionDay);

// The reservation's sell orders that their notices have not filled yet, of any day (a
// day's order is over with its day, but its late notices may still come), latest first.
std::vector<PlacedOrder> openSellOrders(qint64 yoyakuNo);

// Adds the shares of one notice to the order's executed shares.
void addPlacedOrderExecution(const PlacedOrder &order, qint64 shares);

// Charges a sale entered by hand to the order: its executed shares and the shares awaiting
// their notice grow.
void addHandEnteredExecution(const PlacedOrder &order, qint64 shares);

// The notice of shares that were entered by hand has come: they await it no longer.
void takeHandEnteredShares(const PlacedOrder &order, qint64 shares);

// Forgets the orders of a reservation that is deleted, so that a new reservation that
// takes its number never receives their notices.
void deletePlacedOrders(qint64 yoyakuNo);
void deleteAllPlacedOrders();
