#pragma once

#include <QDate>
#include <QtGlobal>

#include <optional>

// The orders this program placed at the broker (ttplacedorder): an accepted order is
// written in the same transaction that marks its reservation as ordered, and a notice
// counts only against one of them. The procedures run inside the caller's transaction.

struct PlacedOrder {
    qint64 orderNo = 0;
    QDate day; // the day it was placed: an order is valid for that day only
    qint64 yoyakuNo = 0;
    int side = 1;        // 1 buy, 2 sell
    qint64 shares = 0;   // shares ordered
    qint64 executed = 0; // shares its notices have brought so far
};

void recordPlacedOrder(const PlacedOrder &order);

// The order with that number placed on or before the execution day, the latest one when
// the broker has used the number before.
std::optional<PlacedOrder> findPlacedOrder(qint64 orderNo, const QDate &executionDay);

// Adds the shares of one notice to the order's executed shares.
void addPlacedOrderExecution(const PlacedOrder &order, qint64 shares);
