// The main window as the user meets it: its look, the results button, the list presses and
// popups and the manual entry key.
#include "MainWindowFixture.h"
#include "WindowPresses.h"
#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "mainwindow/modRun.h"
#include "platform/db/Connection.h"
#include "platform/sys/Clock.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/ModalDialog.h"
#include "platform/ui/Timer.h"
#include "support/FakeQuoteSite.h"
#include "support/MessageBoxRecorder.h"
#include "support/ReservationRows.h"
#include "trading/modBroker.h"
#include "trading/modOrderDue.h"
#include "trading/modOrderGrid.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFrame>
#include <QImage>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

class MainWindowLists : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        MessageBoxRecorder::instance().reset();
        sys::setNow(QDateTime(QDate(2026, 12, 10), QTime(10, 0))); // a Thursday
        gdtLastKabukaDate = QDate(2026, 12, 9);                    // the data is current: no download at start-up
        UserID = QStringLiteral("U");
    }
    void copyPictures()
    {
        const QDir source(QStringLiteral(NIMBRA_TESTS_DIR "/../data/Images"));
        QDir().mkpath(path(QStringLiteral("Images")));
        for (const QString &name : source.entryList(QDir::Files))
            QFile::copy(source.filePath(name), path(QStringLiteral("Images/") + name));
    }
    void addOrder(qint64 number, const char *code, const char *updated, int state = 0)
    {
        gcnDB.execute(
            QStringLiteral(
                "insert or ignore into tmbond (銘柄コード, 市場コード, 会社名, 単元株数) values (?, 't1', ?, 100)"),
            QString::fromLatin1(code), QStringLiteral("社") + QString::fromLatin1(code));
        addReservation({.予約番号 = number,
                        .銘柄コード = QString::fromLatin1(code),
                        .株数 = 100,
                        .処理区分 = state,
                        .更新日付 = QString::fromLatin1(updated),
                        .市場コード = QStringLiteral("t1")});
    }
    void addExecution(qint64 number, const char *code, const char *side)
    {
        gcnDB.execute(QStringLiteral("insert into ttcontracthistory (予約番号, 銘柄コード, 市場コード, 売買区分,"
                                     " 約定金額, 約定株数, 受付日時) values (?, ?, 't1', ?, 1000, 100, ?)"),
                      number, QString::fromLatin1(code), QString::fromLatin1(side),
                      QStringLiteral("2026-12-09 10:00:00"));
    }
    void load()
    {
        window().show();
        ASSERT_TRUE(label("lblMaxDate").text().startsWith(QStringLiteral("最終データ：")));
    }
    int view() { return shownView(window()); }
    // Runs `inside` on the popup that the next press opens, then closes it. The handlers let
    // pending events run before they open a popup, so the popup is looked for until it shows.
    void onPopup(std::function<void(QMenu &)> inside, int tries = 50)
    {
        popupSeen = false;
        QTimer::singleShot(10, [this, inside, tries] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            if (!menu) {
                if (tries > 0)
                    onPopup(inside, tries - 1);
                return;
            }
            popupSeen = true;
            inside(*menu);
            menu->close();
        });
    }
    bool popupSeen = false;
};

TEST_F(MainWindowLists, MissingPicturesAreLoggedAndStartUpGoesOn)
{
    load();
    EXPECT_TRUE(logLines().contains(QStringLiteral("画像ファイルを読み込めません: ") + dir() +
                                    QStringLiteral("/Images/bmpPowerOn.bmp")));
    EXPECT_TRUE(label("imgRun").pixmap().isNull());
    EXPECT_EQ(view(), 4);
    EXPECT_EQ(label("lblRiekiritu").text(), QStringLiteral("0%"));
}

