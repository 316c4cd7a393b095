// Run control and the two timers: the run button, the balance step, stops between and
// during steps, broker errors at the end of a step, the step watchdog and the pictures.
#include "MainWindowFixture.h"
#include "WindowPresses.h"

#include "core/BusyGuard.h"
#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "platform/browser/Browser.h"
#include "platform/mail/MailLimits.h"
#include "platform/sys/Clock.h"
#include "platform/ui/Timer.h"
#include "support/DrawnInk.h"
#include "support/FakeBrokerSite.h"
#include "support/FakePop3Server.h"
#include "support/MessageBoxRecorder.h"
#include "support/ReservationRows.h"
#include "trading/modBroker.h"
#include "trading/modOrderDue.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPixmap>

namespace {

class RunControl : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        sys::setNow(QDateTime(QDate(2026, 12, 10), QTime(10, 0))); // a Thursday, a trading day
        sysBS.TousiGanpon = 1000000;
    }

    // Drives the web timer until the balance step of a real start has ended.
    void completeBalanceStep()
    {
        QElapsedTimer waited;
        waited.start();
        while (state().label == kRunning && !state().orderTimer && waited.elapsed() < 20000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            if (!run().webOrder.busy())
                tmrWeb_Timer(run());
        }
    }

    void startPaperRun()
    {
        sysBS.SelZituKounyu = 1;
        imgRun_MouseDown(run());
        tmrWeb_Timer(run()); // the first web tick completes the pseudo balance step
    }

    // The state as the table of the run control names it.
    struct State {
        QString label;
        bool menus;
        bool button;
        bool orderTimer;
        bool webTimer;
    };
    State state()
    {
        return {label("lblRunStatus").text(), menuEnabled("mnuSettings"), label("imgRun").isEnabled(),
                timer("tmrOrder").Enabled(), timer("tmrWeb").Enabled()};
    }
    void expectState(const State &expected, const char *where)
    {
        const State now = state();
        EXPECT_EQ(now.label, expected.label) << where;
        EXPECT_EQ(now.menus, expected.menus) << where;
        EXPECT_EQ(menuEnabled("mnuSelect"), expected.menus) << where;
        EXPECT_EQ(menuEnabled("mnuHosyu"), expected.menus) << where;
        EXPECT_EQ(control<QAction>("mnuSimulation").isEnabled(), expected.menus) << where;
        EXPECT_EQ(control<QAction>("mnuPrintTradeHistory").isEnabled(), expected.menus) << where;
        EXPECT_EQ(now.button, expected.button) << where;
        EXPECT_EQ(now.orderTimer, expected.orderTimer) << where;
        EXPECT_EQ(now.webTimer, expected.webTimer) << where;
    }

    // An order step in flight, as the order cycle leaves it.
    void orderStepInFlight(qint64 reservation)
    {
        timer("tmrOrder").setEnabled(false);
        timer("tmrWeb").setEnabled(true);
        etrRequestMode = 1;
        etrRunningMode = 1;
        etrError = 0;
        broker::orderSent = false;
        etrOrder = etrOrderInfo{};
        etrOrder.予約番号 = int(reservation);
        etrOrder.売買区分 = 1;
    }
    // The driver ended the step with `code` (and, for an accepted order, its number).
    void stepEnds(int code, const QString &orderNo = {})
    {
        etrError = code;
        etrOrderNo = orderNo;
        etrRunningMode = 3;
        tmrWeb_Timer(run());
    }
    static void addWaiting(qint64 number)
    {
        addReservation({.予約番号 = number,
                        .銘柄コード = QStringLiteral("7203"),
                        .処理区分 = 0,
                        .エラーコード = 0,
                        .更新日付 = QStringLiteral("2026-12-09 10:00:00"),
                        .市場コード = QStringLiteral("t1")});
    }

    const State stopped{.label = kStopped, .menus = true, .button = true, .orderTimer = false, .webTimer = false};
    const State starting{.label = kRunning, .menus = false, .button = false, .orderTimer = false, .webTimer = true};
    const State between{.label = kRunning, .menus = false, .button = true, .orderTimer = true, .webTimer = false};
    const State inStep{.label = kRunning, .menus = false, .button = true, .orderTimer = false, .webTimer = true};
};

