#include "platform/ui/Chart2D.h"
#include "support/ChartImage.h"

#include <QCoreApplication>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

TEST(Chart2D, AutomaticBoundsHoldTheDataAndFixedOnesWin)
{
    ui::Chart2D chart;
    ui::Chart2D::Group &group = chart.group(1);
    group.setSeriesCount(1);
    group.setPointCount(3);
    group.setY(1, 1, 15012.5);
    group.setY(1, 2, 15230);
    group.setY(1, 3, 15105);
    for (const ui::Chart2D::Axis *axis : {&chart.axisY(), &chart.axisY2()}) {
        EXPECT_LE(axis->min(), 15012.5);
        EXPECT_GE(axis->max(), 15230);
        EXPECT_GT(axis->min(), 14000); // rounded near the data, not from 0
    }
    chart.axisY().setMin(100);
    chart.axisY().setMax(200);
    EXPECT_EQ(chart.axisY().min(), 100);
    EXPECT_EQ(chart.axisY().max(), 200);
    EXPECT_LE(chart.axisY2().min(), 15012.5); // the secondary axis keeps its own bounds

    // Out-of-range series and points are ignored.
    group.setY(2, 1, 1);
    group.setY(1, 4, 1);
    EXPECT_EQ(group.pointCount(), 3);
    EXPECT_EQ(group.y(1, 4), std::nullopt);
}

TEST(Chart2D, PaintsTheSeriesInItsColour)
{
    ui::Chart2D chart;
    chart.resize(300, 150);
    ui::Chart2D::Group &group = chart.group(1);
    group.setSeriesCount(1);
    group.setPointCount(20);
    for (int i = 1; i <= 20; ++i)
        group.setY(1, i, 100 + (i % 5) * 10);
    const QColor line(246, 207, 8);
    group.setLineColor(1, line);
    group.setLineWidth(1, 3);
    chart.axisY().setGridPattern(ui::Chart2D::LinePattern::Solid);
    chart.axisY().setGridColor(QColor(0, 0, 192));

    const QImage image = chart.grab().toImage();
    int linePixels = 0;
    int gridPixels = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            linePixels += c == line;
            gridPixels += c == QColor(0, 0, 192);
        }
    EXPECT_GT(linePixels, 50);
    EXPECT_GT(gridPixels, 50);
}

namespace {

using ui::Chart2D;

const QColor kArea(0, 0, 64);
const QColor kWick(255, 255, 255);
const QColor kRising(255, 255, 0);
const QColor kFalling(0, 0, 0);
const QColor kOutline(255, 0, 0);
const QColor kLine(0, 255, 0);
const QColor kFill(0, 128, 192);

// A chart on a dark plot with no grid lines, so only the data shows in the plot.
class ChartPaint : public ::testing::Test {
protected:
    void SetUp() override
    {
        chart.resize(400, 240);
        chart.setAreaBackground(kArea);
        chart.axisY().setGridPattern(Chart2D::LinePattern::None);
        chart.axisX().setGridPattern(Chart2D::LinePattern::None);
        chart.axisY().setMin(70);
        chart.axisY().setMax(130);
    }

    // Candles (high, low, open, close) in group 2, styled as the price chart styles them.
    void setCandles(const QList<std::array<std::optional<double>, 4>> &candles)
    {
        Chart2D::Group &g = chart.group(2);
        g.setChartType(Chart2D::ChartType::Candles);
        g.setSeriesCount(4);
        g.setPointCount(int(candles.size()));
        for (int i = 1; i <= candles.size(); ++i)
            for (int s = 1; s <= 4; ++s)
                if (const std::optional<double> v = candles[i - 1][size_t(s - 1)])
                    g.setY(s, i, *v);
        const std::pair<QColor, int> styles[] = {{kWick, 1}, {kRising, 8}, {kFalling, 8}, {kOutline, 1}};
        for (int s = 1; s <= 4; ++s) {
            g.setLineColor(s, styles[s - 1].first);
            g.setLineWidth(s, styles[s - 1].second);
        }
    }

    void setLine(int group, const QList<std::optional<double>> &values)
    {
        Chart2D::Group &g = chart.group(group);
        g.setChartType(Chart2D::ChartType::Lines);
        g.setSeriesCount(1);
        g.setPointCount(int(values.size()));
        for (int i = 1; i <= values.size(); ++i)
            if (values[i - 1])
                g.setY(1, i, *values[i - 1]);
        g.setLineColor(1, kLine);
        g.setLineWidth(1, 2);
    }

    void setBars(int group, const QList<double> &values)
    {
        Chart2D::Group &g = chart.group(group);
        g.setChartType(Chart2D::ChartType::Bars);
        g.setSeriesCount(1);
        g.setPointCount(int(values.size()));
        for (int i = 1; i <= values.size(); ++i)
            g.setY(1, i, values[i - 1]);
        g.setFillColor(kFill);
        g.setLinePattern(1, Chart2D::LinePattern::None);
    }

    QImage paint() { return chart.grab().toImage(); }

