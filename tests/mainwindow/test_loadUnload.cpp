// The main window's load and unload sequences, the automatic start, the close question and
// the daily block of the order timer.
#include "MainWindowFixture.h"

#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "platform/sys/Clock.h"
#include "platform/sys/TerminationRequests.h"
#include "platform/ui/ModalDialog.h"
#include "platform/ui/Timer.h"
#include "support/MessageBoxRecorder.h"
#include "trading/modBroker.h"
#include "trading/modOrderDue.h"

#include <QDialog>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <csignal>

namespace {

class LoadUnload : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        sys::setNow(QDateTime(QDate(2026, 12, 10), QTime(8, 25)));
        // The terms are accepted; every other dialog is closed without input.
        ui::setModalHook([this](QDialog &dialog) {
            dialogsShown.append(dialog.objectName());
            return int(dialog.objectName() == QStringLiteral("frmDouisyo") ? QDialog::Accepted : QDialog::Rejected);
        });
    }

    // The lines of `expected`, in their order, among the log's lines.
    static bool inOrder(const QStringList &lines, const QStringList &expected)
    {
        qsizetype at = 0;
        for (const QString &line : expected) {
            at = lines.indexOf(line, at);
            if (at < 0)
                return false;
            ++at;
        }
        return true;
    }
};

TEST_F(LoadUnload, LoadRunsItsStepsInOrderAndAsksForWhatIsMissing)
{
    window().show();
    const QStringList lines = logLines();
    EXPECT_TRUE(inOrder(
        lines, {QStringLiteral("二重起動チェック"), QStringLiteral("初期化処理"), QStringLiteral("同意書チェック"),
                QStringLiteral("同意書起動"), QStringLiteral("ID入力チェック"), QStringLiteral("メール入力チェック"),
                QStringLiteral("日次処理"), QStringLiteral("チャート初期化"), QStringLiteral("画面ヘッダ部初期化"),
                QStringLiteral("推奨銘柄検索"), QStringLiteral("注文中リスト表示"),
                QStringLiteral("起動時チャート表示処理"), QStringLiteral("自動起動開始チェック")}))
        << lines.join(u'\n').toStdString();
    EXPECT_FALSE(lines.contains(QStringLiteral("自動起動開始処理")));
    EXPECT_EQ(dialogsShown,
              (QStringList{QStringLiteral("frmDouisyo"), QStringLiteral("frmConfID"), QStringLiteral("frmConfPOP")}));
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Kestro"));
    EXPECT_EQ(label("lblRunStatus").text(), kStopped);
    EXPECT_EQ(label("lblDate").text(), QStringLiteral("2026/12/10(木)"));
    EXPECT_FALSE(timer("tmrOrder").Enabled());
    EXPECT_EQ(timer("tmrOrder").Interval(), 60000);
    EXPECT_EQ(timer("tmrWeb").Interval(), 10000);
    EXPECT_TRUE(control<QWidget>("fraChartInfo").isVisibleTo(&window())) << "no order: the chart hint stays";
    EXPECT_FALSE(control<QWidget>("fraZyunbi").isVisibleTo(&window()));
}

TEST_F(LoadUnload, WhichSettingsOpenWhichDialogAndWhenTheRunStartsByItself)
{
    struct Case {
        const char *name;
        QString user;
        bool password;
        bool mailbox;
        QStringList dialogs;
        QString runStatus;
    };
    const Case cases[] = {
        {.name = "blank user",
         .user = QStringLiteral("  "),
         .password = true,
         .mailbox = true,
         .dialogs = {QStringLiteral("frmDouisyo")},
         .runStatus = kRunning},
        {.name = "no mailbox password",
         .user = QStringLiteral("U"),
         .password = true,
         .mailbox = false,
         .dialogs = {QStringLiteral("frmConfPOP")},
         .runStatus = kStopped},
        {.name = "no trade password",
         .user = QStringLiteral("U"),
         .password = false,
         .mailbox = true,
         .dialogs = {QStringLiteral("frmConfID")},
         .runStatus = kStopped},
        {.name = "all six",
         .user = QStringLiteral("U"),
         .password = true,
         .mailbox = true,
         .dialogs = {},
         .runStatus = kRunning},
    };
    for (const Case &c : cases) {
        dialogsShown.clear();
        sysBS = BS{};
        sysBS.SelZituKounyu = 1; // paper mode: the automatic start needs no broker
        UserID = c.user;
        Password = QStringLiteral("P");
        Password2 = c.password ? QStringLiteral("T") : QString();
        POP3Server = QStringLiteral("127.0.0.1:1");
        POPUserID = QStringLiteral("m");
        POPPassword = c.mailbox ? QStringLiteral("p") : QString();
        frmMain form;
        form.show();
        EXPECT_EQ(dialogsShown, c.dialogs) << c.name;
        EXPECT_EQ(form.findChild<QLabel *>(QStringLiteral("lblRunStatus"))->text(), c.runStatus) << c.name;
        form.findChild<ui::Timer *>(QStringLiteral("tmrWeb"))->setEnabled(false);
        form.close();
    }
}