TEST_F(RunControl, PaperStartNeedsNoLoginAndNeverOpensTheBroker)
{
    sysBS.SelZituKounyu = 1;
    imgRun_MouseDown(run());
    expectState(starting, "after the press");
    EXPECT_EQ(etrRunningMode, 3);
    EXPECT_EQ(etrRequestMode, 2);
    EXPECT_EQ(label("lblRunStatus").palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(sysBS.StartDate, QDateTime(QDate(2026, 12, 10), QTime(0, 0))) << "an unset start date becomes today";
    EXPECT_EQ(glngStartMinute, 600);

    tmrWeb_Timer(run());
    expectState(between, "after the pseudo step");
    EXPECT_EQ(sysBS.TousiGanpon, 1000000);
    EXPECT_TRUE(messages().isEmpty()) << messages().join(u'|').toStdString();
}

TEST_F(RunControl, RealStartIsRefusedWithoutEverySettingOrTheBrokerAddress)
{
    struct Case {
        const char *name;
        bool login;
        bool brokerEntry;
        QString expected;
    };
    FakeBrokerSite broker;
    broker.start();
    const QString refused = QStringLiteral("システム設定を行ってください。");
    for (const Case &c : {Case{"no login", false, true, refused}, Case{"no broker entry", true, false, refused}}) {
        MessageBoxRecorder::instance().reset();
        for (QString *value : {&UserID, &Password, &Password2, &POP3Server, &POPUserID, &POPPassword})
            value->clear();
        if (c.login)
            setLogin(QStringLiteral("127.0.0.1:1"));
        writeSiteFile(c.brokerEntry ? broker.hostsLines() : QStringLiteral("Other=http://127.0.0.1:1/"));
        imgRun_MouseDown(run());
        expectState(stopped, c.name);
        EXPECT_EQ(messages(), QStringList{c.expected}) << c.name;
    }
    EXPECT_TRUE(broker.requests().isEmpty());
}

TEST_F(RunControl, RealStartWithABrokenMailboxIsRefusedWithTheReadersText)
{
    FakeBrokerSite broker;
    broker.start();
    writeSiteFile(broker.hostsLines());
    setLogin(QStringLiteral("127.0.0.1:1")); // nothing listens there
    imgRun_MouseDown(run());
    expectState(stopped, "broken mailbox");
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].startsWith(QStringLiteral("約定メール受信設定に誤りがあります。\r\n")))
        << messages()[0].toStdString();
    EXPECT_GT(messages()[0].size(), QStringLiteral("約定メール受信設定に誤りがあります。\r\n").size());
}

// Real mode against the loopback broker and mailbox.
class RealRunControl : public RunControl {
protected:
    void SetUp() override
    {
        RunControl::SetUp();
        broker.start();
        writeSiteFile(broker.hostsLines());
        pop3.start();
        setLogin(pop3.address());
    }

    FakeBrokerSite broker;
    QTemporaryDir maildrop;
    FakePop3Server pop3{maildrop.path(), QStringLiteral("mailuser"), QStringLiteral("mailpass")};
};

