#include "mainwindow/modRun.h"

#include "core/BusyGuard.h"
#include "core/CancelToken.h"
#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "core/modRegistrySet.h"
#include "marketdata/modMarket.h"
#include "marketdata/modTimeStocks.h"
#include "platform/browser/Browser.h"
#include "platform/db/DbDate.h"
#include "platform/sys/Clock.h"
#include "platform/sys/TerminationRequests.h"
#include "platform/text/VbText.h"
#include "platform/ui/Chart2D.h"
#include "platform/ui/DoEvents.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Timer.h"
#include "screening/modSuisyouMeigara.h"
#include "trading/BrokerSite.h"
#include "trading/BrokerStep.h"
#include "trading/PlacedOrders.h"
#include "trading/modBrandGrid.h"
#include "trading/modBroker.h"
#include "trading/modLatestData.h"
#include "trading/modOrderCycle.h"
#include "trading/modOrderDue.h"
#include "trading/modOrderGrid.h"
#include "trading/modOrderZyunbi.h"
#include "trading/modReservation.h"
#include "trading/modSizing.h"
#include "trading/modYakuzyouMail.h"

#include <QAction>
#include <QLabel>
#include <QWidget>

#include <algorithm>

namespace {

constexpr int kOrderTimerInterval = 60000;
constexpr qint64 kCapitalCap = 5000000;
const QString kStopLatchedText = QStringLiteral("停止を受け付けました。処理中の注文が終わり次第停止します。");

// A stop pressed while a tick or a step was in flight, applied when it ends.
bool stopLatched = false;
// Web ticks of the step in flight that found no page newer than the last one seen.
int ticksWithoutPage = 0;
std::uint64_t lastSeenDocument = 0;

bool loginAndMailboxSet()
{
    for (const QString *value : {&UserID, &Password, &Password2, &POP3Server, &POPUserID, &POPPassword}) {
        if (text::trimSpaces(*value).isEmpty())
            return false;
    }
    return true;
}

void showPicture(QLabel &imgRun, const QLabel &source)
{
    imgRun.setPixmap(source.pixmap());
}

// The information line: the mailbox passes' part, the refused orders', then the screening's.
void showInfoLine(RunControls &c)
{
    const QString text = c.mailboxInfo + c.refusedOrdersInfo + c.screeningInfo;
    c.lblInfo.setText(text);
    c.lblInfo.setToolTip(text);
}

// The mailbox's part of the information line as the store has it now; the line changes
// only when it has news.
void refreshMailboxInfo(RunControls &c)
{
    c.refusalsShownUpTo = refusedNotices().upTo;
    if (const QString news = mailboxInfoText(); news != c.mailboxInfo) {
        c.mailboxInfo = news;
        showInfoLine(c);
    }
}

void setMenusEnabled(RunControls &c, bool enabled)
{
    c.mnuSelect.setEnabled(enabled);
    c.mnuSettings.setEnabled(enabled);
    c.mnuHosyu.setEnabled(enabled);
    c.mnuSimulation.setEnabled(enabled);
    c.mnuPrintTradeHistory.setEnabled(enabled);
}

// Ends automatic running at once: the stopped state of the run control, with nothing
// checked first, so that a stop always stops.
void stopRun(RunControls &c)
{
    QPalette palette = c.lblRunStatus.palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 0));
    c.lblRunStatus.setPalette(palette);
    c.lblRunStatus.setText(kStopped);
    setMenusEnabled(c, true);
    c.tmrOrder.setEnabled(false);
    c.tmrWeb.setEnabled(false);
    c.imgRun.setEnabled(true);
    etrRunningMode = 0;
    if (stopLatched && c.lblMsg.text() == kStopLatchedText)
        c.lblMsg.clear();
    stopLatched = false;
    showPicture(c.imgRun, c.imgPowerOff);
    writeProgramLog(QStringLiteral("運転停止"));
}

// Where a tick or a step ends while running: the order timer runs again, or the latched
// stop takes effect in its place.
void resumeOrStop(RunControls &c)
{
    if (!isRunning(c))
        return;
    if (stopLatched)
        stopRun(c);
    else
        c.tmrOrder.setEnabled(true);
}

