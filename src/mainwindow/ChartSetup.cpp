#include "mainwindow/ChartSetup.h"

#include "core/Colours.h"
#include "platform/ui/ChartGrid.h"
#include "platform/ui/Twips.h"

namespace {

const QColor kGridBlue(0x00, 0x00, 0xC0);
constexpr int kXFontSize = 9;

} // namespace

void initChart(ui::Chart2D &chart)
{
    const QColor navy = ui::colorFromBgr(colours::kDarkBlue);
    const QColor white = ui::colorFromBgr(colours::kWhite);
    chart.setIsBatched(true);
    chart.group(1).setSeriesCount(0);
    chart.group(2).setSeriesCount(0);
    chart.setBackground(navy);
    chart.setForeground(white);
    chart.setAreaBackground(navy);
    chart.axisX().setFontSize(kXFontSize);
    chart.axisX().setFontBold(false);
    chart.axisX().setLineColor(white);
    chart.axisY().setLineColor(white);
    chart.setAreaForeground(white);
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