TEST_F(LoadUnload, UnloadStopsTheTimersLeavesTheBrokerAndBacksUpBeforeTheLogCloses)
{
    sysBS.SelZituKounyu = 1;
    setLogin(QStringLiteral("127.0.0.1:1"));
    window().show();
    tmrWeb_Timer(run()); // the pseudo balance step: the order timer runs
    ASSERT_TRUE(timer("tmrOrder").Enabled());
    window().close();
    EXPECT_FALSE(timer("tmrOrder").Enabled());
    EXPECT_FALSE(timer("tmrWeb").Enabled());
    EXPECT_EQ(glngLogFileNo, 0) << "the log is closed";
    const QStringList lines = logLines();
    const qsizetype leave =
        lines.indexOf(QStringLiteral("etrClose実行開始"), lines.indexOf(QStringLiteral("自動起動開始処理")));
    const qsizetype backup = lines.indexOf(QRegularExpression(QStringLiteral("バックアップ完了.*")));
    EXPECT_GE(leave, 0);
    EXPECT_GT(backup, leave) << lines.join(u'\n').toStdString();
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("Nimbra5.mdb")))) << "Thursday's backup";
}

TEST_F(LoadUnload, ClosingDuringABrokerStepAsksAndNoKeepsTheWindow)
{
    UserID = QStringLiteral("U");
    window().show();
    timer("tmrWeb").setEnabled(true);
    window().close();
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0],
              QStringLiteral("証券会社サイトで処理中です。\r\n終了すると処理の結果が反映されない場合があります。"
                             "終了してもよろしいですか?"));
    EXPECT_EQ(MessageBoxRecorder::instance().calls()[0].style, ui::vbYesNo + ui::vbExclamation + ui::vbDefaultButton2);
    EXPECT_TRUE(window().isVisible()) << "No keeps the window";
    EXPECT_TRUE(timer("tmrWeb").Enabled());

    MessageBoxRecorder::instance().queueAnswer(ui::vbYes);
    window().close();
    EXPECT_FALSE(window().isVisible());
    EXPECT_FALSE(timer("tmrWeb").Enabled());
}

// The system's request to end (a logout, a shutdown) takes the close path without its
// question: a step in flight after its order went out is closed as of unknown outcome,
// then the backup and the closed log follow, as after a close.
TEST_F(LoadUnload, AnEndTheSystemAsksForClosesTheStepWithoutAsking)
{
    UserID = QStringLiteral("U");
    window().show();
    timer("tmrWeb").setEnabled(true);
    etrRequestMode = 1;
    etrRunningMode = 1;
    etrError = 0;
    broker::orderSent = true;
    MessageBoxRecorder::instance().reset();
    EXPECT_TRUE(window().unloadWithoutQuestions());
    EXPECT_TRUE(messages().isEmpty()) << messages().join(u'|').toStdString();
    EXPECT_FALSE(window().isVisible());
    EXPECT_FALSE(timer("tmrWeb").Enabled());
    EXPECT_EQ(etrRunningMode, 3);
    EXPECT_EQ(etrError, etrErrOutcomeUnknown) << "never sent again by itself";
    EXPECT_EQ(glngLogFileNo, 0) << "the log is closed";
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("Nimbra5.mdb")))) << "Thursday's backup";
}

