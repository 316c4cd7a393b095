#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

namespace net {
class Inet;
}
namespace ui {
class Chart2D;
}

// The intraday market average ("998407" on "na"): recorded once a minute in trading hours
// into tttimestocks and drawn as the day's minute chart. getGenzaiti also gives the main
// window's information panel the current quote of a stock.

struct GenzaitiQuote {
    int hour = 0;
    int minute = 0;
    double open = 0;
    double high = 0;
    double low = 0;
    double price = 0;       // 0 when the quote could not be read
    QDate day;              // today for a quote that shows a time, else the day the page shows
    bool timeShown = false; // the page showed the quote's time (else a date, read as 15:00)
};

// The current quote of `code` through the quote module; zeros when nothing was read.
// The market is not part of the lookup.
GenzaitiQuote getGenzaiti(net::Inet &control, const QString &code, const QString &market);

// Records the current quote of `code` on `market` as the point of its own quote time on
// `day`, replacing an earlier point of that time. Only on weekdays from 09:00 to 15:00
// outside 11:00 to 12:30 (both ends included in each), and only for a readable price of
// that day shown with its time: a page that shows a date (of an earlier trade, or today's
// in date form) stores nothing. Asks the busy guard like every data job.
void saveTimeStocks(net::Inet &control, const QDateTime &day, const QString &code, const QString &market);

// Redraws `chart` with the stored points of `code` on `market` on `day`, evenly spaced,
// labelled "hh:mm" at every 50th point. Callers pass 1 as `flag`; the chart does not use it.
void drawTimeChart(int flag, const QString &code, const QString &market, const QDateTime &day, ui::Chart2D &chart);
