#pragma once

#include <QString>

#include <functional>

class QLabel;

namespace net {
class Inet;
}

// Rebuilds the stock master tmbond for the codes `low` to `high` (four-digit codes) of
// every market of tmmarket, or of the one market `market` when it is not blank, from the
// money site's stock header pages, after asking the user. One page is asked per code and
// site letter (the markets sharing a letter share the page, which names the stock's one
// market there). The new master is gathered aside and replaces the old rows of the range
// in one transaction at the end. Only the site's own "no such stock" answer drops a code; a
// code whose page could not be fetched or read keeps its old rows (and is logged), and a
// stock that stays listed keeps its exclusion and caution flags. When more than a tenth of
// the pages went unread the whole old master stays, with a log line and a message; so it
// does when kDeadSiteStocks pages in a row went unread (the site is taken for down, and
// the message names its host) and when `stopRequested`, asked after each page and after
// each failed attempt at one, says so.
// Returns false when the rebuild stopped so before its end.
bool getBrandMst(net::Inet &control, QLabel &label, const QString &low, const QString &high, const QString &market,
                 const std::function<bool()> &stopRequested = {});