TEST_F(MainWindowLists, PicturesCursorAndColours)
{
    copyPictures();
    load();
    EXPECT_FALSE(label("imgRun").pixmap().isNull());
    EXPECT_FALSE(label("imgSetting").pixmap().isNull());
    EXPECT_EQ(label("imgSetting").cursor().hotSpot(), QPoint(10, 1));
    EXPECT_EQ(label("lblSupport").cursor().hotSpot(), QPoint(10, 1));
    EXPECT_EQ(label("lblRunStatus").palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(label("lblBrandName").palette().color(QPalette::WindowText), QColor(255, 255, 128));
    EXPECT_EQ(control<ui::FlexGrid>("msfgOrder").palette().color(QPalette::Base), QColor(0, 0, 64));
    EXPECT_FALSE(logLines().join(u'\n').contains(QStringLiteral("画像ファイルを読み込めません")));
}

TEST_F(MainWindowLists, OrderListShowsWithoutAHorizontalScrollBarAndKeepsItsActionColours)
{
    addOrder(1, "1001", "2026-12-10 09:00:00");
    glngStartMinute = 9 * 60 + 59; // started a minute ago: the reservation can still be withdrawn
    load();
    auto &orders = control<ui::FlexGrid>("msfgOrder");
    ASSERT_EQ(orders.Rows(), 2);
    ASSERT_EQ(orders.TextMatrix(1, 8), QStringLiteral("取消"));
    QCoreApplication::processEvents();
    EXPECT_FALSE(orders.horizontalScrollBar()->isVisible());
    EXPECT_EQ(orders.ColWidth(8), 800) << "the column keeps the width the code gave it";
    // The action column's text still shows whole.
    const int actionCentre = orders.columnViewportPosition(8) + orders.columnWidth(8) / 2;
    const int halfText = orders.fontMetrics().horizontalAdvance(QStringLiteral("売開始")) / 2;
    EXPECT_LE(actionCentre + halfText, orders.viewport()->width());

    // The "取消" cell stays green while it is current and while the row is selected up to
    // its state column: the highlight never hides what the cell offers.
    for (const int column : {8, 6}) {
        orders.setCol(column);
        orders.setColSel(7);
        const QImage image = orders.viewport()->grab().toImage();
        const QRect cell = orders.visualRect(orders.model()->index(0, 8));
        // The current cell may carry the style's faint focus tint over its own colour.
        const QColor shown = image.pixelColor(cell.left() + 4, cell.center().y());
        EXPECT_TRUE(shown.green() > 110 && shown.red() < 40 && shown.blue() < 40)
            << column << shown.name().toStdString();
    }
}

TEST_F(MainWindowLists, ResultsButtonCyclesFromTheOrderView)
{
    load();
    QList<int> seen;
    for (int i = 0; i < 4; ++i) {
        press(label("imgSyusi"));
        seen << view();
        if (view() == 2) {
            EXPECT_EQ(label("lblBrandName").text(), QStringLiteral("売買実績"));
        }
    }
    EXPECT_EQ(seen, (QList<int>{2, 3, 1, 4}));
}

TEST_F(MainWindowLists, RightPressActsOnThePressedRow)
{
    addOrder(1, "1001", "2026-12-10 09:03:00");
    addOrder(2, "1002", "2026-12-10 09:02:00", 2);
    addOrder(3, "1003", "2026-12-10 09:01:00");
    load();
    auto &orders = control<ui::FlexGrid>("msfgOrder");
    ASSERT_EQ(orders.Rows(), 4);
    orders.setRow(1);
    MessageBoxRecorder::instance().reset();
    onPopup([this, &orders](QMenu &menu) {
        QAction *cancel = menu.findChild<QAction *>(QStringLiteral("mnuCancel"));
        EXPECT_TRUE(cancel->isVisible());
        EXPECT_FALSE(menu.findChild<QAction *>(QStringLiteral("mnuKyouseiOrder"))->isVisible());
        EXPECT_EQ(orders.Row(), 3);
        // A tick rebuilds the list while the popup is open; the command keeps to the pressed row.
        addOrder(4, "1004", "2026-12-10 08:00:00");
        setOrderGrid(orders);
        QTimer::singleShot(0, cancel, &QAction::trigger);
    });
    pressRow(orders, 3, 6, Qt::RightButton);
    QCoreApplication::processEvents();
    EXPECT_TRUE(popupSeen);
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages().at(0).startsWith(QStringLiteral("1003社10(")));

    // Running: only the information entry is offered.
    label("lblRunStatus").setText(kRunning);
    control<QMenu>("mnuSettings").menuAction()->setEnabled(false);
    QMenu &mente = control<QMenu>("mnuMente");
    onPopup([&mente](QMenu &menu) {
        EXPECT_FALSE(menu.findChild<QAction *>(QStringLiteral("mnuCancel"))->isVisible());
        EXPECT_FALSE(mente.menuAction()->isVisible());
    });
    pressRow(orders, 2, 6, Qt::RightButton);
    EXPECT_TRUE(popupSeen);
}