void startRun(RunControls &c)
{
    showPicture(c.imgRun, c.imgPowerOff);
    ui::doEvents();
    QPalette palette = c.lblRunStatus.palette();
    palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
    c.lblRunStatus.setPalette(palette);
    c.lblRunStatus.setText(kRunning);
    stopLatched = false;
    const QDateTime now = sys::now();
    glngStartMinute = now.time().hour() * 60 + now.time().minute();
    if (!sysBS.StartDate.isValid() || sysBS.StartDate.date() <= kZeroDate.date())
        sysBS.StartDate = QDateTime(now.date(), QTime(0, 0));
    setRegistryAll();
    setMenusEnabled(c, false);
    c.imgRun.setEnabled(false);
    writeProgramLog(QStringLiteral("運転開始"));
    if (!sysBS.paperMode()) {
        c.lblMsg.setText(QStringLiteral("残高を取得しています。"));
        startWebOrder(c.webOrder, c.tmrWeb);
    } else {
        // The pseudo balance step: the cash is what the capital leaves beside the holdings;
        // the first web tick completes it.
        etrRunningMode = 3;
        etrRequestMode = 2;
        etrError = etrErrNone;
        etrGenkinZandaka = qint64(sysBS.TousiGanpon) - getHoyuuKingaku(sysBS.StartDate);
        c.tmrWeb.setInterval(kWebTimerInterval);
        c.tmrWeb.setEnabled(true);
    }
    ui::doEvents();
}

// Refuses a start that cannot run: the message, the off picture, nothing else changed.
void refuseStart(RunControls &c, const QString &message)
{
    ui::msgBox(message, ui::vbExclamation);
    showPicture(c.imgRun, c.imgPowerOff);
    imgRun_MouseUp(c);
    ui::doEvents();
}

// The day's candidates and their reservations, under the busy guard; sets the information
// line when there is nothing to buy today. The free slots are counted on the order list as
// it stands now (after the day change). A day whose price update was stopped prepares no
// new buys: its candidates would come from the older prices.
void screenAndPrepare(RunControls &c, const QDateTime &now)
{
    if (gdtUpdateStoppedDate == now.date()) {
        writeProgramLog(QStringLiteral("***最新データを取得できなかったため本日の新規買い注文は準備しない"));
        c.screeningInfo = QStringLiteral("最新データを取得できなかったため、本日の新規買い注文は準備しません");
        showInfoLine(c);
        return;
    }
    const BusyGuard busy(QStringLiteral("推奨銘柄の検索と注文準備"));
    if (!busy.started())
        return;
    setOrderGrid(c.msfgOrder);
    QStringList codes;
    const jobs::CancelToken never;
    searchSuisyouMeigara(1, c.lblMsg, c.msfgSelect, gdtLastKabukaDate, sysBS, sysSL, sysOD, sysSizyou, codes, never);
    const int inserted = Select2ORderGrid(c.msfgSelect, c.msfgOrder, now);
    const int registeredToday = getOrderCount(3, now.date());
    c.screeningInfo = inserted == 0 && registeredToday == 0 ? QStringLiteral("現在、推奨銘柄はありません") : QString();
    showInfoLine(c);
}

void dailyBlock(RunControls &c, const QDateTime &now)
{
    readNoticeMails(c);
    getLatestData();
    c.lblMaxDate.setText(QStringLiteral("最終データ：") + gdtLastKabukaDate.toString(QStringLiteral("yyyy/MM/dd")));
    setBrandGridHeader(c.msfgSelect);
    if (isTradingDay(now))
        screenAndPrepare(c, now);
    setOrderGrid(c.msfgOrder);
    gdtLastDailyDate = now.date();
    c.lblDate.setText(dateCaption(now.date()));
    // The whole-number value of the day fraction stored here is 0: the pause after a start
    // is lifted for the rest of the day.
    glngStartMinute = 0;
}

bool dailyBlockDue(const QDateTime &now)
{
    return now.toString(QStringLiteral("yyyyMMdd")) > gdtLastDailyDate.toString(QStringLiteral("yyyyMMdd")) &&
           now.toString(QStringLiteral("HHmm")) >= QStringLiteral("0200");
}

// An accepted order marks its reservation as ordered and is kept among the placed orders,
// in one transaction, so that its notices always find it. An acceptance that repeats the
// number of an order placed that day is no acceptance to believe: the reservation is marked
// "outcome unknown" and the run stops for the user to check the broker's site.
void writeOrderResult(const QDateTime &at)
{
    db::Transaction transaction(gcnDB);
    if (etrError == etrErrNone) {
        const qint64 orderNo = qint64(text::leadingNumber(etrOrderNo));
        if (recordPlacedOrder({orderNo, at.date(), etrOrder.予約番号, etrOrder.売買区分, etrOrder.株数, 0})) {
            gcnDB.execute(
                QStringLiteral("update ttresevation set エラーコード = ?, 処理区分 = ?, 注文番号 = ?, 更新日付 = ? "
                               "where 予約番号 = ?"),
                etrError, etrOrder.売買区分 == 1 ? int(kubunKaiTyumon) : int(kubunUriTyumon), orderNo,
                db::dateTimeText(at), etrOrder.予約番号);
            transaction.commit();
            return;
        }
        writeLog(glngLogFileNo, QStringLiteral("★同じ注文番号の受付が既にあるため記録しない(注文番号:%1/予約番号:%2)")
                                    .arg(orderNo)
                                    .arg(etrOrder.予約番号));
        etrError = etrErrOutcomeUnknown;
    }
    gcnDB.execute(QStringLiteral("update ttresevation set エラーコード = ?, 更新日付 = ? where 予約番号 = ?"), etrError,
                  db::dateTimeText(at), etrOrder.予約番号);
    transaction.commit();
}

