#pragma once

#include <QDate>

namespace db {
class Connection;
}

// The smallest market in which the live screening finds a candidate: the reference stock
// "7203" and the stock "1001" on "t1", both in the master, with rows on the processing day
// and the data day before it that pass the fixed screening preset (close 930 under its
// medium average, volume ratios in range).
void addCandidateMarket(db::Connection &connection, const QDate &previousDay, const QDate &processingDay);