// While running, the menus that the run control disables offer nothing on any list; the
// popups that hold none of their items still open.
TEST_F(MainWindowLists, WhileRunningNoListOffersWhatTheDisabledMenusHold)
{
    addOrder(1, "1001", "2026-12-10 09:00:00", 2);
    addExecution(1, "1001", "1");
    sysBS.SelZituKounyu = 1;
    sysBS.TousiGanpon = 1000000;
    load();
    imgRun_MouseDown(run());
    tmrWeb_Timer(run()); // the paper balance step completes at once
    ASSERT_EQ(label("lblRunStatus").text(), kRunning);
    ASSERT_TRUE(timer("tmrOrder").Enabled());

    auto &orders = control<ui::FlexGrid>("msfgOrder");
    QMenu &mente = control<QMenu>("mnuMente");
    onPopup([&mente](QMenu &menu) {
        EXPECT_EQ(menu.objectName(), QStringLiteral("mnuSelect3"));
        EXPECT_FALSE(menu.findChild<QAction *>(QStringLiteral("mnuCancel"))->isVisible());
        EXPECT_FALSE(mente.menuAction()->isVisible());
    });
    pressRow(orders, 1, 6, Qt::RightButton);
    EXPECT_TRUE(popupSeen);

    press(label("imgSyusi")); // results by date
    auto &byDate = control<ui::FlexGrid>("msfgZisseki");
    ASSERT_EQ(byDate.Rows(), 2);
    onPopup([](QMenu &menu) { ADD_FAILURE() << menu.objectName().toStdString() << " opened while running"; }, 5);
    pressRow(byDate, 1, 5, Qt::RightButton);
    QTest::qWait(100);
    EXPECT_FALSE(popupSeen);

    press(label("imgSyusi")); // results by stock: its popup holds only the information entry
    onPopup([](QMenu &menu) { EXPECT_EQ(menu.objectName(), QStringLiteral("mnuSelect4")); });
    pressRow(control<ui::FlexGrid>("msfgZisseki2"), 1, 5, Qt::RightButton);
    EXPECT_TRUE(popupSeen);

    // Stopped again, the results list offers its maintenance once more.
    imgRun_MouseDown(run());
    ASSERT_EQ(label("lblRunStatus").text(), kStopped);
    press(label("imgSyusi"));
    press(label("imgSyusi"));
    press(label("imgSyusi")); // round to the results by date
    QMenu &mente2 = control<QMenu>("mnuMente2");
    onPopup([&mente2](QMenu &menu) {
        EXPECT_EQ(menu.objectName(), QStringLiteral("mnuSelect"));
        EXPECT_TRUE(mente2.menuAction()->isEnabled());
    });
    pressRow(byDate, 1, 5, Qt::RightButton);
    EXPECT_TRUE(popupSeen);
}