void writeBalance(RunControls &c, const QDateTime &now)
{
    const qint64 capital = getHoyuuKingaku(sysBS.StartDate) + etrGenkinZandaka;
    sysBS.TousiGanpon = int(std::min(capital, kCapitalCap));
    // The broker's cash holds the profit realised until now; the paper figure is the user's.
    sysBS.TousiGanponDate = sysBS.paperMode() ? kZeroDate : now;
    setRegistryAll();
    if (isTradingDay(now))
        screenAndPrepare(c, now);
}

QString brokerErrorMessage(int code, int requestMode)
{
    if (requestMode == 1 && code == etrErrOutcomeUnknown)
        return QStringLiteral("注文の結果を確認できませんでした。証券会社のサイトで注文状況を確認してください。");
    switch (code) {
    case etrErrBuyingPower:
        return QStringLiteral("買付余力が不足しています。");
    case etrErrTradingUnit:
        return QStringLiteral("売買単位が誤っております。");
    case etrErrNoStock:
        return QStringLiteral("該当する銘柄情報は見つかりませんでした。");
    case etrErrFormOffSite:
        return QStringLiteral("送信先が証券会社のサイトではないため、送信を中止しました。");
    case etrErrRedirectRefused:
        return QStringLiteral("証券会社のサイトが別の送信先へ転送しようとしたため、中止しました。");
    default:
        return QStringLiteral("ログイン設定に誤りがあるか証券会社のサイトがメンテナンス中です。");
    }
}

// Ends a step that has seen no new page for kStepWatchdogTicks web ticks.
void watchStep(const browser::Browser &webOrder)
{
    if (etrRunningMode != 1 && etrRunningMode != 2) {
        ticksWithoutPage = 0;
        lastSeenDocument = webOrder.documentSerial();
        return;
    }
    if (webOrder.documentSerial() != lastSeenDocument) {
        lastSeenDocument = webOrder.documentSerial();
        ticksWithoutPage = 0;
        return;
    }
    if (++ticksWithoutPage >= kStepWatchdogTicks) {
        writeProgramLog(QStringLiteral("★新しいページが届かないため処理を打ち切る"));
        ticksWithoutPage = 0;
        broker::endStep(etrErrNoNewPage);
    }
}

} // namespace

QString readNoticeMails(RunControls &c)
{
    QString answer;
    {
        const BusyGuard busy(QStringLiteral("約定通知メールの受信"));
        if (!busy.started())
            return QStringLiteral("他の処理中のため約定通知メールを受信できません。");
        etrCheckYakuzyouMail(&c.lblMsg, answer);
    }
    refreshMailboxInfo(c);
    return answer;
}

void lblInfo_Click(RunControls &c)
{
    if (c.refusalsShownUpTo == 0)
        return;
    dismissRefusedNotices(c.refusalsShownUpTo, sys::now());
    refreshMailboxInfo(c);
}

bool isRunning(const RunControls &c)
{
    return c.lblRunStatus.text() == kRunning;
}

QString dateCaption(const QDate &day)
{
    static const QString weekdays[] = {QStringLiteral("月"), QStringLiteral("火"), QStringLiteral("水"),
                                       QStringLiteral("木"), QStringLiteral("金"), QStringLiteral("土"),
                                       QStringLiteral("日")};
    return day.toString(QStringLiteral("yyyy/MM/dd")) + u'(' + weekdays[day.dayOfWeek() - 1] + u')';
}

void resetRunControl()
{
    stopLatched = false;
    ticksWithoutPage = 0;
    lastSeenDocument = 0;
}

void initTimer(RunControls &c)
{
    c.tmrOrder.setInterval(kOrderTimerInterval);
    c.tmrWeb.setInterval(kWebTimerInterval);
    c.mailboxInfo.clear();
    c.refusedOrdersInfo.clear();
    c.screeningInfo.clear();
    c.refusalsShownUpTo = 0;
    c.lblInfo.clear();
    if (QWidget *nikkei = c.cht2Gra2.parentWidget())
        nikkei->show();
    if (QWidget *zyunbi = c.msfgSelect.parentWidget())
        zyunbi->hide();
}

