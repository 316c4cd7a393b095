// The demo that `make run` shows, started offscreen on its clock: the start-up fetches the
// market, the screening finds the day's candidates, the back-test over its offered dates
// trades, and both result lists show the past trades; in real mode the first minutes buy
// a candidate on the fake broker and read its notice.
#include "WindowPresses.h"
#include "app/modMain.h"
#include "core/modGlobal.h"
#include "core/modLookup.h"
#include "platform/db/Connection.h"
#include "platform/sys/Clock.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/Printer.h"
#include "screening/frmSimu.h"
#include "support/DemoMarket.h"
#include "support/LogTexts.h"
#include "support/MessageBoxRecorder.h"
#include "support/ProgramDirFixture.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

class Demo : public ProgramDirFixture {
protected:
    // Lays out the demo and starts the program on it at the demo clock's first moment.
    void startDemo(bool realMode)
    {
        dir = path(QStringLiteral("demo"));
        emptyDemoDirectory(dir);
        sites = std::make_unique<DemoSites>(dir, start.date());
        sites->start();
        layOutDemo(dir, *sites, QStringLiteral(NIMBRA_TESTS_DIR "/../data/Images"), realMode);
        clock = std::make_unique<sys::SimulatedClock>(start);
        program = Main();
        ASSERT_TRUE(program.mainWindow);
    }
    QStringList log() const { return logTexts(dir + QStringLiteral("/Nimbra.log")); }

    const QDateTime start = demoClockStart(QDateTime::currentDateTime());
    QString dir;
    std::unique_ptr<DemoSites> sites;
    std::unique_ptr<sys::SimulatedClock> clock;
    RunningProgram program;
};

int gridRows(frmMain &window, const char *name)
{
    const auto *grid = window.findChild<ui::FlexGrid *>(QString::fromLatin1(name));
    return grid ? grid->Rows() - 1 : -1;
}

TEST_F(Demo, StartsUpTradesInTheBackTestAndShowsItsHistory)
{
    ASSERT_NO_FATAL_FAILURE(startDemo(false));
    clock->runUntil(start.addSecs(60));
    frmMain &window = *program.mainWindow;
    const QStringList lines = log();
    EXPECT_TRUE(lines.contains(QStringLiteral("★最新データの取得終了"))) << lines.join(u'\n').toStdString();
    EXPECT_EQ(gdtLastKabukaDate, sites->quotes.market().lastDay());
    EXPECT_GE(gridRows(window, "msfgSelect"), 1) << "the day's candidates";
    // The results views, by date and by stock, come up one after the other.
    press(*window.findChild<QLabel *>(QStringLiteral("imgSyusi")));
    EXPECT_EQ(gridRows(window, "msfgZisseki"), 9) << "the buys and sells of the past trades";
    press(*window.findChild<QLabel *>(QStringLiteral("imgSyusi")));
    EXPECT_GE(gridRows(window, "msfgZisseki2"), 9) << "the past trades by stock, each with its profit";

    ui::PrintDialog printDialog;
    frmSimu simulation(printDialog);
    simulation.show();
    QTest::mouseClick(simulation.findChild<QPushButton *>(QStringLiteral("cmdRun")), Qt::LeftButton);
    const QListWidget *result = simulation.findChild<QListWidget *>(QStringLiteral("lstResultData"));
    ASSERT_TRUE(result);
    const QList<QListWidgetItem *> buys = result->findItems(QStringLiteral("買"), Qt::MatchContains);
    EXPECT_FALSE(buys.isEmpty()) << MessageBoxRecorder::instance().texts().join(u'|').toStdString();
    // The demo ticks no market of the back-test, as a new user's settings have none.
    EXPECT_EQ(simulation.findChild<QLabel *>(QStringLiteral("lblMsg"))->text(),
              QStringLiteral("シミュレーション対象の市場が設定されていないため、東証1部で実行しました。"));
}

// The past trades are written with the order settings a user has (the defaults, under the
// fixed preset as the order preparation applies it): the held position's profit-take line
// lies 15% above its buy price, not on it. They are bought and sold at market (指成区分 2),
// as the program's own and hand-entered reservations are: the held position is never
// offered for sale as a limit order without a price.
TEST_F(Demo, PastTradesCarryTheDefaultOrderRates)
{
    dir = path(QStringLiteral("demo"));
    emptyDemoDirectory(dir);
    sites = std::make_unique<DemoSites>(dir, start.date());
    sites->start();
    const QString held = layOutDemo(dir, *sites, QStringLiteral(NIMBRA_TESTS_DIR "/../data/Images"), false);
    openDatabases();
    db::Statement rows = gcnDB.prepare(QStringLiteral("select 銘柄コード, 割合売1, 割合売2, 予約番号, 処理区分,"
                                                      " 日数売2 from ttresevation order by 予約番号"));
    int count = 0;
    while (rows.step()) {
        ++count;
        EXPECT_EQ(rows.real(1), 15.0) << "profit-take rate of " << rows.text(0).toStdString();
        EXPECT_EQ(rows.int64(2), 10) << "stop-loss rate of " << rows.text(0).toStdString();
        EXPECT_EQ(rows.int64(5), 16) << "holding days of " << rows.text(0).toStdString();
        if (rows.text(0) != held)
            continue;
        EXPECT_EQ(rows.int64(4), 2) << "the held position is bought";
        ReservationInfo info;
        ASSERT_EQ(getReservationInfo(rows.int64(3), info), 1);
        EXPECT_EQ(info.sellPrice, info.buyPrice + info.buyPrice * 15 / 100) << "buy price " << info.buyPrice;
    }
    EXPECT_EQ(count, 5) << "four closed trades and the held one";

    const struct {
        const char *what;
        const char *query;
    } orderKinds[] = {
        {"reservations' buy kinds", "select 指成区分買, 指値買11 from ttresevation"},
        {"reservations' sell kinds", "select 指成区分売, 指値売11 from ttresevation"},
        {"executions' kinds", "select 指成区分, 0 from ttcontracthistory"},
    };
    for (const auto &kinds : orderKinds) {
        db::Statement st = gcnDB.prepare(QString::fromUtf8(kinds.query));
        int rowsRead = 0;
        while (st.step()) {
            ++rowsRead;
            EXPECT_EQ(st.int64(0), 2) << kinds.what << ": at market";
            EXPECT_EQ(st.int64(1), 0) << kinds.what << ": without a limit";
        }
        EXPECT_GE(rowsRead, 5) << kinds.what;
    }
}

TEST_F(Demo, InRealModeBuysACandidateAndReadsItsNoticeWithinMinutes)
{
    ASSERT_NO_FATAL_FAILURE(startDemo(true));
    clock->runUntil(start.addSecs(7 * 60));
    const QStringList lines = log();
    EXPECT_TRUE(lines.contains(QStringLiteral("★全部約定を確認した"))) << lines.join(u'\n').toStdString();
    db::Statement held = gcnDB.prepare(QStringLiteral("select count(*) from ttresevation where 処理区分 = 2"));
    ASSERT_TRUE(held.step());
    EXPECT_GE(held.int64(0), 2) << "the demo's open position and what was bought today";
}

} // namespace
