#include "platform/ui/Chart2D.h"

#include <QImage>

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
