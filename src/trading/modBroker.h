#pragma once

#include <QString>

#include <vector>

namespace browser {
class Browser;
}

// The broker web step: one job on the broker's site (place the current order, or read the
// balance and holdings), advanced one page per tick of the web timer. The opener copies the
// login into etrUserID/etrPassword/etrPassword2, calls etrOpen and etrLogin, sets
// etrRunningMode to 1 and starts the web timer; each tick calls etrAction while
// etrRunningMode is 1 and completes the step (etrClose, result into the store) once it is 3.
//
// Safety against a double order: once the order form has been sent (broker::orderSent), the
// reservation already holds エラーコード 90 ("outcome unknown") in the store, and a step
// that does not end with an accepted order (0) or a recognised refusal (2..5) ends with 90.

// The order the order cycle hands to the driver.
struct etrOrderInfo {
    int 予約番号 = 0;   // reservation number
    int 取引区分 = 0;   // 1 cash, 2 margin
    int 売買区分 = 0;   // 1 buy, 2 sell
    QString 銘柄コード; // stock code
    QString 市場コード; // market code ("t1", ...)
    int 株数 = 0;       // shares to order
    int 指成区分 = 0;   // 1 limit, 2 market
    int 指値 = 0;       // limit price, yen
};

// One row of the holdings table of the account page.
struct etrHoyuuInfo {
    QString 銘柄コード;
    QString 市場; // never filled: the account page does not show it
    qint64 株数 = 0;
    qint64 単価 = 0;
};

// Result codes of etrError.
enum etrErrorCode : int {
    etrErrNone = 0,               // order accepted, or balance read
    etrErrRefused = 1,            // order refused for a reason not recognised
    etrErrBuyingPower = 2,        // "買付余力が不足しております｡"
    etrErrTradingUnit = 3,        // "売買単位が誤っております｡"
    etrErrNoStock = 4,            // "該当する銘柄情報は見つかりませんでした。"
    etrErrHoldingsShort = 5,      // "預り残高が不足しているため"
    etrErrOutcomeUnknown = 90,    // order sent, its outcome not known: never re-send by itself
    etrErrRetriesSpent = 91,      // a page step failed four times in this step
    etrErrLoginRequired = 101,    // account page asks for a login
    etrErrServiceStopped = 1001,  // "サービス停止" on a page
    etrErrPaperMode = 1002,       // paper mode: the broker is never contacted
    etrErrNoBrokerAddress = 1003, // the site file names no usable broker address
    etrErrFormOffSite = 1004,     // a form of the page would go outside the broker's site: nothing was sent
    etrErrRedirectRefused = 1005, // the broker answered a request with a redirect the browser does not follow
    etrErrNoNewPage = 92,         // no new page came for several web ticks: the main window ended the step
    etrErrNoShares = 93           // the order step refused an order of no shares: the row waits for the user
};

// Step state.
extern int etrRequestMode; // 1 place etrOrder, 2 read balance and holdings
extern int etrActionMode;  // page expected next: 1 login, 3 main menu, 5 order form, 11 result page
extern int etrRunningMode; // 0 idle, 1 waiting for a page, 2 processing a page, 3 finished
extern int etrError;       // result code of the step (etrErrorCode)
extern int etrRetryCount;  // failed page attempts in this step
namespace broker {
extern bool orderSent; // the order form of this step was sent to the broker
// True while an order step for the reservation is under way (its order may be on its way).
bool orderStepInFlightFor(qint64 yoyakuNo);
// Puts every global of the broker step back to its value at program start: no step open,
// no login copied, no result.
void resetStep();
} // namespace broker

// Login copies made by the opener before etrOpen.
extern QString etrUserID;
extern QString etrPassword;
extern QString etrPassword2;

// Step results.
extern etrOrderInfo etrOrder;                     // filled by the order cycle before etrOpen
extern QString etrOrderNo;                        // order number of the last accepted order
extern qint64 etrGenkinZandaka;                   // cash balance read from the account page, yen
extern std::vector<etrHoyuuInfo> etrHoyuuMeigara; // holdings of the last account page; row n at n - 1
extern int etrHoyuuCount;                         // rows of etrHoyuuMeigara filled

// Opens a step of the given kind (1 order, 2 balance): resets the step state, and lets the
// browser send forms (the login, the order with its password) to broker pages only. In paper mode
// (sysBS.SelZituKounyu = 1), or when the site file names no usable broker address, the
// step ends at once with the reason logged and no request is made.
void etrOpen(browser::Browser &webOrder, int requestMode);
// Login page expected next, retry count 0.
void etrClear();
// Sends the browser to the broker's gateway and returns its address; does nothing and
// returns empty text when the step has already ended (paper mode, no address).
QString etrLogin(browser::Browser &webOrder);
// Ends the step and returns its result code. A step closed while in flight gives 91, or 90
// once its order was sent; with no step in flight the last result is returned as it is.
int etrClose();
// The broker's exchange code of a market code: "TKY", "OSK", ..., three blanks for none.
QString etrMarketCode(const QString &marketCode);
// Advances the step by one page: `pageURL` is the address of the page that completed last.
// A page that is not as expected is a failed attempt (three retries, then 91); a failure
// of the store or the log is not the page's and is thrown on (db::Error, sys::Failure).
void etrAction(browser::Browser &webOrder, const QString &pageURL);