void imgRun_MouseUp(RunControls &c)
{
    showPicture(c.imgRun, isRunning(c) ? c.imgPowerOn : c.imgPowerOff);
    ui::doEvents();
}

void imgRun_MouseDown(RunControls &c)
{
    if (isRunning(c)) {
        showPicture(c.imgRun, c.imgPowerOff);
        ui::doEvents();
        if (c.tmrOrder.Enabled()) {
            stopRun(c);
        } else if (!stopLatched) {
            stopLatched = true;
            c.lblMsg.setText(kStopLatchedText);
            writeProgramLog(QStringLiteral("停止要求を受付(処理中の注文の終了後に停止)"));
        }
        ui::doEvents();
        return;
    }
    if (!sysBS.paperMode()) {
        if (!loginAndMailboxSet() || !brokerSite().ok()) {
            refuseStart(c, QStringLiteral("システム設定を行ってください。"));
            return;
        }
        const QString answer = readNoticeMails(c);
        if (!answer.isEmpty()) {
            refuseStart(c, QStringLiteral("約定メール受信設定に誤りがあります。") + QStringLiteral("\r\n") + answer);
            return;
        }
    }
    startRun(c);
}

void startWebOrder(browser::Browser &webOrder, ui::Timer &tmrWeb)
{
    if (!loginAndMailboxSet())
        return;
    openBrokerStep(webOrder, 2);
    tmrWeb.setInterval(kWebTimerInterval);
    tmrWeb.setEnabled(true);
}

void tmrOrder_Timer(RunControls &c)
{
    c.tmrOrder.setEnabled(false);
    // The program is on its way out: the window's close follows, no new tick's work.
    if (sys::endRequested())
        return;
    if (BusyGuard::isBusy()) {
        writeProgramLog(QStringLiteral("***他の処理中のため注文処理をとばす"));
        resumeOrStop(c);
        return;
    }
    OrderCycleOutcome outcome = OrderCycleOutcome::Skipped;
    {
        const BusyGuard busy(QStringLiteral("注文処理"));
        const QDateTime now = sys::now();
        saveTimeStocks(c.InetMinuteData, now, QStringLiteral("998407"), QStringLiteral("na"));
        drawTimeChart(1, QStringLiteral("998407"), QStringLiteral("na"), now, c.cht2Gra2);
        c.showSelectedChartInfo();
        setOrderGrid(c.msfgOrder);
        c.setHeader();
        if (dailyBlockDue(now))
            dailyBlock(c, now);
        ui::doEvents();
        readNoticeMails(c);
        if (isRunning(c) && !stopLatched && !sys::endRequested())
            outcome = doOrderCycle(c.lblMsg, c.webOrder);
        if (const QString refused = refusedOrdersInfoText(); refused != c.refusedOrdersInfo) {
            c.refusedOrdersInfo = refused;
            showInfoLine(c);
        }
    }
    if (outcome == OrderCycleOutcome::StepStarted) {
        c.tmrWeb.setInterval(kWebTimerInterval);
        c.tmrWeb.setEnabled(true);
        return;
    }
    resumeOrStop(c);
}

bool doWebResult(RunControls &c)
{
    if (etrRunningMode == 1) {
        etrAction(c.webOrder, c.mstrPageURL);
        return false;
    }
    if (etrRunningMode != 3)
        return false;
    const QDateTime at = sys::now();
    c.tmrWeb.setEnabled(false);
    etrClose();
    if (etrRequestMode != 1) {
        c.imgRun.setEnabled(true);
        if (etrError == etrErrNone)
            writeBalance(c, at);
        c.setHeader();
    } else {
        writeOrderResult(at);
    }
    if (etrError == etrErrNone)
        resumeOrStop(c);
    c.lblMsg.clear();
    setOrderGrid(c.msfgOrder);
    return true;
}

void tmrWeb_Timer(RunControls &c)
{
    watchStep(c.webOrder);
    const int requestMode = etrRequestMode;
    if (!doWebResult(c) || etrError < 1) {
        imgRun_MouseUp(c);
        return;
    }
    // A broker error stops the run whatever the settings or the mailbox say.
    const int code = etrError;
    writeProgramLog(QStringLiteral("★証券会社エラーのため運転停止(エラーコード:") + QString::number(code) + u')');
    stopRun(c);
    imgRun_MouseUp(c);
    ui::msgBox(brokerErrorMessage(code, requestMode) + u'(' + QString::number(code) + u')', ui::vbExclamation);
}