// The capital is the cash plus the cost of the held positions, at most 5,000,000 yen, and
// keeps the time of the read.
TEST_F(RealRunControl, RealStartReadsTheBalanceFromTheBroker)
{
    const struct {
        const char *cash;
        qint64 heldCost;
        int capital;
    } cases[] = {
        {"2,500,000", 0, 2500000},
        {"2,000,000", 3000000, 5000000},
        {"2,500,000", 3000000, 5000000},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.cash);
        FakeBrokerSite::Behaviour site;
        site.cash = QString::fromLatin1(c.cash);
        site.holdings = {};
        broker.setBehaviour(site);
        gcnDB.execute(QStringLiteral("delete from ttresevation"));
        gcnDB.execute(QStringLiteral("delete from ttcontracthistory"));
        if (c.heldCost > 0) {
            addReservation({.予約番号 = 1,
                            .銘柄コード = QStringLiteral("7203"),
                            .処理区分 = 2,
                            .登録日付 = QStringLiteral("2026-12-10 09:00:00"),
                            .市場コード = QStringLiteral("t1"),
                            .約定株数買 = 3000});
            gcnDB.execute(QStringLiteral("insert into ttcontracthistory (予約番号, 銘柄コード, 市場コード, 売買区分,"
                                         " 約定金額, 約定株数) values (1, '7203', 't1', '1', ?, 3000)"),
                          c.heldCost / 3000);
        }
        sysBS.TousiGanponDate = kZeroDate;

        imgRun_MouseDown(run());
        expectState(starting, "balance step");
        EXPECT_EQ(label("lblMsg").text(), QStringLiteral("残高を取得しています。"));
        completeBalanceStep();
        expectState(between, "after the balance read");
        EXPECT_EQ(sysBS.TousiGanpon, c.capital);
        EXPECT_EQ(sysBS.TousiGanponDate, sys::now());
        EXPECT_TRUE(messages().isEmpty()) << messages().join(u'|').toStdString();
        imgRun_MouseDown(run());
        expectState(stopped, "stopped again");
    }
}

TEST_F(RealRunControl, AMailboxThatKeepsMailsIsNoSettingsFaultAtTheStart)
{
    // At the head of the mailbox a mail too large to be a notice, behind it one it may not delete.
    ASSERT_TRUE(pop3.addSparseMessage(QStringLiteral("a-huge"), mail::kMaxMailBytes + 1));
    QFile other(QDir(maildrop.path()).filePath(QStringLiteral("b")));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("Subject: hello\r\n\r\nhello\r\n");
    other.close();
    pop3.setRefuseDeletions(true);

    imgRun_MouseDown(run());
    expectState(starting, "balance step");
    // An unattended start must not wait for an answer: the information line tells it.
    EXPECT_TRUE(messages().isEmpty()) << messages().join(u'|').toStdString();
    EXPECT_TRUE(
        label("lblInfo").text().startsWith(QStringLiteral("メールサーバが受信済みのメールの削除を受け付けません。")))
        << label("lblInfo").text().toStdString();
    completeBalanceStep(); // the day's screening writes its own word after the mailbox's
    EXPECT_TRUE(
        label("lblInfo").text().startsWith(QStringLiteral("メールサーバが受信済みのメールの削除を受け付けません。")))
        << label("lblInfo").text().toStdString();
}

// A stop pressed in real mode while the mailbox cannot be reached stops at once: nothing
// is asked of the mailbox or the broker first.
TEST_F(RealRunControl, AStopInRealModeWithABrokenMailboxStopsAtOnce)
{
    imgRun_MouseDown(run());
    completeBalanceStep();
    expectState(between, "running");
    pop3.stop(); // the mailbox goes down
    MessageBoxRecorder::instance().reset();
    imgRun_MouseDown(run());
    expectState(stopped, "after stop");
    EXPECT_EQ(etrRunningMode, 0);
    EXPECT_TRUE(messages().isEmpty()) << messages().join(u'|').toStdString();
}

TEST_F(RunControl, StopBetweenStepsStopsAtOnce)
{
    startPaperRun();
    expectState(between, "running");
    imgRun_MouseDown(run());
    expectState(stopped, "after stop");
    EXPECT_EQ(label("lblRunStatus").palette().color(QPalette::WindowText), QColor(0, 0, 0));
    EXPECT_EQ(etrRunningMode, 0);
}

