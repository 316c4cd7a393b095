#include "mainwindow/ChartSetup.h"
#include "platform/ui/Chart2D.h"
#include "support/ChartImage.h"

#include <QImage>

#include <gtest/gtest.h>

TEST(ChartSetup, BothChartsGetTheDarkLook)
{
    const QColor navy(0, 0, 64);
    const QColor white(255, 255, 255);
    ui::Chart2D cht2Gra;
    ui::Chart2D cht2Gra2;
    for (ui::Chart2D *chart : {&cht2Gra, &cht2Gra2}) {
        chart->resize(320, 180);
        chart->group(1).setSeriesCount(2);
        chart->group(2).setSeriesCount(4);
        initChart(*chart);
        EXPECT_FALSE(chart->isBatched());
        EXPECT_EQ(chart->group(1).seriesCount(), 0);
        EXPECT_EQ(chart->group(2).seriesCount(), 0);
        EXPECT_EQ(chart->background(), navy);
        EXPECT_EQ(chart->foreground(), white);
        EXPECT_EQ(chart->areaBackground(), navy);
        EXPECT_EQ(chart->areaForeground(), white);
        EXPECT_EQ(chart->axisX().fontSize(), 9);
        EXPECT_FALSE(chart->axisX().isFontBold());
        EXPECT_EQ(chart->axisX().line().color, white);
        const ui::Chart2D::LineStyle yLine = chart->axisY().line();
        EXPECT_EQ(yLine.color, white);
        EXPECT_EQ(yLine.pattern, ui::Chart2D::LinePattern::Solid);
        EXPECT_EQ(yLine.width, 0);

        const QImage image = chart->grab().toImage();
        EXPECT_TRUE(isNearColour(image.pixelColor(1, 1), navy));                            // the chart
        EXPECT_TRUE(isNearColour(image.pixelColor(chart->plotArea().center()), navy));      // the plot
        EXPECT_TRUE(isNearColour(image.pixelColor(chart->plotArea().bottomLeft()), white)); // the axes
    }
}