// Asked by the system to end while its load is still going (here while the login dialog is
// open), the window lets the load finish without what reaches out: no mailbox dialog, no
// mail read, no daily update, no run started; then it ends.
TEST_F(LoadUnload, AnEndAskedDuringTheLoadEndsItWithoutReachingOut)
{
    sysBS.SelZituKounyu = 1;
    const sys::TerminationRequests requests;
    bool refusedDuringLoad = false;
    ui::setModalHook([&](QDialog &dialog) {
        dialogsShown.append(dialog.objectName());
        if (dialog.objectName() == QStringLiteral("frmConfID")) {
            setLogin(QStringLiteral("127.0.0.1:1")); // the user fills in all six values
            std::raise(SIGTERM);
            EXPECT_TRUE(QTest::qWaitFor([] { return sys::endRequested(); }, 5000));
            refusedDuringLoad = !window().unloadWithoutQuestions();
        }
        return int(dialog.objectName() == QStringLiteral("frmDouisyo") ? QDialog::Accepted : QDialog::Rejected);
    });
    window().show();
    EXPECT_TRUE(refusedDuringLoad);
    EXPECT_EQ(dialogsShown, (QStringList{QStringLiteral("frmDouisyo"), QStringLiteral("frmConfID")}));
    const QStringList lines = logLines();
    EXPECT_TRUE(lines.contains(QStringLiteral("自動起動開始チェック"))) << lines.join(u'\n').toStdString();
    EXPECT_FALSE(lines.contains(QStringLiteral("日次処理")));
    EXPECT_FALSE(lines.contains(QStringLiteral("自動起動開始処理")));
    EXPECT_EQ(label("lblRunStatus").text(), QStringLiteral("停止中"));
    EXPECT_TRUE(window().unloadWithoutQuestions());
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(glngLogFileNo, 0);
}

class DailyBlock : public MainWindowFixture {
protected:
    void tickAt(const QDateTime &moment)
    {
        sys::setNow(moment);
        tmrOrder_Timer(run());
    }
};

TEST_F(DailyBlock, RunsOnceAtTheFirstTickFromTwoOClockOfANewDate)
{
    gdtLastDailyDate = QDate(2026, 12, 9);
    glngStartMinute = 600;
    tickAt(QDateTime(QDate(2026, 12, 10), QTime(0, 5)));
    EXPECT_EQ(gdtLastDailyDate, QDate(2026, 12, 9)) << "00:05 is too early";
    EXPECT_EQ(glngStartMinute, 600);

    tickAt(QDateTime(QDate(2026, 12, 10), QTime(2, 0)));
    EXPECT_EQ(gdtLastDailyDate, QDate(2026, 12, 10));
    EXPECT_EQ(glngStartMinute, 0) << "the pause after the start is lifted for the day";
    EXPECT_EQ(label("lblDate").text(), QStringLiteral("2026/12/10(木)"));
    EXPECT_EQ(label("lblInfo").text(), QStringLiteral("現在、推奨銘柄はありません")) << "a trading day screens";

    glngStartMinute = 130;
    label("lblInfo").clear();
    tickAt(QDateTime(QDate(2026, 12, 10), QTime(2, 1)));
    EXPECT_EQ(glngStartMinute, 130) << "once a day";
    EXPECT_EQ(label("lblInfo").text(), QString());
}

TEST_F(DailyBlock, AHolidayReadsMailAndUpdatesDataButScreensNothing)
{
    initTimer(run());
    gdtLastDailyDate = QDate(2026, 12, 11);
    tickAt(QDateTime(QDate(2026, 12, 12), QTime(2, 30))); // a Saturday
    EXPECT_EQ(gdtLastDailyDate, QDate(2026, 12, 12));
    EXPECT_EQ(label("lblInfo").text(), QString()) << "no screening, so no verdict on candidates";
    EXPECT_EQ(label("lblDate").text(), QStringLiteral("2026/12/12(土)"));
    EXPECT_EQ(glngStartMinute, 0);
}

} // namespace