TEST_F(RunControl, StopDuringAStepIsLatchedAndAppliedWhenTheStepEnds)
{
    addWaiting(7);
    startPaperRun();
    orderStepInFlight(7);
    imgRun_MouseDown(run());
    expectState(inStep, "stop pressed during the step");
    EXPECT_EQ(label("lblMsg").text(), QStringLiteral("停止を受け付けました。処理中の注文が終わり次第停止します。"));

    stepEnds(0, QStringLiteral("100001"));
    expectState(stopped, "after the step");
    EXPECT_EQ(reservationValue(7, QStringLiteral("処理区分")).toInt(), 1) << "the step's result is written first";
    EXPECT_EQ(reservationValue(7, QStringLiteral("注文番号")).toLongLong(), 100001);
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(RunControl, StopDuringAnOrderTickIsAppliedInPlaceOfReArming)
{
    startPaperRun();
    // A tick in flight: it switched its timer off; a press that arrives in its pauses.
    timer("tmrOrder").setEnabled(false);
    imgRun_MouseDown(run());
    expectState({kRunning, false, true, false, false}, "pressed during the tick");
    tmrOrder_Timer(run()); // the tick's end
    expectState(stopped, "after the tick");
}

TEST_F(RunControl, ABusyJobMakesTheTickSkipAndReArm)
{
    startPaperRun();
    {
        const BusyGuard busy(QStringLiteral("株価情報の取得"));
        tmrOrder_Timer(run());
    }
    EXPECT_TRUE(logLines().contains(QStringLiteral("***他の処理中のため注文処理をとばす")));
    expectState(between, "after the skipped tick");
}

TEST_F(RunControl, ABrokerErrorStopsTheRunWithItsMessageEvenWithABrokenMailbox)
{
    struct Case {
        int code;
        QString message;
        int storedCode;
    };
    const Case cases[] = {
        {2, QStringLiteral("買付余力が不足しています。(2)"), 2},
        {3, QStringLiteral("売買単位が誤っております。(3)"), 3},
        {4, QStringLiteral("該当する銘柄情報は見つかりませんでした。(4)"), 4},
        {91, QStringLiteral("ログイン設定に誤りがあるか証券会社のサイトがメンテナンス中です。(91)"), 91},
        {90, QStringLiteral("注文の結果を確認できませんでした。証券会社のサイトで注文状況を確認してください。(90)"),
         90},
    };
    addWaiting(7);
    for (const Case &c : cases) {
        startPaperRun();
        sysBS.SelZituKounyu = 0;
        setLogin(QStringLiteral("127.0.0.1:1")); // a mailbox that cannot be reached
        MessageBoxRecorder::instance().reset();
        orderStepInFlight(7);
        stepEnds(c.code);
        expectState(stopped, c.message.toUtf8().constData());
        EXPECT_EQ(etrRunningMode, 0);
        EXPECT_EQ(messages(), QStringList{c.message});
        EXPECT_EQ(reservationValue(7, QStringLiteral("エラーコード")).toInt(), c.storedCode);
        EXPECT_EQ(reservationValue(7, QStringLiteral("処理区分")).toInt(), 0) << "a refused order keeps its state";
        EXPECT_EQ(reservationValue(7, QStringLiteral("更新日付")).toString(), QStringLiteral("2026-12-10 10:00:00"));
        sysBS.SelZituKounyu = 1;
    }
}

TEST_F(RunControl, AStepWithoutANewPageForSixTicksEndsWithItsOwnCode)
{
    FakeBrokerSite broker;
    broker.start();
    writeSiteFile(broker.hostsLines());
    addWaiting(7);
    startPaperRun();
    sysBS.SelZituKounyu = 0;
    orderStepInFlight(7);
    broker::orderSent = true; // the order form went out: the outcome is unknown, never 92 alone
    etrActionMode = 11;
    int ticks = 0;
    while (timer("tmrWeb").Enabled() && ticks < 20) {
        ++ticks;
        // The driver finds no page to act on; the watchdog counts the ticks.
        tmrWeb_Timer(run());
    }
    EXPECT_LE(ticks, kStepWatchdogTicks + 1);
    expectState(stopped, "after the watchdog");
    EXPECT_EQ(reservationValue(7, QStringLiteral("エラーコード")).toInt(), 90);

    // Closing the program afterwards has no step left to end: the unknown outcome is told once.
    window().close();
    const QStringList unknown = logLines().filter(QStringLiteral("★注文送信後の結果が不明"));
    EXPECT_EQ(unknown.size(), 1) << unknown.join(u'\n').toStdString();
}

// While the run is on, the menus it locks are drawn greyed on the main window's own menu
// bar and menus, beside the items that stay live drawn black.
TEST_F(RunControl, TheMenusARunLocksLookDisabled)
{
    startPaperRun();
    expectState(between, "running");
    QMenuBar &bar = *window().menuBar();
    bar.adjustSize();
    QMenu &tools = control<QMenu>("mnuDummy004");
    tools.adjustSize();
    const struct {
        const char *name;
        QImage image;
        QRect live;
        QRect locked;
    } cases[] = {
        {"menu bar", bar.grab().toImage(), bar.actionGeometry(control<QMenu>("mnuDummy002").menuAction()),
         bar.actionGeometry(control<QMenu>("mnuSettings").menuAction())},
        {"tools menu", tools.grab().toImage(), tools.actionGeometry(&control<QAction>("mnuPageETRADE")),
         tools.actionGeometry(&control<QAction>("mnuSimulation"))},
    };
    for (const auto &c : cases) {
        ASSERT_FALSE(c.live.isEmpty() || c.locked.isEmpty()) << c.name;
        const int liveInk = darkestInk(c.image, c.live);
        EXPECT_LT(liveInk, 40) << c.name << ": a live item is black";
        EXPECT_GT(darkestInk(c.image, c.locked), liveInk + 60) << c.name << ": a locked item is greyed";
    }
}

// The "設定" picture button is locked with the settings menu while the run is on, and is
// drawn so: in colour while stopped, greyed while running; a press then pops nothing up.
TEST_F(RunControl, TheSettingsPictureButtonLooksLockedWhileRunning)
{
    QLabel &button = label("imgSetting");
    QPixmap picture(button.size());
    picture.fill(QColor(220, 40, 40));
    button.setPixmap(picture);
    const auto drawnSaturation = [&] {
        return button.grab().toImage().pixelColor(button.rect().center()).hsvSaturation();
    };
    ASSERT_TRUE(button.isEnabled());
    EXPECT_GT(drawnSaturation(), 150) << "stopped: drawn in its colours";

    startPaperRun();
    expectState(between, "running");
    EXPECT_FALSE(button.isEnabled());
    EXPECT_LT(drawnSaturation(), 60) << "running: drawn greyed";
    press(button);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    imgRun_MouseDown(run());
    expectState(stopped, "stopped again");
    EXPECT_TRUE(button.isEnabled());
    EXPECT_GT(drawnSaturation(), 150) << "stopped again: drawn in its colours";
}

TEST_F(RunControl, PicturesFollowTheRunState)
{
    QPixmap on(8, 8), off(8, 8);
    on.fill(Qt::red);
    off.fill(Qt::blue);
    label("imgPowerOn").setPixmap(on);
    label("imgPowerOff").setPixmap(off);
    const auto shows = [&](const QPixmap &expected) {
        return label("imgRun").pixmap().toImage() == expected.toImage();
    };
    for (const char *area : {"frmMainClient", "fraChart", "fraSyusi", "fraSyusi2", "imgRun"}) {
        label("lblRunStatus").setText(kStopped);
        QMouseEvent move(QEvent::MouseMove, QPointF(1, 1), QPointF(1, 1), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QWidget &widget = control<QWidget>(area);
        QCoreApplication::sendEvent(&widget, &move);
        EXPECT_TRUE(shows(off)) << area;
        label("lblRunStatus").setText(kRunning);
        QCoreApplication::sendEvent(&widget, &move);
        EXPECT_TRUE(shows(on)) << area;
    }
}

} // namespace
