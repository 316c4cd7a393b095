// The selected stock on the real main window: the chart that a press on a list draws, the
// chart button's period, the profit chart of the results views, and the header and stock
// panel that the timers refresh.
#include "MainWindowFixture.h"
#include "WindowPresses.h"

#include "core/HeaderRefresh.h"
#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "platform/sys/Clock.h"
#include "platform/ui/Chart2D.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/Timer.h"
#include "support/ChartImage.h"
#include "support/ReservationRows.h"
#include "trading/modBroker.h"

#include <QFrame>
#include <QImage>

namespace {

using ui::Chart2D;

const QColor kNavy(0x00, 0x00, 0x40);
const QColor kYellow(0xFF, 0xFF, 0x00);
const QColor kBarFill(0, 128, 192);

// Two stocks with a price on every weekday of the 200 days up to the processing day: 1001
// near 1,000 yen, 1002 near 3,000 yen, every day a rising candle (open 10 below the close).
class MainWindowStock : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        sys::setNow(QDateTime(QDate(2026, 12, 10), QTime(10, 0))); // a Thursday
        gdtLastKabukaDate = QDate(2026, 12, 9);                    // current: no download at start-up
        gdtLastDailyDate = QDate(2026, 12, 10);                    // the day's block has run
        UserID = QStringLiteral("U");
        sysBS.TousiGanpon = 1000000;
        // The reference stock names the processing day that start-up reads back.
        gcnDB.execute(QStringLiteral("insert into ttstocks (銘柄コード, 市場コード, 日付, 終値, 調整終値)"
                                     " values (?, ?, ?, 1, 1)"),
                      kReferenceCode, kReferenceMarket, gdtLastKabukaDate);
        for (const auto &[code, base] : {std::pair{"1001", 1000}, std::pair{"1002", 3000}}) {
            gcnDB.execute(QStringLiteral("insert into tmbond (銘柄コード, 市場コード, 会社名, 単元株数)"
                                         " values (?, 't1', ?, 100)"),
                          QString::fromLatin1(code), QStringLiteral("社") + QString::fromLatin1(code));
            for (QDate day = gdtLastKabukaDate.addDays(-200); day <= gdtLastKabukaDate; day = day.addDays(1)) {
                if (day.dayOfWeek() > 5)
                    continue;
                const double close = base + day.day();
                gcnDB.execute(
                    QStringLiteral("insert into ttstocks (銘柄コード, 市場コード, 日付, 始値, 高値, 安値, 終値,"
                                   " 調整終値, 出来高, 短期SMA, 中期SMA)"
                                   " values (?, 't1', ?, ?, ?, ?, ?, ?, 1000, ?, ?)"),
                    QString::fromLatin1(code), day, close - 10, close + 20, close - 30, close, close, close - 2,
                    close - 4);
            }
        }
    }

    // Trading days from `days` calendar days before the processing day up to it.
    int pointsOf(int days) const
    {
        int n = 0;
        for (QDate day = gdtLastKabukaDate.addDays(-days); day <= gdtLastKabukaDate; day = day.addDays(1))
            n += day.dayOfWeek() <= 5;
        return n;
    }

    void addOrder(qint64 number, const char *code, int state, const char *updated)
    {
        addReservation({.予約番号 = number,
                        .銘柄コード = QString::fromLatin1(code),
                        .株数 = 100,
                        .処理区分 = state,
                        .割合売1 = 10,
                        .登録日付 = QString::fromLatin1(updated),
                        .更新日付 = QString::fromLatin1(updated),
                        .市場コード = QStringLiteral("t1")});
    }
    void addExecution(qint64 number, const char *code, const char *side, int price, const char *received)
    {
        gcnDB.execute(QStringLiteral("insert into ttcontracthistory (予約番号, 銘柄コード, 市場コード, 売買区分,"
                                     " 約定金額, 約定株数, 受付日時) values (?, ?, 't1', ?, ?, 100, ?)"),
                      number, QString::fromLatin1(code), QString::fromLatin1(side), price,
                      QString::fromLatin1(received));
    }

    void load()
    {
        window().show();
        ASSERT_TRUE(label("lblMaxDate").text().startsWith(QStringLiteral("最終データ：")));
    }
    Chart2D &chart() { return control<Chart2D>("cht2Gra"); }
    ui::FlexGrid &orders() { return control<ui::FlexGrid>("msfgOrder"); }
    bool hintShown() { return !control<QFrame>("fraChartInfo").isHidden(); }

    // The price chart shows `points` candles of the stock whose closes lie near `base`, as
    // wide as the period draws them, and the last one can be seen.
    void expectPriceChart(int points, int candleWidth, double base, const char *where)
    {
        SCOPED_TRACE(where);
        const Chart2D::Group &candles = chart().group(2);
        ASSERT_EQ(candles.chartType(), Chart2D::ChartType::Candles);
        ASSERT_EQ(candles.pointCount(), points);
        EXPECT_EQ(candles.style(2).width, candleWidth);
        EXPECT_NEAR(chart().axisY().min(), base, 40);
        EXPECT_NEAR(chart().axisY().max(), base + 50, 40);
        const double lastClose = base + gdtLastKabukaDate.day();
        EXPECT_TRUE(showsAt(chart(), chart().grab().toImage(), points, lastClose - 5, kYellow));
    }
};

