#include "core/modGlobal.h"
#include "mainwindow/ChartSetup.h"
#include "mainwindow/PriceChart.h"
#include "mainwindow/SelectedStock.h"
#include "platform/ui/Chart2D.h"
#include "support/ChartImage.h"
#include "support/ProgramDirFixture.h"
#include "support/ReservationRows.h"

#include <QImage>

namespace {

using ui::Chart2D;

const QString kCode = QStringLiteral("1301");
const QString kMarket = QStringLiteral("t1");
const QColor kSilver(0xC0, 0xC0, 0xC0);
const QColor kLightYellow(0xFF, 0xFF, 0x80);
const QColor kYellow(0xFF, 0xFF, 0x00);
const QColor kWhite(0xFF, 0xFF, 0xFF);

// 25 weekdays up to the processing day; the 6th has no volume and the 1st was before a
// 1:2 split (its prices twice the adjusted scale). Day k closes at 1000 + 10k.
class PriceChartTest : public ProgramDirFixture {
protected:
    static constexpr int kDays = 25;
    static constexpr int kNoVolumeDay = 5;

    void SetUp() override
    {
        ProgramDirFixture::SetUp();
        createDatabases();
        openDatabases();
        gdtLastKabukaDate = QDate(2026, 12, 9);
        gcnDB.execute(QStringLiteral("insert into tmbond (銘柄コード, 市場コード, 会社名) values (?, ?, 'Test')"),
                      kCode, kMarket);
        QDate day = gdtLastKabukaDate;
        for (int k = kDays - 1; k >= 0; --k) {
            days.prepend(day);
            const double close = 1000 + 10 * k;
            const double raw = k == 0 ? 2 * close : close;
            addRow(day, raw + (k == 0 ? -10 : -5), raw + (k == 0 ? 40 : 20), raw - (k == 0 ? 40 : 20), raw, close,
                   k == kNoVolumeDay ? 0 : 1000);
            day = day.addDays(day.dayOfWeek() == Qt::Monday ? -3 : -1);
        }
        chart.resize(480, 260);
        initChart(chart);
    }

