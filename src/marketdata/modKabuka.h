#pragma once

#include <QDate>
#include <QString>
#include <QtGlobal>

class QLabel;

namespace net {
class Inet;
}

// The daily price-limit band around a base price, from tmpricerange: lower = base - width
// (never below 0), upper = base + width; both 0 when no band holds the base price.
void getSeigenNehaba(qint64 basePrice, qint64 &lowerLimit, qint64 &upperLimit);

// Days of prices the price database keeps: the day change purges older rows, and the
// first import of an empty or long-stale database reaches back this far.
inline constexpr int kKeptPriceDays = 200;

// What one import did, for callers that report or act on it.
struct KabukaImport {
    int failedPages = 0;  // stock-days whose page could not be fetched; their stored rows stay
    int newRows = 0;      // stock-days stored for the first time (indicators not yet computed)
    int replacedRows = 0; // stored stock-days whose prices were replaced
};

// Imports the daily prices of every trading day from `start` to `end` (days, oldest
// first) for every stock of tmbond, or for the one stock `code` on `market` when the code
// is not blank, one history page per stock and day. Only a row dated the day itself is
// taken. A stored stock-day is replaced only when its page came back with a row for that
// day; the replacement keeps the row's computed indicators until they are recalculated.
// A page that cannot be fetched leaves the stored row as it was and is counted (and
// logged per day). `label` shows the progress.
KabukaImport getKabuka(net::Inet &control, QLabel &label, const QDate &start, const QDate &end, const QString &code,
                       const QString &market);

// The split pass: every stock with rows marked 2 in 分割区分 (of the one stock when `code`
// is not blank) is imported again over `start`..`end` once, its marked rows are set to 1
// and its indicators recomputed over the range. A stock whose re-import missed a page
// keeps its marks, so the next pass tries it again.
void getBunkatuKabuka(net::Inet &control, QLabel &label, const QDate &start, const QDate &end, const QString &code,
                      const QString &market);