TEST_F(MainWindowStock, StartUpWithoutOrdersShowsBothChartsDarkAndTheHint)
{
    load();
    for (const char *name : {"cht2Gra", "cht2Gra2"}) {
        SCOPED_TRACE(name);
        Chart2D &drawn = control<Chart2D>(name);
        const QImage image = drawn.grab().toImage();
        const QRect plot = drawn.plotArea().adjusted(1, 1, -1, -1);
        EXPECT_GT(countInPlot(drawn, image, kNavy), plot.width() * plot.height() * 9 / 10);
    }
    EXPECT_EQ(chart().group(2).pointCount(), 0);
    EXPECT_TRUE(hintShown());
}

TEST_F(MainWindowStock, StartUpDrawsTheLatestOrderAndAPressDrawsThePressedRow)
{
    addOrder(1, "1001", 0, "2026-12-10 09:02:00");
    addOrder(2, "1002", 0, "2026-12-10 09:01:00");
    load();
    ASSERT_EQ(orders().Rows(), 3);
    expectPriceChart(pointsOf(60), 8, 1000, "start-up: row 1");
    EXPECT_FALSE(hintShown());
    EXPECT_TRUE(label("lblBrandName").text().startsWith(QStringLiteral("社1001 : 1001 : ")));

    pressRow(orders(), 2, 6);
    expectPriceChart(pointsOf(60), 8, 3000, "row 2 pressed");
    EXPECT_TRUE(label("lblBrandName").text().startsWith(QStringLiteral("社1002 : 1002 : ")));
}

TEST_F(MainWindowStock, ChartButtonTogglesThePeriodAndANewStockStartsShort)
{
    addOrder(1, "1001", 0, "2026-12-10 09:02:00");
    addOrder(2, "1002", 0, "2026-12-10 09:01:00");
    load();
    pressRow(orders(), 2, 6);
    label("lblBrandName").clear();
    press(label("imgChart"));
    expectPriceChart(pointsOf(180), 3, 3000, "first press: 180 days");
    EXPECT_TRUE(label("lblBrandName").text().startsWith(QStringLiteral("社1002 : "))) << "the panel is shown again";
    press(label("imgChart"));
    expectPriceChart(pointsOf(60), 8, 3000, "second press: 60 days");

    press(label("imgChart"));
    pressRow(orders(), 1, 6);
    expectPriceChart(pointsOf(60), 8, 1000, "another stock after a long chart");
    press(label("imgChart"));
    expectPriceChart(pointsOf(180), 3, 1000, "its first press");
}

TEST_F(MainWindowStock, ResultsViewsDrawTheProfitChartUntilAStockIsPressed)
{
    sysBS.StartDate = QDateTime(QDate(2026, 10, 1), QTime(0, 0));
    addOrder(1, "1001", 9, "2026-12-01 10:00:00");
    addOrder(2, "1002", 2, "2026-12-09 09:00:00");
    addExecution(1, "1001", "1", 1000, "2026-11-05 09:10:00");
    addExecution(1, "1001", "2", 1200, "2026-12-01 10:00:00");
    addExecution(2, "1002", "1", 3000, "2026-12-09 09:05:00");
    gcnDB.execute(QStringLiteral("update ttresevation set 約定金額買 = 3000 where 予約番号 = 2"));
    load();
    ASSERT_EQ(shownView(window()), 4);
    EXPECT_FALSE(label("lblBuyTanka").text().isEmpty()) << "the held stock of row 1 shows its buy price";

    press(label("imgSyusi"));
    ASSERT_EQ(shownView(window()), 2);
    const Chart2D::Group &bars = chart().group(1);
    ASSERT_EQ(bars.chartType(), Chart2D::ChartType::Bars);
    ASSERT_EQ(bars.pointCount(), 12);
    EXPECT_EQ(bars.y(1, 1), -100000);         // 26/11: the buy of 1001
    EXPECT_EQ(bars.y(1, 2), 120000 - 300000); // 26/12: its sale and the buy of 1002
    EXPECT_EQ(chart().group(2).y(1, 2), -280000);
    QImage image = chart().grab().toImage();
    EXPECT_GT(countInPlot(chart(), image, kBarFill), 0);
    EXPECT_EQ(countInPlot(chart(), image, kYellow), 0) << "no candle is left";
    EXPECT_EQ(label("lblBrandName").text(), QStringLiteral("売買実績"));
    EXPECT_EQ(label("lblBuyTanka").text(), QString());
    EXPECT_FALSE(hintShown());

    press(label("imgSyusi")); // results by stock
    press(label("imgSyusi")); // chart view: nothing is redrawn
    ASSERT_EQ(shownView(window()), 1);
    EXPECT_GT(countInPlot(chart(), chart().grab().toImage(), kBarFill), 0);
    EXPECT_EQ(label("lblBrandName").text(), QStringLiteral("売買実績"));

    press(label("imgSyusi"));
    ASSERT_EQ(shownView(window()), 4);
    pressRow(orders(), 1, 6);
    expectPriceChart(pointsOf(60), 8, 3000, "a stock pressed after the results");
    EXPECT_EQ(countInPlot(chart(), chart().grab().toImage(), kBarFill), 0);
}

