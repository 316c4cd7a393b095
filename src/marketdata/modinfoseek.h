#pragma once

#include <QString>

#include <array>
#include <functional>
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

// A history row left out of iskKabuka because a cell is not a usable price or volume.
struct IskRejectedRow {
    int Year = 0;
    int Month = 0;
    int Day = 0;
    QString column; // the column's heading, e.g. "終値"
    QString cell;   // the cell's text as the page wrote it
};
// The rejected rows of the last history page, in page order.
extern std::vector<IskRejectedRow> iskRejected;

// iskError of a history page that came but cannot be used: not a complete price-history
// page (an error page, a redesign, a cut-off page, a wrong charset), or the page (history
// or header) of another stock than the one asked for.
inline constexpr int kIskUnreadablePage = 99952;
inline constexpr int kIskOtherStockPage = 99953;
// iskError when the site file gives no address for the page (the reason is logged).
inline constexpr int kIskNoAddress = 99954;

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
// transfer error number, or 99951 when no attempt raised one. A page past the transfer's
// size limit or redirected to another host is not asked for again. A history page that
// came but cannot be used sets kIskUnreadablePage or kIskOtherStockPage. When
// `stopRequested` says so after a failed attempt, no further attempt is made and iskError
// is set as after the last one.
void iskRun(net::Inet &control, const std::function<bool()> &stopRequested = {});
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

// The host of the money site as the site file names it, for messages; empty without one.
QString iskSiteHost();

// The market code of a market name on the header page ("na" for an unknown name).
QString iskMarketCode(const QString &name);
// The site letter of a market code in the "&qt=" key ("na" for an unknown code).
QString iskSuffix(const QString &market);

// The page readers themselves, free of module state.
struct IskHeader {
    QString code; // the stock code the header names, "7203" for "(7203)", "&lt;7203&gt;" or another
                  // bracketed form of PageSubject.h; empty for none
    QString brandName;
    QString sizyouCode;
    QString gyousyuName;
    QString tangenKabusu;
};
// True for the site's own "no such stock" answer.
bool isIskNotFoundPage(const QString &page);
// The header of a stock; nothing for the site's "no such stock" page or a page whose
// header lacks one of its parts. iskParseHeader refuses a header as another stock's only
// when it names a code and that code is not the one asked for.
std::optional<IskHeader> readIskHeader(const QString &page);
// What a history page gives: its rows in page order, ending before the first row dated
// before the start day, and the rows left out. A day listed twice gives one row marked 2.
// A row is kept only when its five prices are positive whole numbers (rounded, halves to
// even) up to kIskMaxPrice and its volume a whole number from 0 to kIskMaxVolume; any
// other row is rejected with the first bad cell. The page is read only when its table
// ends and it is not another stock's page; otherwise it gives no rows. A page is another
// stock's when its own subject, its title or a main heading (<h1>) above the table, names
// a stock code other than `code` in one of the bracketed forms of PageSubject.h ("(6758)",
// "（6758）", "【6758】", "[6758.T]", "&lt;6758&gt;"). A number there that is a year from
// the start year to this year ("時系列 (2007)") is read as a year, not as a code. Codes
// elsewhere on the page (a box of other stocks) say nothing of its subject, and a page
// whose title and headings name no code is read. Time is linear in the page's length.
inline constexpr qint64 kIskMaxPrice = 10'000'000'000LL;
inline constexpr qint64 kIskMaxVolume = 1'000'000'000'000'000LL;
struct IskHistory {
    enum class Page { Read, Unreadable, OtherStock };
    Page page = Page::Unreadable;
    std::vector<iskKabukaRecord> rows;
    std::vector<IskRejectedRow> rejected;
};
IskHistory readIskHistory(const QString &page, const QString &code, int startYear, int startMonth, int startDay);
