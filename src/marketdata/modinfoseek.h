#pragma once

#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace net {
class Inet;
}

// The money site's pages of one stock: the stock header (mode 1: name, market, industry,
// trading unit) and the daily price history over a date range (mode 2). A request runs
// set values, iskOpen(mode), iskRun(control), iskClose(); the caller then reads the results.

struct iskKabukaRecord {
    int Year = 0;
    int Month = 0;
    int Day = 0;
    qint64 Owarine = 0;
    QString Hazimene = QStringLiteral("0"); // whole number kept as its decimal text
    qint64 Takane = 0;
    qint64 Yasune = 0;
    qint64 Dekidaka = 0;
    qint64 TyouseiOwarine = 0;
    int BunkatuKubun = 0; // 2 when the page lists the day twice (a split)
};

extern int iskMode;   // 1 stock header, 2 price history
extern int iskStatus; // 0 after iskOpen, 11 after iskClear; pages are parsed only at 11
extern int iskError;  // 0, else why the last iskRun brought no page; blocks iskRun until iskOpen
extern int iskCount;  // rows 1..iskCount of iskKabuka hold results (1 after a read header)
extern std::array<iskKabukaRecord, 1001> iskKabuka;

// Request values, set by the caller before iskRun.
extern QString iskBrandCode;
extern QString iskSizyouCode; // also the market read from a header page
extern int iskStartYear;
extern int iskStartMonth;
extern int iskStartDay;
extern int iskEndYear;
extern int iskEndMonth;
extern int iskEndDay;

// Results of a header page.
extern QString iskBrandName;
extern QString iskGyousyuName;
extern QString iskTangenKabusu;

void iskOpen(int mode);
void iskClear(int mode);
// Up to ten attempts at the page; after ten without a page iskError holds the last
// transfer error number, or 99951 when no attempt raised one.
void iskRun(net::Inet &control);
// Completion of an asynchronous request on the control: parses the response on
// icResponseCompleted, ignores every other state.
void iskAction(net::Inet &control, int state);
void iskParse(const QString &page);
void iskParseHeader(const QString &page);
void iskParseHistory(const QString &page);
int iskClose();
// True when the last header page was the site's own "no such stock" answer; false for a
// page that was read and for one that was neither (an error page, a redesign).
bool iskNotListed();

// The market code of a market name on the header page ("na" for an unknown name).
QString iskMarketCode(const QString &name);
// The site letter of a market code in the "&qt=" key ("na" for an unknown code).
QString iskSuffix(const QString &market);

// The page readers themselves, free of module state.
struct IskHeader {
    QString brandName;
    QString sizyouCode;
    QString gyousyuName;
    QString tangenKabusu;
};
// True for the site's own "no such stock" answer.
bool isIskNotFoundPage(const QString &page);
// The header of a stock; nothing for the site's "no such stock" page or a page whose
// header lacks one of its parts.
std::optional<IskHeader> readIskHeader(const QString &page);
// The history rows in page order, ending before the first row dated before the start day.
// A day listed twice gives one row marked 2; a row whose cells end early is left out and
// ends the reading.
std::vector<iskKabukaRecord> readIskHistory(const QString &page, int startYear, int startMonth, int startDay);