    Chart2D chart;
};

TEST_F(ChartPaint, CandlesShowBodyWickAndDirection)
{
    setCandles({{120, 80, 90, 110}, {120, 80, 110, 90}, {125, 75, 100, 100}});
    const QImage image = paint();
    EXPECT_EQ(chart.axisX().min(), 0.5); // a slot of half a point on either side
    EXPECT_EQ(chart.axisX().max(), 3.5);

    const struct {
        double x;
        double y;
        QColor colour;
        const char *what;
    } cases[] = {
        {1, 100, kRising, "rising body between open and close"},
        {2, 100, kFalling, "falling body between open and close"},
        {1, 116, kWick, "wick above the body"},
        {2, 84, kWick, "wick below the body"},
        {3, 100, kOutline, "a flat body is its outline"},
        {3, 122, kWick, "wick of the flat candle"},
        {1.4, 100, kArea, "beside the body"},
        {1, 126, kArea, "above the high"},
    };
    for (const auto &c : cases)
        EXPECT_TRUE(showsAt(chart, image, c.x, c.y, c.colour)) << c.what;
    // The body is as wide as its style: 8 pixels, the wick a single one.
    const QPointF centre = chart.toPixel(1, 100);
    EXPECT_TRUE(isNearColour(image.pixelColor(QPointF(centre.x() + 2, centre.y()).toPoint()), kRising));
    EXPECT_TRUE(isNearColour(image.pixelColor(QPointF(centre.x() + 7, centre.y()).toPoint()), kArea));
}

TEST_F(ChartPaint, PointsWithoutValueDrawNothing)
{
    // A candle without its low is not drawn; a line breaks at a point without value.
    setCandles({{120, 80, 90, 110}, {120, std::nullopt, 90, 110}});
    setLine(1, {75, 75, std::nullopt, 75});
    const QImage image = paint();
    EXPECT_TRUE(showsAt(chart, image, 1, 100, kRising));
    EXPECT_FALSE(showsAt(chart, image, 2, 100, kRising));
    EXPECT_FALSE(showsAt(chart, image, 2, 116, kWick));
    EXPECT_EQ(chart.group(1).y(1, 3), std::nullopt);

    chart.group(2).setSeriesCount(0);
    setLine(1, {75, 75, std::nullopt, 75, 75});
    const QImage lines = paint();
    EXPECT_TRUE(showsAt(chart, lines, 1.5, 75, kLine));
    EXPECT_FALSE(showsAt(chart, lines, 2.5, 75, kLine));
    EXPECT_FALSE(showsAt(chart, lines, 3.5, 75, kLine));
    EXPECT_TRUE(showsAt(chart, lines, 4.5, 75, kLine));
    EXPECT_EQ(chart.axisX().min(), 1); // lines alone run from point 1 to n
    EXPECT_EQ(chart.axisX().max(), 5);
}

TEST_F(ChartPaint, BarsReachFromZeroAndLinesLieOnTop)
{
    chart.axisY().setMin(-100);
    chart.axisY().setMax(100);
    for (const int barGroup : {1, 2}) {
        SCOPED_TRACE(barGroup);
        chart.group(3 - barGroup).setSeriesCount(0);
        setBars(barGroup, {50, -50, 0});
        setLine(3 - barGroup, {25, 25, 25});
        const QImage image = paint();
        const struct {
            double x;
            double y;
            QColor colour;
        } cases[] = {
            {1, 40, kFill},    {1, -10, kArea}, {2, -40, kFill},
            {2, 10, kArea},    {3, -10, kArea}, {1, 25, kLine}, // the line crosses the bar on top of it
            {1.35, 40, kArea},                                  // 60 % of the slot: the bar ends before 0.3 of a point
        };
        for (const auto &c : cases)
            EXPECT_TRUE(showsAt(chart, image, c.x, c.y, c.colour)) << c.x << ", " << c.y;
    }
}

TEST_F(ChartPaint, PatternNoneDrawsNothing)
{
    setLine(1, {80, 120, 90, 110});
    chart.group(1).setLinePattern(1, Chart2D::LinePattern::None);
    EXPECT_EQ(countInPlot(chart, paint(), kLine), 0);
    chart.group(1).setLinePattern(1, Chart2D::LinePattern::Solid);
    EXPECT_GT(countInPlot(chart, paint(), kLine), 50);
}

TEST_F(ChartPaint, DegenerateRangesPaintAnEmptyPlot)
{
    const struct {
        const char *what;
        int points;
        double min;
        double max;
    } cases[] = {
        {"no points", 0, 70, 130},
        {"minimum above maximum", 3, 100000000, 0},
        {"zero to zero", 3, 0, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        setBars(1, QList<double>(c.points, 0.0));
        chart.axisY().setMin(c.min);
        chart.axisY().setMax(c.max);
        const QImage image = paint();
        EXPECT_EQ(countInPlot(chart, image, kFill), 0);
        EXPECT_GT(countInPlot(chart, image, kArea), chart.plotArea().width() * chart.plotArea().height() / 2);
    }

    // One flat candle, the Y range a single value: shown in the middle of the plot.
    chart.group(1).setSeriesCount(0);
    setCandles({{100, 100, 100, 100}});
    chart.axisY().setMin(100);
    chart.axisY().setMax(100);
    const QRectF plot(chart.plotArea());
    EXPECT_EQ(chart.toPixel(1, 100), plot.center());
    EXPECT_TRUE(showsAt(chart, paint(), 1, 100, kOutline));
}

} // namespace

namespace {

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

} // namespace

TEST(Chart2D, BatchModePaintsOnceAtItsEnd)
{
    ui::Chart2D chart;
    chart.resize(300, 150);
    chart.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
    PaintCounter counter;
    chart.installEventFilter(&counter);

    chart.setIsBatched(true);
    ui::Chart2D::Group &group = chart.group(1);
    group.setSeriesCount(1);
    group.setPointCount(50);
    for (int i = 1; i <= 50; ++i) {
        group.setY(1, i, i);
        QCoreApplication::processEvents(); // a drawing that yields to the window system
    }
    chart.axisY().setMin(0);
    chart.axisY().setMax(50);
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.paints, 0);

    chart.setIsBatched(false);
    QTRY_COMPARE_WITH_TIMEOUT(counter.paints, 1, 2000);
}