// "取消" asks first, and the order cycle runs while the question is open: a buy it sent
// meanwhile keeps its reservation, and the user is told; a buy still waiting goes.
TEST_F(MainWindowLists, WithdrawingKeepsAReservationWhoseOrderWentOutWhileTheQuestionWasOpen)
{
    gdtLastDailyDate = sys::now().date();
    glngStartMinute = 9 * 60 + 59; // started a minute ago: "取消" is offered
    FakeQuoteSite site;
    site.start();
    site.writeSiteFile(dir());
    const auto writes = [](const char *sql) { return [sql] { gcnDB.execute(QString::fromUtf8(sql)); }; };
    const struct {
        const char *name;
        std::function<void()> whileOpen; // what the order cycle does while the question is open
        bool kept;
    } cases[] = {
        {"still waiting", nullptr, false},
        {"its buy accepted", writes("update ttresevation set 処理区分 = 1, 注文番号 = 100001"), true},
        {"its buy sent, the answer not read yet", writes("update ttresevation set エラーコード = 90"), true},
        {"its order step under way, the form not sent yet",
         [] {
             etrRequestMode = 1;
             etrRunningMode = 1;
             etrOrder.予約番号 = 1;
         },
         true},
    };
    load();
    auto &orders = control<ui::FlexGrid>("msfgOrder");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        gcnDB.execute(QStringLiteral("delete from ttresevation"));
        addOrder(1, "1001", "2026-12-10 09:03:00");
        gcnDB.execute(QStringLiteral("update ttresevation set 繰返回数 = 1"));
        setOrderGrid(orders);
        ASSERT_EQ(orders.TextMatrix(1, 8), QStringLiteral("取消"));
        MessageBoxRecorder::instance().reset();
        MessageBoxRecorder::instance().queueAnswer(ui::vbYes);
        if (c.whileOpen)
            MessageBoxRecorder::instance().setWhileOpen(c.whileOpen);
        pressRow(orders, 1, 8);
        broker::resetStep();

        EXPECT_EQ(reservationValue(1, QStringLiteral("予約番号")).isValid(), c.kept);
        ASSERT_EQ(messages().size(), c.kept ? 2 : 1) << messages().join(u'|').toStdString();
        EXPECT_TRUE(messages().at(0).startsWith(QStringLiteral("銘柄:1001社10("))) << messages().at(0).toStdString();
        if (c.kept) {
            EXPECT_TRUE(messages().at(1).contains(QStringLiteral("の予約は注文を出した後のため取り消しませんでした。")))
                << messages().at(1).toStdString();
            EXPECT_TRUE(logLines().contains(QStringLiteral("取消を取りやめました(注文を出した後です): 予約番号 1")));
        }
        EXPECT_EQ(orders.Rows(), c.kept ? 2 : 1) << "the list shows the store as it is";
    }
}

// Selecting the pressed stock waits for its quote; an order tick that rebuilds the list
// meanwhile moves the rows, and the press still acts on the reservation it was made on.
TEST_F(MainWindowLists, APressActsOnItsRowWhenATickRebuildsTheListDuringTheQuote)
{
    gdtLastDailyDate = sys::now().date(); // the tick runs no daily block
    glngStartMinute = 9 * 60 + 59;        // started a minute ago: "取消" is offered
    addOrder(1, "1001", "2026-12-10 09:03:00");
    addOrder(2, "1002", "2026-12-10 09:02:00");
    const auto firstRound = [] { gcnDB.execute(QStringLiteral("update ttresevation set 繰返回数 = 1")); };
    firstRound(); // the deletion then removes the whole reservation
    FakeQuoteSite site;
    site.start();
    site.writeSiteFile(dir());
    load();
    auto &orders = control<ui::FlexGrid>("msfgOrder");
    ASSERT_EQ(orders.TextMatrix(1, 2), QStringLiteral("1"));
    ASSERT_EQ(orders.TextMatrix(1, 8), QStringLiteral("取消"));

    // The quote of the pressed stock stalls; while it does, a tick finds a new reservation.
    site.setTimeoutDelay(std::chrono::milliseconds(300));
    site.setFailure(FakeQuoteSite::Failure::Timeout, 1);
    const int requestsBefore = site.requestCount();
    bool rebuilt = false;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (site.requestCount() == requestsBefore)
            return;
        tick.stop();
        addOrder(3, "1003", "2026-12-10 09:30:00");
        firstRound();
        tmrOrder_Timer(run());
        rebuilt = true;
    });
    tick.start(5);
    MessageBoxRecorder::instance().reset();
    MessageBoxRecorder::instance().queueAnswer(ui::vbYes);
    pressRow(orders, 1, 8);
    ASSERT_TRUE(rebuilt);
    ASSERT_EQ(orders.TextMatrix(1, 2), QStringLiteral("3"));

    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages().at(0).startsWith(QStringLiteral("銘柄:1001社10("))) << messages().at(0).toStdString();
    const auto stored = [](qint64 number) {
        db::Statement st = gcnDB.prepare(QStringLiteral("select count(*) from ttresevation where 予約番号 = ?"));
        st.bind(1, number);
        return st.step() && st.int64(0) == 1;
    };
    EXPECT_FALSE(stored(1));
    EXPECT_TRUE(stored(2));
    EXPECT_TRUE(stored(3));
}

