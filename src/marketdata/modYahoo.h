#pragma once

#include <QDate>
#include <QString>

#include <array>

namespace net {
class Inet;
}

// The current quote of one stock or index from the quote site's page. A request runs
// yhfBrandCode = code, yhfOpen(1), yhfRun2(control), yhfClose(); row yhfCount of yhfKabuka
// then holds the quote (row 0, all zero, when nothing was read).

struct yhfKabukaRecord {
    int Year = 0;
    int Month = 0;
    int Day = 0;
    int Hour = 0;           // 15 when the page shows a date instead of a time
    int Minute = 0;         // 0 then
    bool TimeShown = false; // the page showed a time, not a date
    double Genzaiti = 0;
    double ZenzituHi = 0;
    double ZenzituHiRitu = 0;
    double Hazimene = 0;
    double Takane = 0;
    double Yasune = 0;
    double Dekidaka = 0;
};

extern int yhfMode;   // 1 = current quote; with any other kind yhfRun2 does nothing
extern int yhfStatus; // 0 after yhfOpen, 11 after yhfClear; pages are parsed only at 11
extern int yhfError;  // 0, else why the last yhfRun2 brought no page
extern QString yhfBrandCode;
extern int yhfCount;
extern std::array<yhfKabukaRecord, 1001> yhfKabuka;

void yhfOpen(int kind);
void yhfClear(int kind);
void yhfRun2(net::Inet &control);
void yhfParseData2(const QString &page);
void yhfParseQuote(const QString &page);
int yhfClose();

// The site's code suffix of a market code (".t", ".o", ...; empty for the rest).
QString yhfSuffix(const QString &market);

// The page reader itself, free of module state. `today` dates a quote that shows a time
// and gives the year of one that shows a date.
struct YahooQuote {
    enum class Kind {
        NoRow,   // blank page, or the site's page for a code it does not list
        NoQuote, // a quote page without a readable quote: a row of zeros
        Quote,
    };
    Kind kind = Kind::NoRow;
    yhfKabukaRecord record;
};
YahooQuote readYahooQuote(const QString &page, const QDate &today);
