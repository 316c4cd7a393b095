#include "mainwindow/ChartSetup.h"

#include "platform/ui/ChartGrid.h"

namespace {

const QColor kNavy(0x00, 0x00, 0x40);
const QColor kWhite(0xFF, 0xFF, 0xFF);
const QColor kGridBlue(0x00, 0x00, 0xC0);
constexpr int kXFontSize = 9;

} // namespace

void initChart(ui::Chart2D &chart)
{
    chart.setIsBatched(true);
    chart.group(1).setSeriesCount(0);
    chart.group(2).setSeriesCount(0);
    chart.setBackground(kNavy);
    chart.setForeground(kWhite);
    chart.setAreaBackground(kNavy);
    chart.axisX().setFontSize(kXFontSize);
    chart.axisX().setFontBold(false);
    chart.axisX().setLineColor(kWhite);
    chart.axisY().setLineColor(kWhite);
    chart.setAreaForeground(kWhite);
    chart.axisY().setLinePattern(ui::Chart2D::LinePattern::Solid);
    chart.axisY().setLineWidth(0);
    chart.setIsBatched(false);
}

void beginChart(ui::Chart2D &chart, ui::Chart2D::ChartType group1, ui::Chart2D::ChartType group2)
{
    chart.setIsBatched(true);
    chart.group(1).setSeriesCount(0);
    chart.group(2).setSeriesCount(0);
    chart.axisX().setAnnotation(ui::Chart2D::Annotation::ValueLabels);
    chart.group(1).setChartType(group1);
    chart.group(2).setChartType(group2);
}

void setValueAxes(ui::Chart2D &chart, double min, double max, int gridFactor)
{
    for (ui::Chart2D::Axis *axis : {&chart.axisY(), &chart.axisY2()}) {
        axis->setMin(min);
        axis->setMax(max);
    }
    chart.axisY().setGridSpacing(ui::majorGridSpacing(gridFactor, chart.axisY2().min(), chart.axisY2().max()));
    chart.axisY().setGridColor(kGridBlue);
    chart.axisY().setGridPattern(ui::Chart2D::LinePattern::Solid);
    chart.axisY().setGridWidth(0);
    chart.axisX().setGridColor(kGridBlue);
}