// Once settling was asked for, the bought row's action cell is empty and a press on it
// neither refuses nor asks; a "決済" cell still answers.
TEST_F(MainWindowLists, AnEmptyActionCellDoesNothing)
{
    addOrder(1, "1001", "2026-12-10 09:02:00", 2);
    addOrder(2, "1002", "2026-12-10 09:01:00", 2);
    gcnDB.execute(QStringLiteral("update ttresevation set 手動注文区分 = 1 where 予約番号 = 1"));
    load();
    auto &orders = control<ui::FlexGrid>("msfgOrder");
    ASSERT_EQ(orders.TextMatrix(1, 2), QStringLiteral("1"));
    ASSERT_EQ(orders.TextMatrix(1, 8), QString());
    ASSERT_EQ(orders.TextMatrix(2, 8), QStringLiteral("決済"));
    MessageBoxRecorder::instance().reset();
    dialogsShown.clear();
    pressRow(orders, 1, 8);
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_TRUE(dialogsShown.isEmpty());
    EXPECT_EQ(label("lblBrandName").text().section(QStringLiteral(" : "), 1, 1), QStringLiteral("1001"));

    pressRow(orders, 2, 8);
    EXPECT_EQ(messages(), QStringList{QStringLiteral("運転を開始してから押してください。")});
}

TEST_F(MainWindowLists, SettingsButtonOnlyWhileStopped)
{
    load();
    onPopup([](QMenu &menu) { EXPECT_EQ(menu.objectName(), QStringLiteral("mnuSettings")); });
    press(label("imgSetting"));
    EXPECT_TRUE(popupSeen);

    control<QMenu>("mnuSettings").menuAction()->setEnabled(false);
    onPopup([](QMenu &) {}, 5);
    press(label("imgSetting"));
    QTest::qWait(100);
    EXPECT_FALSE(popupSeen);
}

