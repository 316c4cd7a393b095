#pragma once

#include "marketdata/DeadSiteRule.h"

#include <QDate>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <optional>

class QLabel;

namespace net {
class Inet;
}

// The daily price-limit band around a base price, from tmpricerange: lower = base - width
// (never below 0), upper = base + width; both 0 when no band holds the base price.
void getSeigenNehaba(qint64 basePrice, qint64 &lowerLimit, qint64 &upperLimit);

// The same band around a base price that may carry a fraction (a stored close), unrounded:
// a table row holds its whole yen and the fraction up to the next row's start.
struct PriceLimitBand {
    double lower = 0;
    double upper = 0;
};
std::optional<PriceLimitBand> priceLimitBand(double basePrice);

// Days of prices the price database keeps: the day change purges older rows, and the
// first import of an empty or long-stale database reaches back this far.
inline constexpr int kKeptPriceDays = 200;

// What one import did, for callers that report or act on it.
struct KabukaImport {
    int failedPages = 0;  // stock-days without a usable page or row; their stored rows stay
    int newRows = 0;      // stock-days stored for the first time (indicators not yet computed)
    int replacedRows = 0; // stored stock-days whose prices were replaced
    bool stopped = false; // ended early: the site stopped answering, or a stop was asked for
};

// How an import runs beside its range and stocks.
struct KabukaImportOptions {
    // The start-up update: stock-days the update journal has done are skipped, and each
    // stock-day done is noted in the journal together with its row.
    bool journaled = false;
    // Asked after each stock; true ends the import there (what arrived is stored).
    std::function<bool()> stopRequested;
};

// Imports the daily prices of every trading day from `start` to `end` (days, oldest
// first) for every stock of tmbond, or for the one stock `code` on `market` when the code
// is not blank, one history page per stock and day. Only a row dated the day itself is
// taken, and only when its cells are valid prices and volume. A stored stock-day is
// replaced only by such a row; the replacement keeps the row's computed indicators until
// they are recalculated. A page that cannot be fetched or read, or a bad row, leaves the
// stored row as it was, is counted and logged with the stock and the day. After
// kDeadSiteStocks stocks in a row without a usable page the import stops with a log line
// and a message naming the site's host. `label` shows the progress.
KabukaImport getKabuka(net::Inet &control, QLabel &label, const QDate &start, const QDate &end, const QString &code,
                       const QString &market, const KabukaImportOptions &options = {});

// The split pass: every stock with rows marked 2 in 分割区分 (of the one stock when `code`
// is not blank) is imported again over `start`..`end`. Only when every page of the range
// was read are the stock's rows replaced, all in one transaction, its indicators
// recomputed over the range and its marked rows set to 1; otherwise nothing of the stock
// changes and the next pass tries it again. Returns false when the pass was stopped (the
// site stopped answering, or options.stopRequested).
bool getBunkatuKabuka(net::Inet &control, QLabel &label, const QDate &start, const QDate &end, const QString &code,
                      const QString &market, const KabukaImportOptions &options = {});
