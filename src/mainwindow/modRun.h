#pragma once

#include <QString>

#include <cstdint>
#include <functional>

class QAction;
class QDate;
class QLabel;
namespace browser {
class Browser;
}
namespace net {
class Inet;
}
namespace ui {
class Chart2D;
class FlexGrid;
class Timer;
} // namespace ui

// Automatic running: the run button, the order timer, the web timer and the completion of
// a broker web step. The main window owns the controls and hands them in as one set.
struct RunControls {
    ui::Timer &tmrOrder;
    ui::Timer &tmrWeb;
    browser::Browser &webOrder;
    const QString &mstrPageURL;
    QLabel &lblRunStatus;
    QLabel &lblMsg;
    QLabel &lblInfo;
    QLabel &lblMaxDate;
    QLabel &lblDate;
    QLabel &imgRun;
    const QLabel &imgPowerOn;
    const QLabel &imgPowerOff;
    ui::FlexGrid &msfgSelect;
    ui::FlexGrid &msfgOrder;
    ui::Chart2D &cht2Gra2;
    net::Inet &InetMinuteData;
    QAction &mnuSelect;
    QAction &mnuSettings;
    QAction &mnuHosyu;
    QAction &mnuSimulation;
    QAction &mnuPrintTradeHistory;
    // The window's figures: the account header, and the panel of the stock selected in a
    // list (which leaves the panel alone while no stock is selected or the panel is hidden).
    std::function<void()> setHeader = [] {};
    std::function<void()> showSelectedChartInfo = [] {};
    // The information line's parts: the word from the mailbox passes, the rows whose order
    // the order step refused, then the screening's; and the mark of the newest refused
    // notice the line counts.
    QString mailboxInfo{};
    QString refusedOrdersInfo{};
    QString screeningInfo{};
    qint64 refusalsShownUpTo = 0;
};

inline const QString kRunning = QStringLiteral("運転中");
inline const QString kStopped = QStringLiteral("停止中");

// A day as the date label shows it: "yyyy/mm/dd(曜)" with the short Japanese weekday.
QString dateCaption(const QDate &day);

// Whether the run label reads "運転中".
bool isRunning(const RunControls &c);

// One pass of the execution-notice reader under the busy guard, then the information line
// with what the passes have to tell. Empty text when the mailbox was read, else the
// reader's error text. Nothing in it waits for the user.
QString readNoticeMails(RunControls &c);

// The information line pressed: the refused notices it counts are taken as seen and leave it.
void lblInfo_Click(RunControls &c);

// Timer intervals, the information line emptied, the market-average frame shown and the
// candidate frame hidden; neither timer is enabled.
void initTimer(RunControls &c);

// The run button pressed (by the user, or in code by the automatic start). A start checks
// the settings first (real mode: the six login and mailbox values and the broker address,
// then one mail pass that must reach the mailbox) and begins with the balance step. A stop
// takes effect at once between steps; pressed while an order tick or a broker step is in
// flight it is latched, shown in lblMsg, and applied when that ends.
void imgRun_MouseDown(RunControls &c);
// Shows the on or off picture by the run state.
void imgRun_MouseUp(RunControls &c);

// Opens the broker step that reads the balance and holdings and starts the web timer.
void startWebOrder(browser::Browser &webOrder, ui::Timer &tmrWeb);

// The order-timer tick: market average, the selected stock's panel, the order list and the
// header, the daily block, the mail pass and the order cycle. A tick that finds another job
// running skips and re-arms itself.
void tmrOrder_Timer(RunControls &c);
// The web-timer tick: advances the broker step by the page loaded last and completes it.
// A completed step with a broker error stops the run and says why.
void tmrWeb_Timer(RunControls &c);

// Advances or completes the broker step by etrRunningMode; true when it completed one. A
// completed balance step refreshes the header with the new capital.
bool doWebResult(RunControls &c);

// Web ticks without a new page after which a step is ended with etrErrNoNewPage.
inline constexpr int kStepWatchdogTicks = 6;

// Forgets a latched stop and the watchdog count (a new window, a test).
void resetRunControl();