TEST_F(MainWindowLists, ManualEntryKeyOnlyStoppedAndWithoutShift)
{
    load();
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    QWidget *focus = &control<ui::FlexGrid>("msfgOrder");
    focus->setFocus();
    dialogsShown.clear();
    QTest::keyClick(focus, Qt::Key_M, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_TRUE(dialogsShown.isEmpty());
    QTest::keyClick(focus, Qt::Key_M, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(dialogsShown, QStringList{QStringLiteral("frmSetYakuzyouData")});
    label("lblRunStatus").setText(kRunning);
    QTest::keyClick(focus, Qt::Key_M, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(dialogsShown.size(), 1);
}

TEST_F(MainWindowLists, SettingsWindowsOpenOnTheLiveSet)
{
    load();
    const struct {
        const char *item;
        const char *window;
        int selector;
    } cases[] = {
        {"mnuConfOrder", "frmOrder", 1},
        {"mnuConfLogin", "frmConfID", 1},
        {"mnuConfPOP", "frmConfPOP", 1},
        {"mnuEMail", "frmConfMailInfo", 2},
        {"mnuYakuzyouSet", "frmSetYakuzyouData", 2},
    };
    for (const auto &c : cases) {
        glngSetteiMode = 2; // as the simulation window leaves it
        dialogsShown.clear();
        control<QAction>(c.item).trigger();
        EXPECT_EQ(dialogsShown, QStringList{QString::fromLatin1(c.window)}) << c.item;
        EXPECT_EQ(glngSetteiMode, c.selector) << c.item;
    }
    glngSetteiMode = 1;
}

TEST_F(MainWindowLists, LeftPressOnTheEmptyCandidateRowShowsNoStock)
{
    load();
    auto &candidates = control<ui::FlexGrid>("msfgSelect");
    candidates.show();
    control<QFrame>("fraZyunbi").show();
    control<QFrame>("fraNikkeiHeikin").hide();
    press(label("imgSyusi")); // from the order view to the results ...
    press(label("imgSyusi"));
    press(label("imgSyusi")); // ... and on to the chart view that holds the candidates
    ASSERT_EQ(candidates.Rows(), 2);
    pressRow(candidates, 1, 2, Qt::LeftButton);
    EXPECT_EQ(label("lblGenzaiti").text(), QStringLiteral("現在値 0 (00:00)"));
    EXPECT_EQ(label("lblZenzituHi").text(), QString());
    EXPECT_TRUE(control<QFrame>("fraChartInfo").isHidden());
}

} // namespace

namespace {

void storeRefusal(const char *file, const char *retestDay)
{
    db::Statement st = gcnDB.prepare(QStringLiteral("insert into ttmailprocessed (ファイル名, 結果, 処理日付, 再確認日)"
                                                    " values (?, '注文不一致', '2026-12-09 09:30:00', ?)"));
    st.bind(1, QString::fromLatin1(file));
    if (retestDay)
        st.bind(2, QString::fromLatin1(retestDay));
    else
        st.bindNull(2);
    st.run();
}

int countOf(const QString &sql)
{
    db::Statement st = gcnDB.prepare(sql);
    return st.step() ? int(st.int64(0)) : -1;
}

} // namespace

// The refusals an earlier run stored are on the line from the start, and stay there until
// the user presses it.
TEST_F(MainWindowLists, RefusedNoticesStayOnTheInformationLineUntilItIsPressed)
{
    storeRefusal("a.eml", nullptr);
    storeRefusal("b.eml", nullptr);
    load();
    EXPECT_TRUE(label("lblInfo").text().startsWith(
        QStringLiteral("注文と合わない約定通知があったため記録しませんでした。(2通)")))
        << label("lblInfo").text().toStdString();
    readNoticeMails(run());
    EXPECT_TRUE(label("lblInfo").text().startsWith(QStringLiteral("注文と合わない約定通知")));

    press(label("lblInfo"));
    EXPECT_EQ(label("lblInfo").text(), QString());
    EXPECT_EQ(countOf(QStringLiteral("select count(*) from ttmailprocessed where 確認日時 is not null")), 2);
    readNoticeMails(run());
    EXPECT_EQ(label("lblInfo").text(), QString());
    EXPECT_TRUE(messages().isEmpty()) << messages().join(u'|').toStdString();
}

// An execution entered by hand ends the second test of the notices refused for their price
// (the entry may be one of them); a dialog closed without an entry leaves it.
TEST_F(MainWindowLists, AnExecutionEnteredByHandEndsTheRetestOfPriceRefusals)
{
    load();
    for (const int result : {int(QDialog::Rejected), int(QDialog::Accepted)}) {
        SCOPED_TRACE(result);
        gcnDB.execute(QStringLiteral("delete from ttmailprocessed"));
        storeRefusal("split.eml", "2026-12-10");
        ui::setModalHook([result](QDialog &) { return result; });
        control<QAction>("mnuYakuzyouSet").trigger();
        EXPECT_EQ(countOf(QStringLiteral("select count(*) from ttmailprocessed where 再確認日 is not null")),
                  result == QDialog::Accepted ? 0 : 1);
        EXPECT_EQ(countOf(QStringLiteral("select count(*) from ttmailprocessed where 結果 = '注文不一致'")), 1);
    }
}