    void addRow(const QDate &day, double open, double high, double low, double close, double adjusted, int volume,
                const QString &code = kCode)
    {
        gcnDB.execute(QStringLiteral("insert into ttstocks (銘柄コード, 市場コード, 日付, 始値, 高値, 安値, 終値,"
                                     " 調整終値, 出来高, 短期SMA, 中期SMA) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                      code, kMarket, day, open, high, low, close, adjusted, volume, adjusted - 2, adjusted - 4);
    }

    static void addBought(int number, int state, double profitTake = 50)
    {
        addReservation({.予約番号 = number,
                        .銘柄コード = kCode,
                        .処理区分 = state,
                        .割合売1 = profitTake,
                        .市場コード = kMarket,
                        .約定金額買 = 1100});
    }

    void addExecution(int number, const QString &side, int price, const QString &received)
    {
        gcnDB.execute(QStringLiteral("insert into ttcontracthistory (予約番号, 売買区分, 約定金額, 約定株数, 受付日時,"
                                     " 銘柄コード, 市場コード) values (?, ?, ?, 100, ?, ?, ?)"),
                      number, side, price, received, kCode, kMarket);
    }

    void draw(int period = 0) { drawKabukaChart(period, kCode, kMarket, days.first(), gdtLastKabukaDate, chart); }

    QList<QDate> days;
    Chart2D chart;
};

TEST_F(PriceChartTest, CandlesOfTheAdjustedDaysWithoutGaps)
{
    draw();
    const Chart2D::Group &lines = chart.group(1);
    const Chart2D::Group &candles = chart.group(2);
    EXPECT_FALSE(chart.isBatched());
    EXPECT_EQ(lines.chartType(), Chart2D::ChartType::Lines);
    EXPECT_EQ(candles.chartType(), Chart2D::ChartType::Candles);
    ASSERT_EQ(candles.seriesCount(), 4);
    ASSERT_EQ(candles.pointCount(), kDays - 1);
    ASSERT_EQ(lines.pointCount(), kDays - 1);

    // The split day is put on the adjusted scale: high, low, open, close.
    EXPECT_EQ(candles.y(1, 1), 1020);
    EXPECT_EQ(candles.y(2, 1), 980);
    EXPECT_EQ(candles.y(3, 1), 995);
    EXPECT_EQ(candles.y(4, 1), 1000);
    // Point 6 is the day after the one without volume.
    EXPECT_EQ(candles.y(4, 6), 1060);
    EXPECT_EQ(lines.y(1, 6), 1058);
    EXPECT_EQ(lines.y(2, 6), 1056);

    const QList<Chart2D::ValueLabel> labels = chart.axisX().valueLabels();
    ASSERT_EQ(labels.size(), 2); // 24 points: 10 and 20, nothing at 25
    EXPECT_EQ(chart.axisX().annotation(), Chart2D::Annotation::ValueLabels);
    EXPECT_EQ(labels[0].x, 10);
    EXPECT_EQ(labels[0].text, days[10].toString(QStringLiteral("MM/dd")));
    EXPECT_EQ(labels[1].x, 20);
    EXPECT_EQ(labels[1].text, days[20].toString(QStringLiteral("MM/dd")));

    // Y from the lowest to the highest candle value, on both value axes.
    for (const Chart2D::Axis *axis : {&chart.axisY(), &chart.axisY2()}) {
        EXPECT_EQ(axis->min(), 980);
        EXPECT_EQ(axis->max(), 1260);
    }
    EXPECT_EQ(chart.axisY().gridSpacing(), 0); // x = 1750: 400 gives one line only, the chart takes its own
    EXPECT_EQ(chart.axisY().grid().color, QColor(0, 0, 192));
    EXPECT_EQ(chart.axisX().grid().color, QColor(0, 0, 192));

    const QImage image = chart.grab().toImage();
    EXPECT_TRUE(showsAt(chart, image, 24, 1237.5, kYellow)); // rising from 1235 to 1240
    EXPECT_TRUE(showsAt(chart, image, 24, 1250, kWhite));    // the wick up to 1260
    // The Y axis keeps its numbers: white text left of the plot.
    const QRect plot = chart.plotArea();
    int text = 0;
    for (int y = plot.top(); y <= plot.bottom(); ++y)
        for (int x = 0; x < plot.left() - 1; ++x)
            text += isNearColour(image.pixelColor(x, y), kWhite);
    EXPECT_GT(text, 20);
}

TEST_F(PriceChartTest, PositionLinesOnlyWhileHeld)
{
    draw();
    EXPECT_EQ(chart.group(1).y(3, 1), std::nullopt);
    EXPECT_EQ(chart.group(1).y(4, 1), std::nullopt);
    EXPECT_LT(widestRowInPlot(chart, chart.grab().toImage(), kSilver), chart.plotArea().width() / 4);

    // Bought at 1100; the profit-take price 1650 lies above the candles and is not seen.
    addBought(1, 2);
    addExecution(1, QStringLiteral("1"), 1100, QStringLiteral("2026-11-20 09:00:00"));
    draw();
    EXPECT_EQ(chart.group(1).y(3, 1), 1100);
    EXPECT_EQ(chart.group(1).y(4, 1), 1650);
    EXPECT_EQ(chart.axisY().max(), 1260);
    const QImage image = chart.grab().toImage();
    for (const double x : {3.5, 12.5, 22.5})
        EXPECT_TRUE(showsAt(chart, image, x, 1100, kSilver)) << x;
    EXPECT_GT(widestRowInPlot(chart, image, kSilver), chart.plotArea().width() * 3 / 4);
    EXPECT_LT(widestRowInPlot(chart, image, kLightYellow), chart.plotArea().width() / 4);
}

TEST_F(PriceChartTest, BuyPriceOfTheOpenPosition)
{
    const struct {
        int state;
        bool bought;
        bool partlySold;
        int price;
    } cases[] = {
        {0, false, false, 0}, {1, false, false, 0}, {2, true, false, 1100}, {3, true, true, 1100}, {9, true, true, 0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.state);
        gcnDB.execute(QStringLiteral("delete from ttresevation"));
        gcnDB.execute(QStringLiteral("delete from ttcontracthistory"));
        addBought(4, c.state);
        // The sell row is stored first, so a query without buy filter and order would find it.
        if (c.partlySold)
            addExecution(4, QStringLiteral("2"), 1300, QStringLiteral("2026-12-01 10:00:00"));
        if (c.bought)
            addExecution(4, QStringLiteral("1"), 1100, QStringLiteral("2026-11-20 09:00:00"));
        qint64 number = 77;
        EXPECT_EQ(getYakuzyouKingaku(1, kCode, kMarket, number), c.price);
        EXPECT_EQ(number, c.price ? 4 : 77);
    }
}

TEST_F(PriceChartTest, ChartButtonTogglesThePeriod)
{
    addRow(gdtLastKabukaDate.addDays(-100), 995, 1020, 980, 1000, 1000, 1000); // only in the long period
    SelectedStock form{kCode, kMarket, 0};
    const struct {
        int period;
        int points;
        int candleWidth;
    } presses[] = {{1, kDays, 3}, {0, kDays - 1, 8}, {1, kDays, 3}};
    for (const auto &press : presses) {
        imgChart_MouseDown(form, chart);
        EXPECT_EQ(form.mlngChartKikan, press.period);
        EXPECT_EQ(chart.group(2).pointCount(), press.points);
        EXPECT_EQ(chart.group(2).style(2).width, press.candleWidth);
        EXPECT_EQ(chart.group(2).style(3).width, press.candleWidth);
    }
}

TEST_F(PriceChartTest, NothingToShowPaintsAnEmptyChart)
{
    // A stock missing from the master; a stock whose every day lacks a positive price
    // (the close too, which the adjusted scale divides by) or volume; a stock without rows.
    addRow(gdtLastKabukaDate, 995, 1020, 980, 1000, 1000, 1000, QStringLiteral("9999"));
    const QString incomplete = QStringLiteral("1303");
    gcnDB.execute(QStringLiteral("insert into tmbond (銘柄コード, 市場コード) values (?, ?)"), incomplete, kMarket);
    const struct {
        double open, high, low, close, adjusted;
        int volume;
    } badDays[] = {{0, 1020, 980, 1000, 1000, 1000}, {995, 0, 980, 1000, 1000, 1000}, {995, 1020, -1, 1000, 1000, 1000},
                   {995, 1020, 980, 0, 1000, 1000},  {995, 1020, 980, 1000, 0, 1000}, {995, 1020, 980, 1000, 1000, 0}};
    QDate day = gdtLastKabukaDate;
    for (const auto &d : badDays) {
        addRow(day, d.open, d.high, d.low, d.close, d.adjusted, d.volume, incomplete);
        day = day.addDays(-1);
    }
    for (const QString &code : {QStringLiteral("9999"), incomplete, QStringLiteral("1302")}) {
        SCOPED_TRACE(code.toStdString());
        drawKabukaChart(0, code, kMarket, days.first(), gdtLastKabukaDate, chart);
        EXPECT_EQ(chart.group(2).pointCount(), 0);
        EXPECT_TRUE(chart.axisX().valueLabels().isEmpty());
        EXPECT_EQ(chart.axisY().min(), 100000000);
        EXPECT_EQ(chart.axisY().max(), 0);
        const QImage image = chart.grab().toImage();
        EXPECT_EQ(countInPlot(chart, image, kYellow), 0);
        EXPECT_GT(countInPlot(chart, image, QColor(0, 0, 64)), 0);
    }
}

} // namespace
