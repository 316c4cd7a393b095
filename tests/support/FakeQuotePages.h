#pragma once

#include "support/FakeMarket.h"

#include <QString>

// The pages of the fake quote site as text, in the shapes the real sites write them.
// "%META%" in a page's head stands for its charset <meta> tag, filled in when served.
namespace fakepages {

// How the money site's pages name their stock.
enum class CodeMarks {
    Parentheses,   // the header "(7203)&nbsp;&nbsp;東証1部&nbsp;…", the history page's heading "name(7203)"
    AngleBrackets, // the header "&lt;7203&gt;東証1部&nbsp;…", the history page names no code
};

QString stockHeaderPage(const FakeStock &stock, CodeMarks marks);
// The money site's answer for a code it does not list.
QString noMatchPage();
// Rows from `end` back to `start`, newest first, then the trading day before `start`;
// the split day twice.
QString historyPage(const FakeMarket &market, const FakeStock &stock, const QDate &start, const QDate &end,
                    CodeMarks marks);
QString cautionPage(const FakeMarket &market);
QString quotePage(const QString &code, const QString &name, const FakeQuote &quote);
// The quote site's answer for a code it does not list.
QString noKeywordPage();
QString errorPage();
// The same page after a redesign: none of the markers the readers look for is left.
QString changedPage(QString page);

} // namespace fakepages