TEST_F(MainWindowStock, AnOrderTickShowsWhatTheStoreHoldsNow)
{
    addOrder(1, "1001", 1, "2026-12-10 09:00:00");
    load();
    EXPECT_EQ(label("lblMotikabu").text(), QStringLiteral("0円"));
    EXPECT_EQ(label("lblBuyTanka").text(), QString());

    // Bought meanwhile, as the execution mail records it.
    gcnDB.execute(QStringLiteral("update ttresevation set 処理区分 = 2, 約定金額買 = 1010, 約定株数買 = 100"));
    addExecution(1, "1001", "1", 1010, "2026-12-10 09:30:00");
    sysBS.TousiGanpon = 2000000;
    tmrOrder_Timer(run());
    EXPECT_EQ(label("lblMotikabu").text(), QStringLiteral("101,000円"));
    EXPECT_EQ(label("lblKounyuKanouGaku").text(), QStringLiteral("1,899,000円"));
    EXPECT_EQ(label("lblGoukei").text(), QStringLiteral("2,000,000円"));
    EXPECT_EQ(label("lblBuyTanka").text(), QStringLiteral("(1,010)"));
    EXPECT_EQ(label("lblSelTanka").text(), QStringLiteral("(1,111)"));
    // No quote site answers: a held position without a price shows no gain or loss.
    EXPECT_EQ(label("lblGenzaiti").text(), QStringLiteral("現在値 0 (00:00)"));
    EXPECT_EQ(orders().TextMatrix(1, 8), QStringLiteral("決済"));
}

// The base-settings dialog's OK refreshes the header of the window that is open.
TEST_F(MainWindowStock, ABaseSettingsRefreshShowsTheNewCapital)
{
    load();
    ASSERT_EQ(label("lblGoukei").text(), QStringLiteral("1,000,000円"));
    sysBS.TousiGanpon = 3000000;
    ui::refreshHeader();
    EXPECT_EQ(label("lblGoukei").text(), QStringLiteral("3,000,000円"));
}

TEST_F(MainWindowStock, AnOrderTickLeavesThePanelAloneWhileNoStockIsSelected)
{
    load();
    ASSERT_EQ(label("lblBrandName").text(), QStringLiteral("銘柄名"));
    tmrOrder_Timer(run());
    EXPECT_EQ(label("lblBrandName").text(), QStringLiteral("銘柄名"));
    EXPECT_EQ(label("lblRiekiritu").text(), QStringLiteral("100%"));
}

// In paper mode the capital never moves and the realised profit lies in the total.
TEST_F(MainWindowStock, PaperModeRateIsTheTotalAgainstTheCapital)
{
    sysBS.SelZituKounyu = 1;
    addOrder(1, "1001", 9, "2026-12-01 09:00:00");
    addExecution(1, "1001", "1", 1000, "2026-12-01 09:30:00");
    addExecution(1, "1001", "2", 6000, "2026-12-02 09:30:00"); // +500,000 on 1,000,000
    load();
    EXPECT_EQ(label("lblGoukei").text(), QStringLiteral("1,500,000円"));
    EXPECT_EQ(label("lblRiekiritu").text(), QStringLiteral("150%"));
}

TEST_F(MainWindowStock, TheEndOfTheBalanceStepShowsTheNewCapital)
{
    sysBS.SelZituKounyu = 1;
    load();
    EXPECT_EQ(label("lblGoukei").text(), QStringLiteral("1,000,000円"));
    imgRun_MouseDown(run()); // paper mode: the balance step is finished at once
    ASSERT_EQ(etrRunningMode, 3);
    etrGenkinZandaka = 1500000;
    tmrWeb_Timer(run());
    EXPECT_EQ(sysBS.TousiGanpon, 1500000);
    EXPECT_EQ(label("lblGoukei").text(), QStringLiteral("1,500,000円"));
    EXPECT_EQ(label("lblKounyuKanouGaku").text(), QStringLiteral("1,500,000円"));
    imgRun_MouseDown(run());
}

} // namespace
