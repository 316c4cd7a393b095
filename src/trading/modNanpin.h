#pragma once

#include <QDate>
#include <QDateTime>

struct OD;

// Averaging down: when the order record switches it on and today is a trading day, every
// held reservation (not marked for settlement, with a known buy price) whose adjusted close
// on the processing day has fallen at least ODNanpinWariai percent below its buy price, and
// that has made fewer than ODNanpinKai - 1 averaging-down purchases and none today, goes
// back to order preparation with a larger share count. Returns how many did.
int checkNanpin(const QDateTime &runStart, const QDate &processingDay, const OD &order);
